// Content files applied to cells, the objects and foes they spawn, and emptying the world.
#include "resources/cell_content.h"

#include "resources/catalogs.h"
#include "resources/object_types.h"
#include "resources/resource_fixture.h"

using testfiles::write_png;

namespace {

using CellContentTest = ResourceTest;

TEST_F(CellContentTest, ContentFileKeysFillTheCell) {
  content("LAB_FLOOR", {"GFXNAME", "", "TRANSPARENCY", "0",
                        "transparency", "200", "VALUE1 ", "99",  // other case, trailing blank: not keys
                        "VALUE1", "12", "USECOLLISION", "257", "USEENEMY", "1", "CHILD1", "BOMB", "CHILD2", "#",
                        "CHILD8", "GEM", "CHILD9", "ROCK", "CHILD0", "ROCK", "RANDOMSEED", "5"});
  retile_cell(4, 5, "LAB_FLOOR");
  const WorldCell& c = world_cell(4, 5);
  EXPECT_EQ(c.tile_kind, "LAB_FLOOR");
  EXPECT_EQ(c.gfx_name, "dummy.png");
  // alpha, VALUE1, USECOLLISION (low 8 bits), USEENEMY, the last CHILD line that is not "#",
  // nothing spawned (no object types), a slot the file does not name untouched.
  EXPECT_EQ(std::vector<int32_t>({c.alpha, c.value1, c.use_collision, c.use_enemy, c.last_child_name, c.last_child,
                                  c.child_object[3]}),
            std::vector<int32_t>({255, 12, 1, 1, 7, -1, 0}));
  const std::vector<std::string> names = {c.child_name[0], c.child_name[1], c.child_name[6], c.child_name[7]};
  EXPECT_EQ(names, (std::vector<std::string>{"BOMB", "#", "", "GEM"}));

  content("LAB_WALL", {"TRANSPARENCY", "255", "CHILD3", "GEM", "CHILD5", "#"});
  retile_cell(4, 5, "LAB_WALL");
  EXPECT_EQ(std::pair(c.alpha, int32_t(c.last_child_name)), std::pair(0, 2));
  EXPECT_EQ(c.child_name[0], "BOMB");  // kept from before
}

TEST_F(CellContentTest, MissingFileKeepsTheCellAndAFileWithoutChildrenWalksSlotZero) {
  object_type("bomb", 8, 8, {"DGFXNAME", "BOMB"});
  load_object_types();
  content("LAB_A", {"GFXNAME", "a.png", "TRANSPARENCY", "55", "CHILD1", "BOMB", "CHILD4", "BOMB"});
  retile_cell(2, 2, "LAB_A");
  WorldCell& c = world_cell(2, 2);
  EXPECT_EQ(c.last_child, 3);
  retile_cell(2, 2, "LAB_MISSING");
  EXPECT_EQ(c.tile_kind, "LAB_MISSING");
  EXPECT_EQ(std::pair(c.gfx_name.str(), c.alpha), std::pair(std::string("a.png"), 200));
  EXPECT_EQ(object_instances.size(), 4);  // the old children spawn again
  content("LAB_B", {"VALUE1", "3"});
  retile_cell(2, 2, "LAB_B");
  EXPECT_EQ(std::pair(c.alpha, int32_t(c.last_child)), std::pair(200, 0));  // slot 0 walked with its old name
  EXPECT_EQ(object_instances.size(), 5);
}

// A density draw is made for every type whose name matches, spawned or not; density 0 always
// spawns, a later matching type takes the slot over, and NOPE never matches.
TEST_F(CellContentTest, DensityDrawsAreMadeOnlyForMatchingNames) {
  object_type("a", 8, 8, {"DGFXNAME", "GEM", "DDENSITY", "0"});
  object_type("b", 8, 8, {"DGFXNAME", "ROCK", "DDENSITY", "1000000"});
  object_type("c", 8, 8, {"DGFXNAME", "GEM", "DDENSITY", "0"});
  object_type("d", 8, 8, {"DGFXNAME", "#", "DDENSITY", "0"});  // NOPE
  write_png(obj + "e.png", 8, 8, rgb(1, 1, 1));                 // no definition: empty name
  load_object_types();
  content("LAB_FLOOR", {"CHILD1", "GEM", "CHILD2", "ROCK", "CHILD3", "NOPE"});
  for (int32_t x = 0; x < 20; ++x) {
    random_seed(x);
    retile_cell(x, 7, "LAB_FLOOR");
    const int32_t next = random_int(1000000);
    random_seed(x);
    for (int draws = 0; draws < 3; ++draws) random_int(1);
    EXPECT_EQ(next, random_int(1000000)) << "three draws for cell " << x;
    const WorldCell& c = world_cell(x, 7);
    EXPECT_EQ(c.child_object[0], 2 * x + 1);
    EXPECT_EQ(c.child_object[1], -1);
    EXPECT_EQ(c.last_child, 0);
  }
  EXPECT_EQ(object_instances.size(), 40);
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
  // Size, then offset: a hotspot in the image, plus half a cell for DCENTERFIELD.
  const std::vector<float> want[] = {{8, 4, 4, 2}, {8, 4, 8 + 15, 15}, {30, 30, 0, 30}, {8, 4, 8, 4}, {8, 4, 15, 15}};
  for (int32_t slot = 0; slot < 5; ++slot) {
    const ObjectInstance& o = object_instances.at(c.child_object[slot]);
    EXPECT_EQ(std::vector<float>({o.instance_size_x, o.instance_size_y, o.offset_x, o.offset_y}), want[slot]) << slot;
    const int32_t quad = object_type_quad(o.type, round_to_int(o.instance_size_x), round_to_int(o.instance_size_y));
    EXPECT_EQ(drawn_size(quad), std::pair(int32_t(want[slot][0]), int32_t(want[slot][1]))) << slot;
  }
  EXPECT_EQ(object_instances.at(c.child_object[0]).DSCORE, 7);
  EXPECT_EQ(object_instances.at(c.child_object[4]).DCOLLISION, 1);
}

// A cell points at the first tile graphic of exactly its name (unchanged when none matches); the
// graphic's quad, shared by its cells, draws at the cell size.
TEST_F(CellContentTest, CellGraphicIsFoundByExactNameAndDrawnAtTheCellSize) {
  write_png(TOPOGFX + "floor.png", 8, 8, rgb(90, 90, 90));
  write_png(TOPOGFX + "Floor.png", 16, 16, rgb(90, 90, 90));
  load_tile_graphics();
  content("LAB_SHOWN", {"GFXNAME", "floor.png", "TRANSPARENCY", "0"});
  content("LAB_UNKNOWN", {"GFXNAME", "FLOOR.PNG", "TRANSPARENCY", "0"});
  retile_cell(0, 0, "LAB_SHOWN");
  const int32_t shown = world_cell(0, 0).tile_graphic;
  ASSERT_GT(shown, 0);
  EXPECT_EQ(tile_graphics.at(shown - 1).file_name, "floor.png");
  EXPECT_EQ(drawn_size(tile_graphic_quad(shown)), std::pair(30, 30));
  retile_cell(1, 0, "LAB_SHOWN");
  EXPECT_EQ(tile_graphic_quad(world_cell(1, 0).tile_graphic), tile_graphic_quad(shown));
  retile_cell(0, 0, "LAB_UNKNOWN");
  EXPECT_EQ(world_cell(0, 0).tile_graphic, shown);  // no match: unchanged
  EXPECT_EQ(tile_graphic_quad(0), 0);
  EXPECT_EQ(tile_graphic_quad(tile_graphics.size() + 1), 0);
}

TEST_F(CellContentTest, FoesRespectMaxfoeAndUseEnemyAndAreFreedWhenCleared) {
  object_type("a_enemy", 8, 4, {"DGFXNAME", "#", "DISENEMY", "1", "DHOTSPOT", "CENTER", "DCENTERFIELD", "1",
                                "DFITTOMATRIX", "1", "DAILEVEL", "300", "DVELOX", "3", "DROTATE", "-2"});
  object_type("b_friend", 8, 8, {"DGFXNAME", "FRIEND", "DISENEMY", "0"});
  load_object_types();
  cell_width = cell_height = 20.5f;
  for (const auto& [x, y] : {std::pair{1, 2}, std::pair{3, 0}, std::pair{3, 4}, std::pair{5, 5}, std::pair{9, 9}}) {
    world_cell(x, y).use_enemy = 1;
  }
  world_cell(2, 2).use_enemy = 2;
  MAXFOE = 2;
  populate_foes(5, 5);  // (9, 9) is outside the walked area
  ASSERT_EQ(foes.size(), 2);
  EXPECT_EQ(std::pair(foes.at(1).x, foes.at(1).y), std::pair(62, 0));  // 3 x 20.5 = 61.5, halves to even
  const Foe& f = foes.at(0);
  EXPECT_EQ(std::pair(f.x, f.y), std::pair(20, 41));
  // No fitting for foes; the hotspot and half a cell place the image.
  EXPECT_EQ(std::vector<float>({f.instance_size_x, f.instance_size_y, f.offset_x, f.offset_y}),
            std::vector<float>({8, 4, 4 + 10.25f, 2 + 10.25f}));
  EXPECT_EQ(std::vector<int32_t>({f.DAILEVEL, f.DVELOX, f.DROTATE}), std::vector<int32_t>({44, 3, -2}));
  const int32_t sprite = f.instance_sprite;
  clear_foes();
  EXPECT_EQ(sprite3d_exists(sprite), 0);
  MAXFOE = 10;
  populate_foes(5, 5);  // the walked area includes its last row and column
  EXPECT_EQ(foes.size(), 4);
}

TEST_F(CellContentTest, ResetWorldEmptiesTheLevel) {
  write_png(TOPOGFX + "floor.png", 8, 8, rgb(90, 90, 90));
  load_tile_graphics();
  object_type("bomb", 8, 8, {"DGFXNAME", "BOMB"});
  load_object_types();
  content("LAB_FLOOR", {"GFXNAME", "floor.png", "TRANSPARENCY", "0", "CHILD1", "BOMB"});
  retile_cell(3, 3, "LAB_FLOOR");
  retile_cell(400, 500, "LAB_FLOOR");  // only the start-up matrix has this cell
  edge_placements.add().kind = "LAB_WALL_E";
  scroll_x = 4.0f;
  reset_world();
  EXPECT_EQ(std::pair(world_matrix.columns, world_matrix.rows), std::pair(257, 257));
  EXPECT_EQ(object_instances.size() + edge_placements.size(), 0);
  EXPECT_EQ(scroll_x, 0.0f);
  EXPECT_EQ(world_cell(3, 3).tile_kind, "");
  EXPECT_EQ(world_cell(3, 3).tile_graphic, 0);
  retile_cell(400, 500, "LAB_FLOOR");  // outside the new matrix: never re-tiled
  EXPECT_EQ(object_instances.size(), 0);
}

}  // namespace
