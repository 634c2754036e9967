// Drawing helpers over cairo for the data set's pictures.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace assets {

struct Rgb {
  double r, g, b;  // 0..1
};
inline Rgb rgb8(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// An ARGB image with its cairo context; starts fully transparent.
struct Canvas {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  int width = 0, height = 0;
  Canvas(int w, int h);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
};

// Small deterministic generator for textures, so every run draws the same pixels.
struct Noise {
  uint64_t state;
  explicit Noise(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t next();
  double unit();                     // 0..1
  double range(double lo, double hi);
};

void set(cairo_t* cr, Rgb c, double alpha = 1.0);
void fill_rect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double alpha = 1.0);
void circle(cairo_t* cr, double x, double y, double r);
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);
// Grain: n small specks in colours around c.
void speckle(cairo_t* cr, Noise& noise, int w, int h, int n, Rgb c, double spread, double alpha);

// Nudges every visible pixel whose colour, as the PNG will store it, equals the key, so the
// game's colour keying never punches holes into what must show.
void avoid_key(Canvas& canvas, int r, int g, int b);
// Writes the canvas as PNG to output_root + relative after keeping the key colour out.
void save_png(Canvas& canvas, const std::string& relative, int key_r, int key_g, int key_b);

}  // namespace assets
