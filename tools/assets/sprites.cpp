// Object images (white is their colour key), the player figure and the floating glows (black
// is their colour key; they are drawn additively, so they are opaque and nearly black).
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

void radial(cairo_t* cr, double cx, double cy, double r, Rgb inner, Rgb outer, double a_in = 1,
            double a_out = 1) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, r * 0.1, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(p, 0, inner.r, inner.g, inner.b, a_in);
  cairo_pattern_add_color_stop_rgba(p, 1, outer.r, outer.g, outer.b, a_out);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);  // the context keeps its own reference
}

void shadow(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.35);
  cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
  cairo_set_source(cr, p);
  circle(cr, 0, 0, 1);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void gem(cairo_t* cr) {
  shadow(cr, 24, 40, 14, 4);
  // A cut stone: crown and pavilion facets in shades of teal.
  const double pts[][2] = {{12, 18}, {18, 10}, {30, 10}, {36, 18}, {24, 38}};
  cairo_move_to(cr, pts[0][0], pts[0][1]);
  for (auto& p : pts) cairo_line_to(cr, p[0], p[1]);
  cairo_close_path(cr);
  set(cr, rgb8(20, 170, 170));
  cairo_fill_preserve(cr);
  set(cr, rgb8(10, 80, 90));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  auto facet = [cr](std::initializer_list<std::pair<double, double>> p, Rgb c, double a) {
    bool first = true;
    for (auto& v : p) {
      if (first) cairo_move_to(cr, v.first, v.second);
      else cairo_line_to(cr, v.first, v.second);
      first = false;
    }
    cairo_close_path(cr);
    set(cr, c, a);
    cairo_fill(cr);
  };
  facet({{12, 18}, {18, 10}, {21, 18}}, rgb8(120, 240, 230), 0.9);
  facet({{21, 18}, {18, 10}, {30, 10}, {27, 18}}, rgb8(180, 252, 245), 0.9);
  facet({{27, 18}, {30, 10}, {36, 18}}, rgb8(60, 200, 200), 0.9);
  facet({{12, 18}, {21, 18}, {24, 38}}, rgb8(40, 190, 190), 0.9);
  facet({{21, 18}, {27, 18}, {24, 38}}, rgb8(90, 225, 220), 0.9);
  facet({{27, 18}, {36, 18}, {24, 38}}, rgb8(14, 120, 130), 0.9);
  set(cr, rgb8(250, 252, 250), 0.9);
  circle(cr, 20, 13, 1.6);
  cairo_fill(cr);
}

void bomb(cairo_t* cr) {
  shadow(cr, 24, 41, 13, 4);
  radial(cr, 22, 27, 13, rgb8(110, 110, 130), rgb8(22, 22, 30));
  circle(cr, 22, 27, 13);
  cairo_fill(cr);
  fill_rect(cr, 26, 11, 8, 6, rgb8(70, 70, 84));
  set(cr, rgb8(170, 130, 80));
  cairo_set_line_width(cr, 2);
  cairo_move_to(cr, 30, 11);
  cairo_curve_to(cr, 32, 5, 37, 8, 38, 5);
  cairo_stroke(cr);
  // The spark.
  radial(cr, 38, 5, 5, rgb8(255, 250, 180), rgb8(255, 120, 0), 1, 0);
  circle(cr, 38, 5, 5);
  cairo_fill(cr);
}

void clock_face(cairo_t* cr) {
  shadow(cr, 24, 42, 13, 3.5);
  radial(cr, 24, 24, 16, rgb8(255, 214, 90), rgb8(210, 120, 20));
  circle(cr, 24, 24, 16);
  cairo_fill(cr);
  set(cr, rgb8(252, 246, 226));
  circle(cr, 24, 24, 12);
  cairo_fill(cr);
  set(cr, rgb8(70, 40, 20));
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    circle(cr, 24 + 10 * std::cos(a), 24 + 10 * std::sin(a), i % 3 == 0 ? 1.3 : 0.7);
    cairo_fill(cr);
  }
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, 24, 24);
  cairo_line_to(cr, 24, 16);
  cairo_move_to(cr, 24, 24);
  cairo_line_to(cr, 30, 27);
  cairo_stroke(cr);
  fill_rect(cr, 21, 4, 6, 4, rgb8(200, 110, 20));
}

