// The bitmap font: a definition line listing every character as a byte, and one glyph image per
// character, rendered from DejaVu Sans Bold. White is the glyphs' colour key, so no pixel is
// pure white; edges are soft through alpha.
#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "canvas.h"
#include "files.h"
#include "generators.h"
#include "layout.h"

namespace assets {

namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr int kHeight = 64;
constexpr double kBaseline = 49;
constexpr double kFontSize = 50;
constexpr int kIconWidth = 52;  // bombs and empty slots must line up exactly
// Glyphs are drawn in units of a 64-pixel line and stored this many times larger: the title
// shows them at six times the HUD's size, and no screen may have to enlarge them.
constexpr int kScale = 6;
// Every glyph is a whole number of these units wide, with its letter centred: at the HUD's sizes
// on the common screens (1280, 1920 and 2560 wide) each glyph then covers whole pixels, so
// letters keep the same distance instead of drifting by a rounded pixel each.
constexpr int kWidthStep = 4;
constexpr double kTracking = 3;  // free room around a letter, in units

struct Glyph {
  unsigned char code;
  std::string name;   // image name without ".png"
  std::string text;   // UTF-8 text to render; empty for icons
};

std::vector<Glyph> glyph_list() {
  std::vector<Glyph> g;
  for (char c = 'A'; c <= 'Z'; ++c) g.push_back({uint8_t(c), std::string(1, c), std::string(1, c)});
  for (char c = 'a'; c <= 'z'; ++c)
    g.push_back({uint8_t(c), std::string("_") + c, std::string(1, c)});
  for (char c = '0'; c <= '9'; ++c) g.push_back({uint8_t(c), std::string(1, c), std::string(1, c)});
  const Glyph named[] = {
      {'.', "POINT", "."},      {'?', "ASK", "?"},        {'-', "MINUS", "-"},
      {':', "POINTPOINT", ":"}, {'(', "LEFT", "("},       {')', "RIGHT", ")"},
      {'+', "PLUS", "+"},       {'!', "!", "!"},          {',', ",", ","},
      {'\'', "'", "'"},         {'_', "_", "_"},          {'=', "=", "="},
      {'&', "BOMB", ""},        {0xF6, "NOBOMB", ""},     {0xD6, "NOBOMB", ""},
      {'*', "STERN", ""},       {'"', "FUEL", ""},        {'@', "LIFE", ""},
      {'[', "FLOPPY", ""},      {']', "FLOPPYB", ""},     {0xC4, "HERZ", ""},
      {0xE4, "HERZ", ""},       {0xDC, "_u", "u"},        {0xDF, "S", "S"},
  };
  g.insert(g.end(), std::begin(named), std::end(named));
  return g;
}

void text_fill(cairo_t* cr) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, kBaseline - 38, 0, kBaseline + 4);
  cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.985, 0.92);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.93, 0.78, 0.45);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void outline_and_fill(cairo_t* cr) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 4);
  set(cr, rgb8(12, 14, 34), 0.9);
  cairo_stroke_preserve(cr);
  text_fill(cr);
  cairo_fill(cr);
}

void bomb_icon(cairo_t* cr, bool empty) {
  const double cx = 24, cy = 34, r = 14;
  circle(cr, cx, cy, r);
  cairo_move_to(cr, 30, 18);
  cairo_rectangle(cr, 27, 16, 9, 7);
  if (empty) {
    set(cr, rgb8(160, 170, 190), 0.45);
    cairo_fill_preserve(cr);
    set(cr, rgb8(12, 14, 34), 0.7);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    return;
  }
  cairo_set_line_width(cr, 4);
  set(cr, rgb8(230, 220, 190));
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - 5, cy - 5, 1, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.45, 0.45, 0.55);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.06, 0.06, 0.1);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  set(cr, rgb8(230, 180, 90));
  cairo_set_line_width(cr, 2.5);
  cairo_move_to(cr, 34, 16);
  cairo_curve_to(cr, 36, 9, 41, 12, 43, 8);
  cairo_stroke(cr);
  cairo_pattern_t* s = cairo_pattern_create_radial(43, 8, 0, 43, 8, 7);
  cairo_pattern_add_color_stop_rgba(s, 0, 1, 0.97, 0.6, 1);
  cairo_pattern_add_color_stop_rgba(s, 1, 1, 0.4, 0, 0);
  cairo_set_source(cr, s);
  circle(cr, 43, 8, 7);
  cairo_fill(cr);
  cairo_pattern_destroy(s);
}

void heart_icon(cairo_t* cr) {
  cairo_move_to(cr, 26, 52);
  cairo_curve_to(cr, 4, 36, 6, 14, 18, 14);
  cairo_curve_to(cr, 22, 14, 25, 17, 26, 21);
  cairo_curve_to(cr, 27, 17, 30, 14, 34, 14);
  cairo_curve_to(cr, 46, 14, 48, 36, 26, 52);
  cairo_close_path(cr);
  cairo_set_line_width(cr, 3);
  set(cr, rgb8(12, 14, 34), 0.9);
  cairo_stroke_preserve(cr);
  set(cr, rgb8(230, 40, 60));
  cairo_fill(cr);
  set(cr, rgb8(255, 170, 170), 0.8);
  circle(cr, 17, 23, 3);
  cairo_fill(cr);
}

