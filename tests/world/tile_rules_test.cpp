#include "world/tile_rules.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform_testing.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;
using levelfixture::set_kind;

namespace {

// Runs the rule over a rectangle of cells in the order the frame scans them (row by row).
void scan(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  for (int32_t y = y0; y <= y1; ++y) {
    for (int32_t x = x0; x <= x1; ++x) apply_tile_rules(x, y);
  }
}

}  // namespace

TEST(TileRules, TwoByTwoBlueBlockFixesItsUpperCellsOnly) {
  LevelData data(levelfixture::Options{false, false, true});
  levelfixture::fill_level(10, 10, "LAB_FLOOR");
  for (auto [x, y] : {std::pair{4, 4}, {5, 4}, {4, 5}, {5, 5}}) set_kind(x, y, "LAB_BLUE_FLOOR");
  tiles_left = 20;
  score = 100;
  scan(0, 0, 10, 10);
  EXPECT_EQ(world_cell(4, 4).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(world_cell(5, 4).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(world_cell(4, 5).tile_kind, "LAB_BLUE_FLOOR");
  EXPECT_EQ(world_cell(5, 5).tile_kind, "LAB_BLUE_FLOOR");
  EXPECT_EQ(tiles_left, 18);
  EXPECT_EQ(score, 100 + 2 * levelfixture::FIXED_VALUE);
  EXPECT_EQ(testing_sound_play_count(LevelData::sound_handle("fixed.ogg")), 2);

  // Further frames change nothing: the lower cells still reach unpainted floor.
  scan(0, 0, 10, 10);
  EXPECT_EQ(world_cell(4, 5).tile_kind, "LAB_BLUE_FLOOR");
  EXPECT_EQ(tiles_left, 18);

  // A third painted cell beside the block's lower row completes shape C for the lower left.
  set_kind(3, 5, "LAB_BLUE_FLOOR");
  set_kind(3, 4, "LAB_BLUE_FLOOR");
  apply_tile_rules(4, 5);
  EXPECT_EQ(world_cell(4, 5).tile_kind, "LAB_FIXED_FLOOR");
}

TEST(TileRules, OneWideCorridorNeverFixes) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(12, 8, "LAB_WALL");
  for (int32_t x = 1; x <= 10; ++x) set_kind(x, 3, "LAB_BLUE_FLOOR");
  for (int32_t y = 4; y <= 6; ++y) set_kind(10, y, "LAB_BLUE_FLOOR");
  tiles_left = 13;
  for (int frame = 0; frame < 3; ++frame) scan(0, 0, 12, 8);
  for (int32_t x = 1; x <= 10; ++x) EXPECT_EQ(world_cell(x, 3).tile_kind, "LAB_BLUE_FLOOR");
  EXPECT_EQ(tiles_left, 13);
}

TEST(TileRules, ColumnAndRowZeroAreExaminedAsOne) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(6, 6, "LAB_FLOOR");
  for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {1, 2}, {2, 2}}) set_kind(x, y, "LAB_BLUE_FLOOR");
  set_kind(0, 0, "LAB_BLUE_FLOOR");
  tiles_left = 5;
  apply_tile_rules(0, 0);  // examines (1, 1): shape B is complete
  EXPECT_EQ(world_cell(1, 1).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(world_cell(0, 0).tile_kind, "LAB_BLUE_FLOOR");
  apply_tile_rules(2, 0);  // examines (2, 1): shape A is complete
  EXPECT_EQ(world_cell(2, 1).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(tiles_left, 3);
}

TEST(TileRules, PaintingTurnsFloorGreenAndPinkBlueAndLeavesTheRest) {
  LevelData data(levelfixture::Options{false, false, true});
  levelfixture::fill_level(6, 6, "LAB_WALL");
  const char* painted[] = {"LAB_FLOOR", "LAB_GREEN", "LAB_PINK_FLOOR"};
  const char* kept[] = {"LAB_WATER", "LAB_FIXED_FLOOR", "LAB_FIXED_PINK_FLOOR", "LAB_WALL", "LAB_BLUE_FLOOR"};
  tiles_left = 9;
  score = 4;
  int32_t x = 1;
  for (const char* kind : painted) {
    set_kind(x, 1, kind);
    paint_tile(x, 1);
    EXPECT_EQ(world_cell(x, 1).tile_kind, "LAB_BLUE_FLOOR") << kind;
    EXPECT_EQ(world_cell(x, 1).use_collision, 0) << kind;
    ++x;
  }
  x = 1;
  for (const char* kind : kept) {
    set_kind(x, 3, kind);
    paint_tile(x, 3);
    EXPECT_EQ(world_cell(x, 3).tile_kind, kind);
    ++x;
  }
  EXPECT_EQ(tiles_left, 9);
  EXPECT_EQ(score, 4);
  EXPECT_EQ(testing_sound_play_count(LevelData::sound_handle("step.ogg")), 3);

  // Only the exact mode name makes painted cells solid.
  GAMEMODE = "hardcore";
  set_kind(4, 1, "LAB_FLOOR");
  paint_tile(4, 1);
  EXPECT_EQ(world_cell(4, 1).use_collision, 0);
}

TEST(TileRules, HardcoreEscapeThroughFixedFloor) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(6, 6, "LAB_WALL");
  GAMEMODE = "HARDCORE";
  quit_requested = 1;  // a trap would end the program here
  set_kind(2, 2, "LAB_FLOOR");
  set_kind(1, 2, "LAB_BLUE_FLOOR");
  set_kind(2, 1, "LAB_BLUE_FLOOR");
  set_kind(3, 2, "LAB_FIXED_FLOOR");
  paint_tile(2, 2);
  EXPECT_EQ(world_cell(2, 2).tile_kind, "LAB_BLUE_FLOOR");
  EXPECT_EQ(world_cell(2, 2).use_collision, 1);
  // A pink cell repainted is not made solid and does not test the trap.
  set_kind(3, 3, "LAB_PINK_FLOOR");
  paint_tile(3, 3);
  EXPECT_EQ(world_cell(3, 3).use_collision, 0);
}

TEST(TileRulesDeathTest, HardcorePlayerClosedInEndsTheGame) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // With a quit requested, the end of the game ends the program normally.
  EXPECT_EXIT(
      {
        LevelData data(levelfixture::Options{false, false, false});
        levelfixture::fill_level(6, 6, "LAB_WALL");
        GAMEMODE = "HARDCORE";
        quit_requested = 1;
        set_kind(2, 2, "LAB_GREEN");
        set_kind(1, 2, "LAB_BLUE_FLOOR");
        set_kind(2, 3, "LAB_BLUE_FLOOR");
        paint_tile(2, 2);
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}
