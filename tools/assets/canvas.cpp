#include "canvas.h"

#include <cmath>

#include "files.h"

namespace assets {

Canvas::Canvas(int w, int h) : width(w), height(h) {
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cr = cairo_create(surface);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) fail("cairo cannot make a canvas");
}

Canvas::~Canvas() {
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

uint32_t Noise::next() {
  state ^= state >> 12;
  state ^= state << 25;
  state ^= state >> 27;
  return uint32_t((state * 0x2545F4914F6CDD1Dull) >> 32);
}
double Noise::unit() { return next() / 4294967295.0; }
double Noise::range(double lo, double hi) { return lo + (hi - lo) * unit(); }

void set(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void fill_rect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double alpha) {
  set(cr, c, alpha);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void circle(cairo_t* cr, double x, double y, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void speckle(cairo_t* cr, Noise& noise, int w, int h, int n, Rgb c, double spread, double alpha) {
  for (int i = 0; i < n; ++i) {
    const double d = noise.range(-spread, spread);
    set(cr, {c.r + d, c.g + d, c.b + d}, alpha * noise.range(0.4, 1.0));
    const double s = noise.range(0.8, 2.2);
    cairo_rectangle(cr, std::floor(noise.range(0, w)), std::floor(noise.range(0, h)), s, s);
    cairo_fill(cr);
  }
}

void avoid_key(Canvas& canvas, int kr, int kg, int kb) {
  cairo_surface_flush(canvas.surface);
  unsigned char* data = cairo_image_surface_get_data(canvas.surface);
  const int stride = cairo_image_surface_get_stride(canvas.surface);
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) {
      uint32_t* px = reinterpret_cast<uint32_t*>(data + y * stride) + x;
      const uint32_t a = *px >> 24;
      if (a == 0) continue;
      // The PNG writer un-premultiplies like this; compare what will be stored.
      auto stored = [a](uint32_t c) { return (c * 255 + a / 2) / a; };
      for (int tries = 0; tries < 4; ++tries) {
        uint32_t r = (*px >> 16) & 255, g = (*px >> 8) & 255, b = *px & 255;
        if (stored(r) != uint32_t(kr) || stored(g) != uint32_t(kg) || stored(b) != uint32_t(kb)) break;
        // Move the channel with room towards grey by one premultiplied step.
        if (g > 0 && kg == 255) --g;
        else if (g < a && kg == 0) ++g;
        else if (r > 0) --r;
        else ++r;
        *px = (a << 24) | (r << 16) | (g << 8) | b;
      }
    }
  cairo_surface_mark_dirty(canvas.surface);
}

void save_png(Canvas& canvas, const std::string& relative, int key_r, int key_g, int key_b) {
  avoid_key(canvas, key_r, key_g, key_b);
  const std::string path = out_path(relative);
  if (cairo_surface_write_to_png(canvas.surface, path.c_str()) != CAIRO_STATUS_SUCCESS)
    fail("cannot write " + path);
}

}  // namespace assets
