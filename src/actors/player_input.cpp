#include "actors/player_input.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/config.h"
#include "core/numeric.h"
#include "core/player_settings.h"
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

// Pad buttons 1..JOYSTICK_BUTTONS bound to no control keep the meaningless actions they always gave
// (so that holding one still hides the buttons after it): Y, the shoulders and the triggers.
constexpr int32_t UNBOUND_BUTTON_ACTIONS[JOYSTICK_BUTTONS] = {
    ACTION_NONE, ACTION_NONE, ACTION_NONE, ACTION_Y, ACTION_LEFT_SHOULDER, ACTION_RIGHT_SHOULDER,
    ACTION_LEFT_TRIGGER, ACTION_RIGHT_TRIGGER, ACTION_NONE, ACTION_NONE};

// The controls that give an action, in the order they are tested on the keyboard: a later held key
// overrides an earlier one (the pause keys win over everything).
struct ControlAction {
  Control control;
  int32_t action;
};
constexpr ControlAction ACTION_CONTROLS[] = {
    {Control::bomb, ACTION_FIRE}, {Control::dialog_restart_quit, ACTION_B}, {Control::dialog_continue, ACTION_X},
    {Control::quit, ACTION_QUIT}, {Control::pause, ACTION_PAUSE},
};
// D and Y, while no control of play or the dialogs has them, give the meaningless Y action they
// always gave, between the continue keys and the quit keys.
constexpr int32_t UNBOUND_Y_KEYS[] = {KEY_D, KEY_Y};

bool joystick_selected() { return input_device == INPUT_JOYSTICK; }

// The player's cell: the figure's screen cell plus the scroll (floor, never nearest).
int32_t player_column() { return round_to_int(std::floor(player.x / cell_width) + scroll_x); }
int32_t player_row() { return round_to_int(std::floor(player.y / cell_height) + scroll_y); }

bool any_key_pushed(Control control) {
  for (const int32_t key : player_settings[control].keys) {
    if (key != 0 && key_pushed(key) != 0) return true;
  }
  return false;
}

// Every key of the control is queried: each query updates that key's remembered state.
bool any_key_released(Control control) {
  bool released = false;
  for (const int32_t key : player_settings[control].keys) {
    if (key != 0 && key_released(key) != 0) released = true;
  }
  return released;
}

bool bound_in_play(int32_t key) {
  for (int32_t c = 0; c < CONTROL_COUNT; ++c) {
    const auto control = static_cast<Control>(c);
    if (title_control(control)) continue;
    for (const int32_t bound : player_settings[control].keys) {
      if (bound == key) return true;
    }
  }
  return false;
}

void read_keyboard(Controls& controls) {
  const bool up = any_key_pushed(Control::up);
  const bool left = any_key_pushed(Control::left);
  const bool right = any_key_pushed(Control::right);
  const bool down = any_key_pushed(Control::down);
  if (up) controls.direction = DIRECTION_UP;
  if (left) controls.direction = DIRECTION_LEFT;
  if (right) controls.direction = DIRECTION_RIGHT;
  if (down) controls.direction = DIRECTION_DOWN;
  if ((up && left) || (up && right) || (down && right) || (down && left)) controls.direction = DIRECTION_NONE;
  controls.previous_map = any_key_released(Control::previous_map);
  controls.next_map = any_key_released(Control::next_map);
  for (const ControlAction& entry : ACTION_CONTROLS) {
    if (entry.control == Control::quit) {
      for (const int32_t key : UNBOUND_Y_KEYS) {
        if (!bound_in_play(key) && key_pushed(key) != 0) controls.action = ACTION_Y;
      }
    }
    if (any_key_pushed(entry.control)) controls.action = entry.action;
  }
  controls.fire_held = controls.action == ACTION_FIRE;
  controls.start = any_key_pushed(Control::start);
  controls.settings = any_key_pushed(Control::settings);
}

// The play or dialog control bound to the pad button; false when none is.
bool button_control(int32_t button, Control& found) {
  for (int32_t c = 0; c < CONTROL_COUNT; ++c) {
    const auto control = static_cast<Control>(c);
    if (!title_control(control) && player_settings[control].button == button) {
      found = control;
      return true;
    }
  }
  return false;
}