void star_icon(cairo_t* cr) {
  for (int i = 0; i < 10; ++i) {
    const double a = i * M_PI / 5 - M_PI / 2, r = i % 2 ? 8 : 19;
    if (i == 0) cairo_move_to(cr, 26 + r * std::cos(a), 31 + r * std::sin(a));
    else cairo_line_to(cr, 26 + r * std::cos(a), 31 + r * std::sin(a));
  }
  cairo_close_path(cr);
  outline_and_fill(cr);
}

void drop_icon(cairo_t* cr) {
  cairo_move_to(cr, 26, 10);
  cairo_curve_to(cr, 34, 24, 40, 32, 40, 39);
  cairo_arc(cr, 26, 39, 14, 0, M_PI);
  cairo_curve_to(cr, 12, 32, 18, 24, 26, 10);
  cairo_close_path(cr);
  cairo_set_line_width(cr, 3);
  set(cr, rgb8(12, 14, 34), 0.9);
  cairo_stroke_preserve(cr);
  set(cr, rgb8(240, 170, 40));
  cairo_fill(cr);
}

void life_icon(cairo_t* cr) {
  circle(cr, 26, 32, 18);
  set(cr, rgb8(12, 14, 34), 0.9);
  cairo_fill(cr);
  circle(cr, 26, 32, 15);
  set(cr, rgb8(60, 210, 240));
  cairo_fill(cr);
  cairo_move_to(cr, 26, 19);
  cairo_line_to(cr, 30, 32);
  cairo_line_to(cr, 22, 32);
  cairo_close_path(cr);
  set(cr, rgb8(255, 90, 60));
  cairo_fill(cr);
}

void floppy_icon(cairo_t* cr, Rgb body) {
  rounded_rect(cr, 8, 14, 36, 38, 3);
  cairo_set_line_width(cr, 3);
  set(cr, rgb8(12, 14, 34), 0.9);
  cairo_stroke_preserve(cr);
  set(cr, body);
  cairo_fill(cr);
  fill_rect(cr, 16, 14, 20, 12, rgb8(200, 205, 215));
  fill_rect(cr, 29, 16, 4, 8, rgb8(40, 44, 60));
  fill_rect(cr, 14, 34, 24, 18, rgb8(240, 236, 220));
}

void render(const Glyph& g, cairo_font_face_t* face) {
  int width = kIconWidth;
  cairo_text_extents_t ext{};
  const std::string& text = g.text;
  if (!text.empty()) {
    Canvas probe(4, 4);
    cairo_set_font_face(probe.cr, face);
    cairo_set_font_size(probe.cr, kFontSize);
    cairo_text_extents(probe.cr, text.c_str(), &ext);
    width = int(std::ceil((ext.x_advance + kTracking) / kWidthStep)) * kWidthStep;
  }
  Canvas canvas(width * kScale, kHeight * kScale);
  cairo_t* cr = canvas.cr;
  cairo_scale(cr, kScale, kScale);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  if (!text.empty()) {
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, kFontSize);
    cairo_move_to(cr, (width - ext.x_advance) / 2, kBaseline);
    cairo_text_path(cr, text.c_str());
    outline_and_fill(cr);
  } else if (g.name == "BOMB") {
    bomb_icon(cr, false);
  } else if (g.name == "NOBOMB") {
    bomb_icon(cr, true);
  } else if (g.name == "HERZ") {
    heart_icon(cr);
  } else if (g.name == "STERN") {
    star_icon(cr);
  } else if (g.name == "FUEL") {
    drop_icon(cr);
  } else if (g.name == "LIFE") {
    life_icon(cr);
  } else if (g.name == "FLOPPY") {
    floppy_icon(cr, rgb8(50, 90, 200));
  } else if (g.name == "FLOPPYB") {
    floppy_icon(cr, rgb8(200, 50, 60));
  }
  save_png(canvas, std::string(layout::kFont) + "\\" + g.name + ".png", 255, 255, 255);
}

}  // namespace

void write_font() {
  FT_Library library;
  FT_Face ft_face;
  if (FT_Init_FreeType(&library) != 0) fail("FreeType does not start");
  if (FT_New_Face(library, kFontFile, 0, &ft_face) != 0)
    fail(std::string("cannot load ") + kFontFile + " (package fonts-dejavu-core)");
  cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ft_face, 0);
  std::string line;
  std::set<std::string> written;  // characters that share an image (Ö and ö, Ü and u) write it once
  for (const auto& g : glyph_list()) {
    line += char(g.code);
    if (written.insert(g.name).second) render(g, face);
  }
  write_lines(layout::kFontDefinition, {line});
  cairo_font_face_destroy(face);
  FT_Done_Face(ft_face);
  FT_Done_FreeType(library);
}

}  // namespace assets
