// Keyboard, mouse and joystick snapshots fed by the event pump.
#include "platform/platform.h"

#include "platform/platform_internal.h"

namespace tessera {

namespace {

constexpr int KEYS = 256;

// Live state from events. A press is latched until the next snapshot: the game takes one a pass,
// so a tap shorter than a frame is seen by exactly one pass.
bool keys_down[KEYS] = {};
bool keys_latched[KEYS] = {};
bool snapshot[KEYS] = {};
bool released_memory[KEYS] = {};

struct ScanPair {
  SDL_Scancode sdl;
  uint8_t code;
};

// SDL scancodes and the DirectInput scan codes the game's key table is indexed by.
constexpr ScanPair SCAN_CODES[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03}, {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06}, {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09}, {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12}, {SDL_SCANCODE_R, 0x13},
    {SDL_SCANCODE_T, 0x14}, {SDL_SCANCODE_Y, 0x15}, {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17},
    {SDL_SCANCODE_O, 0x18}, {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_S, 0x1F}, {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23}, {SDL_SCANCODE_J, 0x24}, {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27}, {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_X, 0x2D}, {SDL_SCANCODE_C, 0x2E}, {SDL_SCANCODE_V, 0x2F},
    {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_N, 0x31}, {SDL_SCANCODE_M, 0x32}, {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35}, {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38}, {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C}, {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E}, {SDL_SCANCODE_F5, 0x3F}, {SDL_SCANCODE_F6, 0x40}, {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42}, {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_9, 0x49}, {SDL_SCANCODE_KP_MINUS, 0x4A},
    {SDL_SCANCODE_KP_4, 0x4B}, {SDL_SCANCODE_KP_5, 0x4C}, {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_PLUS, 0x4E}, {SDL_SCANCODE_KP_1, 0x4F}, {SDL_SCANCODE_KP_2, 0x50},
    {SDL_SCANCODE_KP_3, 0x51}, {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56}, {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_KP_EQUALS, 0x8D}, {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RCTRL, 0x9D},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_PRINTSCREEN, 0xB7}, {SDL_SCANCODE_RALT, 0xB8},
    {SDL_SCANCODE_PAUSE, 0xC5}, {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_UP, 0xC8},
    {SDL_SCANCODE_PAGEUP, 0xC9}, {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD},
    {SDL_SCANCODE_END, 0xCF}, {SDL_SCANCODE_DOWN, 0xD0}, {SDL_SCANCODE_PAGEDOWN, 0xD1},
    {SDL_SCANCODE_INSERT, 0xD2}, {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_LGUI, 0xDB},
    {SDL_SCANCODE_RGUI, 0xDC}, {SDL_SCANCODE_APPLICATION, 0xDD},
};

int scan_code_of(SDL_Scancode scancode) {
  for (const ScanPair& pair : SCAN_CODES) {
    if (pair.sdl == scancode) return pair.code;
  }
  return 0;
}

// ---- Joystick --------------------------------------------------------------------------------

constexpr int BUTTONS = JOYSTICK_BUTTONS;

SDL_GameController* controller = nullptr;
SDL_Joystick* joystick = nullptr;
int32_t axis_x = 0;
int32_t axis_y = 0;
bool buttons[BUTTONS] = {};

// Axis positions on the -1000..1000 scale, reduced to -1, 0 or 1 beyond the half-way mark.
int32_t reduce_axis(Sint16 raw) {
  const int32_t scaled = static_cast<int32_t>(raw) * 1000 / 32767;
  return scaled > 500 ? 1 : (scaled < -500 ? -1 : 0);
}

// Injected axes: -1, 0 and 1 as they are; other values on the -1000..1000 scale.
int32_t reduce_injected(int32_t value) {
  if (value >= -1 && value <= 1) return value;
  return value > 500 ? 1 : (value < -500 ? -1 : 0);
}

void read_controller() {
  static const SDL_GameControllerButton named[] = {
      SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_Y,
      SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER};
  for (int i = 0; i < 6; ++i) buttons[i] = SDL_GameControllerGetButton(controller, named[i]) != 0;
  buttons[6] = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > 16384;
  buttons[7] = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > 16384;
  buttons[8] = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_BACK) != 0;
  buttons[9] = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_START) != 0;
  axis_x = reduce_axis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
  axis_y = reduce_axis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
  if (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT) != 0) axis_x = -1;
  if (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) != 0) axis_x = 1;
  if (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_UP) != 0) axis_y = -1;
  if (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN) != 0) axis_y = 1;
}

void read_joystick() {
  const int count = SDL_JoystickNumButtons(joystick);
  for (int i = 0; i < BUTTONS; ++i) buttons[i] = i < count && SDL_JoystickGetButton(joystick, i) != 0;
  const int axes = SDL_JoystickNumAxes(joystick);
  axis_x = axes > 0 ? reduce_axis(SDL_JoystickGetAxis(joystick, 0)) : 0;
  axis_y = axes > 1 ? reduce_axis(SDL_JoystickGetAxis(joystick, 1)) : 0;
}

void close_joystick() {
  if (controller != nullptr) SDL_GameControllerClose(controller);
  if (joystick != nullptr) SDL_JoystickClose(joystick);
  controller = nullptr;
  joystick = nullptr;
}

void open_joystick(int index) {
  if (SDL_IsGameController(index)) controller = SDL_GameControllerOpen(index);
  if (controller == nullptr) joystick = SDL_JoystickOpen(index);
}

// A browser shows a pad only once one of its buttons is pressed on the page, long after the game
// chose its input device at start: there a pad that turns up later plays through the keys that
// its buttons and stick stand for (the same actions as on the desktop).
constexpr int32_t PAD_KEYS[BUTTONS] = {KEY_X, KEY_A, KEY_B, KEY_Y, 0, 0, 0, 0, KEY_ESCAPE, KEY_P};

