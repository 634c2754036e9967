#include "actors/play_clock.h"

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace tessera;

namespace {

// The warning sound as a loaded sound effect named by TIMERSOUND.
struct ClockScene {
  testfiles::TempDir dir;
  int32_t tick_sound = 0;

  ClockScene() {
    sound_init();
    testfiles::write_ogg(dir.file("tick.ogg"), 0.05);
    tick_sound = sound_load(-1, dir.file("tick.ogg"));
    sound_effects.clear();
    SoundEffect& effect = sound_effects.add();
    effect.file_name = "tick.ogg";
    effect.path = dir.file("tick.ogg");
    effect.sound = tick_sound;
    effect.loaded = tick_sound != 0 ? 1 : 0;
    TIMERSOUND = "tick.ogg";
    WORLDREFRESH = 60;
    time_tick = 0;
    menu_active = 0;
    game_mode = GAME_MODE_PLAY;
  }
  ~ClockScene() {
    sound_effects.clear();
    testing_reset_platform();
  }
  int32_t plays() const { return testing_sound_play_count(tick_sound); }
};

}  // namespace

TEST(PlayClock, CountsDownWarnsAtTenToOneAndEndsTheGameAfterZero) {
  ClockScene scene;
  ASSERT_NE(scene.tick_sound, 0);
  WORLDREFRESH = 2;  // a unit every third frame
  time_left = 12;
  clock_frame(-1);
  clock_frame(-1);
  EXPECT_EQ(time_left, 12);
  EXPECT_EQ(time_tick, 2);
  clock_frame(-1);
  EXPECT_EQ(time_left, 11);
  EXPECT_EQ(time_tick, 0);
  EXPECT_EQ(scene.plays(), 0);  // 12 -> 11 is silent

  for (int32_t expected = 10; expected >= 1; --expected) {
    for (int f = 0; f < 3; ++f) clock_frame(-1);
    ASSERT_EQ(time_left, expected);
    ASSERT_EQ(scene.plays(), 11 - expected) << "at " << expected;
  }
  for (int f = 0; f < 3; ++f) clock_frame(-1);
  EXPECT_EQ(time_left, 0);
  EXPECT_EQ(scene.plays(), 10);  // not at 0
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);

  for (int f = 0; f < 3; ++f) clock_frame(-1);
  EXPECT_EQ(time_left, -1);
  EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);
  EXPECT_EQ(scene.plays(), 10);

  // Not clamped: every further unit ends the game again.
  game_mode = GAME_MODE_PLAY;
  clock_step(-1);
  EXPECT_EQ(time_left, -2);
  EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);

  // A pick-up that drove the time to the bottom of the range: the clock stays expired there.
  game_mode = GAME_MODE_PLAY;
  time_left = INT32_MIN;
  clock_step(-1);
  EXPECT_EQ(time_left, INT32_MIN);
  EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);
}

TEST(PlayClock, MenuBlocksTheEndAndRefreshZeroTicksEveryFrame) {
  ClockScene scene;
  time_left = 0;
  menu_active = 1;
  clock_step(-1);
  EXPECT_EQ(time_left, -1);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  menu_active = 0;
  clock_check(-1);
  EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);
  game_mode = GAME_MODE_PLAY;
  clock_check(0);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);

  // Counting up warns as well when it lands in 1..10.
  time_left = 4;
  clock_step(1);
  EXPECT_EQ(time_left, 5);
  EXPECT_EQ(scene.plays(), 1);

  // WORLDREFRESH 0: a unit every frame; directions other than -1 and 1 do nothing.
  WORLDREFRESH = 0;
  time_left = 30;
  time_tick = 0;
  for (const int8_t d : {int8_t{0}, int8_t{2}, int8_t{-2}, int8_t{127}}) clock_frame(d);
  EXPECT_EQ(time_tick, 0);
  EXPECT_EQ(time_left, 30);
  for (int f = 0; f < 7; ++f) clock_frame(-1);
  EXPECT_EQ(time_left, 23);
  clock_frame(1);
  EXPECT_EQ(time_left, 24);
}
