#include "actors/play_clock.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "core/config.h"
#include "model/world_model.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;

namespace {

// The data set's step sound stands in for the warning sound.
struct ClockScene {
  LevelData data;
  ClockScene() {
    TIMERSOUND = "step.ogg";
    time_tick = 0;
    menu_active = 0;
    game_mode = GAME_MODE_PLAY;
  }
  static int32_t warnings() { return LevelData::plays("step.ogg"); }
};

}  // namespace

// A unit every WORLDREFRESH + 1 frames; the warning sounds on reaching 10 down to 1, and the game
// ends once the time is below 0, for every further unit too, and at the bottom of the range.
TEST(PlayClock, CountsDownWarnsAtTenToOneAndEndsTheGameAfterZero) {
  ClockScene scene;
  WORLDREFRESH = 2;
  time_left = 12;
  for (int32_t expected = 11; expected >= 0; --expected) {
    for (int f = 0; f < 2; ++f) clock_frame(-1);
    ASSERT_EQ(time_left, expected + 1);
    clock_frame(-1);
    ASSERT_EQ(time_left, expected);
    ASSERT_EQ(ClockScene::warnings(), std::min(11 - expected, 10)) << "at " << expected;
    ASSERT_EQ(game_mode, GAME_MODE_PLAY);
  }
  for (int f = 0; f < 3; ++f) clock_frame(-1);
  EXPECT_EQ(time_left, -1);
  EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);
  EXPECT_EQ(ClockScene::warnings(), 10);

  for (const int32_t start : {-1, INT32_MIN}) {
    game_mode = GAME_MODE_PLAY;
    time_left = start;
    clock_step(-1);
    EXPECT_EQ(time_left, start == INT32_MIN ? INT32_MIN : start - 1);
    EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);
  }
}

// The title screen's menu keeps the game from ending; counting up warns too; WORLDREFRESH 0 ticks
// every frame, and directions other than -1 and 1 do nothing.
TEST(PlayClock, MenuBlocksTheEndAndRefreshZeroTicksEveryFrame) {
  ClockScene scene;
  time_left = 0;
  menu_active = 1;
  clock_step(-1);
  EXPECT_EQ(time_left, -1);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  menu_active = 0;
  clock_check(0);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  clock_check(-1);
  EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);

  time_left = 4;
  clock_step(1);
  EXPECT_EQ(time_left, 5);
  EXPECT_EQ(ClockScene::warnings(), 1);

  WORLDREFRESH = 0;
  time_left = 30;
  for (const int8_t d : {int8_t{0}, int8_t{2}, int8_t{-2}, int8_t{127}}) clock_frame(d);
  EXPECT_EQ(time_tick, 0);
  EXPECT_EQ(time_left, 30);
  for (int f = 0; f < 7; ++f) clock_frame(-1);
  EXPECT_EQ(time_left, 23);
  clock_frame(1);
  EXPECT_EQ(time_left, 24);
}
