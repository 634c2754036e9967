#include "presentation/font.h"

#include "presentation/glyph_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tessera;
using glyphtest::FontScene;

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

// The zoom is the screen width over RESBASEW; a base of 0 or below leaves it at 1.
TEST(Font, ZoomFollowsScreenWidthAndSurvivesBadBase) {
  for (const auto& [base, width, zoom] : {std::tuple{1024, 2048.0f, 2.0f}, {0, 2048.0f, 1.0f}, {-640, 1280.0f, 1.0f}}) {
    RESBASEW = base;
    font_zoom_set(width);
    EXPECT_FLOAT_EQ(font_zoom, zoom) << base;
  }
}

// The definition line decides which codes get glyphs (bytes above 0x7F under their own code), the
// image name which file each comes from; sizes follow font_zoom (2 here). A missing definition file
// keeps the font; font_free empties it.
TEST(Font, LoadsListedCharactersFromTheirImagesAtScreenScale) {
  FontScene scene(64, 48, {{'A', 16, 20}, {'&', 6, 7}, {'a', 5, 9}, {0xDC, 3, 4}, {'C', 8, 8}, {0xE4, 9, 9}, {0xE9, 7, 5}},
                  "A&a\xDCQ\xE4\xE9\xC4");
  RESBASEW = 1024;
  font_zoom_set(2048.0f);
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
  sprite3d_begin();
  sprite3d_draw(glyphs['A'].sprite3d, 0, 0, 255);
  sprite3d_end();
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
