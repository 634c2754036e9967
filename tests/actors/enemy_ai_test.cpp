#include "actors/enemy_ai.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;
using levelfixture::set_kind;

namespace {

// A foe at cell (c, r) whose every chance is certain unless changed.
Foe& add_foe(int32_t c, int32_t r) {
  Foe& foe = foes.add();
  foe.x = c * 32;
  foe.y = r * 32;
  foe.DVELOX = 1;
  foe.DVELOY = 1;
  foe.DAILEVEL = 1;
  return foe;
}

void think(int32_t frames) {
  for (int32_t f = 0; f < frames; ++f) {
    foes.select(0);
    foe_think(foes.current().DAILEVEL);
  }
}

}  // namespace

TEST(EnemyAi, FoesThatNeverAct) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(12, 12, "LAB_FLOOR");
  random_seed(5);
  for (int32_t level : {2, 3, 4}) {
    foes.clear();
    add_foe(5, 5).DAILEVEL = static_cast<int8_t>(level);
    think(50);
    EXPECT_EQ(foes.at(0).x, 160) << "AI level " << level;
    EXPECT_EQ(foes.at(0).y, 160);
  }
  foes.clear();
  add_foe(5, 5).DDMOVE = -1;
  think(50);
  EXPECT_EQ(foes.at(0).x, 160);
  // A new foe only starts through a turn; a turn chance that never succeeds keeps it still.
  foes.clear();
  add_foe(5, 5).DCHANGEDIRECTION = -1;
  think(50);
  EXPECT_EQ(foes.at(0).x, 160);
  EXPECT_EQ(foes.at(0).direction, 0);
  EXPECT_EQ(world_cell(5, 5).tile_kind, "LAB_FLOOR");
}

TEST(EnemyAi, CertainFoeRunsRightAndPaintsWhatItCrosses) {
  LevelData data(levelfixture::Options{false, false, true});
  levelfixture::fill_level(12, 6, "LAB_FLOOR");
  set_kind(3, 2, "LAB_GREEN");
  set_kind(4, 2, "LAB_FIXED_FLOOR");
  set_kind(5, 2, "LAB_BLUE_FLOOR");
  set_kind(7, 2, "LAB_WALL");
  add_foe(2, 2);
  for (int32_t level : {1, 0, 9}) {
    foes.at(0).DAILEVEL = static_cast<int8_t>(level);
    think(1);
  }
  think(10);
  // Right while free, then (right blocked) left is the first free try.
  EXPECT_EQ(world_cell(3, 2).tile_kind, "LAB_PINK_FLOOR");
  EXPECT_EQ(world_cell(4, 2).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(world_cell(5, 2).tile_kind, "LAB_PINK_FLOOR");
  EXPECT_EQ(world_cell(6, 2).tile_kind, "LAB_PINK_FLOOR");
  EXPECT_EQ(world_cell(7, 2).tile_kind, "LAB_WALL");
  EXPECT_EQ(foes.at(0).direction, MOTION_LEFT);
  EXPECT_LT(foes.at(0).x, 6 * 32);
  EXPECT_GE(testing_sound_play_count(LevelData::sound_handle("step.ogg")), 11);
}

TEST(EnemyAi, SubStepsRoundOnTheirOwnAndDrift) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(12, 12, "LAB_FLOOR");
  Foe& foe = add_foe(0, 3);
  foe.DVELOX = 3;
  foe.DVELOY = 0;
  foes.select(0);
  foe_substep_x(1);
  EXPECT_EQ(foes.at(0).x, 11);
  foe_substep_x(1);
  EXPECT_EQ(foes.at(0).x, 22);
  foe_substep_x(1);
  EXPECT_EQ(foes.at(0).x, 33);
  foe_substep_y(1);  // divisor 0: the axis does not move
  EXPECT_EQ(foes.at(0).y, 96);
  foe_substep_x(-1);
  EXPECT_EQ(foes.at(0).x, 22);
}

TEST(EnemyAi, IsolatedPinkBlockLocksItsUpperCells) {
  LevelData data(levelfixture::Options{false, false, true});
  levelfixture::fill_level(10, 10, "LAB_FLOOR");
  for (auto [x, y] : {std::pair{4, 4}, {5, 4}, {4, 5}, {5, 5}}) set_kind(x, y, "LAB_PINK_FLOOR");
  for (int32_t frame = 0; frame < 2; ++frame) {
    for (int32_t y = 0; y <= 10; ++y) {
      for (int32_t x = 0; x <= 10; ++x) lock_pink_cell(x, y);
    }
  }
  EXPECT_EQ(world_cell(4, 4).tile_kind, "LAB_FIXED_PINK_FLOOR");
  EXPECT_EQ(world_cell(5, 4).tile_kind, "LAB_FIXED_PINK_FLOOR");
  EXPECT_EQ(world_cell(4, 5).tile_kind, "LAB_PINK_FLOOR");
  EXPECT_EQ(world_cell(5, 5).tile_kind, "LAB_PINK_FLOOR");
  EXPECT_EQ(testing_sound_play_count(LevelData::sound_handle("pink.ogg")), 2);
}

TEST(EnemyAi, LockMarksCarryFromOneTestToTheNext) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(10, 10, "LAB_FLOOR");
  // (c, r), (c-1, r), (c, r+1) and (c+1, r+1): no single test has all four, tests 1 and 2 together do.
  for (auto [x, y] : {std::pair{5, 5}, {4, 5}, {5, 6}, {6, 6}}) set_kind(x, y, "LAB_PINK_FLOOR");
  lock_pink_cell(5, 5);
  EXPECT_EQ(world_cell(5, 5).tile_kind, "LAB_FIXED_PINK_FLOOR");

  // Column and row 0 are examined as 1.
  for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {1, 2}, {2, 2}}) set_kind(x, y, "LAB_PINK_FLOOR");
  lock_pink_cell(0, 0);
  EXPECT_EQ(world_cell(1, 1).tile_kind, "LAB_FIXED_PINK_FLOOR");

  // Floor that is not pink never locks, and a lone pink cell stays.
  set_kind(8, 8, "LAB_PINK_FLOOR");
  lock_pink_cell(8, 8);
  EXPECT_EQ(world_cell(8, 8).tile_kind, "LAB_PINK_FLOOR");
}
