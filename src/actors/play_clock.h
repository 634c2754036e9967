// The play clock: time_left (world model) counts down one unit every WORLDREFRESH + 1 frames,
// warns with TIMERSOUND after each unit that leaves 1..10, and ends the game once it is below 0.
// time_tick lives for the whole run (a new level does not reset it, so a level's first unit may be
// short). The clock follows the frame count, not the wall clock.
#pragma once

#include <cstdint>

namespace tessera {

extern int32_t time_tick;  // frames counted since the last unit

constexpr int8_t CLOCK_COUNT_DOWN = -1;
constexpr int8_t CLOCK_COUNT_UP = 1;

// Frame divider: the clock counts in the direction (CLOCK_COUNT_DOWN or CLOCK_COUNT_UP); any other
// value does nothing.
void clock_frame(int8_t direction);
// One unit in the direction, the warning sound, then clock_check.
void clock_step(int8_t direction);
// Below 0 outside the intro and title screens: game_mode becomes GAME_MODE_GAME_OVER (again on
// every further unit; time_left itself is not clamped).
void clock_check(int32_t time_value);

}  // namespace tessera
