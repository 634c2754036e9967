#include "core/runtime.h"

#include "core/config.h"
#include "platform/platform.h"

namespace tessera {

uint8_t input_device = INPUT_KEYBOARD;

// A screen that cannot start is not reported here: opening the window fails later and says so.
void start_platform_services() {
  if (screen_init() != 0) sprite_transparent_color(-1, rgb(255, 0, 255));
  sound_init();
  mouse_init();
  input_device = joystick_init() != 0 ? INPUT_JOYSTICK : INPUT_KEYBOARD;
}

void end_program(int32_t exit_status) {
  platform_close_all();
  process_exit(exit_status);
}

}  // namespace tessera
