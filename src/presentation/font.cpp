#include "presentation/font.h"

#include "core/config.h"
#include "core/numeric.h"
#include "platform/platform.h"

namespace tessera {

std::array<Glyph, GLYPH_COUNT> glyphs{};
float font_zoom = 1.0f;

namespace {

constexpr int32_t FONT_LOAD_MODE = 5;  // the platform treats it as the texture mode

void glyph_release(Glyph& glyph) {
  if (sprite3d_exists(glyph.sprite3d) != 0) sprite3d_free(glyph.sprite3d);
  if (sprite_exists(glyph.sprite) != 0) sprite_free(glyph.sprite);
  glyph = Glyph{};
}

void glyph_load(unsigned char code) {
  Glyph& glyph = glyphs[code];
  if (sprite_exists(glyph.sprite) != 0) sprite_free(glyph.sprite);
  glyph.sprite = 0;
  // Glyph images are drawn on white; the key makes the background vanish.
  sprite_transparent_color(-1, rgb(255, 255, 255));
  glyph.sprite = sprite_load(-1, FONTPATH + "\\" + glyph_image_name(code) + ".png", FONT_LOAD_MODE);
  if (glyph.sprite == 0) return;
  glyph.height = static_cast<float>(sprite_height(glyph.sprite)) * font_zoom;
  glyph.width = static_cast<float>(sprite_width(glyph.sprite)) * font_zoom;
  if (sprite3d_exists(glyph.sprite3d) != 0) sprite3d_free(glyph.sprite3d);
  glyph.sprite3d = sprite3d_create(-1, glyph.sprite);
  if (glyph.sprite3d != 0) {
    sprite3d_zoom(glyph.sprite3d, round_to_int(glyph.width), round_to_int(glyph.height));
  }
}

}  // namespace

void font_zoom_set(float screen_width) {
  font_zoom = RESBASEW > 0 ? screen_width / static_cast<float>(RESBASEW) : 1.0f;
}

std::string glyph_image_name(unsigned char code) {
  switch (code) {
    case '.': return "POINT";
    case '?': return "ASK";
    case '[': return "FLOPPY";
    case ']': return "FLOPPYB";
    case '-': return "MINUS";
    case '"': return "FUEL";
    case '(': return "LEFT";
    case ')': return "RIGHT";
    case ':': return "POINTPOINT";
    case '*': return "STERN";
    case '+': return "PLUS";
    case '&': return "BOMB";
    case 0xF6: case 0xD6: return "NOBOMB";
    case 0xC4: case 0xE4: return "HERZ";
    case '@': return "LIFE";
    case 0xDC: return "_u";
    case 0xDF: return "S";
    default: break;
  }
  if (code >= 'a' && code <= 'z') return std::string("_") + static_cast<char>(code);
  return std::string(1, static_cast<char>(code));
}

void font_init() {
  font_free();
  font_load(FONTSYSTEM);
}

void font_free() {
  for (Glyph& glyph : glyphs) glyph_release(glyph);
}

void font_load(const std::string& path) {
  const int32_t file = file_open_read(-1, path);
  if (file == 0) return;
  const std::string line = file_read_line(file);
  // A character listed again would only load the same image again: each is loaded once, so a
  // long line costs at most GLYPH_COUNT loads.
  std::array<bool, GLYPH_COUNT> loaded{};
  for (const char c : line) {
    const auto code = static_cast<unsigned char>(c);
    if (loaded[code]) continue;
    loaded[code] = true;
    window_events_when_due();
    glyph_load(code);
  }
  file_close(file);
}

}  // namespace tessera
