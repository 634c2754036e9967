// The player's own settings, apart from the data set's configuration (which belongs to the
// modder): which keys and pad buttons give each control, the volumes, fullscreen and mute. The
// defaults are exactly the game's fixed controls and behaviour before there were settings.
//
// The file's text is read and written by pure functions (text in, values and messages out; values
// out, text out); player_settings_file.cpp reads and writes the file itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tessera {

// The controls a player can bind, in the order the settings screen and the file list them.
enum class Control : uint8_t {
  up,
  down,
  left,
  right,
  bomb,
  pause,
  quit,
  next_map,
  previous_map,
  dialog_restart_quit,  // the dialogs' answer B: restart (pause dialog), quit (quit dialog)
  dialog_continue,      // the dialogs' answer X: back to play
  start,                // the title's start
  settings,             // the title's way to the settings screen
};
constexpr int32_t CONTROL_COUNT = 13;
constexpr int32_t KEY_SLOTS = 2;  // keys a control can have

// Controls of one group must not share a key or a button; controls of different groups may (the
// title's start and play's pause are both P by default).
constexpr bool title_control(Control control) { return control == Control::start || control == Control::settings; }
// The directions move with the pad's stick and d-pad; they take no pad button.
constexpr bool takes_button(Control control) { return static_cast<int32_t>(control) > static_cast<int32_t>(Control::right); }

struct Binding {
  std::array<int32_t, KEY_SLOTS> keys {};  // key codes (KEY_* of platform.h); 0: none
  int32_t button = 0;                      // pad button 1..JOYSTICK_BUTTONS; 0: none
  bool operator==(const Binding&) const = default;
};

constexpr int32_t VOLUME_MAX = 100;

struct PlayerSettings {
  std::array<Binding, CONTROL_COUNT> bindings;
  int32_t music_volume = VOLUME_MAX;  // 0..100, through the mixer
  int32_t effects_volume = VOLUME_MAX;
  bool fullscreen = true;  // the borderless display-sized window; false: a normal window
  bool muted = false;      // every sound silent (M switches)
  // Lines of the file this version does not know, as found (key, value): written back unchanged.
  std::vector<std::pair<std::string, std::string>> unknown;

  PlayerSettings();
  Binding& operator[](Control control) { return bindings[static_cast<size_t>(control)]; }
  const Binding& operator[](Control control) const { return bindings[static_cast<size_t>(control)]; }
  bool operator==(const PlayerSettings&) const = default;
};

// The settings of this run: the defaults until load_player_settings. Whole run.
extern PlayerSettings player_settings;

// "up", "bomb", "dialog_continue", ...: the control's key in the file.
const char* control_file_name(Control control);
// "UP", "BOMB", "CONTINUE", ...: the control as the settings screen names it.
const char* control_screen_name(Control control);
// A key's name ("P", "SPACE", "PAGEUP", ...), also in the file; "" for a code without one.
std::string key_name(int32_t code);
// The code of a key name (any letter case); 0 when no key has it.
int32_t key_code(const std::string& name);
// The pad button's name ("X", "A", "B", "Y", "LB", "RB", "LT", "RT", "BACK", "START"); "" for none.
std::string button_name(int32_t button);
int32_t button_code(const std::string& name);
// Keys the game answers itself on every screen and never binds: F11, M and both Alt keys.
bool key_reserved(int32_t code);

// The name a screen text gives the control's key: its first key's name, "-" without one.
std::string bound_key_name(Control control);
// Its pad button's name, "-" without one.
std::string bound_button_name(Control control);

// What binding a key or button to a control did.
struct BindResult {
  bool changed = false;
  std::string message;  // for the player: what moved, or why nothing did; empty when nothing to say
};
// Puts the key into slot `slot` of the control. When another control of its group holds the key,
// that control gets the slot's old key in its place (a swap: no key is lost); when the slot was
// empty and the key is the other control's only one, nothing changes.
BindResult bind_key(PlayerSettings& settings, Control control, int32_t slot, int32_t key);
// The same for the control's pad button.
BindResult bind_button(PlayerSettings& settings, Control control, int32_t button);

// The file read: the values (defaults where a line was missing or bad) and one message per unknown
// key, bad value or clash, each naming `source` and the line.
struct SettingsRead {
  PlayerSettings settings;
  std::vector<std::string> messages;
};
SettingsRead parse_settings(const std::string& text, const std::string& source);
// The file's text: a comment line before each key, then the unknown lines as found.
std::string settings_text(const PlayerSettings& settings);

// ---- The file (player_settings_file.cpp) -------------------------------------------------------

// $XDG_CONFIG_HOME/zorvane/settings.ini, else ~/.config/zorvane/settings.ini; "" when there is no
// configuration directory.
std::string settings_path();
// Reads the file into player_settings (the defaults when it is missing), naming on standard error
// every unknown key and bad value. A file that cannot be read, or is not text, is moved aside
// (settings.ini.unreadable-DATE) with a line on standard error, and the defaults are used; when it
// cannot be moved, nothing is saved over it for the rest of the run.
void load_player_settings();
// Writes player_settings to a new file renamed into place; a failure is named on standard error.
// True when written; false too while an unreadable file is kept in its place.
bool save_player_settings();
// --reset-settings: deletes the file. The text to print on standard error (what was removed, or
// that there was nothing to remove), and false when the file could not be removed.
bool reset_settings_file(std::string& said);

}  // namespace tessera
