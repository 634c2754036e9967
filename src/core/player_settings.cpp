#include "core/player_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>

#include "platform/platform.h"

namespace tessera {

PlayerSettings player_settings;

namespace {

struct ControlInfo {
  const char* file_name;
  const char* screen_name;
  const char* comment;  // the file's comment line before the key
  Binding defaults;
};

// Pad buttons: 1 X, 2 A, 3 B, 4 Y, 5 LB, 6 RB, 7 LT, 8 RT, 9 BACK, 10 START.
const ControlInfo CONTROLS[CONTROL_COUNT] = {
    {"up", "UP", "Keys that move up (the pad's stick and d-pad always move)", {{KEY_UP, 0}, 0}},
    {"down", "DOWN", "Keys that move down", {{KEY_DOWN, 0}, 0}},
    {"left", "LEFT", "Keys that move left", {{KEY_LEFT, 0}, 0}},
    {"right", "RIGHT", "Keys that move right", {{KEY_RIGHT, 0}, 0}},
    {"bomb", "BOMB", "Keys of the bomb", {{KEY_SPACE, KEY_A}, 2}},
    {"pause", "PAUSE", "Keys that pause the game", {{KEY_P, 0}, 10}},
    {"quit", "QUIT", "Keys that ask to quit", {{KEY_ESCAPE, 0}, 9}},
    {"next_map", "NEXT MAP", "Keys that skip to the next map during play", {{KEY_PAGE_UP, 0}, 0}},
    {"previous_map", "PREVIOUS MAP", "Keys that go back to the previous map during play", {{KEY_PAGE_DOWN, 0}, 0}},
    {"dialog_restart_quit", "RESTART OR QUIT", "Keys of the dialogs' answer B: restart the map, or quit",
     {{KEY_B, 0}, 3}},
    {"dialog_continue", "CONTINUE", "Keys of the dialogs' answer X: back to play", {{KEY_X, KEY_C}, 1}},
    {"start", "START", "Keys that start a game from the title", {{KEY_P, 0}, 10}},
    {"settings", "SETTINGS", "Keys that open these settings from the title", {{KEY_S, 0}, 4}},
};

const char* const BUTTON_NAMES[JOYSTICK_BUTTONS] = {"X", "A", "B", "Y", "LB", "RB", "LT", "RT", "BACK", "START"};

struct KeyName {
  int32_t code;
  const char* name;
};

// Every key the platform reports (DirectInput scan codes), by a name of letters and digits only,
// so that any data set's font that writes the game's texts writes them too.
constexpr KeyName KEY_NAMES[] = {
    {0x01, "ESCAPE"}, {0x02, "1"}, {0x03, "2"}, {0x04, "3"}, {0x05, "4"}, {0x06, "5"}, {0x07, "6"},
    {0x08, "7"}, {0x09, "8"}, {0x0A, "9"}, {0x0B, "0"}, {0x0C, "MINUS"}, {0x0D, "EQUALS"},
    {0x0E, "BACKSPACE"}, {0x0F, "TAB"}, {0x10, "Q"}, {0x11, "W"}, {0x12, "E"}, {0x13, "R"}, {0x14, "T"},
    {0x15, "Y"}, {0x16, "U"}, {0x17, "I"}, {0x18, "O"}, {0x19, "P"}, {0x1A, "LBRACKET"}, {0x1B, "RBRACKET"},
    {0x1C, "ENTER"}, {0x1D, "LCTRL"}, {0x1E, "A"}, {0x1F, "S"}, {0x20, "D"}, {0x21, "F"}, {0x22, "G"},
    {0x23, "H"}, {0x24, "J"}, {0x25, "K"}, {0x26, "L"}, {0x27, "SEMICOLON"}, {0x28, "APOSTROPHE"},
    {0x29, "GRAVE"}, {0x2A, "LSHIFT"}, {0x2B, "BACKSLASH"}, {0x2C, "Z"}, {0x2D, "X"}, {0x2E, "C"},
    {0x2F, "V"}, {0x30, "B"}, {0x31, "N"}, {0x32, "M"}, {0x33, "COMMA"}, {0x34, "PERIOD"}, {0x35, "SLASH"},
    {0x36, "RSHIFT"}, {0x37, "KPMULTIPLY"}, {0x38, "LALT"}, {0x39, "SPACE"}, {0x3A, "CAPSLOCK"},
    {0x3B, "F1"}, {0x3C, "F2"}, {0x3D, "F3"}, {0x3E, "F4"}, {0x3F, "F5"}, {0x40, "F6"}, {0x41, "F7"},
    {0x42, "F8"}, {0x43, "F9"}, {0x44, "F10"}, {0x45, "NUMLOCK"}, {0x46, "SCROLLLOCK"}, {0x47, "KP7"},
    {0x48, "KP8"}, {0x49, "KP9"}, {0x4A, "KPMINUS"}, {0x4B, "KP4"}, {0x4C, "KP5"}, {0x4D, "KP6"},
    {0x4E, "KPPLUS"}, {0x4F, "KP1"}, {0x50, "KP2"}, {0x51, "KP3"}, {0x52, "KP0"}, {0x53, "KPPERIOD"},
    {0x56, "NONUSBACKSLASH"}, {0x57, "F11"}, {0x58, "F12"}, {0x8D, "KPEQUALS"}, {0x9C, "KPENTER"},
    {0x9D, "RCTRL"}, {0xB5, "KPDIVIDE"}, {0xB7, "PRINTSCREEN"}, {0xB8, "RALT"}, {0xC5, "PAUSEBREAK"},
    {0xC7, "HOME"}, {0xC8, "UP"}, {0xC9, "PAGEUP"}, {0xCB, "LEFT"}, {0xCD, "RIGHT"}, {0xCF, "END"},
    {0xD0, "DOWN"}, {0xD1, "PAGEDOWN"}, {0xD2, "INSERT"}, {0xD3, "DELETE"}, {0xDB, "LGUI"}, {0xDC, "RGUI"},
    {0xDD, "MENU"},
};

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool same_group(Control a, Control b) { return title_control(a) == title_control(b); }

int32_t key_count(const Binding& binding) {
  return static_cast<int32_t>(std::count_if(binding.keys.begin(), binding.keys.end(), [](int32_t k) { return k != 0; }));
}

// The control of the group that holds the key (other than `except`), and its slot; false if none.
bool key_holder(const PlayerSettings& settings, Control group, int32_t key, Control except, Control& holder,
                int32_t& slot) {
  for (int32_t c = 0; c < CONTROL_COUNT; ++c) {
    const auto control = static_cast<Control>(c);
    if (control == except || !same_group(control, group)) continue;
    for (int32_t s = 0; s < KEY_SLOTS; ++s) {
      if (settings[control].keys[static_cast<size_t>(s)] == key) {
        holder = control;
        slot = s;
        return true;
      }
    }
  }
  return false;
}

bool button_holder(const PlayerSettings& settings, Control group, int32_t button, Control except, Control& holder) {
  for (int32_t c = 0; c < CONTROL_COUNT; ++c) {
    const auto control = static_cast<Control>(c);
    if (control != except && same_group(control, group) && settings[control].button == button) {
      holder = control;
      return true;
    }
  }
  return false;
}

// ---- Reading ------------------------------------------------------------------------------

struct Reader {
  SettingsRead read;
  std::string source;
  int32_t line = 0;

