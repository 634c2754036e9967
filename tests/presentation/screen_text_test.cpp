#include "presentation/screen_text.h"

#include "core/numeric.h"
#include "presentation/glyph_fixture.h"

#include <gtest/gtest.h>

using namespace tessera;
using glyphtest::FontScene;
using glyphtest::glyph_draws;

namespace {

// Glyphs of distinct widths, so a wrong advance shows up as a wrong position.
// Sizes at font_zoom 1: I 3x10, A 7x11, B 5x9, G 9x12, E 6x10, M 11x10, P 6x10, U 8x10, S 6x10,
// D 8x10, Z 13x13 (square: Z is the one that turns).
const std::vector<glyphtest::GlyphImage> kImages = {
    {'I', 3, 10}, {'A', 7, 11}, {'B', 5, 9},  {'G', 9, 12}, {'E', 6, 10}, {'M', 11, 10},
    {'P', 6, 10}, {'U', 8, 10}, {'S', 6, 10}, {'D', 8, 10}, {'Z', 13, 13},
};
const std::string kLine = "IABGEMPUSDZQ";  // Q is listed but has no image

struct TextScene : FontScene {
  TextScene() : FontScene(320, 200, kImages, kLine) {
    font_init();
    testing_record_draws(true);
    sprite3d_begin();
  }
  ~TextScene() { sprite3d_end(); }
};

}  // namespace

TEST(ScreenText, PausedTextStartsTwoSpacesInAndResetsThePen) {
  TextScene scene;
  draw_screen_text("  GAME PAUSED |", 100.0f, 50.0f, 1.0f, 0.0f, 255, 1.0f);
  const auto draws = glyph_draws();
  ASSERT_EQ(glyphtest::drawn_text(testing_recorded_draws()), "GAMEPAUSED");
  // G at x + 2 * width(I); then each glyph advances by its own width; the inner space by width(I).
  const std::vector<int32_t> xs = {106, 115, 122, 133, 142, 148, 155, 163, 169, 175};
  for (size_t i = 0; i < xs.size(); ++i) {
    EXPECT_EQ(draws[i].x, xs[i]) << i;
    EXPECT_EQ(draws[i].y, 50) << i;
    EXPECT_EQ(draws[i].alpha, 255);
    EXPECT_EQ(draws[i].blend_source, 5);
    EXPECT_EQ(draws[i].blend_destination, 6);
  }
  EXPECT_EQ(text_pen_x, 0.0f);
  EXPECT_EQ(text_pen_y, 0.0f);
}

TEST(ScreenText, PenCarriesOverWithoutBarAndAfterBarSpace) {
  TextScene scene;
  draw_screen_text("AB", 10.0f, 20.0f, 1.0f, 0.0f, 200, 1.0f);
  EXPECT_FLOAT_EQ(text_pen_x, 12.0f);
  draw_screen_text("A|", 10.0f, 20.0f, 1.0f, 0.0f, 200, 1.0f);
  auto draws = glyph_draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[2].x, 22);  // its own x plus the width of "AB"
  EXPECT_EQ(draws[2].alpha, 200);

  // "| " leaves the pen one unscaled space to the right.
  draw_screen_text("  MAP 7| ", 0.0f, 0.0f, 3.0f, 0.0f, 240, 0.5f);
  EXPECT_FLOAT_EQ(text_pen_x, 3.0f);
  EXPECT_FLOAT_EQ(text_pen_y, 0.0f);
  testing_clear_recorded_draws();
  draw_screen_text("B|", 40.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  draws = glyph_draws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].x, 43);

  // An empty text draws nothing and keeps the pen.
  text_pen_x = 5.5f;
  draw_screen_text("", 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_FLOAT_EQ(text_pen_x, 5.5f);
}

