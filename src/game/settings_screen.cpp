#include "game/settings_screen.h"

#include <algorithm>
#include <iterator>

#include "core/config.h"
#include "core/player_settings.h"
#include "core/runtime.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/screen_text.h"
#include "resources/sound_control.h"

namespace tessera {

namespace {

// The rows below the controls'.
enum Row : int32_t {
  ROW_MUSIC = CONTROL_COUNT,
  ROW_EFFECTS,
  ROW_MUTED,
  ROW_FULLSCREEN,
  ROW_RESET,
  ROW_BACK,
  ROW_COUNT,
};
constexpr int32_t PAD_COLUMN = KEY_SLOTS;  // columns 0 and 1 are the keys
constexpr int32_t VOLUME_STEP = 10;
constexpr int32_t CAPTURE_FRAMES = 300;    // a choice of a key waits 5 s, then keeps the old one
constexpr int32_t MESSAGE_FRAMES = 240;
constexpr int32_t REPEAT_DELAY = 24;       // a held direction repeats after this, then every few frames
constexpr int32_t REPEAT_EVERY = 5;

const char* const TITLE = "  SETTINGS |";
const char* const HEADINGS[] = {"CONTROL|", "KEY|", "KEY|", "PAD|"};
const char* const ROW_NAMES[] = {"MUSIC VOLUME|", "EFFECTS VOLUME|", "MUTED (M)|", "FULLSCREEN (F11)|",
                                 "RESET CONTROLS AND SOUND|", "BACK TO THE TITLE|"};
// The words of its other lines (the bindings' messages too); keys are named by letters and digits.
const char* const WORDS[] = {"ON|", "OFF|", "STICK|", "PRESS A KEY|", "PRESS A BUTTON|", "KEPT AS IT WAS|",
                             " CHOOSE   |", " CHANGE   |", " CLEAR   |", " BACK|",
                             "CONTROLS AND SOUND ARE THE DEFAULTS AGAIN|", "THE ONLY KEY OF |", " STAYS|",
                             "A PAD BUTTON CAN ONLY BE SWAPPED|", " SWAPPED: |", " NOW HAS |", " TAKEN FROM |",
                             " IS THE ONLY KEY OF |", "F11, M AND ALT ARE THE GAME'S OWN|"};

int32_t row = 0;
int32_t column = 0;
bool capturing = false;
int32_t capture_frames = 0;
bool wait_release = true;  // nothing counts until every control is let go
Controls previous;
int32_t held_frames = 0;  // how long the direction has been held
std::string message;
int32_t message_frames = 0;
PlayerSettings on_entry;

void say(const std::string& text) {
  message = text;
  message_frames = MESSAGE_FRAMES;
}

bool idle(const Controls& c) {
  return c.direction == DIRECTION_NONE && c.action == ACTION_NONE && !c.start && !c.settings && !c.fire_held;
}

bool pressed(const Controls& now, int32_t action) { return now.action == action && previous.action != action; }

Control row_control() { return static_cast<Control>(row); }
bool on_control_row() { return row < CONTROL_COUNT; }
int32_t last_column() { return takes_button(row_control()) ? PAD_COLUMN : KEY_SLOTS - 1; }

void apply_sound() {
  sound_set_volumes(player_settings.music_volume, player_settings.effects_volume);
  sound_set_muted(player_settings.muted);
}

void change_volume(int32_t& volume, int32_t by, bool effects) {
  volume = std::clamp(volume + by, 0, VOLUME_MAX);
  apply_sound();
  if (effects) play_sound(DEFTILESOUND, SOUND_ONCE);  // to hear it
}

void set_fullscreen(bool on) {
  window_set_fullscreen(on);
  player_settings.fullscreen = window_fullscreen();
}

void reset_to_defaults() {
  PlayerSettings defaults;
  defaults.fullscreen = player_settings.fullscreen;
  defaults.unknown = player_settings.unknown;
  player_settings = defaults;
  apply_sound();
  say("CONTROLS AND SOUND ARE THE DEFAULTS AGAIN");
}

// The key slot or the button under the cursor is emptied; a control keeps at least one key.
void clear_cell() {
  Binding& binding = player_settings[row_control()];
  if (column == PAD_COLUMN) {
    // With a pad the keyboard is not read: a control without its button could never be given one
    // back. Only the map controls, which have none by default, can lose theirs.
    if (row_control() == Control::next_map || row_control() == Control::previous_map) {
      binding.button = 0;
    } else {
      say("A PAD BUTTON CAN ONLY BE SWAPPED");
    }
    return;
  }
  const int32_t other = binding.keys[static_cast<size_t>(1 - column)];
  if (other == 0) {
    say(std::string("THE ONLY KEY OF ") + control_screen_name(row_control()) + " STAYS");
    return;
  }
  binding.keys[static_cast<size_t>(column)] = 0;
  if (binding.keys[0] == 0) std::swap(binding.keys[0], binding.keys[1]);
}

void capture(const Controls& controls) {
  const bool pad = column == PAD_COLUMN;
  BindResult result;
  if (pad && controls.pressed_button != 0) {
    result = bind_button(player_settings, row_control(), controls.pressed_button);
  } else if (!pad && controls.pressed_key != 0) {
    result = bind_key(player_settings, row_control(), column, controls.pressed_key);
  } else if (controls.pressed_key == 0 && controls.pressed_button == 0 && ++capture_frames < CAPTURE_FRAMES) {
    return;
  } else {
    result.message = "KEPT AS IT WAS";
  }
  say(result.message);
  capturing = false;
  wait_release = true;
}

void move(int8_t direction) {
  if (direction == DIRECTION_UP) row = (row + ROW_COUNT - 1) % ROW_COUNT;
  if (direction == DIRECTION_DOWN) row = (row + 1) % ROW_COUNT;
  if (on_control_row()) {
    if (direction == DIRECTION_LEFT) column = std::max(column - 1, 0);
    if (direction == DIRECTION_RIGHT) column = std::min(column + 1, last_column());
    column = std::min(column, last_column());
    return;
  }
  const int32_t by = direction == DIRECTION_LEFT ? -VOLUME_STEP : (direction == DIRECTION_RIGHT ? VOLUME_STEP : 0);
  if (by == 0) return;
  if (row == ROW_MUSIC) change_volume(player_settings.music_volume, by, false);
  if (row == ROW_EFFECTS) change_volume(player_settings.effects_volume, by, true);
  if (row == ROW_MUTED) {
    player_settings.muted = by < 0 ? false : true;
    apply_sound();
  }
  if (row == ROW_FULLSCREEN) set_fullscreen(by > 0);
}

// True when the player leaves.
bool choose() {
  if (on_control_row()) {
    capturing = true;
    capture_frames = 0;
    message.clear();
    return false;
  }
  if (row == ROW_MUTED) {
    player_settings.muted = !player_settings.muted;
    apply_sound();
  }
  if (row == ROW_FULLSCREEN) set_fullscreen(!window_fullscreen());
  if (row == ROW_RESET) reset_to_defaults();
  return row == ROW_BACK;
}

bool leave() {
  if (!(player_settings == on_entry)) save_player_settings();
  return true;
}

// A direction acts when pressed, and again while held after a short delay.
bool direction_due(const Controls& controls) {
  if (controls.direction == DIRECTION_NONE || controls.direction != previous.direction) {
    held_frames = 0;
    return controls.direction != DIRECTION_NONE;
  }
  ++held_frames;
  return held_frames >= REPEAT_DELAY && (held_frames - REPEAT_DELAY) % REPEAT_EVERY == 0;
}

bool step(const Controls& controls) {
  if (message_frames > 0) --message_frames;
  if (capturing) {
    capture(controls);
    return false;
  }
  if (wait_release) {
    wait_release = !idle(controls);
    return false;
  }
  if (pressed(controls, ACTION_QUIT)) return leave();
  if (pressed(controls, ACTION_FIRE) || (controls.start && !previous.start)) return choose() && leave();
  if (pressed(controls, ACTION_B) && on_control_row()) clear_cell();
  if (direction_due(controls)) move(controls.direction);
  return false;
}

// ---- Drawing ------------------------------------------------------------------------------

constexpr float NAME_X = 0.08f;
constexpr float CELL_X[] = {0.42f, 0.58f, 0.74f};
constexpr float CELL_W = 0.15f;
constexpr float FIRST_ROW_Y = 0.2f;
constexpr float ROW_STEP = 0.034f;
constexpr float TEXT_SCALE = 0.6f;

float row_y(int32_t r) { return FIRST_ROW_Y + ROW_STEP * static_cast<float>(r); }

void text(const std::string& line, float x, float y, int32_t alpha = 255, float scale = TEXT_SCALE) {
  draw_screen_text(line + "|", screen_width * x, screen_height * y, scale, 0.0f, alpha, 1.0f);
}

void highlight(float x, float y, float width) {
  draw_box(static_cast<int32_t>(screen_width * (x - 0.01f)), static_cast<int32_t>(screen_height * (y - 0.006f)),
           static_cast<int32_t>(screen_width * width), static_cast<int32_t>(screen_height * ROW_STEP * 0.92f),
           rgb(40, 70, 150));
}

std::string strip(const char* line) {
  std::string s(line);
  if (!s.empty() && s.back() == '|') s.pop_back();
  return s;
}

std::string cell_text(int32_t r, int32_t c) {
  const auto control = static_cast<Control>(r);
  if (c == PAD_COLUMN) {
    if (!takes_button(control)) return "STICK";
    return bound_button_name(control);
  }
  const int32_t key = player_settings[control].keys[static_cast<size_t>(c)];
  return key == 0 ? "-" : key_name(key);
}

std::string value_text(int32_t r) {
  if (r == ROW_MUSIC) return std::to_string(player_settings.music_volume);
  if (r == ROW_EFFECTS) return std::to_string(player_settings.effects_volume);
  if (r == ROW_MUTED) return player_settings.muted ? "ON" : "OFF";
  if (r == ROW_FULLSCREEN) return window_fullscreen() ? "ON" : "OFF";
  return "";
}

// The keys that work this screen, as bound now.
std::string hint() {
  const bool pad = input_device == INPUT_JOYSTICK;
  const auto name = [pad](Control control) { return pad ? bound_button_name(control) : bound_key_name(control); };
  const std::string arrows = pad ? "STICK" : bound_key_name(Control::up) + " " + bound_key_name(Control::down);
  return arrows + " CHOOSE   " + name(Control::bomb) + " CHANGE   " + name(Control::dialog_restart_quit) +
         " CLEAR   " + name(Control::quit) + " BACK";
}

}  // namespace

void enter_settings() {
  row = 0;
  column = 0;
  capturing = false;
  wait_release = true;
  previous = Controls{};
  held_frames = 0;
  message.clear();
  message_frames = 0;
  on_entry = player_settings;
}

bool settings_step(const Controls& controls) {
  const bool left = step(controls);
  previous = controls;
  return left;
}

void draw_settings() {
  screen_clear(rgb(0, 0, 0));
  draw_screen_text(TITLE, screen_width * 0.06f, screen_height * 0.06f, 2.0f, 0.0f, 255, 1.0f);
  text(strip(HEADINGS[0]), NAME_X, row_y(-1), 160);
  for (int32_t c = 0; c <= PAD_COLUMN; ++c) text(strip(HEADINGS[c + 1]), CELL_X[c], row_y(-1), 160);
  for (int32_t r = 0; r < ROW_COUNT; ++r) {
    const float y = row_y(r);
    const bool chosen = r == row;
    if (r < CONTROL_COUNT) {
      text(control_screen_name(static_cast<Control>(r)), NAME_X, y, chosen ? 255 : 200);
      for (int32_t c = 0; c <= PAD_COLUMN; ++c) {
        const bool cursor = chosen && c == column;
        if (cursor) highlight(CELL_X[c], y, CELL_W);
        std::string shown = cell_text(r, c);
        if (cursor && capturing) shown = c == PAD_COLUMN ? "PRESS A BUTTON" : "PRESS A KEY";
        text(shown, CELL_X[c], y, cursor || chosen ? 255 : 200);
      }
    } else {
      if (chosen) highlight(NAME_X, y, CELL_X[0] + CELL_W - NAME_X);
      text(strip(ROW_NAMES[r - CONTROL_COUNT]), NAME_X, y, chosen ? 255 : 200);
      text(value_text(r), CELL_X[0], y, chosen ? 255 : 200);
    }
  }
  if (message_frames > 0 && !message.empty()) text(message, NAME_X, row_y(ROW_COUNT) + 0.01f, 255);
  text(hint(), NAME_X, 0.93f, 200);
}

std::vector<std::string> settings_screen_texts() {
  std::vector<std::string> texts = {TITLE};
  texts.insert(texts.end(), std::begin(HEADINGS), std::end(HEADINGS));
  texts.insert(texts.end(), std::begin(ROW_NAMES), std::end(ROW_NAMES));
  texts.insert(texts.end(), std::begin(WORDS), std::end(WORDS));
  for (int32_t c = 0; c < CONTROL_COUNT; ++c) texts.push_back(std::string(control_screen_name(static_cast<Control>(c))) + "|");
  return texts;
}

}  // namespace tessera
