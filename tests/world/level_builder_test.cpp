#include "world/level_builder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <set>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/cell_content.h"
#include "resources/progress_bars.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;

namespace {

uint64_t build_map(int32_t n) {
  map_number = n;
  build_level();
  return levelfixture::level_digest();
}

int32_t goody_instances() {
  int32_t n = 0;
  for (const ObjectInstance& instance : object_instances.items) n += instance.DISGOODY == 1 ? 1 : 0;
  return n;
}

}  // namespace

TEST(LevelBuilder, SameMapNumberGivesTheSameLevelAndAnotherNumberAnotherLevel) {
  LevelData data;
  const uint64_t first = build_map(3);
  const int32_t foes_first = foes.size();
  const int32_t instances_first = object_instances.size();
  const uint64_t other = build_map(4);
  const uint64_t again = build_map(3);
  EXPECT_EQ(first, again);
  EXPECT_EQ(foes_first, foes.size());
  EXPECT_EQ(instances_first, object_instances.size());
  EXPECT_NE(first, other);
  // The data set makes foes and goodies, so the digest covers real lists.
  EXPECT_GT(foes_first, 0);
  EXPECT_GT(instances_first, 0);

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
// for re-tiles during play, and a file that was missing stays missing); the next build sees them.
TEST(LevelBuilder, ContentEditsShowFromTheNextBuildOn) {
  LevelData data;
  std::remove((data.dir.path + "RGB/LAB/LAB_PINK_FLOOR").c_str());
  build_map(2);
  const int32_t wall_x = 0, wall_y = 0;
  ASSERT_EQ(world_cell(wall_x, wall_y).tile_kind, "LAB_WALL");
  ASSERT_EQ(world_cell(wall_x, wall_y).value1, 0);
  levelfixture::set_kind(2, 0, "LAB_FIXED_FLOOR");  // met in play
  levelfixture::set_kind(3, 0, "LAB_PINK_FLOOR");   // met missing

  data.write_content("LAB_WALL", {"GFXNAME", "edge.png", "TRANSPARENCY", "0", "USECOLLISION", "2", "VALUE1", "7"});
  data.write_content("LAB_FIXED_FLOOR", {"GFXNAME", "fixed.png", "TRANSPARENCY", "0", "VALUE1", "99"});
  data.write_content("LAB_PINK_FLOOR", {"GFXNAME", "pink.png", "TRANSPARENCY", "0", "VALUE1", "5"});
  levelfixture::set_kind(1, 0, "LAB_WALL");
  levelfixture::set_kind(2, 0, "LAB_FIXED_FLOOR");
  levelfixture::set_kind(3, 0, "LAB_PINK_FLOOR");
  EXPECT_EQ(world_cell(1, 0).value1, 0);
  EXPECT_EQ(world_cell(1, 0).gfx_name, "wall.png");
  EXPECT_EQ(world_cell(2, 0).value1, levelfixture::FIXED_VALUE);
  EXPECT_EQ(world_cell(3, 0).value1, 0);  // still missing: the wall's content stays
  EXPECT_EQ(world_cell(3, 0).tile_kind, "LAB_PINK_FLOOR");

  build_map(2);
  EXPECT_EQ(world_cell(wall_x, wall_y).value1, 7);
  EXPECT_EQ(world_cell(wall_x, wall_y).gfx_name, "edge.png");
  levelfixture::set_kind(2, 0, "LAB_FIXED_FLOOR");
  levelfixture::set_kind(3, 0, "LAB_PINK_FLOOR");
  EXPECT_EQ(world_cell(2, 0).value1, 99);
  EXPECT_EQ(world_cell(3, 0).value1, 5);
}

TEST(LevelBuilder, WalksStayInsideTheWallRingAndCountTilesAndTime) {
  LevelData data;
  for (int32_t n = 1; n <= 6; ++n) {
    map_number = n;
    build_level();
    const int32_t w = level_width;
    const int32_t h = level_height;
    for (int32_t x = 0; x <= w; ++x) {
      for (int32_t y = 0; y <= h; ++y) {
        const WorldCell& cell = world_cell(x, y);
        EXPECT_EQ(cell.in_level, 1);
        const bool inner = x >= 1 && x <= w - 2 && y >= 1 && y <= h - 2;
        if (!inner) {
          EXPECT_EQ(cell.tile_kind, "LAB_WALL") << "map " << n << " cell " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(world_cell(w + 1, 0).in_level, 0);
    const int32_t floor = levelfixture::count_kind("LAB_FLOOR");
    ASSERT_GT(floor, 0);
    EXPECT_GT(levelfixture::count_kind("LAB_GREEN") + levelfixture::count_kind("LAB_WATER"), 0);
    EXPECT_EQ(tiles_left, (floor + goody_instances()) / 4) << "map " << n;
    EXPECT_EQ(time_left, std::min(tiles_left / 4, 60));
    // The player starts on floor, idle, and the level fits the screen's cell count.
    const int32_t px = static_cast<int32_t>(player.x / levelfixture::CELL);
    const int32_t py = static_cast<int32_t>(player.y / levelfixture::CELL);
    EXPECT_EQ(world_cell(px, py).tile_kind, "LAB_FLOOR");
    EXPECT_EQ(player.motion, MOTION_IDLE);
    EXPECT_FLOAT_EQ(visible_columns, 10.0f);
    EXPECT_FLOAT_EQ(visible_rows, 8.0f);
  }
}

TEST(LevelBuilder, TinyLevelConvertsOnlyTheFirstCellAndTilesAndTimeFollowTheCount) {
  LevelData data(levelfixture::Options{false, false, false});
  struct Case {
    int32_t floor_cells;
    int32_t tiles;
    int32_t time;
  };
  for (const Case c : {Case{1, 0, 0}, Case{7, 1, 0}, Case{300, 75, 18}, Case{4000, 1000, 60}}) {
    reset_world();
    random_seed(77);
    fill_walls(3, 3);
    // Tiles counted before the walk (as goodies spawned during it are) join the division.
    tiles_left = c.floor_cells - 1;
    carve_floor(3, 3);
    EXPECT_EQ(tiles_left, c.tiles) << c.floor_cells;
    EXPECT_EQ(time_left, c.time) << c.floor_cells;
    EXPECT_EQ(world_cell(1, 1).tile_kind, "LAB_FLOOR");
    int32_t floors = 0;
    for (int32_t x = 0; x <= 3; ++x) {
      for (int32_t y = 0; y <= 3; ++y) floors += world_cell(x, y).tile_kind == "LAB_FLOOR" ? 1 : 0;
    }
    EXPECT_EQ(floors, 1);
    EXPECT_FLOAT_EQ(player.x, levelfixture::CELL);
    EXPECT_FLOAT_EQ(player.y, levelfixture::CELL);
  }
}

TEST(LevelBuilder, MapNumberAndBaseSizeEdgeCases) {
  LevelData data(levelfixture::Options{false, false, false});
  // A negative map number builds map 0.
  base_width = 10;
  base_height = 8;
  map_number = -4;
  build_level();
  EXPECT_EQ(map_number, 0);
  EXPECT_GE(level_width, 5);
  EXPECT_LE(level_width, 10);
  EXPECT_GE(level_height, 4);
  EXPECT_LE(level_height, 8);

  // Base size 0: the size is the map number, and 0 falls back to MAPSIZE.
  base_width = 0;
  base_height = 0;
  map_number = 5;
  build_level();
  EXPECT_EQ(level_width, 5);
  EXPECT_EQ(level_height, 5);
  MAPSIZE = 20;
  map_number = 0;
  build_level();
  EXPECT_EQ(level_width, 20);
  EXPECT_EQ(level_height, 20);

  // More than the matrix holds is clamped so every neighbour read stays inside it.
  MAPSIZE = 1000;
  base_width = 900;
  base_height = 0;
  map_number = 2;
  build_level();
  EXPECT_EQ(level_width, LEVEL_EXTENT_LIMIT);
  EXPECT_EQ(level_height, 2);
  EXPECT_EQ(world_cell(LEVEL_EXTENT_LIMIT, 2).tile_kind, "LAB_WALL");
  EXPECT_EQ(world_cell(LEVEL_EXTENT_LIMIT + 1, 2).in_level, 0);
}

TEST(LevelBuilder, ProgressRunsOncePerFilledCell) {
  LevelData data(levelfixture::Options{false, false, false});
  map_number = 2;
  current_map = 0;
  build_level();
  // level_build_progress adds screen_width / (w * h) per call, starting at 1.
  const double cells = static_cast<double>(level_width + 1) * (level_height + 1);
  const double step = levelfixture::SCREEN_W / (static_cast<double>(level_width) * level_height);
  EXPECT_NEAR(build_progress, 1.0 + cells * step, 0.01);
  EXPECT_EQ(current_map, 2);
}

TEST(LevelBuilder, FirstLevelReadsTheBaseFileAndIsReproducible) {
  LevelData data;
  const std::string base = data.dir.file("DATA/base.txt");
  testfiles::write_lines(base, {"generated levels", "  16", "-x", "ignored", "ignored"});
  map_number = 1;
  build_first_level(base);
  EXPECT_EQ(base_width, 16);
  EXPECT_EQ(base_height, 0);
  EXPECT_LE(level_width, 16);
  EXPECT_EQ(level_height, 0);
  const uint64_t first = levelfixture::level_digest();

  testfiles::write_lines(base, {"generated levels", "16", "14", "", ""});
  build_first_level(base);
  EXPECT_EQ(base_height, 14);
  const uint64_t second = levelfixture::level_digest();
  EXPECT_NE(first, second);
  EXPECT_LE(level_width, 16);
  EXPECT_LE(level_height, 14);
  build_first_level(base);
  EXPECT_EQ(second, levelfixture::level_digest());
}

TEST(LevelBuilderDeathTest, MissingBaseFileIsFatal) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        LevelData data(levelfixture::Options{false, false, false});
        build_first_level(data.dir.path + "DATA/missing.txt");
        std::exit(0);  // reached only when the error did not end the program
      },
      [](int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; }, "");
}

TEST(LevelBuilder, EdgePassGivesRecordedCellsTheKindsBesideThem) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(6, 6, "LAB_WALL");
  levelfixture::set_kind(2, 2, "LAB_GREEN");  // wall to the left, wall above
  levelfixture::set_kind(3, 2, "LAB_GREEN");  // left neighbour turns "_E" first; water above
  levelfixture::set_kind(3, 1, "LAB_WATER");
  levelfixture::set_kind(2, 4, "LAB_WATER");  // floor to the left, floor above
  levelfixture::set_kind(1, 4, "LAB_FLOOR");
  levelfixture::set_kind(2, 3, "LAB_FLOOR");
  for (auto [x, y, kind] : {std::tuple{2, 2, "LAB_GREEN"}, std::tuple{3, 2, "LAB_GREEN"},
                            std::tuple{2, 4, "LAB_WATER"}}) {
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
  // (2, 2) became "_E" against its left wall; the upper sweep then compares with the wall above.
  EXPECT_EQ(world_cell(2, 2).tile_kind, "LAB_WALL_S");
  EXPECT_EQ(world_cell(3, 2).tile_kind, "LAB_WATER_S");
  EXPECT_EQ(world_cell(2, 4).tile_kind, "LAB_WATER");
  // Re-tiled: the edge kind's content applies.
  EXPECT_EQ(world_cell(3, 2).use_collision, 2);
}

TEST(LevelBuilder, GeneratedLevelsRecordOnlyGreenAndWaterForTheEdgePass) {
  LevelData data(levelfixture::Options{false, false, false});
  USEEXTENDEDTOPO = 1;
  map_number = 4;
  build_level();
  ASSERT_GT(edge_placements.size(), 0);
  std::set<std::string> kinds;
  for (const EdgePlacement& p : edge_placements.items) kinds.insert(p.kind);
  EXPECT_EQ(kinds, (std::set<std::string>{"LAB_GREEN", "LAB_WATER"}));
  int32_t edges = 0;
  for (const char* kind : {"LAB_WALL_E", "LAB_WALL_S", "LAB_GREEN_E", "LAB_GREEN_S", "LAB_WATER_E", "LAB_WATER_S"}) {
    edges += levelfixture::count_kind(kind);
  }
  EXPECT_GT(edges, 0);
  EXPECT_GT(levelfixture::count_kind("LAB_FLOOR"), 0);
}
