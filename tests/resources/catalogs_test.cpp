#include "resources/catalogs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "core/config.h"
#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "resources/resource_fixture.h"

using namespace tessera;
using testfiles::write_png;

namespace {

class CatalogsTest : public ResourceTest {
 protected:
  void SetUp() override {
    ResourceTest::SetUp();
    RESOLUTION = cell_width = cell_height = 20.5f;
  }

  // Colour at the quad's first pixel when drawn over blue.
  int32_t drawn_colour(int32_t s3d) {
    screen_clear(rgb(0, 0, 255));
    sprite3d_begin();
    sprite3d_blend_mode(5, 6);
    sprite3d_draw(s3d, 0, 0, 255);
    sprite3d_end();
    return testing_read_pixel(1, 1);
  }
};

TEST_F(CatalogsTest, TileGraphicsKeepFailedLoadsAndAreNeverEmptied) {
  write_png(TOPOGFX + "b_wall.png", 8, 6, rgb(50, 50, 50));
  write_png(TOPOGFX + "a_floor.png", 4, 2, rgb(50, 50, 50));
  testfiles::write_text(TOPOGFX + "c_broken.png", "no picture here");
  write_png(TOPOGFX + "d_other.jpg", 4, 4, rgb(50, 50, 50));
  load_tile_graphics();
  ASSERT_EQ(tile_graphics.size(), 3);
  EXPECT_EQ(tile_graphics.at(0).file_name, "a_floor.png");
  EXPECT_EQ(tile_graphics.at(0).path, TOPOGFX + "a_floor.png");
  EXPECT_FLOAT_EQ(tile_graphics.at(0).width, 4.0f);
  EXPECT_FLOAT_EQ(tile_graphics.at(0).height, 2.0f);
  EXPECT_FLOAT_EQ(tile_graphics.at(1).width, 8.0f);
  EXPECT_EQ(tile_graphics.at(2).file_name, "c_broken.png");
  EXPECT_EQ(tile_graphics.at(2).sprite, 0);
  // Tile graphics take the key in force (start-up sets magenta) and leave it alone.
  sprite_transparent_color(-1, rgb(255, 0, 255));
  write_png(TOPOGFX + "e_magenta.png", 4, 4, rgb(255, 0, 255));
  load_tile_graphics();
  ASSERT_EQ(tile_graphics.size(), 7);
  EXPECT_EQ(drawn_colour(sprite3d_create(-1, tile_graphics.at(6).sprite)), rgb(0, 0, 255));
}

TEST_F(CatalogsTest, FloatersLoadEveryFileOncePerPassWithTheirOwnSpritesAndDraws) {
  write_png(EGFXPATH + "one.png", 4, 4, rgb(0, 0, 0));
  write_png(EGFXPATH + "two.png", 4, 4, rgb(200, 100, 0));
  EGFXMAX = 2;
  visible_columns = 3.0f;
  visible_rows = 2.0f;
  screen_width = 100.0f;
  screen_height = 50.5f;  // 2 x 50.5 = 101

  random_seed(77);
  struct Draws {
    int32_t x, y, vx, vy;
  };
  std::vector<Draws> expected;
  for (int i = 0; i < 6; ++i) {
    Draws d{};
    d.y = random_int(101);
    d.x = random_int(300);
    d.vx = random_int(5) + 1;
    d.vy = random_int(5) + 1;
    expected.push_back(d);
  }
  random_seed(77);
  load_world_floaters();
  ASSERT_EQ(world_floaters.size(), 6);
  std::set<int32_t> sprites;
  for (int i = 0; i < 6; ++i) {
    const Floater& f = world_floaters.at(i);
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(f.x, static_cast<float>(expected[static_cast<size_t>(i)].x));
    EXPECT_FLOAT_EQ(f.y, static_cast<float>(expected[static_cast<size_t>(i)].y));
    EXPECT_FLOAT_EQ(f.vx, static_cast<float>(expected[static_cast<size_t>(i)].vx));
    EXPECT_FLOAT_EQ(f.vy, static_cast<float>(expected[static_cast<size_t>(i)].vy));
    EXPECT_NE(sprite3d_exists(f.sprite), 0);
    sprites.insert(f.sprite);
  }
  EXPECT_EQ(sprites.size(), 6u);
  // Black is keyed out; the other file shows.
  EXPECT_EQ(drawn_colour(world_floaters.at(0).sprite), rgb(0, 0, 255));
  EXPECT_EQ(drawn_colour(world_floaters.at(1).sprite), rgb(200, 100, 0));

  // The title list is separate; a negative count loads nothing, and loading empties it first.
  write_png(SCREGFXPATH + "t.png", 4, 4, rgb(9, 9, 9));
  SCREGFXMAX = 0;
  load_title_floaters();
  load_title_floaters();
  EXPECT_EQ(title_floaters.size(), 1);
  SCREGFXMAX = -1;
  load_title_floaters();
  EXPECT_EQ(title_floaters.size(), 0);
  EXPECT_EQ(world_floaters.size(), 6);

  // The largest count: passes end at the limit, or at once when a pass finds nothing.
  SCREGFXMAX = INT32_MAX;
  load_title_floaters();
  EXPECT_EQ(title_floaters.size(), FLOATER_LIMIT);
  SCREGFXPATH = dir.path + "GFX/NONE/";
  load_title_floaters();
  EXPECT_EQ(title_floaters.size(), 0);
}

TEST_F(CatalogsTest, PlayerGraphicUsesTheWhiteKeyAndIsPlacedOnCells) {
  CURSOR = dir.path + "GFX/player.png";
  load_player_graphic();
  EXPECT_EQ(player.player_sprite, 0);  // no image yet

  write_png(CURSOR, 6, 6, rgb(255, 255, 255));
  load_player_graphic();
  ASSERT_NE(sprite3d_exists(player.player_sprite), 0);
  EXPECT_EQ(drawn_colour(player.player_sprite), rgb(0, 0, 255));
  const int32_t old_image = player.player_image;
  write_png(CURSOR, 6, 6, rgb(10, 200, 10));
  load_player_graphic();
  EXPECT_EQ(drawn_colour(player.player_sprite), rgb(10, 200, 10));
  if (player.player_image != old_image) {
    EXPECT_EQ(sprite_exists(old_image), 0);
  }

  place_player(3, 2);
  EXPECT_FLOAT_EQ(player.x, 61.5f);
  EXPECT_FLOAT_EQ(player.y, 41.0f);
  player.motion = MOTION_LEFT;
  reset_player_motion();
  EXPECT_EQ(player.motion, MOTION_IDLE);
}

}  // namespace
