// The red progress bars drawn while a map file is read or a level is built.
#pragma once

#include <cstdint>

namespace tessera {

extern float map_progress;           // whole run; never reset
extern int32_t map_progress_calls;   // calls since the bar was last shown
extern float build_progress;         // back to 1.0 when a new level begins
extern int32_t build_progress_calls;

// The bars grow by screen_width / (level_width * level_height) a call. They are shown without
// waiting for the display or the frame pacing, and at most once per display refresh of elapsed
// time (clock_us): a bar that begins waits one refresh, and after each showing it waits
// progress_present_gap_us before the next.

// The wait after a showing: one refresh, or four times what the showing cost when that is more,
// so that where presents are expensive they take at most a fifth of the time.
int64_t progress_present_gap_us(int64_t refresh_us, int64_t present_cost_us);

// One step of the red bar while a map file is read.
void map_read_progress();
// One step of the red bar while a level is built; a new map_number starts the bar again.
void level_build_progress();

}  // namespace tessera
