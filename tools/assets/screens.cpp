// The intro pictures (one of two is chosen at random) and the title picture. They are
// stretched to the screen, so they are drawn at 16:9 and keep the text bands calm and dark.
// They are drawn on a 1280 x 720 plan and stored at 2560 x 1440, so that no screen up to that
// size has to enlarge them.
#include <cmath>
#include <string>

#include "canvas.h"
#include "files.h"
#include "generators.h"
#include "layout.h"

namespace assets {

namespace {

constexpr int kW = 1280, kH = 720;
constexpr int kStored = 2;  // stored pixels per pixel of the plan

void sky(cairo_t* cr, Rgb top, Rgb bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, kH);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
}

void stars(cairo_t* cr, Noise& n, int count) {
  for (int i = 0; i < count; ++i) {
    const double x = n.range(0, kW), y = n.range(0, kH), r = n.range(0.4, 1.5);
    set(cr, {0.8, 0.85, 1.0}, n.range(0.2, 0.8));
    circle(cr, x, y, r);
    cairo_fill(cr);
  }
}

void halo(cairo_t* cr, double x, double y, double r, Rgb c, double a) {
  cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, a);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, x - r, y - r, 2 * r, 2 * r);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// A floor in perspective made of labyrinth cells: walls, painted and fixed tiles.
void maze_floor(cairo_t* cr, Noise& n, double horizon, Rgb paint, Rgb fixed) {
  const int cols = 24, rows = 9;
  const double vx = kW / 2.0;
  auto project = [&](double gx, double gy, double& sx, double& sy) {
    const double depth = 1.0 + gy * 0.55;  // rows further back shrink
    sx = vx + (gx - cols / 2.0) * 150.0 / depth;
    sy = kH - (kH - horizon) * (1.0 - 1.0 / depth) * 1.25;
  };
  for (int gy = rows - 1; gy >= 0; --gy)
    for (int gx = 0; gx < cols; ++gx) {
      double x0, y0, x1, y1, x2, y2, x3, y3;
      project(gx, gy, x0, y0);
      project(gx + 1, gy, x1, y1);
      project(gx + 1, gy + 1, x2, y2);
      project(gx, gy + 1, x3, y3);
      cairo_move_to(cr, x0, y0);
      cairo_line_to(cr, x1, y1);
      cairo_line_to(cr, x2, y2);
      cairo_line_to(cr, x3, y3);
      cairo_close_path(cr);
      const double pick = n.unit();
      const double fade = 1.0 - gy / double(rows) * 0.75;
      Rgb c = pick < 0.22 ? rgb8(30, 32, 58) : pick < 0.55 ? paint : pick < 0.7 ? fixed : rgb8(90, 84, 74);
      set(cr, {c.r * fade, c.g * fade, c.b * fade});
      cairo_fill_preserve(cr);
      set(cr, {0.5, 0.7, 1.0}, 0.25 * fade);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
    }
}

void text_panel(cairo_t* cr, double y0, double y1) {
  rounded_rect(cr, kW * 0.07, kH * y0, kW * 0.86, kH * (y1 - y0), 18);
  set(cr, rgb8(4, 6, 20), 0.55);
  cairo_fill_preserve(cr);
  set(cr, rgb8(90, 140, 255), 0.35);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void intro(int variant) {
  Canvas canvas(kW * kStored, kH * kStored);
  cairo_t* cr = canvas.cr;
  cairo_scale(cr, kStored, kStored);
  Noise n(100 + uint64_t(variant));
  if (variant == 0) sky(cr, rgb8(4, 8, 30), rgb8(18, 30, 80));
  else sky(cr, rgb8(16, 4, 30), rgb8(60, 18, 70));
  stars(cr, n, 260);
  halo(cr, kW * 0.5, kH * 0.82, 520, variant == 0 ? rgb8(60, 140, 255) : rgb8(230, 90, 200), 0.35);
  if (variant == 0) maze_floor(cr, n, kH * 0.74, rgb8(70, 130, 230), rgb8(34, 76, 182));
  else maze_floor(cr, n, kH * 0.74, rgb8(226, 112, 188), rgb8(156, 40, 124));
  text_panel(cr, 0.26, 0.76);
  text_panel(cr, 0.78, 0.87);  // behind the presenter lines of the later pages
  save_png(canvas, std::string(layout::kScreens) + "intro" + std::to_string(variant) + ".png", 255,
           0, 255);
}

void title() {
  Canvas canvas(kW * kStored, kH * kStored);
  cairo_t* cr = canvas.cr;
  cairo_scale(cr, kStored, kStored);
  Noise n(300);
  sky(cr, rgb8(2, 4, 18), rgb8(12, 16, 44));
  stars(cr, n, 320);
  // A labyrinth skyline along the top: blocks of cells in the game's colours.
  const int cell = 32;
  for (int x = 0; x < kW / cell; ++x) {
    const int height = 2 + int(n.range(0, 4.99));
    for (int y = 0; y < height; ++y) {
      const double pick = n.unit();
      const Rgb c = pick < 0.35 ? rgb8(34, 36, 62) : pick < 0.6 ? rgb8(72, 132, 230)
                    : pick < 0.75 ? rgb8(34, 76, 182) : pick < 0.87 ? rgb8(226, 112, 188)
                                                      : rgb8(58, 132, 52);
      const double fade = 1.0 - y * 0.16;
      rounded_rect(cr, x * cell + 1, y * cell + 1, cell - 2, cell - 2, 4);
      set(cr, {c.r * fade, c.g * fade, c.b * fade});
      cairo_fill(cr);
    }
  }
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, kH * 0.3);
  cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0.05, 0.0);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.01, 0.015, 0.07, 1.0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 0, kW, kH * 0.3);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Light behind the title and a floor strip at the bottom.
  halo(cr, kW * 0.45, kH * 0.52, 620, rgb8(40, 90, 220), 0.4);
  halo(cr, kW * 0.2, kH * 0.5, 300, rgb8(200, 60, 200), 0.18);
  for (int x = 0; x < kW / cell; ++x) {
    const double pick = n.unit();
    const Rgb c = pick < 0.5 ? rgb8(72, 132, 230) : pick < 0.8 ? rgb8(34, 76, 182) : rgb8(226, 112, 188);
    rounded_rect(cr, x * cell + 1, kH - cell + 1, cell - 2, cell - 2, 4);
    set(cr, c, 0.85);
    cairo_fill(cr);
  }
  fill_rect(cr, 0, kH - cell - 3, kW, 2, rgb8(140, 190, 255), 0.6);
  save_png(canvas, std::string(layout::kScreens) + "title.png", 255, 0, 255);
}

}  // namespace

void write_screens() {
  intro(0);
  intro(1);
  title();
}

}  // namespace assets
