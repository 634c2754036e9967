#include "presentation/overlays.h"

#include "core/config.h"
#include "core/numeric.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "presentation/glyph_fixture.h"
#include "support/input_script.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

using namespace tessera;
using glyphtest::drawn_text;
using glyphtest::glyph_draws;

namespace {

// Upper case, digits and the HUD's signs, 8 x 10 each, except a narrow I (the width of a blank).
std::vector<glyphtest::GlyphImage> hud_images() {
  auto images = glyphtest::uniform("ABCDEFGHJKLMNOPQRSTUVWXYZ0123456789:-*&\xF6", 8, 10);
  images.push_back({'I', 4, 10});
  return images;
}

struct OverlayScene : glyphtest::FontScene {
  OverlayScene(int32_t w, int32_t h)
      : FontScene(w, h, hud_images(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:-*&\xF6") {
    font_init();
    screen_width = static_cast<float>(w);
    screen_height = static_cast<float>(h);
    FULLSCREENZOOM = 1.0f;
  }
};

// A solid 16 x 16 square drawn through its own Sprite3D, standing in for the world.
void draw_square(const testfiles::TempDir& dir, const std::string& name, int32_t colour, int32_t x, int32_t y) {
  testfiles::write_png(dir.file(name + ".png"), 16, 16, colour);
  sprite3d_draw(sprite3d_create(-1, sprite_load(-1, dir.file(name + ".png"), SPRITE_TEXTURE)), x, y, 255);
}

}  // namespace

// The HUD's texts and places (fractions of the screen plus leading blanks); the score counts up
// one a frame towards its target and never down to it; tiles left never show below 0; the credit
// line moves 2 pixels a frame and starts over once it is two screen widths in.
TEST(Hud, ValuesTextsAndPositions) {
  OverlayScene scene(640, 480);
  score = 10;
  score_target = 12;
  time_left = 42;
  tiles_left = -3;
  map_number = 12;
  bombs = "&&";
  player_name = "JO";
  hud_scroll_offset = 1278;
  testing_record_draws(true);
  sprite3d_begin();
  draw_hud();
  EXPECT_EQ(score, 11);
  EXPECT_EQ(tiles_left, 0);
  EXPECT_EQ(hud_scroll_offset, 1280);
  std::string credit;
  for (const char c : hud_credit_line) credit += (c == ' ' || c == '|') ? "" : std::string(1, c);
  ASSERT_EQ(drawn_text(testing_recorded_draws()), "SCORE11TIME42\xF6\xF6\xF6&&TILESLEFT0MAP12PLAYER:JO" + credit);
  const auto d = glyph_draws();
  const std::vector<std::array<int32_t, 5>> places = {
      // glyph index, x, y, width, alpha
      {0, 452, 24, 8, 240},           // SCORE at 0.7 W + one blank, 0.05 H
      {7, 42, 24, 8, 240},            // TIME at 0.06 W
      {13, 260, 5, 8, 200},           // empty bomb slots at 0.4 W, 0.01 H, the bombs over them
      {27, 336, 48, 8, 240},          // tiles left 0 (the I of TILES is narrow)
      {33, 456, 72, 4, 240},          // PLAYER at half size: two unscaled blanks
      {42, 640 - 1278 + 8, 432, 6, 200},  // credit line at W - offset, 0.9 H, scale 0.8
  };
  for (const auto& [index, x, y, width, alpha] : places) {
    SCOPED_TRACE(index);
    EXPECT_EQ(d[static_cast<size_t>(index)].x, x);
    EXPECT_EQ(d[static_cast<size_t>(index)].y, y);
    EXPECT_EQ(d[static_cast<size_t>(index)].width, width);
    EXPECT_EQ(d[static_cast<size_t>(index)].alpha, alpha);
  }
  draw_hud();
  EXPECT_EQ(hud_scroll_offset, 0);
  score = 200;  // above its target (a map's bonus already counted): stays
  draw_hud();
  sprite3d_end();
  EXPECT_EQ(score, 200);
  EXPECT_EQ(hud_scroll_offset, 2);
}

// The banner grabs the world drawn so far, sweeps "MAP 12" over it for ceil((W - 1) / 20) frames
// (drifting left, letters spreading), releases the grab and leaves the batch open for the frame.
TEST(MapBanner, SweepsOverTheGrabbedWorldOnceAndReopensTheBatch) {
  OverlayScene scene(320, 240);
  inputscript::InputScript runaway_guard({});
  map_number = 12;
  banner_due = 1;
  sprite3d_begin();
  screen_clear(rgb(0, 0, 0));
  draw_square(scene.dir, "red", rgb(255, 0, 0), 40, 40);
  testing_record_draws(true);
  show_map_banner(1);
  draw_square(scene.dir, "green", rgb(0, 255, 0), 200, 200);
  sprite3d_end();
  EXPECT_EQ(banner_due, 0);
  EXPECT_EQ(testing_flip_count(), 16);
  EXPECT_EQ(sprite3d_exists(testing_recorded_draws()[0].s3d), 0);
  std::string expected;
  for (int i = 0; i < 16; ++i) expected += "MAP12";
  EXPECT_EQ(drawn_text(testing_recorded_draws()), expected);
  // First frame: spacing 0 at 0.4 W, 0.3 H, scale 3, two blanks in; second: 0.005 W further left,
  // the pen one blank in (the text ends in "| "), letters 0.05 of a width apart.
  const auto d = glyph_draws();
  EXPECT_EQ(d[1].x, 128 + 8);
  EXPECT_EQ(d[0].y, 72);
  EXPECT_EQ(d[0].width, 24);
  EXPECT_EQ(d[5].x, round_to_int(320.0f * 0.395f + 12.0f));
  EXPECT_EQ(d[6].x, round_to_int(320.0f * 0.395f + (12.0f + 24.0f * 0.05f)));
  EXPECT_FLOAT_EQ(text_pen_x, 4.0f);
  EXPECT_EQ(testing_read_pixel(39 + 8, 39 + 8), rgb(255, 0, 0));  // grabbed from (1, 1)
  EXPECT_EQ(testing_read_pixel(39 + 17, 39 + 8), rgb(0, 0, 0));
  EXPECT_EQ(testing_read_pixel(208, 208), rgb(0, 255, 0));
}

// The zoom pass grabs the top-left 1 / FULLSCREENZOOM of the screen (less the edge pixel) and
// stretches it over the whole screen; at zoom 1 without smoothing it changes nothing.
TEST(ZoomPass, GrabFollowsFullScreenZoom) {
  OverlayScene scene(320, 240);
  for (const auto& [zoom, smooth, grab_w, grab_h] : {std::tuple{1.0f, 1, 319, 239}, {1.0f, 0, 0, 0}, {0.5f, 0, 159, 119}}) {
    SCOPED_TRACE(testing::Message() << zoom << " smooth " << smooth);
    FULLSCREENZOOM = zoom;
    sprite3d_begin();
    screen_clear(rgb(0, 0, 0));
    draw_square(scene.dir, "red", rgb(255, 0, 0), 21, 21);
    const std::vector<int32_t> before = testing_read_screen();
    testing_record_draws(true);
    testing_clear_recorded_draws();
    fullscreen_zoom_pass(static_cast<uint8_t>(smooth));
    sprite3d_end();
    EXPECT_EQ(testing_recorded_draws().size(), grab_w > 0 ? 1u : 0u);
    EXPECT_EQ(sprite_width(grab_sprite), grab_w);
    EXPECT_EQ(sprite_height(grab_sprite), grab_h);
    if (grab_w == 0) {
      EXPECT_EQ(testing_read_screen(), before);
    }
  }
  // At zoom 0.5 (the last pass) grab pixels 20..35 of the red square show at twice that, over the whole screen.
  EXPECT_EQ(testing_read_pixel(45, 45), rgb(255, 0, 0));
  EXPECT_EQ(testing_read_pixel(68, 68), rgb(255, 0, 0));
  EXPECT_EQ(testing_read_pixel(30, 30), rgb(0, 0, 0));
}

// Frames through the real world pass: the HUD shows the time before the clock ticks; a clock that
// runs out ends that frame in the game-over sequence (no HUD), after which the title screen (left
// with P) starts a fresh game on map 1.
TEST(FrameDriver, GameOverWhenTimeRunsOut) {
  OverlayScene scene(320, 240);
  declare_world_model();
  world_matrix_create(4, 4);
  USESPRITE3D = 1;
  RESOLUTION = 32.0f;
  tiles_left = 5;
  map_number = 2;
  WORLDREFRESH = 0;
  time_left = 3;
  score = 7;
  menu_active = 0;
  quit_requested = 0;
  game_mode = GAME_MODE_PLAY;
  testing_record_draws(true);
  // Two frames and 16 game-over frames; then the title screen waits for P.
  inputscript::InputScript script({{2 + 16 + 1, [] { inputscript::tap(KEY_P); }}});
  frame_driver();
  EXPECT_EQ(time_left, 2);
  EXPECT_EQ(drawn_text(testing_recorded_draws()).substr(0, 11), "SCORE7TIME3");

  time_left = 0;
  testing_clear_recorded_draws();
  frame_driver();
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(time_left, -1);
  const std::string drawn = drawn_text(testing_recorded_draws());
  std::string sequence;
  for (int i = 0; i < 16; ++i) sequence += "GAMEOVER";
  const size_t start = drawn.find(sequence);
  ASSERT_NE(start, std::string::npos) << drawn;
  EXPECT_EQ(drawn.find("SCORE", start), std::string::npos);
  EXPECT_EQ(glyph_draws()[start].x, round_to_int(320.0f * 0.3f + 8.0f));
  EXPECT_EQ(glyph_draws()[start].y, 72);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_EQ(map_number, 1);
  EXPECT_EQ(current_map, -1);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(bombs, "&");
}
