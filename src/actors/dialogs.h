// The modal pause and quit dialogs. Each runs its own frames (texts over whatever the back buffer
// holds, read_play_input each frame) until the B or X control answers it; the world and the clock
// stand still meanwhile. A dialog does not open while one of the same kind is open, so holding P or
// Escape cannot nest dialogs without bound.
#pragma once

#include <string>
#include <vector>

namespace tessera {

// Every text the two dialogs draw.
std::vector<std::string> dialog_texts();

// B: current_map -1 (the map is rebuilt) and score back to level_start_score. X: back to play.
void pause_dialog();
// B: game_mode game over and quit_requested 1 (the program ends after the game-over sequence).
// X: back to play with the fire latch spent and the bomb disarmed, so a fire control held on
// leaving does not bomb until it has been read as released.
void quit_dialog();

}  // namespace tessera
