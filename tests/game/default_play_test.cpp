// The default data set played on the real engine: a bot holds the arrow keys the way a player
// would and must finish map 1 before its clock runs out; later maps must be harder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/config.h"
#include "game/default_game.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::count_kind;
using defaultgame::DefaultGame;

namespace {

struct MapRun {
  bool completed = false;
  bool game_over = false;
  int32_t frames = 0;
  int32_t start_time = 0;
  int32_t foes = 0;
  int32_t pink_after_5s = -1;  // pink and locked pink cells after 300 frames
  int32_t locked_after_5s = -1;
  int32_t most_pink = 0;
  int32_t time_left_at_end = 0;
};

// Plays the current map with the real frame (the build when due, input, the world, the clock)
// until the map number moves on or the game is over.
MapRun play_map(int32_t frame_limit) {
  MapRun run;
  const int32_t map = map_number;
  if (current_map != map_number) {  // what a game over leaves: the map is built when play starts
    build_level();
    current_map = map_number;
  }
  run.start_time = time_left;
  run.foes = foes.size();
  for (; run.frames < frame_limit; ++run.frames) {
    defaultgame::play_frame({defaultgame::BOT}, false);
    if (map_number != map) {
      run.completed = true;
      break;
    }
    const int32_t pink = count_kind("LAB_PINK_FLOOR") + count_kind("LAB_FIXED_PINK_FLOOR");
    run.most_pink = std::max(run.most_pink, pink);
    if (run.frames == 300) {
      run.pink_after_5s = pink;
      run.locked_after_5s = count_kind("LAB_FIXED_PINK_FLOOR");
    }
    run.time_left_at_end = time_left;
    if (game_mode != GAME_MODE_PLAY) {
      run.game_over = true;
      break;
    }
  }
  std::printf("map %d (%dx%d): %d foes, time %d | %d frames, completed %d, pink after 5 s %d (%d locked), "
              "time left %d\n",
              map, level_width, level_height, run.foes, run.start_time, run.frames, run.completed,
              run.pink_after_5s, run.locked_after_5s, run.time_left_at_end);
  return run;
}

// A bot that always knows the shortest way is quicker than a person: it must finish with time
// to spare, and the foes must be there without burying the floor in pink (a too eager tuning
// once turned about fifty cells pink and locked half of them within the first five seconds).
void expect_comfortable_finish(const MapRun& run) {
  EXPECT_TRUE(run.completed);
  EXPECT_FALSE(run.game_over);
  EXPECT_EQ(map_number, 2);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_GE(run.time_left_at_end * 3, run.start_time) << "a third of the clock should be left";
  EXPECT_GT(run.foes, 0);
  EXPECT_GT(run.most_pink, 0) << "the foes never painted anything";
  ASSERT_GE(run.frames, 300) << "the map should not be over in five seconds";
  EXPECT_LE(run.pink_after_5s, 20);
  EXPECT_LE(run.locked_after_5s, 6);
}

struct LevelFacts {
  int32_t area;
  int32_t foes;
  int32_t tiles;
  int32_t time;
};

LevelFacts build_map(int32_t number) {
  map_number = number;
  build_level();
  current_map = map_number;
  return {(level_width + 1) * (level_height + 1), foes.size(), tiles_left, time_left};
}

}  // namespace

TEST(DefaultPlay, BotFinishesTheFirstMapBeforeTheClockRunsOut) {
  DefaultGame game(1280, 720);
  ASSERT_EQ(current_map, 1) << "start-up built map 1; the frame loop must not build it again";
  expect_comfortable_finish(play_map(60 * 60));
}

TEST(DefaultPlay, BotFinishesTheRebuiltFirstMapOfANewGame) {
  DefaultGame game(1280, 720);
  current_map = -1;  // what a game over leaves for the next game
  expect_comfortable_finish(play_map(60 * 60));
}

TEST(DefaultPlay, LaterMapsAreLargerWithMoreFoesAndNoMoreTimePerTile) {
  DefaultGame game(1280, 720);
  const LevelFacts first = {(level_width + 1) * (level_height + 1), foes.size(), tiles_left, time_left};
  const LevelFacts one = build_map(1);
  const LevelFacts five = build_map(5);
  for (const LevelFacts& early : {first, one}) {
    EXPECT_GT(five.area, early.area);
    EXPECT_GT(five.foes, early.foes);
    EXPECT_GT(five.tiles, early.tiles);
    // No more clock per tile than the early map, give or take the whole unit the clock rounds to.
    EXPECT_LE(five.time, five.tiles * early.time / early.tiles + 1);
  }
  // Over the first maps the trend holds too: maps 6 to 10 bring more foes than maps 1 to 5.
  int32_t early_foes = 0;
  int32_t late_foes = 0;
  int32_t early_area = 0;
  int32_t late_area = 0;
  for (int32_t n = 1; n <= 10; ++n) {
    const LevelFacts facts = build_map(n);
    (n <= 5 ? early_foes : late_foes) += facts.foes;
    (n <= 5 ? early_area : late_area) += facts.area;
    EXPECT_LE(facts.foes, MAXFOE);
  }
  EXPECT_GT(late_foes, early_foes);
  EXPECT_GT(late_area, early_area);
}

