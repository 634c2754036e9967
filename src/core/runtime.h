// Run-time services that every layer may call: the start of the platform's services, the end of
// the program, and the input device chosen at start-up.
#pragma once

#include <cstdint>

namespace tessera {

// INPUT_KEYBOARD or INPUT_JOYSTICK: chosen once when the services start (start_platform_services).
// Whole run.
constexpr uint8_t INPUT_KEYBOARD = 0;
constexpr uint8_t INPUT_JOYSTICK = 1;
extern uint8_t input_device;

// Start-up, right after read_configuration: the screen (and magenta as every sprite's colour key
// from then on), Sprite3D, sound, the mouse and the joystick, which picks input_device. Failures
// are not reported here; no sound card or pad is normal.
void start_platform_services();

// Closes every platform service and ends the process with the status (0 only for a normal quit).
[[noreturn]] void end_program(int32_t exit_status);
// The longest wait for window messages a frame makes, whatever MULTITASK says.
constexpr int32_t MULTITASK_LIMIT_MS = 100;

}  // namespace tessera
