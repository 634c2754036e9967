#include "model/world_model.h"

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

}  // namespace
