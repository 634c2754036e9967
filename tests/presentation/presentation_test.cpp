#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <tuple>

#include "core/config.h"
#include "core/numeric.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "presentation/glyph_fixture.h"
#include "presentation/overlays.h"

using namespace tessera;
using glyphtest::drawn_text;
using glyphtest::FontScene;
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
    FULLSCREENZOOM = 1.0f;
  }
};

// A solid 16 x 16 square drawn through its own Sprite3D, standing in for the world.
void draw_square(const testfiles::TempDir& dir, const std::string& name, int32_t colour, int32_t x, int32_t y) {
  testfiles::write_png(dir.file(name + ".png"), 16, 16, colour);
  sprite3d_draw(sprite3d_create(-1, sprite_load(-1, dir.file(name + ".png"))), x, y, 255);
}

}  // namespace

TEST(Font, ImageNamesOfIconsPunctuationAndLetters) {
  const std::vector<std::pair<unsigned char, std::string>> expected = {
      {'.', "POINT"}, {'"', "FUEL"}, {':', "POINTPOINT"}, {'&', "BOMB"}, {0xF6, "NOBOMB"},
      {0xD6, "NOBOMB"}, {0xE4, "HERZ"}, {0xDC, "_u"}, {0xDF, "S"}, {'a', "_a"}, {'z', "_z"},
      {'`', "`"}, {'{', "{"}, {'A', "A"}, {'9', "9"}, {0xE9, "\xE9"},
  };
  for (const auto& [code, name] : expected) {
    EXPECT_EQ(glyph_image_name(code), name) << "code " << static_cast<int>(code);
  }
}

// The zoom is the screen width over RESBASEW (a base of 0 or below leaves it at 1). The definition
// line decides which codes get glyphs (bytes above 0x7F under their own code), the image name which
// file each comes from; sizes follow font_zoom (2 here). A missing definition file keeps the font;
// font_free empties it.
TEST(Font, ZoomAndTheListedCharactersLoadedFromTheirImages) {
  FontScene scene(64, 48, {{'A', 16, 20}, {'&', 6, 7}, {'a', 5, 9}, {0xDC, 3, 4}, {'C', 8, 8}, {0xE4, 9, 9}, {0xE9, 7, 5}},
                  "A&a\xDCQ\xE4\xE9\xC4");
  for (const auto& [base, zoom] : {std::pair{0, 1.0f}, {-640, 1.0f}, {1024, 2.0f}}) {
    RESBASEW = base;
    font_zoom_set(2048.0f);
    EXPECT_FLOAT_EQ(font_zoom, zoom) << base;
  }
  font_init();
  const std::vector<std::tuple<unsigned char, float, float>> loaded = {
      {'A', 32, 40},  {'&', 12, 14},  {'a', 10, 18},  // BOMB.png, _a.png
      {0xDC, 6, 8},                                 // _u.png
      {0xE4, 18, 18}, {0xC4, 18, 18},               // both HERZ.png
      {0xE9, 14, 10},                               // named by the byte itself
      {'Q', 0, 0},    {'C', 0, 0},  {0xD6, 0, 0},   // listed without an image; image not listed
  };
  for (const auto& [code, w, h] : loaded) {
    SCOPED_TRACE(static_cast<int>(code));
    EXPECT_EQ(glyphs[code].sprite3d != 0 && sprite3d_exists(glyphs[code].sprite3d) != 0, w > 0);
    EXPECT_FLOAT_EQ(glyphs[code].width, w);
    EXPECT_FLOAT_EQ(glyphs[code].height, h);
  }
  // The Sprite3D is sized to the glyph at load time.
  testing_record_draws(true);
  sprite3d_draw(glyphs['A'].sprite3d, 0, 0, 255);
  ASSERT_EQ(testing_recorded_draws().size(), 1u);
  EXPECT_EQ(testing_recorded_draws()[0].width, 32);
  EXPECT_EQ(testing_recorded_draws()[0].height, 40);

  const int32_t a = glyphs['A'].sprite3d;
  font_load(scene.dir.file("no_such_font.txt"));
  EXPECT_EQ(glyphs['A'].sprite3d, a);
  const int32_t a_sprite = glyphs['A'].sprite;
  font_free();
  EXPECT_EQ(glyphs['A'].sprite3d, 0);
  EXPECT_EQ(sprite3d_exists(a), 0);
  EXPECT_EQ(sprite_exists(a_sprite), 0);
}

