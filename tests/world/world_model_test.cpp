#include "world/world_model.h"

#include <gtest/gtest.h>

using namespace tessera;

namespace {

TEST(WorldModel, DeclaredMatrixIsSquareAndTheAccessorIsSafeEverywhere) {
  world_state_set_defaults();
  declare_world_model();
  ASSERT_EQ(world_matrix.columns, 513);
  ASSERT_EQ(world_matrix.rows, 513);
  EXPECT_TRUE(cell_inside(512, 512));
  EXPECT_FALSE(cell_inside(513, 0));
  EXPECT_FALSE(cell_inside(0, -1));

  // Column-major storage must not let one coordinate spill into the other.
  world_cell(2, 3).tile_kind = "A";
  world_cell(0, 512).value1 = 5;
  EXPECT_EQ(world_cell(3, 2).tile_kind, "");
  EXPECT_EQ(world_cell(1, 0).value1, 0);
  EXPECT_EQ(world_cell(2, 3).tile_kind, "A");
  EXPECT_EQ(world_cell(0, 512).value1, 5);

  // Writes outside land nowhere, and reads outside are empty, even right after such a write.
  for (const auto& [x, y] : {std::pair{-1, 0}, std::pair{0, 513}, std::pair{513, 0}, std::pair{100000, -100000}}) {
    WorldCell& outside = world_cell(x, y);
    outside.tile_kind = "LAB_WALL";
    outside.alpha = 255;
    outside.in_level = 1;
    outside.use_collision = 1;
    const WorldCell& again = world_cell(x, y);
    EXPECT_EQ(again.tile_kind, "");
    EXPECT_EQ(again.alpha, 0);
    EXPECT_EQ(again.in_level, 0);
    EXPECT_EQ(again.use_collision, 0);
  }
  EXPECT_EQ(world_cell(1, 0).tile_kind, "");
  EXPECT_EQ(world_cell(0, 0).tile_kind, "");

  world_matrix_create(LEVEL_MATRIX_SIZE, LEVEL_MATRIX_SIZE);
  EXPECT_EQ(world_cell(2, 3).tile_kind, "");  // re-created empty
  EXPECT_FALSE(cell_inside(257, 0));
  world_matrix_create(-4, 3);
  EXPECT_EQ(world_matrix.cells.size(), 0u);
  EXPECT_EQ(world_cell(0, 0).tile_kind, "");
}

TEST(WorldModel, ListsKeepACurrentElement) {
  List<EdgePlacement> list;
  EXPECT_FALSE(list.next());
  EXPECT_FALSE(list.has_current());
  list.add().kind = "a";
  list.add().kind = "b";
  EXPECT_EQ(list.current().kind, "b");  // add makes the new element current
  list.reset();
  ASSERT_TRUE(list.next());
  EXPECT_EQ(list.current().kind, "a");
  ASSERT_TRUE(list.next());
  EXPECT_FALSE(list.next());
  EXPECT_EQ(list.current().kind, "b");
  EXPECT_FALSE(list.select(2));
  EXPECT_FALSE(list.has_current());
  EXPECT_FALSE(list.select(-1));
  ASSERT_TRUE(list.select(0));
  EXPECT_EQ(list.current().kind, "a");
  list.clear();
  EXPECT_EQ(list.size(), 0);
  EXPECT_FALSE(list.has_current());
}

TEST(WorldModel, DefaultsAreRestoredForANewRun) {
  map_number = 9;
  current_map = 4;
  bombs = "&&&";
  game_mode = GAME_MODE_GAME_OVER;
  tiles_left = 3;
  scroll_x = 2.0f;
  object_instances.add();
  world_state_set_defaults();
  EXPECT_EQ(map_number, 1);
  EXPECT_EQ(current_map, 0);
  EXPECT_EQ(bombs, "&");
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_EQ(menu_active, 1);
  EXPECT_EQ(tiles_left, 0);
  EXPECT_EQ(scroll_x, 0.0f);
  EXPECT_EQ(object_instances.size(), 0);
}

}  // namespace
