// The pause and quit dialogs: screens of the frame loop that take only their two answers, B and X
// (arrows, bombs and map keys do nothing there). Their texts are drawn over whatever the back
// buffer holds; the world and the clock stand still meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "actors/player_input.h"

namespace tessera {

// Every text the two dialogs draw.
std::vector<std::string> dialog_texts();

// The answer of one pass: ACTION_B, ACTION_X or ACTION_NONE while the dialog stays open.
// Pause, B: the map is rebuilt (current_map -1) and the score goes back for good to what the map
// began with (score and score_target). X: back to play.
int32_t pause_dialog(const Controls& controls);
// Quit, B: game_mode game over and quit_requested 1 (the program ends after the game-over
// sequence). X: back to play with the fire latch spent and the bomb disarmed, so a fire control
// held on leaving does not bomb until it has been read as released.
int32_t quit_dialog(const Controls& controls);

void draw_pause_dialog();
void draw_quit_dialog();

}  // namespace tessera