// Where each glyph lands ("x,y,width" per glyph) and where the pen is left. Text starts at the
// caller's place plus the pen; a glyph advances by its width times scale and spacing, a blank by
// the unscaled width of "I"; "|" ends the text and resets the pen, "| " leaves it one space on,
// no "|" leaves it after the text; "\" starts a new line 1.2 glyph heights down at the caller's x.
TEST(ScreenText, PenArithmetic) {
  // Glyphs of distinct widths, so a wrong advance shows up as a wrong position. Sizes at font_zoom
  // 1: I 3x10 (the width of a space), A 7x11, B 5x9, G 9x12, E 6x10, M 11x10, P 6x10, U 8x10, S 6x10,
  // D 8x10, Z 13x13. Q is listed but has no image.
  FontScene scene(320, 200,
                  {{'I', 3, 10}, {'A', 7, 11}, {'B', 5, 9}, {'G', 9, 12}, {'E', 6, 10}, {'M', 11, 10},
                   {'P', 6, 10}, {'U', 8, 10}, {'S', 6, 10}, {'D', 8, 10}, {'Z', 13, 13}},
                  "IABGEMPUSDZQ");
  testing_record_draws(true);
  struct Case {
    const char* text;
    float x, y, scale, spacing, pen_before;
    const char* glyphs;
    float pen_after;
  };
  const Case cases[] = {
      {"  GAME PAUSED |", 100, 50, 1, 1, 0,
       "106,50,9 115,50,7 122,50,11 133,50,6 142,50,6 148,50,7 155,50,8 163,50,6 169,50,6 175,50,8", 0},
      {"AB", 10, 20, 1, 1, 0, "10,20,7 17,20,5", 12},
      {"A|", 10, 20, 1, 1, 12, "22,20,7", 0},
      {"  B| ", 0, 0, 3, 0.5f, 0, "6,0,15", 3},
      {"B|", 40, 0, 1, 1, 3, "43,0,5", 0},
      {"", 0, 0, 1, 1, 5.5f, "", 5.5f},
      {" A A|", 0, 0, 3, 1, 0, "3,0,21 27,0,21", 0},
      {"A B|", 0, 0, 1, 2, 0, "0,0,7 17,0,5", 0},  // spacing widens the advance, not the glyph
      {"A|", 0, 0, 0.5f, 1, 0, "0,0,4", 0},        // 3.5 rounds half to even
      {"AB|", 0, 0, -2, 1, 0, "0,0,7 7,0,5", 0},   // a negative scale draws at 1
      {"AQxB|", 0, 0, 1, 1, 0, "0,0,7 7,0,5", 0},  // no glyph, no room
      {"AB\\BA\\\\A|", 30, 40, 2, 1, 0, "30,40,14 44,40,10 30,66,10 40,66,14 30,119,14", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    testing_clear_recorded_draws();
    text_pen_x = c.pen_before;
    draw_screen_text(c.text, c.x, c.y, c.scale, 0.0f, 200, c.spacing);
    std::ostringstream drawn;
    for (const DrawRecord& r : glyph_draws()) {
      drawn << (drawn.tellp() > 0 ? " " : "") << r.x << "," << r.y << "," << r.width;
      EXPECT_EQ(r.alpha, 200);
    }
    EXPECT_EQ(drawn.str(), c.glyphs);
    EXPECT_FLOAT_EQ(text_pen_x, c.pen_after);
    EXPECT_FLOAT_EQ(text_pen_y, 0.0f);
  }
  draw_glyph(-1, 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);  // codes out of range draw nothing
  draw_glyph(256 + 'A', 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_EQ(glyph_draws().size(), 5u);
}

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
  hud_step();
  draw_hud();
  EXPECT_EQ(score, 11);
  EXPECT_EQ(tiles_left, 0);
  EXPECT_EQ(hud_scroll_offset, 1280);
  std::string credit;
  for (const char c : hud_credit_line()) credit += (c == ' ' || c == '|') ? "" : std::string(1, c);
  ASSERT_EQ(drawn_text(testing_recorded_draws()), "SCORE11TIME42\xF6\xF6\xF6&&TILESLEFT0MAP12PLAYER:JO" + credit);
  const auto d = glyph_draws();
  const std::vector<std::array<int32_t, 5>> places = {
      // glyph index, x, y, width, alpha
      {0, 452, 24, 8, 240},           // SCORE at 0.7 W + one blank, 0.05 H
      {7, 42, 24, 8, 240},            // TIME at 0.06 W
      {13, 260, 5, 8, 200},           // empty bomb slots at 0.4 W, 0.01 H, the bombs over them
      {27, 336, 48, 8, 240},          // tiles left 0 (the I of TILES is narrow)
      {33, 456, 72, 4, 240},          // PLAYER at half size: two unscaled blanks
      {42, 640 - 1280 + 8, 432, 6, 200},  // credit line at W - offset, 0.9 H, scale 0.8
  };
  for (const auto& [index, x, y, width, alpha] : places) {
    SCOPED_TRACE(index);
    EXPECT_EQ(d[static_cast<size_t>(index)].x, x);
    EXPECT_EQ(d[static_cast<size_t>(index)].y, y);
    EXPECT_EQ(d[static_cast<size_t>(index)].width, width);
    EXPECT_EQ(d[static_cast<size_t>(index)].alpha, alpha);
  }
  hud_step();
  EXPECT_EQ(hud_scroll_offset, 0);
  score = 200;  // above its target (a map's bonus already counted): stays
  hud_step();
  EXPECT_EQ(score, 200);
  EXPECT_EQ(hud_scroll_offset, 2);
}

// The banner sweeps "MAP 12" for ceil((W - 1) / 20) frames, drifting left, letters spreading.
TEST(MapBanner, SweepsItsTextFrameByFrame) {
  OverlayScene scene(320, 240);
  map_number = 12;
  EXPECT_EQ(sweep_frames(), 16);
  testing_record_draws(true);
  draw_map_banner(0);
  draw_map_banner(1);
  EXPECT_EQ(drawn_text(testing_recorded_draws()), "MAP12MAP12");
  // First frame: spacing 0 at 0.4 W, 0.3 H, scale 3, two blanks in; second: 0.005 W further left,
  // the pen one blank in (the text ends in "| "), letters 0.05 of a width apart.
  const auto d = glyph_draws();
  EXPECT_EQ(d[1].x, 128 + 8);
  EXPECT_EQ(d[0].y, 72);
  EXPECT_EQ(d[0].width, 24);
  EXPECT_EQ(d[5].x, round_to_int(320.0f * 0.395f + 12.0f));
  EXPECT_EQ(d[6].x, round_to_int(320.0f * 0.395f + (12.0f + 24.0f * 0.05f)));
}

// The zoom pass grabs the top-left 1 / FULLSCREENZOOM of the screen (less the edge pixel) and
// stretches it over the whole screen; at zoom 1 without smoothing it changes nothing.
TEST(ZoomPass, GrabFollowsFullScreenZoom) {
  OverlayScene scene(320, 240);
  for (const auto& [zoom, smooth, grab_w, grab_h] : {std::tuple{1.0f, 1, 319, 239}, {1.0f, 0, 0, 0}, {0.5f, 0, 159, 119}}) {
    SCOPED_TRACE(testing::Message() << zoom << " smooth " << smooth);
    FULLSCREENZOOM = zoom;
    screen_clear(rgb(0, 0, 0));
    draw_square(scene.dir, "red", rgb(255, 0, 0), 21, 21);
    const std::vector<int32_t> before = testing_read_screen();
    testing_record_draws(true);
    testing_clear_recorded_draws();
    fullscreen_zoom_pass(static_cast<uint8_t>(smooth));
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