void open_late_pad(const SDL_Event& event) {
  if (!PLATFORM_WEB || event.type != SDL_JOYDEVICEADDED || controller != nullptr || joystick != nullptr) return;
  open_joystick(event.jdevice.which);
}

void press_pad_keys() {
  if (!PLATFORM_WEB || injected_joystick.present || joystick_examine() == 0) return;
  for (int i = 0; i < BUTTONS; ++i) {
    if (buttons[i] && PAD_KEYS[i] != 0) snapshot[PAD_KEYS[i]] = true;
  }
  if (axis_x != 0) snapshot[axis_x < 0 ? KEY_LEFT : KEY_RIGHT] = true;
  if (axis_y != 0) snapshot[axis_y < 0 ? KEY_UP : KEY_DOWN] = true;
}

}  // namespace

InjectedJoystick injected_joystick;
int32_t fullscreen_switch_count = 0;
int32_t mute_switch_count = 0;

namespace {

// F11, Alt+Enter and M belong to the game's window and sound on every screen; true when the event
// was one of them (its press is not a key of the snapshot).
bool window_key(const SDL_Event& event) {
  if (event.type != SDL_KEYDOWN) return false;
  const SDL_Scancode scancode = event.key.keysym.scancode;
  const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
  const bool first = event.key.repeat == 0;
  if (scancode == SDL_SCANCODE_F11 || (alt && (scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER))) {
    if (first) {
      window_set_fullscreen(!window_fullscreen());
      ++fullscreen_switch_count;
    }
    return true;
  }
  if (scancode == SDL_SCANCODE_M) {
    if (first) {
      sound_set_muted(!sound_muted());
      ++mute_switch_count;
    }
    return true;
  }
  return false;
}

}  // namespace

int32_t fullscreen_switches() { return fullscreen_switch_count; }
int32_t mute_switches() { return mute_switch_count; }

void input_set_key(int32_t code, bool down) {
  if (code <= 0 || code >= KEYS) return;
  keys_down[code] = down;
  if (down) {
    keys_latched[code] = true;
  }
}

void input_release_keys() {
  for (bool& down : keys_down) down = false;
}

void input_handle_event(const SDL_Event& event) {
  open_late_pad(event);
  if (window_key(event)) return;
  if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
    input_set_key(scan_code_of(event.key.keysym.scancode), event.type == SDL_KEYDOWN);
  } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
    // Key-up events of a window without focus never arrive.
    input_release_keys();
  }
}

int32_t keyboard_examine() {
  for (int code = 0; code < KEYS; ++code) {
    snapshot[code] = keys_down[code] || keys_latched[code];
    keys_latched[code] = false;
  }
  press_pad_keys();
  return 1;
}

int32_t key_pushed(int32_t code) {
  if (code == -1) {
    for (bool down : snapshot) {
      if (down) return 1;
    }
    return 0;
  }
  return code >= 0 && code < KEYS && snapshot[code] ? 1 : 0;
}

int32_t key_released(int32_t code) {
  if (code < 0 || code >= KEYS) return 0;
  const bool was_down = released_memory[code];
  released_memory[code] = snapshot[code];
  return was_down && !snapshot[code] ? 1 : 0;
}

int32_t mouse_init() {
  if (!platform_sdl_start()) return 0;
  SDL_ShowCursor(SDL_DISABLE);
  return 1;
}

int32_t mouse_examine() {
  // Only the borderless full-display window keeps the pointer; a normal window must stay
  // movable, so it never grabs it.
  if (platform_window != nullptr && (SDL_GetWindowFlags(platform_window) & SDL_WINDOW_BORDERLESS) != 0 &&
      SDL_GetWindowGrab(platform_window) == SDL_FALSE) {
    SDL_ShowCursor(SDL_DISABLE);
    SDL_SetWindowGrab(platform_window, SDL_TRUE);
  }
  return 1;
}

void mouse_locate(int32_t x, int32_t y) {
  if (platform_window != nullptr) SDL_WarpMouseInWindow(platform_window, x, y);
}

int32_t joystick_init() {
  if (injected_joystick.present) return 1;
  if (!platform_sdl_start() || SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return 0;
  close_joystick();
  if (SDL_NumJoysticks() < 1) return 0;
  open_joystick(0);
  return controller != nullptr || joystick != nullptr ? 1 : 0;
}

int32_t joystick_examine() {
  if (injected_joystick.present) {
    axis_x = reduce_injected(injected_joystick.axis_x);
    axis_y = reduce_injected(injected_joystick.axis_y);
    for (int i = 0; i < BUTTONS; ++i) buttons[i] = (injected_joystick.buttons >> i & 1u) != 0;
    return 1;
  }
  if (controller != nullptr && SDL_GameControllerGetAttached(controller)) {
    read_controller();
    return 1;
  }
  if (joystick != nullptr && SDL_JoystickGetAttached(joystick)) {
    read_joystick();
    return 1;
  }
  return 0;  // nothing to read: the previous snapshot stays
}

int32_t joystick_axis_x() { return axis_x; }
int32_t joystick_axis_y() { return axis_y; }

int32_t joystick_button(int32_t n) { return n >= 1 && n <= BUTTONS && buttons[n - 1] ? 1 : 0; }

void input_close_all() {
  close_joystick();
  fullscreen_switch_count = 0;
  mute_switch_count = 0;
  for (int code = 0; code < KEYS; ++code) {
    keys_down[code] = keys_latched[code] = snapshot[code] = released_memory[code] = false;
  }
  axis_x = axis_y = 0;
  for (bool& held : buttons) held = false;
}

}  // namespace tessera
