// A small font written to a temporary directory, and a way to read recorded draws back as text.
#pragma once

#include "core/config.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "presentation/font.h"
#include "presentation/screen_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace glyphtest {

struct GlyphImage {
  unsigned char code;
  int32_t width;
  int32_t height;
};

// Opens a headless screen of that size without frame pacing and loads the font of `images` (font_init
// at a font_zoom of 1): one black PNG per image under <dir>/font/, named as the font engine names it,
// and a definition line listing `line`.
struct FontScene {
  testfiles::TempDir dir;

  FontScene(int32_t screen_w, int32_t screen_h, const std::vector<GlyphImage>& images,
            const std::string& line) {
    EXPECT_NE(tessera::testing_open_screen(screen_w, screen_h), 0);
    tessera::testing_set_frame_pacing(false);
    tessera::testing_set_real_delays(false);
    for (const GlyphImage& g : images) {
      testfiles::write_png(dir.file("font/" + tessera::glyph_image_name(g.code) + ".png"), g.width,
                           g.height, tessera::rgb(0, 0, 0));
    }
    testfiles::write_text(dir.file("font.txt"), line + "\r\nnot read\r\n");
    tessera::FONTPATH = dir.path + "font";
    tessera::FONTSYSTEM = dir.file("font.txt");
    tessera::RESBASEW = screen_w;
    tessera::font_zoom_set(static_cast<float>(screen_w));
    tessera::text_pen_x = 0.0f;
    tessera::text_pen_y = 0.0f;
    tessera::font_init();
    tessera::screen_width = static_cast<float>(screen_w);
    tessera::screen_height = static_cast<float>(screen_h);
  }
  ~FontScene() {
    tessera::font_free();
    tessera::testing_reset_platform();
  }
};

// The images of every character in `chars`, all w x h.
inline std::vector<GlyphImage> uniform(const std::string& chars, int32_t w, int32_t h) {
  std::vector<GlyphImage> out;
  for (const char c : chars) out.push_back({static_cast<unsigned char>(c), w, h});
  return out;
}

// The character whose glyph Sprite3D is s3d, or 0 when none is.
inline unsigned char glyph_of(int32_t s3d) {
  for (int32_t c = 0; c < tessera::GLYPH_COUNT; ++c) {
    if (s3d != 0 && tessera::glyphs[static_cast<size_t>(c)].sprite3d == s3d) return static_cast<unsigned char>(c);
  }
  return 0;
}

// The glyph draws among the records (other quads are left out), in order.
inline std::vector<tessera::DrawRecord> glyph_draws(
    const std::vector<tessera::DrawRecord>& records = tessera::testing_recorded_draws()) {
  std::vector<tessera::DrawRecord> out;
  for (const tessera::DrawRecord& r : records) {
    if (glyph_of(r.s3d) != 0) out.push_back(r);
  }
  return out;
}

// The glyph draws among the records, as text.
inline std::string drawn_text(const std::vector<tessera::DrawRecord>& records) {
  std::string out;
  for (const tessera::DrawRecord& r : glyph_draws(records)) out += static_cast<char>(glyph_of(r.s3d));
  return out;
}

}  // namespace glyphtest
