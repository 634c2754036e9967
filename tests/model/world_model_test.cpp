// The world matrix: its size, safe access outside it, and the packed cell fields.
#include "model/world_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using namespace tessera;

namespace {

TEST(WorldModel, DeclaredMatrixIsSquareAndTheAccessorIsSafeEverywhere) {
  world_state_set_defaults();
  declare_world_model();
  ASSERT_EQ(std::pair(world_matrix.columns, world_matrix.rows), std::pair(513, 513));
  EXPECT_TRUE(cell_inside(512, 512));
  EXPECT_FALSE(cell_inside(513, 0) || cell_inside(0, 513) || cell_inside(0, -1));
  // Column-major storage must not let one coordinate spill into the other.
  world_cell(2, 3).tile_kind = "A";
  EXPECT_EQ(world_cell(3, 2).tile_kind, "");
  EXPECT_EQ(world_cell(2, 3).tile_kind, "A");
  // Writes outside land nowhere, and reads outside are empty, even right after such a write.
  for (const auto& [x, y] : {std::pair{-1, 0}, std::pair{0, 513}, std::pair{513, 0}, std::pair{100000, -100000}}) {
    world_cell(x, y).tile_kind = "LAB_WALL";
    world_cell(x, y).use_collision = 1;
    EXPECT_EQ(world_cell(x, y).tile_kind, "");
    EXPECT_EQ(world_cell(x, y).use_collision, 0);
  }
  EXPECT_EQ(world_cell(0, 0).tile_kind, "");
  world_matrix_create(LEVEL_MATRIX_SIZE, LEVEL_MATRIX_SIZE);
  EXPECT_EQ(world_cell(2, 3).tile_kind, "");  // re-created empty
  EXPECT_FALSE(cell_inside(257, 0));
  world_matrix_create(-4, 3);
  EXPECT_EQ(world_matrix.cells.size(), 0u);
}

// A fresh matrix is made of zero bytes: every cell must read as a value-made one, and the
// narrow fields must hold every value the game writes into them.
TEST(WorldModel, FreshCellsReadAsDefaultCellsAndNarrowFieldsHoldTheirRange) {
  world_matrix_create(LEVEL_MATRIX_SIZE, LEVEL_MATRIX_SIZE);
  const WorldCell& fresh = world_cell(128, 77);
  EXPECT_EQ(fresh.child_object, WorldCell{}.child_object);
  EXPECT_EQ(fresh.child_name[7], "");
  WorldCell& c = world_cell(5, 5);
  for (int32_t v = -1; v <= 7; ++v) {
    c.last_child = v;  // -1 for none, else a slot
    c.last_child_name = static_cast<int8_t>(std::max(v, 0));
    c.blocked = static_cast<int8_t>(std::clamp(v, -1, 1));
    EXPECT_EQ(c.last_child, v);
    EXPECT_EQ(c.last_child_name, std::max(v, 0));
    EXPECT_EQ(c.blocked, std::clamp(v, -1, 1));
  }
}

}  // namespace
