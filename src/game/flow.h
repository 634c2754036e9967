// The game's flow: start-up, the frame loop, and what follows a game over.
//
// This is the one header that folders below game/ may include. The calls that run upward
// through it, and why each cannot go the other way:
//   - after_game_over, from check_trapped (world/tile_rules.cpp): a walled-in player in
//     "HARDCORE" mode ends the game from inside the frame;
//   - after_game_over, from game_over_sequence (presentation/overlays.cpp): the end of the
//     game-over animation hands back to the title screen or ends the program.
#pragma once

#include <cstdint>

namespace tessera {

// What start-up loads after the world model is declared: tile graphics, object types, sounds, music,
// floaters and the font.
void load_resources();
// One frame of the frame loop: the level due is built (and announced by its banner), then input is
// read and the frame is played and drawn.
void play_frame();
// After the game-over sequence: the title screen again, or the end when quit_requested is set.
void after_game_over();
// Start-up steps 1 to 13, then the frame loop; never returns. A window size of 0 x 0 opens the
// borderless window as large as display 0; any other size opens a normal, movable window of that
// size, and every layout value follows it as it would follow the display.
[[noreturn]] void run_game(int32_t window_width = 0, int32_t window_height = 0);

}  // namespace tessera
