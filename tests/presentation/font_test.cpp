#include "presentation/font.h"

#include "presentation/glyph_fixture.h"

#include <gtest/gtest.h>

using namespace tessera;
using glyphtest::FontScene;
using glyphtest::GlyphImage;

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

TEST(Font, ZoomFollowsScreenWidthAndSurvivesBadBase) {
  RESBASEW = 1024;
  font_zoom_set(2048.0f);
  EXPECT_FLOAT_EQ(font_zoom, 2.0f);
  RESBASEW = 0;
  font_zoom_set(2048.0f);
  EXPECT_FLOAT_EQ(font_zoom, 1.0f);
  RESBASEW = -640;
  font_zoom_set(1280.0f);
  EXPECT_FLOAT_EQ(font_zoom, 1.0f);
}

// The definition line decides which codes get glyphs, and the image name decides which file each
// one comes from; sizes follow font_zoom.
TEST(Font, LoadsListedCharactersFromTheirImagesAtScreenScale) {
  FontScene scene(64, 48,
                  {{'A', 16, 20}, {'B', 10, 12}, {'&', 6, 7}, {'a', 5, 9}, {0xDC, 3, 4}, {'C', 8, 8}},
                  "AB&a\xDCQ");
  RESBASEW = 1024;
  font_zoom_set(2048.0f);
  font_init();

  EXPECT_FLOAT_EQ(glyphs['A'].width, 32.0f);
  EXPECT_FLOAT_EQ(glyphs['A'].height, 40.0f);
  EXPECT_FLOAT_EQ(glyphs['B'].width, 20.0f);
  EXPECT_FLOAT_EQ(glyphs['&'].width, 12.0f);   // BOMB.png
  EXPECT_FLOAT_EQ(glyphs['&'].height, 14.0f);
  EXPECT_FLOAT_EQ(glyphs['a'].width, 10.0f);   // _a.png
  EXPECT_FLOAT_EQ(glyphs[0xDC].width, 6.0f);   // _u.png (the upper-case U has no image here)
  for (const unsigned char c : {'A', 'B', '&', 'a'}) {
    EXPECT_NE(glyphs[c].sprite3d, 0) << c;
    EXPECT_NE(sprite3d_exists(glyphs[c].sprite3d), 0) << c;
  }
  // Listed without an image: no glyph. Image present but not listed: no glyph either.
  EXPECT_EQ(glyphs['Q'].sprite3d, 0);
  EXPECT_EQ(glyphs['Q'].sprite, 0);
  EXPECT_EQ(glyphs['C'].sprite3d, 0);

  // The Sprite3D is sized to the glyph at load time.
  testing_record_draws(true);
  sprite3d_begin();
  sprite3d_draw(glyphs['A'].sprite3d, 0, 0, 255);
  sprite3d_end();
  ASSERT_EQ(testing_recorded_draws().size(), 1u);
  EXPECT_EQ(testing_recorded_draws()[0].width, 32);
  EXPECT_EQ(testing_recorded_draws()[0].height, 40);
}

// Bytes above 0x7F must land under their own code, not under a negative index.
TEST(Font, DefinitionLineWithHighBytes) {
  FontScene scene(64, 48, {{0xE4, 9, 9}, {0xE9, 7, 5}, {0xF6, 4, 4}}, "\xE4\xE9\xF6\xC4");
  font_init();
  EXPECT_NE(glyphs[0xE4].sprite3d, 0);  // HERZ.png
  EXPECT_NE(glyphs[0xC4].sprite3d, 0);  // HERZ.png as well
  EXPECT_FLOAT_EQ(glyphs[0xC4].width, 9.0f);
  EXPECT_NE(glyphs[0xE9].sprite3d, 0);  // named by the byte itself
  EXPECT_FLOAT_EQ(glyphs[0xE9].width, 7.0f);
  EXPECT_FLOAT_EQ(glyphs[0xE9].height, 5.0f);
  EXPECT_NE(glyphs[0xF6].sprite3d, 0);  // NOBOMB.png
  EXPECT_EQ(glyphs[0xD6].sprite3d, 0);  // same image, but not listed
}

TEST(Font, MissingFileKeepsTableAndFreeEmptiesIt) {
  FontScene scene(64, 48, glyphtest::uniform("AB", 8, 8), "AB");
  font_init();
  const int32_t a = glyphs['A'].sprite3d;
  ASSERT_NE(a, 0);

  font_load(scene.dir.file("no_such_font.txt"));
  EXPECT_EQ(glyphs['A'].sprite3d, a);
  EXPECT_NE(sprite3d_exists(a), 0);


  const int32_t b = glyphs['B'].sprite3d;
  const int32_t b_sprite = glyphs['B'].sprite;
  font_free();
  EXPECT_EQ(sprite3d_exists(b), 0);
  EXPECT_EQ(sprite_exists(b_sprite), 0);
  EXPECT_EQ(glyphs['B'].sprite3d, 0);

  // font_init with no definition file leaves the font empty.
  FONTSYSTEM = scene.dir.file("gone.txt");
  font_init();
  EXPECT_EQ(glyphs['A'].sprite3d, 0);
}
