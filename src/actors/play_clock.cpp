#include "actors/play_clock.h"

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/sound_control.h"
#include "world/tile_rules.h"

namespace tessera {

int32_t time_tick = 0;

namespace {

// The frame counter only has to avoid overflowing; a huge WORLDREFRESH simply never ticks.
int32_t add_wrapping(int32_t value, int32_t delta) {
  return static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(delta));
}

}  // namespace

void clock_frame(int8_t direction) {
  if (direction != CLOCK_COUNT_UP && direction != CLOCK_COUNT_DOWN) return;
  time_tick = add_wrapping(time_tick, 1);
  if (time_tick > WORLDREFRESH) {
    time_tick = 0;
    clock_step(direction);
  }
}

void clock_step(int8_t direction) {
  // Pick-ups can push time_left to the int32 limits; wrapping there would turn an expired clock
  // into the longest one.
  if (direction == CLOCK_COUNT_UP) time_left = add_saturating(time_left, 1);
  if (direction == CLOCK_COUNT_DOWN) time_left = add_saturating(time_left, -1);
  if (time_left > 0 && time_left < 11) play_sound(TIMERSOUND, SOUND_ONCE);
  clock_check(time_left);
}

void clock_check(int32_t time_value) {
  if (time_value < 0 && menu_active == 0) game_mode = GAME_MODE_GAME_OVER;
}

}  // namespace tessera
