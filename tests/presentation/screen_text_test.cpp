#include "presentation/screen_text.h"

#include "presentation/glyph_fixture.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tessera;
using glyphtest::glyph_draws;

namespace {

// Glyphs of distinct widths, so a wrong advance shows up as a wrong position. Sizes at font_zoom 1:
// I 3x10 (the width of a space), A 7x11, B 5x9, G 9x12, E 6x10, M 11x10, P 6x10, U 8x10, S 6x10,
// D 8x10, Z 13x13. Q is listed but has no image.
struct TextScene : glyphtest::FontScene {
  TextScene()
      : FontScene(320, 200,
                  {{'I', 3, 10}, {'A', 7, 11}, {'B', 5, 9}, {'G', 9, 12}, {'E', 6, 10}, {'M', 11, 10},
                   {'P', 6, 10}, {'U', 8, 10}, {'S', 6, 10}, {'D', 8, 10}, {'Z', 13, 13}},
                  "IABGEMPUSDZQ") {
    font_init();
    testing_record_draws(true);
    sprite3d_begin();
  }
  ~TextScene() { sprite3d_end(); }
};

}  // namespace

// Where each glyph lands ("x,y,width" per glyph) and where the pen is left. Text starts at the
// caller's place plus the pen; a glyph advances by its width times scale and spacing, a blank by
// the unscaled width of "I"; "|" ends the text and resets the pen, "| " leaves it one space on,
// no "|" leaves it after the text; "\" starts a new line 1.2 glyph heights down at the caller's x.
TEST(ScreenText, PenArithmetic) {
  TextScene scene;
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
