#include "game/world_pass.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "resources/catalogs.h"
#include "resources/cell_content.h"
#include "resources/object_types.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;
using levelfixture::set_kind;

namespace {

// Puts one instance into a cell's child slot, as spawning would.
int32_t place_instance(int32_t x, int32_t y, int32_t slot, const std::string& name, const ObjectInstance& fields) {
  ObjectInstance& instance = object_instances.add();
  instance = fields;
  const int32_t position = object_instances.size() - 1;
  WorldCell& cell = world_cell(x, y);
  // A cell that spawned nothing yet: every slot empty, as a content file naming all eight leaves it.
  if (cell.last_child < 0) cell.child_object.fill(-1);
  cell.child_object[static_cast<size_t>(slot)] = position;
  cell.child_name[static_cast<size_t>(slot)] = name;
  cell.last_child = std::max(cell.last_child, slot);
  if (fields.DCOLLISION != 0) cell.blocked = 1;
  return position;
}

ObjectInstance collectable(int32_t score_points, int32_t extra_time) {
  ObjectInstance instance;
  instance.DCOLLISION = 1;
  instance.DKILLONCOLLISION = 1;
  instance.DSCORE = score_points;
  instance.DEXTRATIME = extra_time;
  instance.DGFXSHOW = 1;
  instance.DGFXTRANSPARENCY = 255;
  return instance;
}

}  // namespace

TEST(WorldPass, PickupsCreditScoreTimeAndBombs) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(8, 8, "LAB_FLOOR");
  score = 0;
  score_target = 0;
  time_left = 10;
  bombs = "&&";

  place_instance(2, 2, 0, "GEM", collectable(25, 3));
  ObjectInstance counted = collectable(40, 0);
  counted.DCOUNTTOSCORE = 1;
  place_instance(2, 2, 1, "GEM", counted);
  ObjectInstance fixture_object = collectable(7, 1);
  fixture_object.DKILLONCOLLISION = 0;
  place_instance(2, 2, 3, "STONE", fixture_object);
  pickup_test(2, 2);
  EXPECT_EQ(score, 25);
  EXPECT_EQ(score_target, 40);
  EXPECT_EQ(time_left, 10 + 3 + 1);
  EXPECT_EQ(world_cell(2, 2).child_object[0], -1);
  EXPECT_EQ(world_cell(2, 2).child_object[1], -1);
  EXPECT_EQ(world_cell(2, 2).child_object[3], 2);  // stays: it does not die on collision
  EXPECT_EQ(world_cell(2, 2).last_child, 3);
  pickup_test(2, 2);  // only the object that stayed credits again, and only its time
  EXPECT_EQ(score, 25);
  EXPECT_EQ(time_left, 15);

  // A bomb is taken while fewer than three are held; with three it stays and credits every time.
  place_instance(4, 4, 0, "BOMB", collectable(5, 0));
  pickup_test(4, 4);
  EXPECT_EQ(bombs, "&&&");
  EXPECT_EQ(world_cell(4, 4).child_object[0], -1);
  place_instance(5, 4, 0, "BOMB", collectable(5, 0));
  pickup_test(5, 4);
  pickup_test(5, 4);
  EXPECT_EQ(bombs, "&&&");
  EXPECT_NE(world_cell(5, 4).child_object[0], -1);
  EXPECT_EQ(score, 25 + 5 + 5 + 5);

  // Not blocked: nothing is collected.
  place_instance(6, 6, 0, "GEM", collectable(100, 0));
  world_cell(6, 6).blocked = 0;
  pickup_test(6, 6);
  EXPECT_EQ(score, 40);
}

