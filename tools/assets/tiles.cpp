// Tile graphics: one 48 x 48 picture per GFXNAME, drawn at the cell size without scaling.
#include <cmath>
#include <string>

#include "canvas.h"
#include "data_set.h"
#include "files.h"
#include "generators.h"
#include "layout.h"

namespace assets {

namespace {

constexpr int kSize = 48;

using Painter = void (*)(cairo_t*, Noise&);

void base_fill(cairo_t* cr, Rgb c) { fill_rect(cr, 0, 0, kSize, kSize, c); }

// Raised block with a light top-left and a dark bottom-right rim.
void bevel(cairo_t* cr, double inset, double width, Rgb light, Rgb dark, double alpha) {
  const double a = inset, b = kSize - inset;
  set(cr, light, alpha);
  cairo_move_to(cr, a, b);
  cairo_line_to(cr, a, a);
  cairo_line_to(cr, b, a);
  cairo_line_to(cr, b - width, a + width);
  cairo_line_to(cr, a + width, a + width);
  cairo_line_to(cr, a + width, b - width);
  cairo_close_path(cr);
  cairo_fill(cr);
  set(cr, dark, alpha);
  cairo_move_to(cr, b, a);
  cairo_line_to(cr, b, b);
  cairo_line_to(cr, a, b);
  cairo_line_to(cr, a + width, b - width);
  cairo_line_to(cr, b - width, b - width);
  cairo_line_to(cr, b - width, a + width);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void wall(cairo_t* cr, Noise& n) {
  base_fill(cr, rgb8(34, 36, 62));
  // Two courses of stone blocks, offset like brickwork.
  const double rows[2] = {0, 24};
  for (int row = 0; row < 2; ++row) {
    const double off = row == 0 ? 0 : -12;
    for (double x = off; x < kSize; x += 24) {
      cairo_save(cr);
      rounded_rect(cr, x + 1.5, rows[row] + 1.5, 21, 21, 3);
      cairo_clip(cr);
      const double shade = n.range(-0.03, 0.03);
      fill_rect(cr, x, rows[row], 24, 24, {0.22 + shade, 0.23 + shade, 0.37 + shade});
      cairo_pattern_t* p = cairo_pattern_create_linear(x, rows[row], x + 24, rows[row] + 24);
      cairo_pattern_add_color_stop_rgba(p, 0, 0.55, 0.58, 0.8, 0.45);
      cairo_pattern_add_color_stop_rgba(p, 0.45, 0.3, 0.32, 0.5, 0.0);
      cairo_pattern_add_color_stop_rgba(p, 1, 0.02, 0.02, 0.08, 0.55);
      cairo_set_source(cr, p);
      cairo_paint(cr);
      cairo_pattern_destroy(p);
      cairo_restore(cr);
    }
  }
  speckle(cr, n, kSize, kSize, 70, rgb8(70, 74, 110), 0.08, 0.5);
}

void floor_tile(cairo_t* cr, Noise& n) {
  base_fill(cr, rgb8(188, 178, 152));
  speckle(cr, n, kSize, kSize, 140, rgb8(176, 166, 140), 0.06, 0.6);
  bevel(cr, 0, 2, rgb8(222, 214, 190), rgb8(140, 128, 104), 0.9);
  // A faint cross of grout splits the slab in four.
  set(cr, rgb8(150, 140, 116), 0.35);
  cairo_rectangle(cr, 23.5, 3, 1, 42);
  cairo_rectangle(cr, 3, 23.5, 42, 1);
  cairo_fill(cr);
}

void grass_blades(cairo_t* cr, Noise& n, int count, double top, double height) {
  cairo_set_line_width(cr, 1.2);
  for (int i = 0; i < count; ++i) {
    const double x = n.range(0, kSize), y = n.range(top, top + height);
    const double g = n.range(0.45, 0.8);
    set(cr, {g * 0.45, g, g * 0.35}, n.range(0.5, 0.9));
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + n.range(-2.5, 2.5), y - n.range(3, 6));
    cairo_stroke(cr);
  }
}

void green(cairo_t* cr, Noise& n) {
  base_fill(cr, rgb8(58, 132, 52));
  speckle(cr, n, kSize, kSize, 90, rgb8(48, 112, 44), 0.07, 0.7);
  grass_blades(cr, n, 60, 4, 44);
}

void waves(cairo_t* cr, Noise& n, double top, double height, double alpha) {
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < 7; ++i) {
    const double x = n.range(-4, kSize - 10), y = n.range(top + 3, top + height - 3);
    set(cr, rgb8(150, 200, 250), alpha * n.range(0.5, 1.0));
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, x + 3, y - 3, x + 7, y - 3, x + 10, y);
    cairo_stroke(cr);
  }
}

void water_base(cairo_t* cr) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, kSize, kSize);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.16, 0.38, 0.78);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.10, 0.27, 0.64);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
}

void water(cairo_t* cr, Noise& n) {
  water_base(cr);
  waves(cr, n, 0, kSize, 0.8);
}

void painted(cairo_t* cr, Noise& n, Rgb base, Rgb light, Rgb dark) {
  base_fill(cr, base);
  speckle(cr, n, kSize, kSize, 60, base, 0.05, 0.5);
  // A glossy sheen across the upper half.
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, kSize);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.22);
  cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 0.0);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
  bevel(cr, 0, 3, light, dark, 0.9);
}

void blue(cairo_t* cr, Noise& n) {
  painted(cr, n, rgb8(72, 132, 230), rgb8(150, 196, 255), rgb8(36, 74, 160));
}

void pink(cairo_t* cr, Noise& n) {
  painted(cr, n, rgb8(226, 112, 188), rgb8(250, 182, 226), rgb8(150, 52, 120));
}

