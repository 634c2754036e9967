// The settings screen: one more screen of the frame loop, reached from the title and worked by the
// logical controls alone (so by keyboard or pad, whatever the bindings): each control's two keys and
// pad button (choose one, press the new key or button; a key bound elsewhere is swapped), the music
// and effects volumes, mute, fullscreen, and a reset of controls and sound to the defaults.
#pragma once

#include <string>
#include <vector>

#include "actors/player_input.h"

namespace tessera {

// The first row chosen, nothing held counts until released, the settings as they are now kept to
// tell a change.
void enter_settings();
// One pass: true when the player left (the quit control, or BACK), the settings then written to
// the player's file when they changed.
bool settings_step(const Controls& controls);
void draw_settings();
// The texts it draws but for the names of keys and numbers (for the checker of a data set's font).
std::vector<std::string> settings_screen_texts();

}  // namespace tessera
