// The intro with the credits, the title screen and the progress bars of map reading and building.
#pragma once

#include <cstdint>

namespace tessera {

extern int32_t screen_picture;     // sprite of the intro or title picture
extern int32_t screen_picture_3d;  // its Sprite3D
extern float map_progress;
extern int32_t map_progress_calls;
extern float build_progress;
extern int32_t build_progress_calls;

void show_intro(int32_t mode);
// Runs until the start control; leaves menu_active 0, map_number 1 and game_mode play.
void show_title_screen(int32_t mode);
// One step of the red bar while a map file is read (presents every 501st call).
void map_read_progress();
// One step of the red bar while a level is built (presents every 2 * level_width + 1 calls).
void level_build_progress();

}  // namespace tessera
