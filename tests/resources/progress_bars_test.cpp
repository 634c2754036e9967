// The progress bars shown while a level is built or a map is read, on a controlled clock.
#include "resources/progress_bars.h"

#include "core/numeric.h"
#include "resources/resource_fixture.h"

namespace {

constexpr int64_t REFRESH_US = 1'000'000 / 60;  // the dummy display reports no rate: 60 Hz

struct ProgressBars : ::testing::Test {
  int64_t now = 1'000'000;
  void SetUp() override {
    ASSERT_NE(testing_open_screen(400, 200), 0);
    testing_set_frame_pacing(false);
    screen_width = 400.0f;
    screen_height = 200.0f;
    testing_record_draws(true);
    testing_set_clock_us(now);
  }
  void TearDown() override { testing_reset_platform(); }
  void advance(int64_t us) { testing_set_clock_us(now += us); }
};

// A 10 x 10 level: the bar grows by W / 100 a call. It is shown (and drawn) once a refresh of
// time has passed since the level began or since it was last shown. A new map number starts it
// again and records the map as the one being built.
TEST_F(ProgressBars, LevelBuildingBar) {
  level_width = level_height = 10;
  map_number = 4;
  current_map = 3;
  build_progress = 250.0f;  // left from the map before
  for (int32_t call = 1; call <= 42; ++call) level_build_progress();
  EXPECT_EQ(current_map, 4);
  EXPECT_NEAR(build_progress, 1.0f + 42 * 4.0f, 0.01f);
  advance(REFRESH_US - 1);
  level_build_progress();
  EXPECT_EQ(testing_flip_count(), 0);
  EXPECT_TRUE(testing_recorded_draws().empty());
  advance(1);
  level_build_progress();
  EXPECT_EQ(testing_flip_count(), 1);
  const DrawRecord& bar = testing_recorded_draws().back();  // red, over a black backing
  EXPECT_EQ(std::vector<int32_t>({bar.y, bar.width, bar.height, bar.colour}),
            std::vector<int32_t>({170, round_to_int(1.0f + 44 * 4.0f), 8, rgb(255, 0, 0)}));
  level_build_progress();
  EXPECT_EQ(testing_flip_count(), 1);  // the next showing waits a refresh again
  advance(REFRESH_US);
  level_build_progress();
  EXPECT_EQ(testing_flip_count(), 2);

  map_number = 5;
  advance(REFRESH_US);
  level_build_progress();
  EXPECT_NEAR(build_progress, 5.0f, 0.01f);
  EXPECT_EQ(testing_flip_count(), 2);  // a new level waits a refresh before its first showing
  // A level without area fills the bar at once instead of dividing by zero.
  level_width = 0;
  level_build_progress();
  EXPECT_NEAR(build_progress, 405.0f, 0.01f);
}

// Cheap presents are spaced by a refresh; a costly one is followed by four times its cost.
TEST_F(ProgressBars, GapAfterAShowingFollowsItsCost) {
  for (const auto& [cost, gap] : {std::pair<int64_t, int64_t>{0, REFRESH_US}, {4000, REFRESH_US}, {15000, 60000}, {-3, REFRESH_US}}) {
    EXPECT_EQ(progress_present_gap_us(REFRESH_US, cost), gap) << cost;
  }
}

}  // namespace
