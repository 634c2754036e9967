// The intro with the credits and the title screen.
#pragma once

#include <cstdint>

namespace tessera {

extern int32_t screen_picture;     // sprite of the intro or title picture
extern int32_t screen_picture_3d;  // its Sprite3D

void show_intro(int32_t mode);
// Runs until the start control; leaves menu_active 0, map_number 1 and game_mode play.
void show_title_screen(int32_t mode);

}  // namespace tessera