void hourglass(cairo_t* cr) {
  shadow(cr, 24, 43, 12, 3);
  fill_rect(cr, 12, 6, 24, 4, rgb8(120, 70, 30));
  fill_rect(cr, 12, 38, 24, 4, rgb8(120, 70, 30));
  set(cr, rgb8(200, 230, 250), 0.55);
  cairo_move_to(cr, 15, 10);
  cairo_line_to(cr, 33, 10);
  cairo_line_to(cr, 25, 24);
  cairo_line_to(cr, 33, 38);
  cairo_line_to(cr, 15, 38);
  cairo_line_to(cr, 23, 24);
  cairo_close_path(cr);
  cairo_fill(cr);
  set(cr, rgb8(240, 190, 80));
  cairo_move_to(cr, 18, 14);
  cairo_line_to(cr, 30, 14);
  cairo_line_to(cr, 24, 22);
  cairo_close_path(cr);
  cairo_move_to(cr, 24, 28);
  cairo_line_to(cr, 31, 37);
  cairo_line_to(cr, 17, 37);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void star_shape(cairo_t* cr, double cx, double cy, double r_out, double r_in, int points,
                double turn) {
  for (int i = 0; i < points * 2; ++i) {
    const double a = turn + i * M_PI / points - M_PI / 2;
    const double r = i % 2 ? r_in : r_out;
    if (i == 0) cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    else cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

void star(cairo_t* cr) {
  shadow(cr, 24, 42, 13, 3.5);
  star_shape(cr, 24, 23, 18, 8, 5, 0);
  radial(cr, 24, 23, 18, rgb8(255, 244, 160), rgb8(230, 150, 20));
  cairo_fill_preserve(cr);
  set(cr, rgb8(150, 80, 10));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void flower(cairo_t* cr) {
  Noise n(77);
  const double spots[][2] = {{14, 16}, {32, 12}, {24, 30}, {36, 34}, {11, 35}};
  for (auto& s : spots) {
    const bool yellow = n.unit() < 0.4;
    const Rgb petal = yellow ? rgb8(250, 220, 70) : rgb8(240, 120, 170);
    for (int i = 0; i < 5; ++i) {
      const double a = i * 2 * M_PI / 5 + n.range(0, 1);
      set(cr, petal, 0.95);
      circle(cr, s[0] + 2.6 * std::cos(a), s[1] + 2.6 * std::sin(a), 2.2);
      cairo_fill(cr);
    }
    set(cr, yellow ? rgb8(200, 90, 20) : rgb8(250, 230, 120));
    circle(cr, s[0], s[1], 1.5);
    cairo_fill(cr);
  }
}

void lily(cairo_t* cr) {
  // A pad with its notch, and one bloom.
  set(cr, rgb8(40, 130, 50), 0.95);
  cairo_move_to(cr, 20, 26);
  cairo_arc(cr, 20, 26, 12, 0.5, 2 * M_PI - 0.1);
  cairo_close_path(cr);
  cairo_fill(cr);
  set(cr, rgb8(80, 170, 70), 0.9);
  cairo_set_line_width(cr, 1);
  for (int i = 0; i < 6; ++i) {
    const double a = 0.8 + i * 0.9;
    cairo_move_to(cr, 20, 26);
    cairo_line_to(cr, 20 + 10 * std::cos(a), 26 + 10 * std::sin(a));
  }
  cairo_stroke(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3;
    set(cr, rgb8(248, 180, 210), 0.95);
    circle(cr, 33 + 3 * std::cos(a), 16 + 3 * std::sin(a), 2.6);
    cairo_fill(cr);
  }
  set(cr, rgb8(250, 220, 90));
  circle(cr, 33, 16, 1.8);
  cairo_fill(cr);
}

void crawler(cairo_t* cr) {
  // A beetle seen from above, facing up; it does not turn, so it may be tall.
  set(cr, rgb8(40, 20, 20));
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < 3; ++i) {
    const double y = 19 + i * 7;
    cairo_move_to(cr, 16, y);
    cairo_line_to(cr, 8, y - 3 + i * 3);
    cairo_move_to(cr, 32, y);
    cairo_line_to(cr, 40, y - 3 + i * 3);
  }
  cairo_stroke(cr);
  radial(cr, 24, 27, 13, rgb8(250, 110, 80), rgb8(150, 20, 20));
  cairo_save(cr);
  cairo_translate(cr, 24, 27);
  cairo_scale(cr, 10, 13);
  circle(cr, 0, 0, 1);
  cairo_restore(cr);
  cairo_fill(cr);
  set(cr, rgb8(60, 10, 10), 0.8);
  cairo_move_to(cr, 24, 15);
  cairo_line_to(cr, 24, 40);
  cairo_stroke(cr);
  set(cr, rgb8(30, 20, 25));
  circle(cr, 24, 12, 5);
  cairo_fill(cr);
  set(cr, rgb8(250, 240, 120));
  circle(cr, 22, 11, 1.3);
  circle(cr, 26, 11, 1.3);
  cairo_fill(cr);
  for (auto s : {std::pair{20.0, 24.0}, {28, 24}, {21, 32}, {27, 32}}) {
    set(cr, rgb8(40, 5, 5), 0.7);
    circle(cr, s.first, s.second, 1.8);
    cairo_fill(cr);
  }
}

void spinner(cairo_t* cr) {
  // A round saw of eight teeth: it turns as it moves, so it is symmetric about its centre.
  star_shape(cr, 24, 24, 20, 12, 8, 0.2);
  radial(cr, 24, 24, 20, rgb8(255, 210, 120), rgb8(220, 60, 30));
  cairo_fill_preserve(cr);
  set(cr, rgb8(110, 20, 10));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  radial(cr, 24, 24, 8, rgb8(120, 40, 160), rgb8(40, 10, 70));
  circle(cr, 24, 24, 8);
  cairo_fill(cr);
  set(cr, rgb8(255, 220, 120));
  circle(cr, 24, 24, 2.5);
  cairo_fill(cr);
  set(cr, rgb8(200, 170, 240), 0.8);
  circle(cr, 21, 21, 1.5);
  cairo_fill(cr);
}

struct ObjectArt {
  const char* file;
  void (*draw)(cairo_t*);
};

const ObjectArt kObjects[] = {
    {"bomb.png", bomb},     {"clock.png", clock_face}, {"crawler.png", crawler},
    {"flower.png", flower}, {"gem.png", gem},          {"hourglass.png", hourglass},
    {"lily.png", lily},     {"spinner.png", spinner},  {"star.png", star},
};

// A glowing sphere of additive light on a nearly black ground.
void glow(cairo_t* cr, int size, Rgb c, double core, bool sparkle) {
  fill_rect(cr, 0, 0, size, size, rgb8(2, 2, 3));
  const double m = size / 2.0;
  cairo_pattern_t* p = cairo_pattern_create_radial(m, m, 0, m, m, m);
  cairo_pattern_add_color_stop_rgb(p, 0, c.r * core, c.g * core, c.b * core);
  cairo_pattern_add_color_stop_rgb(p, 0.35, c.r * 0.35, c.g * 0.35, c.b * 0.35);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.008, 0.008, 0.012);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 0, size, size);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  if (sparkle) {
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    for (int arm = 0; arm < 2; ++arm) {
      cairo_pattern_t* s = arm == 0 ? cairo_pattern_create_linear(0, m, size, m)
                                    : cairo_pattern_create_linear(m, 0, m, size);
      cairo_pattern_add_color_stop_rgba(s, 0, c.r, c.g, c.b, 0);
      cairo_pattern_add_color_stop_rgba(s, 0.5, c.r, c.g, c.b, 0.7);
      cairo_pattern_add_color_stop_rgba(s, 1, c.r, c.g, c.b, 0);
      cairo_set_source(cr, s);
      if (arm == 0) cairo_rectangle(cr, 0, m - 1, size, 2);
      else cairo_rectangle(cr, m - 1, 0, 2, size);
      cairo_fill(cr);
      cairo_pattern_destroy(s);
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  }
}

}  // namespace

void write_objects() {
  for (const auto& art : kObjects) {
    Canvas canvas(kSize, kSize);
    art.draw(canvas.cr);
    save_png(canvas, std::string(layout::kObjects) + art.file, 255, 255, 255);
  }
  for (const auto& d : object_defs()) {
    bool found = false;
    for (const auto& art : kObjects) found = found || d.file == art.file;
    if (!found) fail("no image drawn for object type " + d.file);
  }
}

namespace {

// The player: a round painter seen from above, with a face, so it reads as someone on every
// floor. It turns a degree every frame, so it is square and round. A dark halo parts it from
// light floors, the warm body from the blue and pink ones. Drawn for a square of `size` pixels.
void player_figure(cairo_t* cr, double size) {
  cairo_save(cr);
  cairo_scale(cr, size / 48.0, size / 48.0);
  cairo_pattern_t* halo = cairo_pattern_create_radial(24, 24, 15, 24, 24, 23.5);
  cairo_pattern_add_color_stop_rgba(halo, 0, 0.03, 0.03, 0.1, 0.75);
  cairo_pattern_add_color_stop_rgba(halo, 1, 0.03, 0.03, 0.1, 0.0);
  cairo_set_source(cr, halo);
  circle(cr, 24, 24, 23.5);
  cairo_fill(cr);
  cairo_pattern_destroy(halo);
  // A tuft of blue paint on the head: the figure paints what it walks on.
  for (const double dx : {-3.2, 0.0, 3.2}) {
    set(cr, rgb8(20, 30, 60));
    circle(cr, 24 + dx, 7.5 - (dx == 0 ? 1.5 : 0), 3.4);
    cairo_fill(cr);
  }
  for (const double dx : {-3.2, 0.0, 3.2}) {
    set(cr, rgb8(90, 160, 250));
    circle(cr, 24 + dx, 7.5 - (dx == 0 ? 1.5 : 0), 2.3);
    cairo_fill(cr);
  }
  radial(cr, 24, 25, 18, rgb8(255, 226, 120), rgb8(236, 120, 24));
  circle(cr, 24, 25, 17);
  cairo_fill_preserve(cr);
  set(cr, rgb8(48, 22, 8));
  cairo_set_line_width(cr, 2.2);
  cairo_stroke(cr);
  for (const double side : {-1.0, 1.0}) {
    const double ex = 24 + side * 6.5;
    cairo_save(cr);
    cairo_translate(cr, ex, 21);
    cairo_scale(cr, 4.6, 5.6);
    circle(cr, 0, 0, 1);
    cairo_restore(cr);
    set(cr, rgb8(252, 250, 244));
    cairo_fill_preserve(cr);
    set(cr, rgb8(48, 22, 8));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    set(cr, rgb8(20, 16, 30));
    circle(cr, ex + side * 0.8, 19.8, 2.6);
    cairo_fill(cr);
    set(cr, rgb8(250, 250, 250), 0.9);
    circle(cr, ex + side * 0.8 - 0.9, 18.8, 0.9);
    cairo_fill(cr);
  }
  set(cr, rgb8(230, 90, 70), 0.55);  // cheeks
  circle(cr, 13.5, 29, 2.4);
  circle(cr, 34.5, 29, 2.4);
  cairo_fill(cr);
  set(cr, rgb8(70, 24, 10));
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_arc(cr, 24, 28, 5.5, 0.2 * M_PI, 0.8 * M_PI);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace

void write_player() {
  Canvas canvas(kSize, kSize);
  player_figure(canvas.cr, kSize);
  save_png(canvas, layout::kPlayer, 255, 255, 255);
}

// The desktop icon: the player on a tile of blue floor.
void write_icon(const std::string& path) {
  constexpr int kIcon = 256;
  Canvas canvas(kIcon, kIcon);
  cairo_t* cr = canvas.cr;
  rounded_rect(cr, 8, 8, kIcon - 16, kIcon - 16, 36);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 8, 0, kIcon - 8);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.36, 0.6, 0.98);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.13, 0.3, 0.72);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  set(cr, rgb8(14, 34, 100));
  cairo_set_line_width(cr, 6);
  cairo_stroke(cr);
  cairo_translate(cr, 24, 24);
  player_figure(cr, kIcon - 48);
  cairo_surface_flush(canvas.surface);
  if (cairo_surface_write_to_png(canvas.surface, path.c_str()) != CAIRO_STATUS_SUCCESS) fail("cannot write " + path);
}

void write_floaters() {
  const struct {
    const char* dir;
    const char* file;
    int size;
    Rgb colour;
    double core;
    bool sparkle;
  } kFloaters[] = {
      {layout::kWorldFloaters, "glow_cyan.png", 96, rgb8(60, 200, 255), 0.55, false},
      {layout::kWorldFloaters, "glow_violet.png", 128, rgb8(170, 80, 255), 0.45, false},
      {layout::kWorldFloaters, "glow_amber.png", 72, rgb8(255, 170, 60), 0.6, false},
      {layout::kTitleFloaters, "spark_white.png", 64, rgb8(220, 235, 255), 0.9, true},
      {layout::kTitleFloaters, "spark_gold.png", 48, rgb8(255, 200, 90), 0.9, true},
  };
  for (const auto& f : kFloaters) {
    Canvas canvas(f.size, f.size);
    glow(canvas.cr, f.size, f.colour, f.core, f.sparkle);
    save_png(canvas, std::string(f.dir) + f.file, 0, 0, 0);
  }
}

}  // namespace assets
