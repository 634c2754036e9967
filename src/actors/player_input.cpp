#include "actors/player_input.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/config.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "model/vocabulary.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/cell_content.h"
#include "resources/sound_control.h"
#include "world/tile_rules.h"

namespace tessera {

int8_t pressed_direction = 0;
int32_t action_code = -1;
uint8_t fire_latch = 1;
uint8_t bomb_armed = 0;
int32_t step_dx = 0;
int32_t step_dy = 0;
int32_t dialog_request = ACTION_NONE;

namespace {

// Joystick buttons 1..JOYSTICK_BUTTONS; the first one held decides.
constexpr int32_t BUTTON_ACTIONS[JOYSTICK_BUTTONS] = {
    ACTION_X, ACTION_FIRE, ACTION_B, ACTION_Y, ACTION_LEFT_SHOULDER, ACTION_RIGHT_SHOULDER,
    ACTION_LEFT_TRIGGER, ACTION_RIGHT_TRIGGER, ACTION_QUIT, ACTION_PAUSE};
constexpr int32_t FIRE_BUTTON = 2;

// Action keys in the order they are tested; a later held key overrides an earlier one.
struct KeyAction {
  int32_t key;
  int32_t action;
};
constexpr KeyAction KEY_ACTIONS[] = {
    {KEY_SPACE, ACTION_FIRE}, {KEY_A, ACTION_FIRE}, {KEY_B, ACTION_B},        {KEY_C, ACTION_X},
    {KEY_X, ACTION_X},        {KEY_D, ACTION_Y},    {KEY_Y, ACTION_Y},        {KEY_ESCAPE, ACTION_QUIT},
    {KEY_P, ACTION_PAUSE},
};

bool joystick_selected() { return input_device == INPUT_JOYSTICK; }

// The player's cell: the figure's screen cell plus the scroll (floor, never nearest).
int32_t player_column() { return round_to_int(std::floor(player.x / cell_width) + scroll_x); }
int32_t player_row() { return round_to_int(std::floor(player.y / cell_height) + scroll_y); }

void read_keyboard(Controls& controls) {
  keyboard_examine();
  const bool up = key_pushed(KEY_UP) != 0;
  const bool left = key_pushed(KEY_LEFT) != 0;
  const bool right = key_pushed(KEY_RIGHT) != 0;
  const bool down = key_pushed(KEY_DOWN) != 0;
  if (up) controls.direction = DIRECTION_UP;
  if (left) controls.direction = DIRECTION_LEFT;
  if (right) controls.direction = DIRECTION_RIGHT;
  if (down) controls.direction = DIRECTION_DOWN;
  if ((up && left) || (up && right) || (down && right) || (down && left)) controls.direction = DIRECTION_NONE;
  // Both keys are queried every pass: each query updates that key's remembered state.
  controls.previous_map = key_released(KEY_PAGE_DOWN) != 0;
  controls.next_map = key_released(KEY_PAGE_UP) != 0;
  for (const KeyAction& entry : KEY_ACTIONS) {
    if (key_pushed(entry.key) != 0) controls.action = entry.action;
  }
  controls.fire_held = controls.action == ACTION_FIRE;
}

void read_joystick(Controls& controls) {
  joystick_examine();
  const int32_t ax = joystick_axis_x();
  const int32_t ay = joystick_axis_y();
  if (ax == 1) controls.direction = DIRECTION_RIGHT;
  if (ax == -1) controls.direction = DIRECTION_LEFT;
  if (ay == 1) controls.direction = DIRECTION_DOWN;
  if (ay == -1) controls.direction = DIRECTION_UP;
  for (int32_t button = 1; button <= JOYSTICK_BUTTONS; ++button) {
    if (joystick_button(button) != 0) {
      controls.action = BUTTON_ACTIONS[button - 1];
      break;
    }
  }
  controls.fire_held = joystick_button(FIRE_BUTTON) != 0;
}

// Scrolling must keep the whole visible window inside the matrix.
bool view_can_scroll_right() {
  return round_to_int(scroll_x) + 1 + round_to_int(visible_columns) < world_matrix.columns;
}
bool view_can_scroll_down() { return round_to_int(scroll_y) + round_to_int(visible_rows) < world_matrix.rows; }

void unfix_cell(int32_t c, int32_t r, bool with_sound) {
  const CellText& kind = world_cell(c, r).tile_kind;
  if (!(kind == play_kinds().fixed_floor) && !(kind == play_kinds().fixed_pink_floor)) return;
  retile_cell(c, r, KIND_FLOOR);
  tiles_left = add_saturating(tiles_left, 1);
  if (with_sound) play_sound(EXPLOSIONSOUND, SOUND_ONCE);
}

bool ray_passes(int32_t c, int32_t r) { return world_cell(c, r).use_collision != COLLISION_BLAST_PROOF; }

}  // namespace

void player_input_set_defaults() {
  pressed_direction = 0;
  action_code = -1;
  fire_latch = 1;
  bomb_armed = 0;
  step_dx = 0;
  step_dy = 0;
  dialog_request = ACTION_NONE;
}

Controls read_controls() {
  Controls controls;
  if (joystick_selected()) {
    read_joystick(controls);
  } else {
    read_keyboard(controls);
  }
  return controls;
}

void read_play_input(const Controls& controls) {
  dialog_request = ACTION_NONE;
  pressed_direction = controls.direction;
  if (controls.previous_map) map_number = add_saturating(map_number, -1);
  if (controls.next_map) map_number = add_saturating(map_number, 1);
  read_buttons(controls);
  player.step_timer += 1;
  if (player.step_timer > move_delay) {
    if (pressed_direction != DIRECTION_NONE) player_step(pressed_direction);
    player.step_timer = 0;
  }
}

void read_buttons(const Controls& controls) {
  action_code = controls.action;
  if (!controls.fire_held) fire_latch = FIRE_READY;
  if (action_code != ACTION_NONE) dispatch_action(action_code);
}

void dispatch_action(int32_t action) {
  if (fire_latch == FIRE_READY) bomb_armed = 1;
  if (action == ACTION_PAUSE || action == ACTION_QUIT) {
    dialog_request = action;
  } else if (action == ACTION_FIRE && bomb_armed == 1) {
    use_bomb();
    bomb_armed = 0;
    fire_latch = FIRE_SPENT;
  }
}

void player_step(int32_t direction) {
  aim_step(direction);
  if (player.motion != MOTION_IDLE) apply_step();
  end_step();
}

void aim_step(int32_t direction) {
  step_dx = 0;
  step_dy = 0;
  if (direction == DIRECTION_LEFT) step_dx = -1;
  if (direction == DIRECTION_RIGHT) step_dx = 1;
  if (direction == DIRECTION_UP) step_dy = -1;
  if (direction == DIRECTION_DOWN) step_dy = 1;
  const int32_t column = player_column() + step_dx;
  const int32_t row = player_row() + step_dy;
  // Outside the matrix there is no floor: the player never walks off it.
  if (!cell_inside(column, row) || world_cell(column, row).use_collision != COLLISION_NONE) {
    step_dx = 0;
    step_dy = 0;
  }
  set_motion_state(step_dx, step_dy);
}

void set_motion_state(int32_t dx, int32_t dy) {
  player.motion = MOTION_IDLE;
  if (dx == -1) player.motion = MOTION_LEFT;
  if (dx == 1) player.motion = MOTION_RIGHT;
  if (dy == -1) player.motion = MOTION_UP;
  if (dy == 1) player.motion = MOTION_DOWN;
  if (player.motion != MOTION_IDLE) play_sound(DEFTILESOUND, SOUND_ONCE);
}

void apply_step() {
  step_dx = round_to_int(static_cast<float>(step_dx) * cell_width);
  step_dy = round_to_int(static_cast<float>(step_dy) * cell_height);
  const float half_width = screen_width / 2.0f;
  const float half_height = screen_height / 2.0f;
  const auto sdx = static_cast<float>(step_dx);
  const auto sdy = static_cast<float>(step_dy);
  switch (player.motion) {
    case MOTION_RIGHT:
      if (player.x + sdx > half_width && view_can_scroll_right()) {
        scroll_x += 1.0f;
      } else {
        player.x += sdx;
      }
      break;
    case MOTION_LEFT:
      // Not symmetric with the right: from exactly the centre the figure moves.
      if (player.x >= half_width) {
        player.x += sdx;
      } else {
        scroll_x -= 1.0f;
        if (scroll_x < 1.0f) {
          player.x += sdx;
          scroll_x = 1.0f;
        }
      }
      break;
    case MOTION_DOWN:
      if (player.y + sdy > half_height && view_can_scroll_down()) {
        scroll_y += 1.0f;
      } else {
        player.y += sdy;
      }
      break;
    case MOTION_UP:
      // From exactly the centre row the view scrolls.
      if (player.y > half_height) {
        player.y += sdy;
      } else {
        scroll_y -= 1.0f;
        if (scroll_y < 1.0f) {
          player.y += sdy;
          scroll_y = 1.0f;
        }
      }
      break;
    default:
      break;
  }
}

void end_step() { player.motion = MOTION_IDLE; }

void use_bomb() {
  if (bombs.empty()) return;
  detonate_bomb();
  bombs.pop_back();
}

void detonate_bomb() {
  const int32_t pc = player_column();
  const int32_t pr = player_row();
  // Starting a ray at the matrix border instead of further out skips only empty cells.
  for (int32_t c = std::max(pc, -1); c < level_width && ray_passes(c, pr); ++c) unfix_cell(c, pr, false);
  for (int32_t c = std::min(pc, world_matrix.columns); c > 0 && ray_passes(c, pr); --c) unfix_cell(c, pr, false);
  for (int32_t r = std::max(pr, -1); r < level_height && ray_passes(pc, r); ++r) unfix_cell(pc, r, false);
  for (int32_t r = std::min(pr, world_matrix.rows); r > 0 && ray_passes(pc, r); --r) unfix_cell(pc, r, true);
}

}  // namespace tessera
