#include "world/tile_rules.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "model/world_model.h"
#include "support/input_script.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::board;
using levelfixture::draw_board;
using levelfixture::LevelData;

// Two frames of the fixing rule over boards of blue cells: which cells fix, and that each fixed cell
// counts one tile off, earns its value and plays the fix sound.
TEST(TileRules, BlocksFixAndCorridorsNever) {
  LevelData data(levelfixture::Options{false, false, true});
  struct Case {
    const char* what;
    std::vector<std::string> before, after;
    int32_t fixed;
  };
  const Case cases[] = {
      // The upper cells close their 2 x 2 squares; the lower ones still reach unpainted floor.
      {"block", {"......", ".bb...", ".bb...", "......"}, {"......", ".FF...", ".bb...", "......"}, 2},
      {"row above", {"......", ".bbb..", "..b...", "......"}, {"......", ".bbb..", "..F...", "......"}, 1},
      {"row below", {"......", "..b...", ".bbb..", "......"}, {"......", "..F...", ".bbb..", "......"}, 1},
      {"corridor",
       {"#######", "#bbbbb#", "#####b#", "#####b#", "#######"},
       {"#######", "#bbbbb#", "#####b#", "#####b#", "#######"}, 0},
  };
  int32_t sounds = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    draw_board(c.before);
    tiles_left = 20;
    score = 100;
    for (int frame = 0; frame < 2; ++frame) {
      for (int32_t y = 0; y <= level_height; ++y) {
        for (int32_t x = 0; x <= level_width; ++x) apply_tile_rules(x, y);
      }
    }
    EXPECT_EQ(board(), c.after);
    EXPECT_EQ(tiles_left, 20 - c.fixed);
    EXPECT_EQ(score, 100 + c.fixed * levelfixture::FIXED_VALUE);
    sounds += c.fixed;
    EXPECT_EQ(LevelData::plays("fixed.ogg"), sounds);
  }
}

// Column and row 0 are never examined themselves: the rule runs on column and row 1 instead.
TEST(TileRules, ColumnAndRowZeroAreExaminedAsOne) {
  LevelData data(levelfixture::BARE);
  draw_board({"b.....", ".bb...", ".bb...", "......"});
  tiles_left = 5;
  apply_tile_rules(0, 0);  // examines (1, 1)
  apply_tile_rules(2, 0);  // examines (2, 1)
  EXPECT_EQ(board(), (std::vector<std::string>{"b.....", ".FF...", ".bb...", "......"}));
  EXPECT_EQ(tiles_left, 3);
}

// Floor, green and pink paint blue (open, no points); every other kind stays. Only the exact mode
// name "HARDCORE" makes painted cells solid.
TEST(TileRules, PaintingTurnsFloorGreenAndPinkBlueAndLeavesTheRest) {
  LevelData data(levelfixture::Options{false, false, true});
  draw_board({".gp~FP#b"});
  GAMEMODE = "hardcore";
  tiles_left = 9;
  score = 4;
  for (int32_t x = 0; x <= level_width; ++x) paint_tile(x, 0);
  EXPECT_EQ(board(), (std::vector<std::string>{"bbb~FP#b"}));
  for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(world_cell(x, 0).use_collision, 0) << x;
  EXPECT_EQ(tiles_left, 9);
  EXPECT_EQ(score, 4);
  EXPECT_EQ(LevelData::plays("step.ogg"), 3);
}

// Hardcore: painted floor turns solid, pink repainted does not; a fixed neighbour keeps the player
// free, and a player closed in by walls and blue ends the game at once (with a quit requested the
// program then ends normally). The message shows the open cases passed before the trap.
TEST(TileRulesDeathTest, HardcoreSolidPaintAndTrap) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        LevelData data(levelfixture::BARE);
        inputscript::InputScript runaway_guard({});  // should the title screen show instead
        draw_board({"#######", "##b##b#", "#b.F#.b", "#######", "#bpb###", "#######"});
        GAMEMODE = "HARDCORE";
        quit_requested = 1;
        paint_tile(2, 2);  // a fixed cell to the right
        paint_tile(2, 4);  // pink, closed in
        if (world_cell(2, 2).use_collision == 1 && world_cell(2, 4).use_collision == 0) {
          std::fputs("open cases kept the game going\n", stderr);
        }
        paint_tile(5, 2);  // walls and blue all round
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "open cases kept the game going");
}
