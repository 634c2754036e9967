#include "world/level_builder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>


#include "core/config.h"
#include "model/world_model.h"
#include "resources/cell_content.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;

namespace {

uint64_t build_map(int32_t n) {
  map_number = n;
  build_level();
  return levelfixture::level_digest();
}

}  // namespace

TEST(LevelBuilder, SameMapNumberGivesTheSameLevelAndAnotherNumberAnotherLevel) {
  LevelData data;
  const uint64_t first = build_map(3);
  // The data set makes foes and goodies, so the digest covers real lists.
  EXPECT_GT(foes.size(), 0);
  EXPECT_GT(object_instances.size(), 0);
  EXPECT_NE(first, build_map(4));
  EXPECT_EQ(first, build_map(3));
  // The seed and the switch of the data set take part.
  WORLDRANDOM += 1;
  EXPECT_NE(first, build_map(3));
  WORLDRANDOM -= 1;
  LABSWITCH = 0;
  EXPECT_NE(first, build_map(3));
}

// Levels recorded from this data set: a map number always gives the same labyrinth, cell for cell,
// object for object and foe for foe, across changes to how levels are stored or built.
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
  levelfixture::draw_board({"#######", "###~###", "##gg###", "##.####", "#.~####", "#######"});
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
