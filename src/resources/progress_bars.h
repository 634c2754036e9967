// The red progress bars drawn while a map file is read or a level is built.
#pragma once

#include <cstdint>

namespace tessera {

extern float map_progress;           // whole run; never reset
extern int32_t map_progress_calls;
extern float build_progress;         // back to 1.0 when a new level begins
extern int32_t build_progress_calls;

// One step of the red bar while a map file is read (presents every 501st call).
void map_read_progress();
// One step of the red bar while a level is built (presents every 2 * level_width + 1 calls).
void level_build_progress();

}  // namespace tessera