void diamond(cairo_t* cr, double cx, double cy, double r) {
  cairo_move_to(cr, cx, cy - r);
  cairo_line_to(cr, cx + r, cy);
  cairo_line_to(cr, cx, cy + r);
  cairo_line_to(cr, cx - r, cy);
  cairo_close_path(cr);
}

void fixed(cairo_t* cr, Noise& n) {
  painted(cr, n, rgb8(34, 76, 182), rgb8(110, 160, 245), rgb8(14, 34, 100));
  bevel(cr, 6, 2, rgb8(14, 34, 100), rgb8(110, 160, 245), 0.8);
  // A golden stud: this cell has paid out.
  diamond(cr, 24, 24, 7);
  cairo_pattern_t* p = cairo_pattern_create_linear(17, 17, 31, 31);
  cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.92, 0.55);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.78, 0.52, 0.1);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void pink_fixed(cairo_t* cr, Noise& n) {
  painted(cr, n, rgb8(156, 40, 124), rgb8(222, 110, 190), rgb8(88, 16, 70));
  bevel(cr, 6, 2, rgb8(88, 16, 70), rgb8(222, 110, 190), 0.8);
  // A small padlock: locked by the foes.
  set(cr, rgb8(60, 10, 48), 0.85);
  cairo_set_line_width(cr, 2.5);
  cairo_arc(cr, 24, 21, 5, M_PI, 2 * M_PI);
  cairo_stroke(cr);
  rounded_rect(cr, 17, 21, 14, 11, 2);
  cairo_fill(cr);
  set(cr, rgb8(232, 150, 210), 0.9);
  circle(cr, 24, 26, 1.6);
  cairo_fill(cr);
}

// Edge tiles: a band of the neighbour's influence along the left (east-facing) or top side.
enum class Side { Left, Top };

void band(cairo_t* cr, Side side, double depth, Rgb c, double alpha_outer, double alpha_inner) {
  cairo_pattern_t* p = side == Side::Left ? cairo_pattern_create_linear(0, 0, depth, 0)
                                          : cairo_pattern_create_linear(0, 0, 0, depth);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha_outer);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, alpha_inner);
  cairo_set_source(cr, p);
  if (side == Side::Left) cairo_rectangle(cr, 0, 0, depth, kSize);
  else cairo_rectangle(cr, 0, 0, kSize, depth);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void bank(cairo_t* cr, Noise& n, Side side) {
  base_fill(cr, rgb8(150, 128, 96));
  speckle(cr, n, kSize, kSize, 120, rgb8(140, 118, 88), 0.07, 0.7);
  band(cr, side, 14, rgb8(20, 20, 40), 0.8, 0.0);  // the wall's shadow
}

void grassy_water(cairo_t* cr, Noise& n, Side side) {
  water(cr, n);
  const double d = 9;
  if (side == Side::Left) fill_rect(cr, 0, 0, d, kSize, rgb8(58, 132, 52));
  else fill_rect(cr, 0, 0, kSize, d, rgb8(58, 132, 52));
  // Tufts hang over the water's edge.
  for (int i = 0; i < 12; ++i) {
    const double along = n.range(0, kSize), reach = n.range(2, 5);
    set(cr, rgb8(70, 150, 60), 0.9);
    if (side == Side::Left) circle(cr, d, along, reach);
    else circle(cr, along, d, reach);
    cairo_fill(cr);
  }
}

void shore_grass(cairo_t* cr, Noise& n, Side side) {
  green(cr, n);
  const double d = 10;
  if (side == Side::Left) fill_rect(cr, 0, 0, d, kSize, rgb8(206, 188, 130));
  else fill_rect(cr, 0, 0, kSize, d, rgb8(206, 188, 130));
  band(cr, side, 5, rgb8(40, 100, 200), 0.7, 0.0);
}

struct TileArt {
  const char* file;
  void (*draw)(cairo_t*, Noise&);
};

void wall_e(cairo_t* cr, Noise& n) { bank(cr, n, Side::Left); }
void wall_s(cairo_t* cr, Noise& n) { bank(cr, n, Side::Top); }
void green_e(cairo_t* cr, Noise& n) { grassy_water(cr, n, Side::Left); }
void green_s(cairo_t* cr, Noise& n) { grassy_water(cr, n, Side::Top); }
void water_e(cairo_t* cr, Noise& n) { shore_grass(cr, n, Side::Left); }
void water_s(cairo_t* cr, Noise& n) { shore_grass(cr, n, Side::Top); }

const TileArt kArt[] = {
    {"wall.png", wall},       {"floor.png", floor_tile}, {"green.png", green},
    {"water.png", water},     {"blue.png", blue},        {"fixed.png", fixed},
    {"pink.png", pink},       {"pinkfixed.png", pink_fixed}, {"wall_e.png", wall_e},
    {"wall_s.png", wall_s},   {"green_e.png", green_e},  {"green_s.png", green_s},
    {"water_e.png", water_e}, {"water_s.png", water_s},
};

}  // namespace

void write_tiles() {
  uint64_t seed = 1;
  for (const auto& art : kArt) {
    Canvas canvas(kSize, kSize);
    Noise noise(seed++);
    art.draw(canvas.cr, noise);
    save_png(canvas, std::string(layout::kTiles) + art.file, 255, 0, 255);
  }
  // Every graphic a content file names must exist.
  auto check = [](const std::vector<TileKind>& kinds) {
    for (const auto& k : kinds) {
      bool found = false;
      for (const auto& art : kArt) found = found || k.gfx == art.file;
      if (!found) fail("no tile graphic drawn for " + k.gfx);
    }
  };
  check(tile_kinds());
  check(map_kinds());
}

}  // namespace assets
