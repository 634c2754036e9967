#include "resources/cell_content.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/config.h"
#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "resources/catalogs.h"
#include "resources/object_types.h"
#include "resources/resource_fixture.h"

using namespace tessera;
using testfiles::write_lines;
using testfiles::write_png;

namespace {

class CellContentTest : public ResourceTest {
 protected:
  void SetUp() override {
    ResourceTest::SetUp();
    RESOLUTION = cell_width = cell_height = 30.0f;
    MAXFOE = 100;
  }
  // Size at which a Sprite3D is drawn, read back from the draw record.
  std::pair<int32_t, int32_t> drawn_size(int32_t s3d) {
    testing_clear_recorded_draws();
    testing_record_draws(true);
    sprite3d_begin();
    sprite3d_draw(s3d, 0, 0, 255);
    sprite3d_end();
    testing_record_draws(false);
    const auto& draws = testing_recorded_draws();
    if (draws.empty()) return {-1, -1};
    return {draws.back().width, draws.back().height};
  }
};

TEST_F(CellContentTest, ContentFileKeysFillTheCell) {
  content("LAB_FLOOR", {
                           "GFXNAME", "",
                           "TRANSPARENCY", "0",
                           "transparency", "200",   // other case: skipped with its value
                           "VALUE1 ", "99",         // trailing blank: skipped
                           "VALUE1", "12",
                           "USECOLLISION", "257",   // low 8 bits
                           "USEENEMY", "1",
                           "CHILD1", "BOMB",
                           "CHILD2", "#",
                           "CHILD3", "#",
                           "CHILD9", "GEM",         // no such slot
                           "RANDOMSEED", "5",
                           "USEDIRECTION", "UP",
                       });
  retile_cell(4, 5, "LAB_FLOOR");
  const WorldCell& c = world_cell(4, 5);
  EXPECT_EQ(c.tile_kind, "LAB_FLOOR");
  EXPECT_EQ(c.gfx_name, "dummy.png");
  EXPECT_EQ(c.transparency, 0);
  EXPECT_EQ(c.alpha, 255);
  EXPECT_EQ(c.value1, 12);
  EXPECT_EQ(c.use_collision, 1);
  EXPECT_EQ(c.use_enemy, 1);
  EXPECT_EQ(c.child_name[0], "BOMB");
  EXPECT_EQ(c.child_name[1], "#");
  EXPECT_EQ(c.child_name[3], "");
  EXPECT_EQ(c.child_object[0], -1);  // nothing matched: no object types
  EXPECT_EQ(c.child_object[2], -1);
  EXPECT_EQ(c.child_object[3], 0);   // slots the file does not name are untouched
  EXPECT_EQ(c.last_child_name, 0);
  EXPECT_EQ(c.last_child, -1);
  EXPECT_EQ(c.blocked, 0);

  content("LAB_WALL", {"TRANSPARENCY", "255", "CHILD3", "GEM", "CHILD5", "#", "CHILD2", "ROCK"});
  retile_cell(4, 5, "LAB_WALL");
  EXPECT_EQ(c.alpha, 0);
  EXPECT_EQ(c.last_child_name, 1);  // the last CHILD line that is not "#"
  EXPECT_EQ(c.gfx_name, "dummy.png");  // kept from before
  EXPECT_EQ(c.child_name[0], "BOMB");
}

TEST_F(CellContentTest, MissingFileKeepsTheCellAndAFileWithoutChildrenWalksSlotZero) {
  object_type("bomb", 8, 8, {"DGFXNAME", "BOMB"});
  load_object_types();
  content("LAB_A", {"GFXNAME", "a.png", "TRANSPARENCY", "55", "CHILD1", "BOMB", "CHILD4", "BOMB"});
  retile_cell(2, 2, "LAB_A");
  WorldCell& c = world_cell(2, 2);
  EXPECT_EQ(c.last_child_name, 3);
  EXPECT_EQ(c.last_child, 3);
  EXPECT_EQ(object_instances.size(), 2);

  retile_cell(2, 2, "LAB_MISSING");
  EXPECT_EQ(c.tile_kind, "LAB_MISSING");
  EXPECT_EQ(c.gfx_name, "a.png");
  EXPECT_EQ(c.alpha, 200);
  EXPECT_EQ(c.last_child_name, 3);
  EXPECT_EQ(object_instances.size(), 4);  // the old children spawn again

  content("LAB_B", {"VALUE1", "3"});
  retile_cell(2, 2, "LAB_B");
  EXPECT_EQ(c.last_child_name, 0);
  EXPECT_EQ(c.alpha, 200);          // no TRANSPARENCY line
  EXPECT_EQ(c.gfx_name, "a.png");   // no GFXNAME line
  EXPECT_EQ(c.last_child, 0);       // slot 0 walked with its old name
  EXPECT_EQ(c.child_object[0], 4);
  EXPECT_EQ(object_instances.size(), 5);
}

// A content file is read once and kept until the store is emptied (every level build and map
// load): an edit shows only after that. A kind naming the content folder itself (an empty kind)
// is no file and leaves the cell as it was.
TEST_F(CellContentTest, ContentIsReadOnceUntilTheStoreIsEmptied) {
  content("LAB_FLOOR", {"VALUE1", "3", "TRANSPARENCY", "0"});
  retile_cell(4, 1, "LAB_FLOOR");
  WorldCell& c = world_cell(4, 1);
  EXPECT_EQ(c.value1, 3);
  content("LAB_FLOOR", {"VALUE1", "9", "TRANSPARENCY", "100"});
  retile_cell(4, 1, "LAB_FLOOR");
  load_cell_content(4, 1, cell_content_path("LAB_FLOOR"));
  EXPECT_EQ(c.value1, 3);
  EXPECT_EQ(c.alpha, 255);
  forget_cell_contents();
  retile_cell(4, 1, "LAB_FLOOR");
  EXPECT_EQ(c.value1, 9);
  EXPECT_EQ(c.alpha, 155);

  retile_cell(4, 1, "");
  EXPECT_EQ(c.value1, 9);
  EXPECT_EQ(c.alpha, 155);
  EXPECT_EQ(c.gfx_name, "dummy.png");
  c.gfx_name.clear();
  load_cell_content(4, 1, cell_content_path(""));
  EXPECT_EQ(c.gfx_name, "");  // not read as an empty file
}

TEST_F(CellContentTest, DensityDrawsAreMadeOnlyForMatchingNamesInOrder) {
  object_type("a", 8, 8, {"DGFXNAME", "GEM", "DDENSITY", "3"});
  object_type("b", 8, 8, {"DGFXNAME", "ROCK", "DDENSITY", "5"});
  object_type("c", 8, 8, {"DGFXNAME", "GEM", "DDENSITY", "1"});
  object_type("d", 8, 8, {"DGFXNAME", "#", "DDENSITY", "0"});  // NOPE: never spawns, never draws
  write_png(obj + "e.png", 8, 8, rgb(1, 1, 1));                 // no definition: empty name
  load_object_types();
  ASSERT_EQ(object_types.size(), 5);
  content("LAB_FLOOR", {"CHILD1", "GEM", "CHILD2", "ROCK", "CHILD3", "NOPE"});

  // What the generator says, walking only the matching types (a and c for GEM, b for ROCK).
  struct Expected {
    int32_t slot0 = -1, slot1 = -1, last = -1, instances = 0;
  };
  random_seed(1234);
  std::vector<Expected> expected;
  int32_t count = 0;
  for (int32_t i = 0; i < 40; ++i) {
    Expected e;
    if (random_int(3) == 0) {  // a
      e.slot0 = count++;
      e.last = 0;
    }
    if (random_int(1) == 0) {  // c, which takes the slot over from a
      e.slot0 = count++;
      e.last = 0;
    }
    if (random_int(5) == 0) {  // b
      e.slot1 = count++;
      e.last = 1;
    }
    e.instances = count;
    expected.push_back(e);
  }

  for (int run = 0; run < 2; ++run) {
    reset_world();
    random_seed(1234);
    for (int32_t i = 0; i < 40; ++i) {
      retile_cell(i, 7, "LAB_FLOOR");
      const WorldCell& c = world_cell(i, 7);
      SCOPED_TRACE(i);
      EXPECT_EQ(c.child_object[0], expected[i].slot0);
      EXPECT_EQ(c.child_object[1], expected[i].slot1);
      EXPECT_EQ(c.child_object[2], -1);
      EXPECT_EQ(c.last_child, expected[i].last);
      EXPECT_EQ(object_instances.size(), expected[i].instances);
    }
  }
  EXPECT_GT(count, 10);
  EXPECT_LT(count, 80);
}

TEST_F(CellContentTest, InstancesTakeSizesAnchorsAndGoodyCounts) {
  object_type("c_center", 8, 4, {"DGFXNAME", "C", "DHOTSPOT", "CENTER", "DISGOODY", "1", "DSCORE", "7"});
  object_type("r_right", 8, 4, {"DGFXNAME", "R", "DHOTSPOT", "RIGHT", "DCENTERFIELD", "1"});
  object_type("bl", 8, 4, {"DGFXNAME", "BL", "DHOTSPOT", "BOTTOMLEFT", "DFITTOMATRIX", "1", "DISGOODY", "1"});
  object_type("br", 8, 4, {"DGFXNAME", "BR", "DHOTSPOT", "BOTTOMRIGHT", "DISGOODY", "2"});
  object_type("x_other", 8, 4, {"DGFXNAME", "X", "DHOTSPOT", "center", "DCENTERFIELD", "1", "DCOLLISION", "1"});
  load_object_types();
  content("LAB_ALL", {"CHILD1", "C", "CHILD2", "R", "CHILD3", "BL", "CHILD4", "BR", "CHILD5", "X"});
  tiles_left = 10;
  retile_cell(1, 1, "LAB_ALL");

  ASSERT_EQ(object_instances.size(), 5);
  const WorldCell& c = world_cell(1, 1);
  EXPECT_EQ(c.last_child, 4);
  EXPECT_EQ(tiles_left, 12);  // DISGOODY exactly 1 counts, 2 does not

  struct Want {
    float w, h, ox, oy;
  };
  const Want want[] = {{8, 4, 4, 2}, {8, 4, 8 + 15, 0 + 15}, {30, 30, 0, 30}, {8, 4, 8, 4}, {8, 4, 15, 15}};
  for (int32_t slot = 0; slot < 5; ++slot) {
    SCOPED_TRACE(slot);
    const ObjectInstance& o = object_instances.at(c.child_object[slot]);
    EXPECT_FLOAT_EQ(o.instance_size_x, want[slot].w);
    EXPECT_FLOAT_EQ(o.instance_size_y, want[slot].h);
    EXPECT_FLOAT_EQ(o.offset_x, want[slot].ox);
    EXPECT_FLOAT_EQ(o.offset_y, want[slot].oy);
    EXPECT_EQ(drawn_size(o.instance_sprite), std::make_pair(round_to_int(want[slot].w),
                                                            round_to_int(want[slot].h)));
  }
  EXPECT_EQ(object_instances.at(c.child_object[0]).DSCORE, 7);
  EXPECT_EQ(object_instances.at(c.child_object[4]).DCOLLISION, 1);
}

TEST_F(CellContentTest, CellGraphicIsFoundByExactNameAndFittedOnlyWhenVisible) {
  write_png(TOPOGFX + "floor.png", 8, 8, rgb(90, 90, 90));
  write_png(TOPOGFX + "Floor.png", 16, 16, rgb(90, 90, 90));
  load_tile_graphics();
  content("LAB_SHOWN", {"GFXNAME", "floor.png", "TRANSPARENCY", "0"});
  content("LAB_HIDDEN", {"GFXNAME", "floor.png", "TRANSPARENCY", "255"});
  content("LAB_UNKNOWN", {"GFXNAME", "FLOOR.PNG", "TRANSPARENCY", "0"});

  retile_cell(0, 0, "LAB_SHOWN");
  const int32_t shown = world_cell(0, 0).tile_sprite;
  ASSERT_NE(sprite3d_exists(shown), 0);
  EXPECT_EQ(drawn_size(shown), std::make_pair(30, 30));

  retile_cell(0, 0, "LAB_HIDDEN");
  const int32_t hidden = world_cell(0, 0).tile_sprite;
  EXPECT_EQ(sprite3d_exists(shown), 0);  // the old Sprite3D is released
  EXPECT_EQ(drawn_size(hidden), std::make_pair(8, 8));

  retile_cell(0, 0, "LAB_UNKNOWN");
  EXPECT_EQ(world_cell(0, 0).tile_sprite, hidden);  // no match: unchanged
  EXPECT_NE(sprite3d_exists(hidden), 0);
}

TEST_F(CellContentTest, FoesRespectMaxfoeUseEnemyAndIgnoreTheNopeName) {
  object_type("a_enemy", 8, 4,
              {"DGFXNAME", "#", "DISENEMY", "1", "DHOTSPOT", "CENTER", "DCENTERFIELD", "1", "DFITTOMATRIX", "1",
               "DAILEVEL", "300", "DVELOX", "3", "DROTATE", "-2"});
  object_type("b_friend", 8, 8, {"DGFXNAME", "FRIEND", "DISENEMY", "0"});
  load_object_types();
  cell_width = cell_height = 20.5f;
  world_cell(1, 2).use_enemy = 1;
  world_cell(3, 0).use_enemy = 1;
  world_cell(3, 4).use_enemy = 1;
  world_cell(2, 2).use_enemy = 2;
  world_cell(9, 9).use_enemy = 1;  // outside the walked area

  MAXFOE = 0;
  populate_foes(5, 5);
  EXPECT_EQ(foes.size(), 0);

  MAXFOE = 2;
  populate_foes(5, 5);
  ASSERT_EQ(foes.size(), 2);
  EXPECT_EQ(foes.at(0).x, 20);  // 1 * 20.5, halves to even
  EXPECT_EQ(foes.at(0).y, 41);
  EXPECT_EQ(foes.at(1).x, 62);  // 3 * 20.5 = 61.5
  EXPECT_EQ(foes.at(1).y, 0);
  const Foe& f = foes.at(0);
  EXPECT_FLOAT_EQ(f.instance_size_x, 8.0f);  // no fitting for foes
  EXPECT_FLOAT_EQ(f.instance_size_y, 4.0f);
  EXPECT_FLOAT_EQ(f.offset_x, 4.0f + 10.25f);
  EXPECT_FLOAT_EQ(f.offset_y, 2.0f + 10.25f);
  EXPECT_EQ(f.DAILEVEL, 44);
  EXPECT_EQ(f.DVELOX, 3);
  EXPECT_EQ(f.DROTATE, -2);
  EXPECT_EQ(f.direction, 0);
  EXPECT_NE(sprite3d_exists(f.instance_sprite), 0);

  const int32_t sprite = f.instance_sprite;
  clear_foes();
  EXPECT_EQ(foes.size(), 0);
  EXPECT_EQ(sprite3d_exists(sprite), 0);
  MAXFOE = 10;
  populate_foes(5, 5);
  EXPECT_EQ(foes.size(), 3);
}

TEST_F(CellContentTest, ResetWorldEmptiesTheLevelAndFreesItsSprites) {
  write_png(TOPOGFX + "floor.png", 8, 8, rgb(90, 90, 90));
  load_tile_graphics();
  object_type("bomb", 8, 8, {"DGFXNAME", "BOMB"});
  load_object_types();
  content("LAB_FLOOR", {"GFXNAME", "floor.png", "TRANSPARENCY", "0", "CHILD1", "BOMB"});
  retile_cell(3, 3, "LAB_FLOOR");
  retile_cell(400, 500, "LAB_FLOOR");  // only the start-up matrix has this cell
  world_cell(3, 3).in_level = 1;
  edge_placements.add().kind = "LAB_WALL_E";
  scroll_x = 4.0f;
  scroll_y = 2.0f;
  const int32_t tile_a = world_cell(3, 3).tile_sprite;
  const int32_t tile_b = world_cell(400, 500).tile_sprite;
  const int32_t bomb = object_instances.at(0).instance_sprite;
  ASSERT_NE(sprite3d_exists(tile_a), 0);
  ASSERT_NE(sprite3d_exists(tile_b), 0);
  ASSERT_NE(sprite3d_exists(bomb), 0);

  reset_world();
  EXPECT_EQ(world_matrix.columns, 257);
  EXPECT_EQ(world_matrix.rows, 257);
  EXPECT_EQ(sprite3d_exists(tile_a), 0);
  EXPECT_EQ(sprite3d_exists(tile_b), 0);
  EXPECT_EQ(sprite3d_exists(bomb), 0);
  EXPECT_EQ(object_instances.size(), 0);
  EXPECT_EQ(edge_placements.size(), 0);
  EXPECT_EQ(scroll_x, 0.0f);
  EXPECT_EQ(scroll_y, 0.0f);
  for (const auto& [x, y] : {std::pair{3, 3}, std::pair{256, 256}, std::pair{257, 0}, std::pair{400, 500}}) {
    const WorldCell& c = world_cell(x, y);
    EXPECT_EQ(c.in_level, 0);
    EXPECT_EQ(c.alpha, 0);
    EXPECT_EQ(c.tile_kind, "");
    EXPECT_EQ(c.tile_sprite, 0);
  }
  // A cell outside the new matrix is never re-tiled, whatever is asked.
  retile_cell(400, 500, "LAB_FLOOR");
  EXPECT_EQ(object_instances.size(), 0);
}

}  // namespace
