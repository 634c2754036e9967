#include "presentation/screen_text.h"

#include "core/numeric.h"
#include "platform/platform.h"
#include "presentation/font.h"

namespace tessera {

float text_pen_x = 0.0f;
float text_pen_y = 0.0f;

namespace {

constexpr float LINE_HEIGHT = 1.2f;

}  // namespace

void draw_screen_text(const std::string& text, float x, float y, float scale, float rotation,
                      int32_t alpha, float spacing) {
  sprite3d_blend_mode(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA);
  for (const char c : text) {
    draw_glyph(static_cast<unsigned char>(c), x, y, scale, rotation, alpha, spacing);
  }
}

void draw_glyph(int32_t code, float x, float y, float scale, float rotation, int32_t alpha,
                float spacing) {
  if (code < 0 || code >= GLYPH_COUNT) return;
  const float s = scale < 0.0f ? 1.0f : scale;
  switch (code) {
    case '|':
      text_pen_x = 0.0f;
      text_pen_y = 0.0f;
      return;
    case '\\':
      text_pen_x = 0.0f;
      text_pen_y += glyphs['A'].height * LINE_HEIGHT * s;
      return;
    case ' ':
      text_pen_x += glyphs['I'].width;
      return;
    default:
      break;
  }
  const Glyph& glyph = glyphs[static_cast<size_t>(code)];
  if (glyph.sprite3d == 0) return;
  sprite3d_zoom(glyph.sprite3d, round_to_int(glyph.width * s), round_to_int(glyph.height * s));
  if (rotation != 0.0f) sprite3d_rotate(glyph.sprite3d, round_to_int(rotation), ROTATE_ADDED);
  sprite3d_draw(glyph.sprite3d, round_to_int(text_pen_x + x), round_to_int(text_pen_y + y), alpha);
  text_pen_x += glyph.width * s * spacing;
}

}  // namespace tessera
