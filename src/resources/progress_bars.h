// The red progress bars of reading a map file and building a level: counted by the work, drawn by
// the frame loop between the parts of a build.
#pragma once

#include <cstdint>

namespace tessera {

extern float map_progress;           // whole run; never reset
extern int32_t map_progress_calls;   // calls since the bar was last drawn
extern float build_progress;         // back to 1.0 when a build begins
extern int32_t build_progress_calls;

// The bars grow by screen_width / (level_width * level_height) a call.
// One step of the red bar while a map file is read.
void map_read_progress();
// One step of the red bar while a level is built.
void level_build_progress();
// The bar at 0.85 of the screen's height, `length` pixels long, over a black strip.
void draw_progress_bar(float length);

}  // namespace tessera
