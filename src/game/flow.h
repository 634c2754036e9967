// Start-up, the frame loop and the end of the program.
#pragma once

#include <cstdint>

namespace tessera {

// Closes every platform service and ends the process with the status (0 only for a normal quit).
[[noreturn]] void end_program(int32_t exit_status);
// After the game-over sequence: the title screen again, or the end when quit_requested is set.
void after_game_over();
// Processes pending window messages with a time-out of MULTITASK milliseconds.
void process_window_events();
// The per-frame mouse snapshot (its values are not used).
void examine_mouse_step();
// Start-up steps 1 to 13, then the frame loop; never returns.
[[noreturn]] void run_game();

}  // namespace tessera
