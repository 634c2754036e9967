// The intro with the credits and the title screen, as screens of the frame loop: each is entered,
// then stepped and drawn once a pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "actors/player_input.h"

namespace tessera {

extern int32_t screen_picture;     // sprite of the intro or title picture
extern int32_t screen_picture_3d;  // its Sprite3D

// menu_active 1 and the intro's picture (LOADSCREEN's first "#" becomes one draw of random_int(1)).
void enter_intro();
// Three pages held 360, 180 and 120 frames, a jingle after each of the first two; true when the
// last page has been held.
bool intro_step();
void draw_intro();
// menu_active 1, game_mode play, the title picture and the title music; the fade starts at 255.
void enter_title();
// The score table's lines under the title's prompt (each empty for none), in the style of its texts.
void set_title_scores(const std::string& best, const std::string& last);
// The floaters move; the title fades in by 0.2 of alpha a frame until the start control is
// pressed, and the title ends (true) when it is released: menu_active 0 and map_number 1. No other
// control does anything here.
bool title_step(const Controls& controls);
// Before title_step: true when the settings control, pressed on the title, was released now (the
// title then hands over to the settings screen).
bool title_opens_settings(const Controls& controls);
// Back from the settings screen: the title as it was, waiting for every control to be let go and
// then for a new press (a start key that left the settings does not also start a game).
void resume_title();
void draw_title();

// Every text the intro and the title screen draw (the three prompts of each kind).
std::vector<std::string> title_screen_texts();
// The checker, after load_music_tracks: the intro pictures (both that LOADSCREEN's "#" can pick),
// the title picture and the title music.
void check_screen_pictures();

}  // namespace tessera
