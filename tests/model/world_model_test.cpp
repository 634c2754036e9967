#include "model/world_model.h"

#include <gtest/gtest.h>

#include <utility>

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

namespace {

// A fresh matrix is made of zero bytes, so every field of its cells must read as a value-made cell.
TEST(WorldModel, FreshCellsReadAsDefaultCellsAndNarrowFieldsHoldWhatTheGameWrites) {
  world_matrix_create(LEVEL_MATRIX_SIZE, LEVEL_MATRIX_SIZE);
  const WorldCell made{};
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{128, 77}, std::pair{256, 256}}) {
    const WorldCell& c = world_cell(x, y);
    EXPECT_EQ(c.child_object, made.child_object);
    for (size_t slot = 0; slot < CHILD_SLOTS; ++slot) EXPECT_EQ(c.child_name[slot], "");
    EXPECT_EQ(c.tile_kind, made.tile_kind);
    EXPECT_EQ(c.gfx_name, made.gfx_name);
    const int values[] = {c.tile_sprite,   c.alpha,     c.transparency, c.value1,          c.last_child,
                          c.use_collision, c.use_enemy, c.in_level,     c.last_child_name, c.blocked};
    for (int value : values) EXPECT_EQ(value, 0);
  }

  WorldCell& c = world_cell(5, 5);
  for (int32_t v = -1; v <= 7; ++v) {
    c.last_child = v;
    c.last_child_name = static_cast<int8_t>(v < 0 ? 0 : v);
    EXPECT_EQ(c.last_child, v);
    EXPECT_EQ(c.last_child_name, v < 0 ? 0 : v);
  }
  for (int8_t v : {-1, 0, 1}) {
    c.blocked = v;
    EXPECT_EQ(c.blocked, v);
  }
  c.in_level = 1;
  c.use_collision = -128;
  c.use_enemy = 127;
  EXPECT_EQ(c.in_level, 1);
  EXPECT_EQ(c.use_collision, -128);
  EXPECT_EQ(c.use_enemy, 127);
}

TEST(WorldModel, CellTextsAreSharedAndReadLikeStrings) {
  const CellText a = std::string("LAB_FLOOR");
  const CellText b = "LAB_FLOOR";
  EXPECT_EQ(a.id(), b.id());
  EXPECT_TRUE(a == std::string("LAB_FLOOR"));
  EXPECT_FALSE(a == "LAB_FLOO");
  EXPECT_EQ(CellText("").id(), 0u);
  const std::string& as_string = a;
  EXPECT_EQ(as_string + "!", "LAB_FLOOR!");
  EXPECT_EQ(a.size(), 9u);

  // One slot changes, the rest stay; cells naming the same children share one tuple.
  world_matrix_create(4, 4);
  const size_t tuples = child_names_count();
  for (int32_t x = 0; x < 4; ++x) {
    world_cell(x, 0).child_name[0] = "GEM";
    world_cell(x, 0).child_name[2] = std::string("BOMB");
  }
  EXPECT_LE(child_names_count(), tuples + 2);
  WorldCell& c = world_cell(1, 0);
  c.child_name[2] = "#";
  EXPECT_EQ(c.child_name[0], "GEM");
  EXPECT_EQ(c.child_name[2], "#");
  EXPECT_EQ(world_cell(2, 0).child_name[2], "BOMB");
  // Slots beyond the eight read as empty and take no writes.
  c.child_name[8] = "ROCK";
  EXPECT_EQ(std::as_const(c).child_name[8], "");
  EXPECT_EQ(c.child_name[1], "");
}

}  // namespace