int32_t action_of(Control control) {
  for (const ControlAction& entry : ACTION_CONTROLS) {
    if (entry.control == control) return entry.action;
  }
  return ACTION_NONE;
}

bool button_held(Control control) {
  const int32_t button = player_settings[control].button;
  return button != 0 && joystick_button(button) != 0;
}

void read_joystick(Controls& controls) {
  joystick_examine();
  const int32_t ax = joystick_axis_x();
  const int32_t ay = joystick_axis_y();
  if (ax == 1) controls.direction = DIRECTION_RIGHT;
  if (ax == -1) controls.direction = DIRECTION_LEFT;
  if (ay == 1) controls.direction = DIRECTION_DOWN;
  if (ay == -1) controls.direction = DIRECTION_UP;
  // The first held button that gives an action decides; the start control too is the first held.
  bool first = true;
  for (int32_t button = 1; button <= JOYSTICK_BUTTONS; ++button) {
    if (joystick_button(button) == 0) continue;
    if (first) controls.start = player_settings[Control::start].button == button;
    first = false;
    Control control {};
    const int32_t action = button_control(button, control) ? action_of(control) : UNBOUND_BUTTON_ACTIONS[button - 1];
    if (action != ACTION_NONE) {
      controls.action = action;
      break;
    }
  }
  controls.fire_held = button_held(Control::bomb);
  controls.settings = button_held(Control::settings);
  // The map controls act on the button's release, as the keys do.
  static uint32_t map_buttons_held = 0;
  const Control maps[] = {Control::previous_map, Control::next_map};
  for (uint32_t i = 0; i < 2; ++i) {
    const bool held = button_held(maps[i]);
    const bool was = (map_buttons_held >> i & 1u) != 0;
    (i == 0 ? controls.previous_map : controls.next_map) = was && !held;
    map_buttons_held = held ? map_buttons_held | 1u << i : map_buttons_held & ~(1u << i);
  }
}

// What went down since the last snapshot: the settings screen's choice of a key or button.
bool keys_before[256] = {};
uint32_t buttons_before = 0;
int32_t fullscreen_seen = 0;
int32_t mute_seen = 0;

int32_t newly_pressed_key() {
  int32_t pressed = 0;
  for (int32_t code = 1; code < 256; ++code) {
    const bool held = key_pushed(code) != 0;
    if (held && !keys_before[code] && pressed == 0 && !key_name(code).empty()) pressed = code;
    keys_before[code] = held;
  }
  return pressed;
}

int32_t newly_pressed_button() {
  int32_t pressed = 0;
  uint32_t held = 0;
  for (int32_t button = 1; button <= JOYSTICK_BUTTONS; ++button) {
    if (joystick_button(button) == 0) continue;
    held |= 1u << (button - 1);
    if (pressed == 0 && (buttons_before >> (button - 1) & 1u) == 0) pressed = button;
  }
  buttons_before = held;
  return pressed;
}

// F11, Alt+Enter and M were answered by the platform; the settings remember what they did.
void remember_window_and_sound() {
  if (fullscreen_switches() == fullscreen_seen && mute_switches() == mute_seen) return;
  fullscreen_seen = fullscreen_switches();
  mute_seen = mute_switches();
  if (player_settings.fullscreen == window_fullscreen() && player_settings.muted == sound_muted()) return;
  player_settings.fullscreen = window_fullscreen();
  player_settings.muted = sound_muted();
  save_player_settings();
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
  for (bool& held : keys_before) held = false;
  buttons_before = 0;
  fullscreen_seen = fullscreen_switches();
  mute_seen = mute_switches();
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
  keyboard_examine();
  if (joystick_selected()) {
    read_joystick(controls);
    controls.pressed_button = newly_pressed_button();
  } else {
    read_keyboard(controls);
  }
  controls.pressed_key = newly_pressed_key();
  controls.away = window_away() != 0;
  remember_window_and_sound();
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
