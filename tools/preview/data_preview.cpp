// Draws a contact sheet of a data set to one PNG: tiles, objects, the player, floaters, the font
// with sample HUD lines, and the hand-made map laid out with its tiles and objects. Colour keys
// are applied as the game does (magenta for tiles, white for objects and glyphs, black for
// floaters), so what shows here is what shows in play.
//
// Usage: data_preview START_DIRECTORY OUTPUT.png
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

std::string root;

cairo_surface_t* load(const std::string& relative, int kr, int kg, int kb) {
  cairo_surface_t* s = cairo_image_surface_create_from_png((root + relative).c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "cannot load %s\n", relative.c_str());
    return nullptr;
  }
  cairo_surface_flush(s);
  unsigned char* d = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < cairo_image_surface_get_height(s); ++y)
    for (int x = 0; x < cairo_image_surface_get_width(s); ++x) {
      uint32_t* p = reinterpret_cast<uint32_t*>(d + y * stride) + x;
      const uint32_t a = *p >> 24;
      if (a == 0) continue;
      const uint32_t r = ((*p >> 16) & 255) * 255 / a, g = ((*p >> 8) & 255) * 255 / a, b = (*p & 255) * 255 / a;
      if (int(r) == kr && int(g) == kg && int(b) == kb) *p = 0;
    }
  cairo_surface_mark_dirty(s);
  return s;
}

void draw(cairo_t* cr, cairo_surface_t* s, double x, double y, double scale = 1, bool additive = false) {
  if (!s) return;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  if (additive) cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
}

