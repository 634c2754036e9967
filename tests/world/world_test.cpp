#include <gtest/gtest.h>
#include <sys/wait.h>

#include "core/config.h"
#include "model/world_model.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"
#include "world/tile_rules.h"

using namespace tessera;
using levelfixture::board;
using levelfixture::draw_board;
using levelfixture::LevelData;

namespace {

uint64_t build_map(int32_t n) {
  map_number = n;
  build_level();
  return levelfixture::level_digest();
}

}  // namespace

// Levels recorded from this data set (with foes and goodies, so the digests cover real lists): a
// map number always gives the same labyrinth, cell for cell, object for object and foe for foe,
// across changes to how levels are stored or built; the switch of the data set takes part.
TEST(LevelBuilder, MapsAreTheRecordedLabyrinths) {
  LevelData data;
  struct Recorded {
    int32_t map;
    uint64_t digest;
  };
  for (const Recorded& r : {Recorded{1, 0x3fd039f18324845aULL}, Recorded{2, 0x96c2891422cb6586ULL},
                            Recorded{7, 0xb73a8ad514f4d3b8ULL}, Recorded{20, 0x31bd48b4bd7efb99ULL}}) {
    EXPECT_EQ(build_map(r.map), r.digest) << "map " << r.map;
  }
  testfiles::write_lines(data.dir.file("base.txt"), {"base", "40", "36", "-", "-"});
  for (const Recorded& r : {Recorded{1, 0x77a0031776e3b2d9ULL}, Recorded{4, 0x43447cc044c75405ULL}}) {
    map_number = r.map;
    build_first_level(data.dir.path + "base.txt");
    EXPECT_EQ(levelfixture::level_digest(), r.digest) << "first level, map " << r.map;
  }
  LABSWITCH = 0;
  EXPECT_EQ(build_map(2), 0x2c3ad8c5d69dd105ULL);
}

// A modder's edit between two builds: the first level keeps the files as it first read them (also
// for re-tiles during play); the next build sees them.
TEST(LevelBuilder, ContentEditsShowFromTheNextBuildOn) {
  LevelData data;
  build_map(2);
  data.write_content("LAB_WALL", "GFXNAME edge.png TRANSPARENCY 0 USECOLLISION 2 VALUE1 7");
  levelfixture::set_kind(1, 0, "LAB_WALL");
  EXPECT_EQ(world_cell(1, 0).gfx_name, "wall.png");
  EXPECT_EQ(world_cell(1, 0).value1, 0);
  build_map(2);
  EXPECT_EQ(world_cell(0, 0).gfx_name, "edge.png");
  EXPECT_EQ(world_cell(0, 0).value1, 7);
}

// Base size 0 makes the map number the size; a negative map number builds map 0, which falls back
// to MAPSIZE; more than the matrix holds is clamped, so every neighbour read stays inside it.
TEST(LevelBuilder, MapNumberAndBaseSizeEdgeCases) {
  LevelData data(levelfixture::BARE);
  struct Case {
    int32_t base_w, mapsize, map, w, h;
  };
  for (const Case& c : {Case{0, 255, 5, 5, 5}, Case{0, 20, -4, 20, 20}, Case{900, 1000, 2, LEVEL_EXTENT_LIMIT, 2}}) {
    base_width = c.base_w;
    base_height = 0;
    MAPSIZE = c.mapsize;
    build_map(c.map);
    EXPECT_EQ(map_number, std::max(c.map, 0));
    EXPECT_EQ(level_width, c.w) << c.map;
    EXPECT_EQ(level_height, c.h) << c.map;
  }
  EXPECT_EQ(world_cell(LEVEL_EXTENT_LIMIT, 2).tile_kind, "LAB_WALL");
  EXPECT_EQ(world_cell(LEVEL_EXTENT_LIMIT + 1, 2).in_level, 0);
}

TEST(LevelBuilderDeathTest, MissingBaseFileIsFatal) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        LevelData data(levelfixture::BARE);
        build_first_level(data.dir.path + "DATA/missing.txt");
        std::exit(0);  // reached only when the error did not end the program
      },
      [](int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; }, "");
}

// Extended edges: recorded cells take the "_E" kind of a wall, green or water to their left, then
// the "_S" kind of the one above.
TEST(LevelBuilder, EdgePassGivesRecordedCellsTheKindsBesideThem) {
  LevelData data(levelfixture::BARE);
  draw_board({"#######", "###~###", "##gg###", "##.####", "#.~####", "#######"});
  for (auto [x, y, kind] : {std::tuple{2, 2, "LAB_GREEN"}, {3, 2, "LAB_GREEN"}, {2, 4, "LAB_WATER"}}) {
    EdgePlacement& p = edge_placements.add();
    p.x = x;
    p.y = y;
    p.kind = kind;
  }
  USEEXTENDEDTOPO = 0;
  mark_edges();
  EXPECT_EQ(world_cell(2, 2).tile_kind, "LAB_GREEN");
  USEEXTENDEDTOPO = 1;
  mark_edges();
  EXPECT_EQ(world_cell(2, 2).tile_kind, "LAB_WALL_S");  // "_E" of its left wall, then the wall above
  EXPECT_EQ(world_cell(3, 2).tile_kind, "LAB_WATER_S");
  EXPECT_EQ(world_cell(2, 4).tile_kind, "LAB_WATER");   // floor to the left and above
  EXPECT_EQ(world_cell(3, 2).use_collision, 2);         // re-tiled: the edge kind's content
}

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
  // Column and row 0 are never examined themselves: the rule runs on column and row 1 instead.
  draw_board({"b.....", ".bb...", ".bb...", "......"});
  apply_tile_rules(0, 0);  // examines (1, 1)
  apply_tile_rules(2, 0);  // examines (2, 1)
  EXPECT_EQ(board(), (std::vector<std::string>{"b.....", ".FF...", ".bb...", "......"}));
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
// free, and only a player closed in by walls and blue is trapped (the frame loop then ends the game).
TEST(TileRules, HardcoreSolidPaintAndTrap) {
  LevelData data(levelfixture::BARE);
  draw_board({"#######", "##b##b#", "#b.F#.b", "#######", "#bpb###", "#######"});
  GAMEMODE = "HARDCORE";
  player_trapped = 0;
  paint_tile(2, 2);  // a fixed cell to the right
  paint_tile(2, 4);  // pink, closed in
  EXPECT_EQ(world_cell(2, 2).use_collision, 1);
  EXPECT_EQ(world_cell(2, 4).use_collision, 0);
  EXPECT_EQ(player_trapped, 0);
  paint_tile(5, 2);  // walls and blue all round
  EXPECT_EQ(player_trapped, 1);
}
