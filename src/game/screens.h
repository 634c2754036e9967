// The intro with the credits and the title screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

extern int32_t screen_picture;     // sprite of the intro or title picture
extern int32_t screen_picture_3d;  // its Sprite3D

void show_intro(int32_t mode);
// Runs until the start control; leaves menu_active 0, map_number 1 and game_mode play.
void show_title_screen(int32_t mode);

// Every text the intro and the title screen draw (all three prompts).
std::vector<std::string> title_screen_texts();
// The checker, after load_music_tracks: the intro pictures (both that LOADSCREEN's "#" can pick),
// the title picture and the title music.
void check_screen_pictures();

}  // namespace tessera
