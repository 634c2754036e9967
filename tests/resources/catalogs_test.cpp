// Catalogs read from directory listings: tile graphics, floaters and the player figure.
#include "resources/catalogs.h"

#include <set>

#include "resources/resource_fixture.h"

using testfiles::write_png;

namespace {

using CatalogsTest = ResourceTest;

TEST_F(CatalogsTest, TileGraphicsKeepFailedLoadsInListingOrderAndAreNeverEmptied) {
  write_png(TOPOGFX + "b_wall.png", 8, 6, rgb(50, 50, 50));
  write_png(TOPOGFX + "a_floor.png", 4, 2, rgb(50, 50, 50));
  testfiles::write_text(TOPOGFX + "c_broken.png", "no picture here");
  write_png(TOPOGFX + "d_other.jpg", 4, 4, rgb(50, 50, 50));
  load_tile_graphics();
  ASSERT_EQ(tile_graphics.size(), 3);
  const TileGraphic& floor = tile_graphics.at(0);
  EXPECT_EQ(floor.path, TOPOGFX + "a_floor.png");
  EXPECT_EQ(floor.file_name, "a_floor.png");
  EXPECT_EQ(std::pair(floor.width, floor.height), std::pair(4.0f, 2.0f));
  EXPECT_EQ(tile_graphics.at(2).file_name, "c_broken.png");
  EXPECT_EQ(tile_graphics.at(2).sprite, 0);
  // They take the key in force (start-up sets magenta).
  sprite_transparent_color(-1, rgb(255, 0, 255));
  write_png(TOPOGFX + "e_magenta.png", 4, 4, rgb(255, 0, 255));
  load_tile_graphics();
  ASSERT_EQ(tile_graphics.size(), 7);
  EXPECT_EQ(drawn_colour(sprite3d_create(-1, tile_graphics.at(6).sprite)), rgb(0, 0, 255));
}

// Every file is loaded once a pass, count + 1 passes, each floater with its own Sprite3D, a place
// on the visible area (y drawn first) and a speed of 1 to 6.
TEST_F(CatalogsTest, FloatersLoadEveryFileOncePerPassWithTheirOwnSpritesAndDraws) {
  write_png(EGFXPATH + "one.png", 4, 4, rgb(0, 0, 0));
  write_png(EGFXPATH + "two.png", 4, 4, rgb(200, 100, 0));
  EGFXMAX = 9;
  visible_columns = 3.0f;
  visible_rows = 2.0f;
  screen_width = 100.0f;
  screen_height = 20.5f;  // 2 x 20.5 = 41
  load_world_floaters();
  ASSERT_EQ(world_floaters.size(), 20);
  std::set<int32_t> sprites;
  float widest = 0;
  for (const Floater& f : world_floaters.items) {
    EXPECT_TRUE(f.y >= 0 && f.y <= 41 && f.x >= 0 && f.x <= 300) << f.x << ", " << f.y;
    EXPECT_TRUE(f.vx >= 1 && f.vx <= 6 && f.vy >= 1 && f.vy <= 6) << f.vx << ", " << f.vy;
    widest = std::max(widest, f.x);
    sprites.insert(f.sprite);
  }
  EXPECT_GT(widest, 41);
  EXPECT_EQ(sprites.size(), 20u);
  // Black is keyed out; the other file shows.
  EXPECT_EQ(drawn_colour(world_floaters.at(0).sprite), rgb(0, 0, 255));
  EXPECT_EQ(drawn_colour(world_floaters.at(1).sprite), rgb(200, 100, 0));

  // The largest count: passes end at the limit, or at once when a pass finds nothing.
  write_png(SCREGFXPATH + "t.png", 4, 4, rgb(9, 9, 9));
  SCREGFXMAX = INT32_MAX;
  load_title_floaters();
  EXPECT_EQ(title_floaters.size(), FLOATER_LIMIT);
  SCREGFXPATH = dir.path + "GFX/NONE/";
  load_title_floaters();
  EXPECT_EQ(title_floaters.size(), 0);
}

TEST_F(CatalogsTest, PlayerGraphicUsesTheWhiteKeyAndIsReplaced) {
  CURSOR = dir.path + "GFX/player.png";
  load_player_graphic();
  EXPECT_EQ(player.player_sprite, 0);  // no image yet
  write_png(CURSOR, 6, 6, rgb(255, 255, 255));
  load_player_graphic();
  EXPECT_EQ(drawn_colour(player.player_sprite), rgb(0, 0, 255));
  write_png(CURSOR, 6, 6, rgb(10, 200, 10));
  load_player_graphic();
  EXPECT_EQ(drawn_colour(player.player_sprite), rgb(10, 200, 10));
}

}  // namespace