std::vector<std::string> files(const std::string& dir) {
  std::vector<std::string> out;
  for (auto& e : std::filesystem::directory_iterator(root + dir))
    if (e.path().extension() == ".png") out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> lines(const std::string& relative) {
  std::ifstream in(root + relative, std::ios::binary);
  std::vector<std::string> out;
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

std::map<std::string, std::string> pairs(const std::string& relative) {
  auto l = lines(relative);
  std::map<std::string, std::string> out;
  for (size_t i = 0; i + 1 < l.size(); i += 2) out[l[i]] = l[i + 1];
  return out;
}

struct Font {
  std::map<unsigned char, cairo_surface_t*> glyphs;
  double zoom = 1;
  double text(cairo_t* cr, const std::string& t, double x, double y, double scale) {
    double pen = 0;
    const double space = glyphs.count('I') ? cairo_image_surface_get_width(glyphs['I']) * zoom : 10;
    for (unsigned char c : t) {
      if (c == '|') { pen = 0; continue; }
      if (c == ' ') { pen += space; continue; }
      if (!glyphs.count(c)) continue;
      draw(cr, glyphs[c], x + pen, y, zoom * scale);
      pen += cairo_image_surface_get_width(glyphs[c]) * zoom * scale;
    }
    return pen;
  }
};

std::string glyph_name(unsigned char c) {
  static const std::map<unsigned char, std::string> named = {
      {'.', "POINT"}, {'?', "ASK"}, {'[', "FLOPPY"}, {']', "FLOPPYB"}, {'-', "MINUS"},
      {'"', "FUEL"}, {'(', "LEFT"}, {')', "RIGHT"}, {':', "POINTPOINT"}, {'*', "STERN"},
      {'+', "PLUS"}, {'&', "BOMB"}, {0xF6, "NOBOMB"}, {0xD6, "NOBOMB"}, {0xC4, "HERZ"},
      {0xE4, "HERZ"}, {'@', "LIFE"}, {0xDC, "_u"}, {0xDF, "S"}};
  if (named.count(c)) return named.at(c);
  if (c >= 'a' && c <= 'z') return std::string("_") + char(c);
  return std::string(1, char(c));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: data_preview START_DIRECTORY OUTPUT.png\n");
    return 2;
  }
  root = std::string(argv[1]) + "/";
  const int W = 1600, H = 1600;
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, W, H);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.25, 0.25, 0.28);
  cairo_paint(cr);

  double x = 10;
  for (auto& f : files("DATA/GFX/TILES/")) {
    draw(cr, load("DATA/GFX/TILES/" + f, 255, 0, 255), x, 10, 1.5);
    x += 80;
  }
  x = 10;
  for (auto& f : files("DATA/GFX/OBJECTS/")) {
    cairo_set_source_rgb(cr, 0.74, 0.7, 0.6);
    cairo_rectangle(cr, x, 100, 72, 72);
    cairo_fill(cr);
    draw(cr, load("DATA/GFX/OBJECTS/" + f, 255, 255, 255), x, 100, 1.5);
    x += 80;
  }
  draw(cr, load("DATA/GFX/player.png", 255, 255, 255), x, 100, 1.5);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_rectangle(cr, 0, 185, W, 140);
  cairo_fill(cr);
  x = 10;
  for (auto& dir : {"DATA/GFX/FLOATERS/", "DATA/GFX/TITLEFLOATERS/"})
    for (auto& f : files(dir)) {
      draw(cr, load(std::string(dir) + f, 0, 0, 0), x, 190, 1, true);
      x += 140;
    }

  // Font, at the size it has on a 1920 pixel wide screen.
  Font font;
  const auto ini = pairs("DATA/ini.txt");
  font.zoom = 1920.0 / std::stod(ini.at("RESBASEW"));
  const std::string charset = lines("DATA/FONT/charset.txt").at(0);
  for (unsigned char c : charset)
    font.glyphs[c] = load("DATA/FONT/" + glyph_name(c) + ".png", 255, 255, 255);
  std::string all;
  for (auto& [c, s] : font.glyphs) all += char(c);
  font.text(cr, all.substr(0, 40), 10, 335, 0.8);
  font.text(cr, all.substr(40), 10, 385, 0.8);
  font.text(cr, " SCORE 12345|", 10, 440, 1);
  font.text(cr, " \xF6\xF6\xF6 |", 500, 440, 1);
  font.text(cr, " &&|", 500, 440, 1);
  font.text(cr, " TILES LEFT 37|", 750, 440, 1);
  font.text(cr, "  PLAYER:zorvane_fan|", 1200, 450, 0.5);
  font.text(cr, "  ZORVANE |", 10, 480, 3);

  // The hand-made map with its tiles, alpha and objects.
  const auto ai = lines("DATA/LEVELS/DEFAULT.ai42"), red = lines("DATA/LEVELS/DEFAULT.red");
  const int mw = std::stoi(ai.at(1)) + 1, mh = std::stoi(ai.at(2)) + 1;
  std::map<std::string, cairo_surface_t*> tiles, objects;
  std::map<std::string, std::string> object_file;
  for (auto& f : files("DATA/GFX/OBJECTS/")) {
    auto def = pairs("DATA/GFX/OBJECTS/" + f.substr(0, f.size() - 4) + ".dll");
    object_file[def["DGFXNAME"]] = f;
  }
  const double cell = 30, ox = 10, oy = 660;
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_rectangle(cr, ox, oy, mw * cell, mh * cell);
  cairo_fill(cr);
  size_t i = 5;
  for (int cx = 0; cx < mw; ++cx)
    for (int cy = 0; cy < mh; ++cy, i += 3) {
      const std::string kind = ai.at(i) + ai.at(i + 1) + ai.at(i + 2);
      auto content = pairs("DATA/LEVELS/DEFAULT/" + kind);
      const std::string gfx = content["GFXNAME"];
      if (!tiles.count(gfx)) tiles[gfx] = load("DATA/GFX/TILES/" + gfx, 255, 0, 255);
      const double alpha = std::stoi(red.at(5 + size_t(cx * mh + cy))) / 255.0;
      cairo_save(cr);
      cairo_translate(cr, ox + cx * cell, oy + cy * cell);
      cairo_scale(cr, cell / 48, cell / 48);
      cairo_set_source_surface(cr, tiles[gfx], 0, 0);
      cairo_paint_with_alpha(cr, alpha);
      const std::string child = content["CHILD1"];
      if (object_file.count(child)) {
        const std::string f = object_file[child];
        if (!objects.count(f)) objects[f] = load("DATA/GFX/OBJECTS/" + f, 255, 255, 255);
        cairo_set_source_surface(cr, objects[f], 0, 0);
        cairo_paint(cr);
      }
      cairo_restore(cr);
    }
  // Intro and title pictures, small.
  x = ox + mw * cell + 20;
  double y = 660;
  for (auto& f : files("DATA/GFX/SCREENS/")) {
    draw(cr, load("DATA/GFX/SCREENS/" + f, 255, 0, 255), x, y, 0.4);
    y += 300;
  }
  font.zoom *= 0.4 * 1280 / 1920;
  font.text(cr, "  ZORVANE |", x + 0.1 * 512, 1260 + 0.4 * 288, 6);
  font.text(cr, "  PRESS  P  ON KEYBOARD TO CONTINUE|", x + 0.1 * 512, 1260 + 0.65 * 288, 0.8);
  font.text(cr, "  A GAME BY THE ZORVANE TEAM |", x + 0.1 * 512, 960 + 0.8 * 288, 1);
  font.text(cr, "  THIS IS AN ALPHA PREVIEW OF MY NEXT GAMEPROJECT.|", x + 0.1 * 512, 660 + 0.3 * 288, 1);
  cairo_surface_write_to_png(sheet, argv[2]);
  return 0;
}
