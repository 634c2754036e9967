#include "core/runtime.h"

#include <cstdlib>

#include "core/config.h"
#include "platform/platform.h"

namespace tessera {

uint8_t input_device = 0;

void end_program(int32_t exit_status) {
  platform_close_all();
  std::exit(exit_status);
}

// Only a positive setting waits: a negative one would ask for a wait without limit and freeze
// the game until the next window message.
void process_window_events() { window_event(MULTITASK > 0 ? MULTITASK : 0); }

void examine_mouse_step() { mouse_examine(); }

}  // namespace tessera
