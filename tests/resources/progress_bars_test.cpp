#include "resources/progress_bars.h"

#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tessera;

namespace {

struct BarScene {
  BarScene() {
    EXPECT_NE(testing_open_screen(400, 200), 0);
    testing_set_frame_pacing(false);
    screen_width = 400.0f;
    screen_height = 200.0f;
    testing_record_draws(true);
  }
  ~BarScene() { testing_reset_platform(); }
};

// The last two boxes drawn: the black backing and the red bar over it.
void expect_bar(float length) {
  const auto& draws = testing_recorded_draws();
  ASSERT_GE(draws.size(), 2u);
  const DrawRecord& back = draws[draws.size() - 2];
  const DrawRecord& bar = draws.back();
  EXPECT_EQ(back.s3d, 0);
  EXPECT_EQ(back.x, 0);
  EXPECT_EQ(back.y, 170);
  EXPECT_EQ(back.width, 400);
  EXPECT_EQ(back.height, 9);
  EXPECT_EQ(back.colour, rgb(0, 0, 0));
  EXPECT_EQ(bar.y, 170);
  EXPECT_EQ(bar.width, round_to_int(length));
  EXPECT_EQ(bar.height, 8);
  EXPECT_EQ(bar.colour, rgb(255, 0, 0));
}

}  // namespace

constexpr int64_t REFRESH_US = 1'000'000 / 60;  // the dummy display reports no rate: 60 Hz

// A 10 x 10 level: the bar grows by W / 100 a call. It is shown once a refresh of time has passed
// since the level began or since it was last shown, and drawn only then (two boxes a showing).
// A new map number starts the bar again and records the map as the one being built.
TEST(ProgressBars, LevelBuildingBar) {
  BarScene scene;
  level_width = 10;
  level_height = 10;
  map_number = 4;
  current_map = 3;
  build_progress = 250.0f;
  int64_t now = 1'000'000;
  testing_set_clock_us(now);
  for (int32_t call = 1; call <= 42; ++call) level_build_progress();
  EXPECT_EQ(testing_flip_count(), 0);  // no time has passed
  EXPECT_TRUE(testing_recorded_draws().empty());
  EXPECT_EQ(current_map, 4);
  EXPECT_NEAR(build_progress, 1.0f + 42 * 4.0f, 0.01f);

  testing_set_clock_us(now += REFRESH_US - 1);
  level_build_progress();
  EXPECT_EQ(testing_flip_count(), 0);
  testing_set_clock_us(now += 1);
  level_build_progress();
  EXPECT_EQ(testing_flip_count(), 1);
  EXPECT_EQ(build_progress_calls, 0);
  EXPECT_EQ(testing_recorded_draws().size(), 2u);
  expect_bar(1.0f + 44 * 4.0f);
  level_build_progress();
  EXPECT_EQ(testing_flip_count(), 1);  // the next showing waits a refresh again
  EXPECT_EQ(build_progress_calls, 1);
  for (int32_t frame = 2; frame <= 4; ++frame) {
    testing_set_clock_us(now += 2 * REFRESH_US);
    level_build_progress();
    EXPECT_EQ(testing_flip_count(), frame);
  }

  // The next map starts again at 1 and waits a refresh before its first showing.
  map_number = 5;
  level_build_progress();
  EXPECT_NEAR(build_progress, 5.0f, 0.01f);
  EXPECT_EQ(current_map, 5);
  EXPECT_EQ(testing_flip_count(), 4);

  // A level without area fills the bar at once instead of dividing by zero.
  level_width = 0;
  level_build_progress();
  EXPECT_TRUE(std::isfinite(build_progress));
  EXPECT_NEAR(build_progress, 405.0f, 0.01f);
}

// The map-reading bar follows the same clock and is never reset.
TEST(ProgressBars, MapReadingBar) {
  BarScene scene;
  level_width = 20;
  level_height = 40;
  map_progress = 1.0f;
  int64_t now = 5'000'000;
  testing_set_clock_us(now);
  for (int32_t call = 1; call <= 501; ++call) map_read_progress();
  EXPECT_EQ(testing_flip_count(), 0);
  testing_set_clock_us(now += REFRESH_US);
  map_read_progress();
  EXPECT_EQ(testing_flip_count(), 1);
  EXPECT_NEAR(map_progress, 1.0f + 502 * 0.5f, 0.01f);
  expect_bar(map_progress);
}

// Cheap presents are spaced by a refresh; a present that costs real work is followed by four
// times its cost, so showing the bar takes at most a fifth of a build.
TEST(ProgressBars, GapAfterAShowingFollowsItsCost) {
  EXPECT_EQ(progress_present_gap_us(REFRESH_US, 0), REFRESH_US);
  EXPECT_EQ(progress_present_gap_us(REFRESH_US, 4000), REFRESH_US);
  EXPECT_EQ(progress_present_gap_us(REFRESH_US, 15000), 60000);
  EXPECT_EQ(progress_present_gap_us(REFRESH_US, -3), REFRESH_US);  // a clock that went back
}