  void say(const std::string& text) { read.messages.push_back(source + ":" + std::to_string(line) + ": " + text); }
  void bad(const std::string& key, const std::string& value, const std::string& expected, const std::string& kept) {
    say("bad value \"" + value + "\" for " + key + " (" + expected + "): " + kept + " stays");
  }
};

bool parse_percent(const std::string& text, int32_t& out) {
  int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < 0 || value > VOLUME_MAX) return false;
  out = value;
  return true;
}

bool parse_switch(const std::string& text, bool& out) {
  const std::string word = upper(text);
  if (word == "ON" || word == "YES" || word == "TRUE" || word == "1") {
    out = true;
  } else if (word == "OFF" || word == "NO" || word == "FALSE" || word == "0") {
    out = false;
  } else {
    return false;
  }
  return true;
}

std::vector<std::string> split_names(const std::string& text) {
  std::vector<std::string> names;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    names.push_back(trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

void read_keys(Reader& reader, Control control, const std::string& key, const std::string& value) {
  Binding& binding = reader.read.settings[control];
  const std::vector<std::string> names = split_names(value);
  std::array<int32_t, KEY_SLOTS> keys {};
  bool good = static_cast<int32_t>(names.size()) <= KEY_SLOTS;
  for (size_t i = 0; good && i < names.size(); ++i) {
    if (names[i] == "-" || (names[i].empty() && names.size() == 1)) continue;
    keys[i] = key_code(names[i]);
    good = keys[i] != 0 && !key_reserved(keys[i]) && (i == 0 || keys[i] != keys[0]);
  }
  if (!good) {
    reader.bad(key, value, "at most two key names with a comma between, or -; F11, M and Alt are the game's own",
               "its default");
    return;
  }
  binding.keys = keys;
}

void read_button(Reader& reader, Control control, const std::string& key, const std::string& value) {
  const int32_t button = value == "-" ? 0 : button_code(value);
  if (button == 0 && value != "-") {
    reader.bad(key, value, "X, A, B, Y, LB, RB, LT, RT, BACK, START or -", "its default");
    return;
  }
  reader.read.settings[control].button = button;
}

// A key or button given to two controls of a group stays with the one listed first.
void drop_clashes(Reader& reader) {
  PlayerSettings& settings = reader.read.settings;
  for (int32_t c = 1; c < CONTROL_COUNT; ++c) {
    const auto control = static_cast<Control>(c);
    for (int32_t s = 0; s < KEY_SLOTS; ++s) {
      int32_t& key = settings[control].keys[static_cast<size_t>(s)];
      Control holder {};
      int32_t slot = 0;
      if (key != 0 && key_holder(settings, control, key, control, holder, slot) &&
          static_cast<int32_t>(holder) < c) {
        reader.read.messages.push_back(reader.source + ": " + key_name(key) + " is given to both " +
                                       control_file_name(holder) + " and " + control_file_name(control) +
                                       ": it stays with " + control_file_name(holder));
        key = 0;
      }
    }
    if (settings[control].keys[0] == 0) std::swap(settings[control].keys[0], settings[control].keys[1]);
    Control holder {};
    int32_t& button = settings[control].button;
    if (button != 0 && button_holder(settings, control, button, control, holder) && static_cast<int32_t>(holder) < c) {
      reader.read.messages.push_back(reader.source + ": pad button " + button_name(button) + " is given to both " +
                                     control_file_name(holder) + " and " + control_file_name(control) +
                                     ": it stays with " + control_file_name(holder));
      button = 0;
    }
  }
}

void read_pair(Reader& reader, const std::string& key, const std::string& value) {
  PlayerSettings& settings = reader.read.settings;
  for (int32_t c = 0; c < CONTROL_COUNT; ++c) {
    const auto control = static_cast<Control>(c);
    const std::string name = control_file_name(control);
    if (key == name) return read_keys(reader, control, key, value);
    if (takes_button(control) && key == name + "_pad") return read_button(reader, control, key, value);
  }
  if (key == "music_volume" || key == "effects_volume") {
    int32_t& volume = key == "music_volume" ? settings.music_volume : settings.effects_volume;
    if (!parse_percent(value, volume)) reader.bad(key, value, "0 to 100", std::to_string(volume));
  } else if (key == "fullscreen" || key == "muted") {
    bool& flag = key == "fullscreen" ? settings.fullscreen : settings.muted;
    if (!parse_switch(value, flag)) reader.bad(key, value, "on or off", flag ? "on" : "off");
  } else {
    settings.unknown.emplace_back(key, value);
    reader.say("unknown key \"" + key + "\": kept in the file, not used");
  }
}

}  // namespace

PlayerSettings::PlayerSettings() {
  for (int32_t c = 0; c < CONTROL_COUNT; ++c) bindings[static_cast<size_t>(c)] = CONTROLS[c].defaults;
}

const char* control_file_name(Control control) { return CONTROLS[static_cast<size_t>(control)].file_name; }
const char* control_screen_name(Control control) { return CONTROLS[static_cast<size_t>(control)].screen_name; }

std::string key_name(int32_t code) {
  for (const KeyName& key : KEY_NAMES) {
    if (key.code == code) return key.name;
  }
  return "";
}

int32_t key_code(const std::string& name) {
  const std::string wanted = upper(name);
  for (const KeyName& key : KEY_NAMES) {
    if (wanted == key.name) return key.code;
  }
  return 0;
}

std::string button_name(int32_t button) {
  return button >= 1 && button <= JOYSTICK_BUTTONS ? BUTTON_NAMES[button - 1] : "";
}

int32_t button_code(const std::string& name) {
  const std::string wanted = upper(name);
  for (int32_t b = 1; b <= JOYSTICK_BUTTONS; ++b) {
    if (wanted == BUTTON_NAMES[b - 1]) return b;
  }
  return 0;
}

bool key_reserved(int32_t code) { return code == KEY_F11 || code == KEY_M || code == KEY_LEFT_ALT || code == KEY_RIGHT_ALT; }

std::string bound_key_name(Control control) {
  for (const int32_t key : player_settings[control].keys) {
    if (key != 0) return key_name(key);
  }
  return "-";
}

std::string bound_button_name(Control control) {
  const int32_t button = player_settings[control].button;
  return button == 0 ? "-" : button_name(button);
}

BindResult bind_key(PlayerSettings& settings, Control control, int32_t slot, int32_t key) {
  BindResult result;
  if (slot < 0 || slot >= KEY_SLOTS || key_name(key).empty()) return result;
  if (key_reserved(key)) {
    result.message = "F11, M AND ALT ARE THE GAME'S OWN";
    return result;
  }
  Binding& own = settings[control];
  int32_t& target = own.keys[static_cast<size_t>(slot)];
  if (target == key) return result;
  const int32_t old = target;
  // Already the control's other key: the two slots change places.
  for (int32_t& other : own.keys) {
    if (&other != &target && other == key) {
      other = old;
      target = key;
      result.changed = true;
      return result;
    }
  }
  Control holder {};
  int32_t holder_slot = 0;
  if (key_holder(settings, control, key, control, holder, holder_slot)) {
    Binding& theirs = settings[holder];
    if (old == 0 && key_count(theirs) == 1) {
      result.message = key_name(key) + " IS THE ONLY KEY OF " + control_screen_name(holder);
      return result;
    }
    theirs.keys[static_cast<size_t>(holder_slot)] = old;
    if (theirs.keys[0] == 0) std::swap(theirs.keys[0], theirs.keys[1]);
    result.message = old == 0 ? key_name(key) + " TAKEN FROM " + control_screen_name(holder)
                              : key_name(key) + " SWAPPED: " + control_screen_name(holder) + " NOW HAS " + key_name(old);
  }
  target = key;
  if (own.keys[0] == 0) std::swap(own.keys[0], own.keys[1]);
  result.changed = true;
  return result;
}

BindResult bind_button(PlayerSettings& settings, Control control, int32_t button) {
  BindResult result;
  if (!takes_button(control) || button_name(button).empty() || settings[control].button == button) return result;
  const int32_t old = settings[control].button;
  Control holder {};
  if (button_holder(settings, control, button, control, holder)) {
    settings[holder].button = old;
    result.message = old == 0 ? button_name(button) + " TAKEN FROM " + control_screen_name(holder)
                              : button_name(button) + " SWAPPED: " + control_screen_name(holder) + " NOW HAS " +
                                    button_name(old);
  }
  settings[control].button = button;
  result.changed = true;
  return result;
}

SettingsRead parse_settings(const std::string& text, const std::string& source) {
  Reader reader;
  reader.source = source;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = trimmed(text.substr(start, end - start));
    start = end + 1;
    ++reader.line;
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      reader.say("not a \"key = value\" line: \"" + line + "\": ignored");
      continue;
    }
    read_pair(reader, trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
  }
  drop_clashes(reader);
  return reader.read;
}

std::string settings_text(const PlayerSettings& settings) {
  std::string text =
      "# ZORVANE: this player's settings. The game rewrites this file when a setting changes.\n"
      "# Keys are named as the settings screen names them, at most two with a comma between, or -.\n";
  for (int32_t c = 0; c < CONTROL_COUNT; ++c) {
    const auto control = static_cast<Control>(c);
    const Binding& binding = settings[control];
    std::string keys;
    for (const int32_t key : binding.keys) {
      if (key == 0) continue;
      if (!keys.empty()) keys += ", ";
      keys += key_name(key);
    }
    text += std::string("# ") + CONTROLS[c].comment + "\n" + control_file_name(control) + " = " +
            (keys.empty() ? "-" : keys) + "\n";
    if (takes_button(control)) {
      text += std::string("# Pad button (X, A, B, Y, LB, RB, LT, RT, BACK, START or -) for ") +
              control_file_name(control) + "\n" + control_file_name(control) + "_pad = " +
              (binding.button == 0 ? "-" : button_name(binding.button)) + "\n";
    }
  }
  text += "# Music volume, 0 to 100\nmusic_volume = " + std::to_string(settings.music_volume) + "\n";
  text += "# Sound effects volume, 0 to 100\neffects_volume = " + std::to_string(settings.effects_volume) + "\n";
  text += std::string("# on: fullscreen; off: a window (F11 or Alt+Enter switches)\nfullscreen = ") +
          (settings.fullscreen ? "on" : "off") + "\n";
  text += std::string("# on: every sound muted (M switches)\nmuted = ") + (settings.muted ? "on" : "off") + "\n";
  if (!settings.unknown.empty()) text += "# Not settings of this version of the game: kept as found\n";
  for (const auto& [key, value] : settings.unknown) text += key + " = " + value + "\n";
  return text;
}

}  // namespace tessera