TEST(ScreenText, ScaleAndSpacingWidenGlyphsButNotSpaces) {
  TextScene scene;
  draw_screen_text(" A A|", 0.0f, 0.0f, 3.0f, 0.0f, 255, 1.0f);
  auto draws = glyph_draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].x, 3);            // one unscaled space
  EXPECT_EQ(draws[0].width, 21);       // 7 * 3
  EXPECT_EQ(draws[0].height, 33);      // 11 * 3
  EXPECT_EQ(draws[1].x, 3 + 21 + 3);

  testing_clear_recorded_draws();
  draw_screen_text("A B|", 0.0f, 0.0f, 1.0f, 0.0f, 255, 2.0f);
  draws = glyph_draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[1].x, 14 + 3);       // A advances 7 * 2, the space still 3
  EXPECT_EQ(draws[1].width, 5);        // spacing does not change the size

  // A negative scale draws at scale 1, and no caller's scale leaks into the next draw.
  testing_clear_recorded_draws();
  draw_screen_text("A|", 0.0f, 0.0f, 0.5f, 0.0f, 255, 1.0f);
  draw_screen_text("AB|", 0.0f, 0.0f, -2.0f, 0.0f, 255, 1.0f);
  draws = glyph_draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].width, 4);  // 3.5, halves to even
  EXPECT_EQ(draws[1].width, 7);
  EXPECT_EQ(draws[2].x, 7);
}

TEST(ScreenText, BackslashStartsANewLineAtTheCallersX) {
  TextScene scene;
  draw_screen_text("AB\\BA\\\\A|", 30.0f, 40.0f, 2.0f, 0.0f, 255, 1.0f);
  const auto draws = glyph_draws();
  ASSERT_EQ(glyphtest::drawn_text(testing_recorded_draws()), "ABBAA");
  const float line = 11.0f * 1.2f * 2.0f;  // height of A, times 1.2, times the scale
  EXPECT_EQ(draws[2].x, 30);
  EXPECT_EQ(draws[2].y, round_to_int(40.0f + line));
  EXPECT_EQ(draws[3].x, 40);  // after B at scale 2
  EXPECT_EQ(draws[4].x, 30);
  EXPECT_EQ(draws[4].y, round_to_int(40.0f + ((line + line) + line)));
  EXPECT_EQ(text_pen_y, 0.0f);
}

TEST(ScreenText, MissingGlyphsAndOutOfRangeCodesTakeNoRoom) {
  TextScene scene;
  // Q is listed without an image, x has no glyph at all.
  draw_screen_text("AQxB|", 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  const auto draws = glyph_draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[1].x, 7);
  draw_glyph(-1, 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  draw_glyph(256 + 'A', 0.0f, 0.0f, 1.0f, 0.0f, 255, 1.0f);
  EXPECT_EQ(glyph_draws().size(), 2u);
  EXPECT_EQ(text_pen_x, 0.0f);
}

// The angle lives in the glyph's Sprite3D: each occurrence of a character turns it further.
TEST(ScreenText, RotationAccumulatesInTheSharedGlyph) {
  TextScene scene;
  draw_screen_text("ZZ|", 0.0f, 0.0f, 1.0f, 90.0f, 255, 1.0f);
  const int32_t z = glyphs['Z'].sprite3d;
  // The same glyph turned once by 90 and once by 180 from a fresh angle.
  sprite3d_rotate(z, 0, 0);
  sprite3d_zoom(z, 13, 13);
  sprite3d_rotate(z, 90, 1);
  sprite3d_draw(z, 0, 0);
  sprite3d_rotate(z, 0, 0);
  sprite3d_zoom(z, 13, 13);
  sprite3d_rotate(z, 180, 1);
  sprite3d_draw(z, 0, 0);
  const auto& draws = testing_recorded_draws();
  ASSERT_EQ(draws.size(), 4u);
  for (int k = 0; k < 8; ++k) {
    EXPECT_FLOAT_EQ(draws[0].corners[k], draws[2].corners[k]) << k;
    EXPECT_FLOAT_EQ(draws[1].corners[k], draws[3].corners[k]) << k;
  }
  bool turned_further = false;
  for (int k = 0; k < 8; ++k) turned_further = turned_further || draws[0].corners[k] != draws[1].corners[k];
  EXPECT_TRUE(turned_further);
}
