// The tile layer against plain drawing: a pass the layer can keep and one it must give up on, over
// frames in which the clear colour, the origin, the alpha and the content move. Every frame must
// come out as plain drawing draws it (the game's own passes are compared in CachedFrames).
#include "platform/platform_fixture.h"

namespace {

constexpr int32_t W = 88;  // five and a half 16-pixel cells
constexpr int32_t H = 56;
constexpr int32_t FRAMES = 6;

// Two soft-edged 4 x 4 tiles stretched to a 16-pixel cell, and a 6 x 6 object.
struct Quads {
  int32_t tile, other, small;
};

Quads make_quads(const testfiles::TempDir& dir) {
  const auto png = [&](const std::string& name, int32_t size, int32_t r, int32_t g, int32_t zoom) {
    std::vector<uint8_t> rgba;
    for (int32_t i = 0; i < size * size; ++i) {
      rgba.insert(rgba.end(), {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(i * 7),
                               static_cast<uint8_t>(255 - 11 * i)});
    }
    testfiles::write_png_pixels(dir.file(name), size, size, rgba);
    const int32_t quad = sprite3d_create(-1, sprite_load(-1, dir.file(name), SPRITE_TEXTURE));
    sprite3d_zoom(quad, zoom, zoom);
    return quad;
  };
  return {png("tile.png", 4, 200, 40, 16), png("other.png", 4, 30, 220, 16), png("small.png", 6, 250, 250, 6)};
}

// One frame of a scene: frame number, the quads, the origin the scene gives its pass.
using Scene = std::function<void(int32_t frame, const Quads& q)>;

// A grid of tiles with (x0, y0) at the origin, the other tile where (c + r + frame) % 3 == 0.
void tiles(int32_t frame, const Quads& q, int32_t x0, int32_t y0, int32_t alpha = 200) {
  for (int32_t r = -1; r < 5; ++r) {
    for (int32_t c = -1; c < 7; ++c) {
      tile_layer_draw((c + r + frame) % 3 == 0 ? q.other : q.tile, x0 + 16 * c, y0 + 16 * r, alpha);
    }
  }
}

std::vector<std::vector<int32_t>> run(const Scene& scene, bool plain) {
  testing_force_plain_drawing(plain);
  testfiles::TempDir dir;
  EXPECT_NE(testing_open_screen(W, H), 0);
  const Quads q = make_quads(dir);
  std::vector<std::vector<int32_t>> frames;
  for (int32_t frame = 0; frame < FRAMES; ++frame) {
    sprite3d_begin();
    scene(frame, q);
    sprite3d_end();
    frames.push_back(testing_read_screen());
    screen_flip();
  }
  testing_reset_platform();
  testing_force_plain_drawing(false);
  return frames;
}

TEST(TileLayer, EveryPassDrawsWhatPlainDrawingDraws) {
  testing_set_frame_pacing(false);
  const std::vector<std::pair<const char*, Scene>> scenes = {
      {"kept grid under a glow, scrolling by cells and by pixels, alpha and clear colour changing",
       [](int32_t f, const Quads& q) {
         screen_clear(f == 5 ? rgb(90, 0, 60) : rgb(10, 20, 30));
         sprite3d_blend_mode(2, 5);
         sprite3d_draw(q.small, 20 + 7 * f, 12, 255);
         sprite3d_blend_mode(5, 6);
         const int32_t x0 = f < 4 ? -16 * (f / 2) : -5 * f;
         const int32_t y0 = f < 4 ? 0 : 3 * f;
         tile_layer_begin(x0, y0);
         tiles(f, q, x0, y0, f == 3 ? 120 : 200);
         sprite3d_blend_mode(2, 2);
         tile_layer_draw(q.small, x0 + 16 * 2 + 5, 21, 180);  // an object inside a cell
         sprite3d_blend_mode(5, 6);
         tile_layer_end();
         sprite3d_draw(q.small, 50, 30 - f, 255);  // over the layer, as the player is
       }},
      {"passes given up: a draw off the grid, a turned one, a box drawn or a pixel read in the middle",
       [](int32_t f, const Quads& q) {
         if (f != 4) screen_clear(rgb(0, 40, 0));
         tile_layer_begin(0, 0);
         tiles(f, q, 0, 0);
         if (f % 2 == 1) tile_layer_draw(q.tile, 8, 8, 255);
         if (f == 2) testing_read_pixel(1, 1);
         if (f == 4) draw_box(10, 10, 30, 5, rgb(255, 255, 0));
         sprite3d_rotate(q.small, f >= 3 ? 30 : 0, 0);
         tile_layer_draw(q.small, 33, 17, 255);
         sprite3d_rotate(q.small, 0, 0);
         tile_layer_end();
       }},
  };
  for (const auto& [name, scene] : scenes) {
    SCOPED_TRACE(name);
    const auto kept = run(scene, false);
    const auto plain = run(scene, true);
    ASSERT_EQ(plain.at(0).size(), static_cast<size_t>(W * H));
    for (size_t f = 0; f < plain.size(); ++f) EXPECT_EQ(kept.at(f), plain.at(f)) << "frame " << f;
  }
}

}  // namespace