TEST(WorldPass, RulesRunOnlyForVisibleCellsWithAlpha) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(40, 30, "LAB_FLOOR");
  // Visible block: fixes. Block beyond the window (10 + 1 columns, 8 rows): stays blue.
  for (auto [x, y] : {std::pair{3, 3}, {4, 3}, {3, 4}, {4, 4}}) set_kind(x, y, "LAB_BLUE_FLOOR");
  for (auto [x, y] : {std::pair{20, 3}, {21, 3}, {20, 4}, {21, 4}}) set_kind(x, y, "LAB_BLUE_FLOOR");
  // An invisible blue block (alpha 0) is neither drawn nor processed.
  for (auto [x, y] : {std::pair{6, 5}, {7, 5}, {6, 6}, {7, 6}}) {
    set_kind(x, y, "LAB_BLUE_FLOOR");
    world_cell(x, y).alpha = 0;
  }
  player.x = 32.0f;
  player.y = 32.0f;
  set_kind(1, 1, "LAB_WALL");
  tiles_left = 50;
  world_step();
  EXPECT_EQ(world_cell(3, 3).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(world_cell(4, 3).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(world_cell(20, 3).tile_kind, "LAB_BLUE_FLOOR");
  EXPECT_EQ(world_cell(6, 5).tile_kind, "LAB_BLUE_FLOOR");
  EXPECT_EQ(tiles_left, 48);

  // Scrolled so the far block is on screen (17.5 rounds to 18: halves to even).
  scroll_x = 17.5f;
  world_step();
  EXPECT_EQ(scan_x, 18);
  EXPECT_EQ(world_cell(20, 3).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(tiles_left, 46);

  // Cells so small that the window is millions of cells wide: the walk ends at the matrix's edge
  // (else this frame would take hours), and every cell of the matrix is on screen.
  for (auto [x, y] : {std::pair{36, 25}, {37, 25}, {36, 26}, {37, 26}}) set_kind(x, y, "LAB_BLUE_FLOOR");
  scroll_x = 0.0f;
  RESOLUTION = 0.0001f;
  visible_columns = 4.0e6f;
  visible_rows = 4.0e6f;
  world_step();
  EXPECT_EQ(world_cell(36, 25).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(tiles_left, 44);
}

TEST(WorldPass, TilesAreDrawnAtTheirScreenCellAndHiddenObjectsStillBlock) {
  LevelData data(levelfixture::Options{false, false, false});
  levelfixture::fill_level(20, 20, "LAB_FLOOR");
  ObjectInstance hidden = collectable(0, 0);
  hidden.DISPLAYER = 1;
  object_types.add().type_sprite = tile_graphics.at(0).sprite;
  hidden.type = object_types.size() - 1;
  hidden.instance_size_x = hidden.instance_size_y = 32.0f;
  const int32_t hidden_quad = object_type_quad(hidden.type, 32, 32);
  ASSERT_NE(hidden_quad, 0);
  place_instance(5, 3, 0, "GHOST", hidden);
  world_cell(5, 3).blocked = 0;
  // Cells share the quad of their graphic: give this one a graphic of its own to find it.
  WorldCell& marked = world_cell(5, 3);
  marked.tile_graphic = marked.tile_graphic % tile_graphics.size() + 1;
  const int32_t marker = tile_graphic_quad(marked.tile_graphic);
  ASSERT_NE(marker, tile_graphic_quad(world_cell(6, 3).tile_graphic));
  player.x = 32.0f;
  player.y = 32.0f;

  for (auto [scroll, expected_x] : {std::pair{2.5f, 96}, {3.5f, 32}}) {
    scroll_x = scroll;
    testing_record_draws(true);
    testing_clear_recorded_draws();
    world_step();
    draw_world_frame(true);
    bool tile_seen = false;
    for (const DrawRecord& draw : testing_recorded_draws()) {
      EXPECT_NE(draw.s3d, hidden_quad);
      if (draw.s3d == marker) {
        tile_seen = true;
        EXPECT_EQ(draw.x, expected_x);
        EXPECT_EQ(draw.y, 96);
      }
    }
    EXPECT_TRUE(tile_seen) << scroll;
    EXPECT_EQ(world_cell(5, 3).blocked, 1);
  }
}
