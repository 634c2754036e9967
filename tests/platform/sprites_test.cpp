// Sprites and Sprite3D quads drawn on the headless screen and read back pixel by pixel, and the
// tile layer against plain drawing.
#include "platform/platform_fixture.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr int32_t MAGENTA = rgb(255, 0, 255);
constexpr int32_t BLUE = rgb(0, 0, 255);
constexpr int32_t RED = rgb(255, 0, 0);
constexpr int32_t GREEN = rgb(0, 255, 0);

::testing::AssertionResult near_colour(int32_t actual, int32_t expected) {
  for (int shift : {0, 8, 16}) {
    if (std::abs((actual >> shift & 0xFF) - (expected >> shift & 0xFF)) > 2) {
      return ::testing::AssertionFailure() << std::hex << "pixel 0x" << actual << ", expected 0x" << expected;
    }
  }
  return ::testing::AssertionSuccess();
}

std::pair<int32_t, int32_t> size_of(int32_t sprite) { return {sprite_width(sprite), sprite_height(sprite)}; }

// A Sprite3D w x h on screen of an image (written to path) whose pixel (x, y) is paint(x, y, alpha);
// alpha is 255 unless paint changes it.
template <typename Paint>
int32_t make_quad(const std::string& path, int32_t w, int32_t h, int32_t image_w, int32_t image_h, Paint paint) {
  std::vector<uint8_t> rgba;
  for (int32_t y = 0; y < image_h; ++y) {
    for (int32_t x = 0; x < image_w; ++x) {
      int32_t alpha = 255;
      const int32_t c = paint(x, y, alpha);
      rgba.insert(rgba.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8 & 0xFF), uint8_t(c >> 16 & 0xFF), uint8_t(alpha)});
    }
  }
  testfiles::write_png_pixels(path, image_w, image_h, rgba);
  const int32_t q = sprite3d_create(-1, sprite_load(-1, path));
  sprite3d_zoom(q, w, h);
  return q;
}

class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_set_frame_pacing(false);
    ASSERT_NE(testing_open_screen(64, 64), 0);
  }
  void TearDown() override { testing_reset_platform(); }

  template <typename Paint>
  int32_t quad(int32_t w, int32_t h, int32_t image_w, int32_t image_h, Paint paint) {
    return make_quad(temp.file("image" + std::to_string(++images) + ".png"), w, h, image_w, image_h, paint);
  }
  testfiles::TempDir temp;
  int images = 0;
};

TEST_F(SpriteTest, ColourKeyAlphaAndSharedTextures) {
  // Left half magenta (the default key), right half red.
  testfiles::write_png(temp.file("red.png"), 2, 4, RED);
  const int32_t sprite = sprite_load(-1, temp.file("red.png"));
  const int32_t q = quad(16, 16, 4, 4, [](int32_t x, int32_t, int32_t&) { return x < 2 ? MAGENTA : RED; });
  screen_clear(BLUE);
  sprite3d_draw(q, 0, 0);
  sprite3d_draw(q, 32, 0, 128);
  EXPECT_TRUE(near_colour(testing_read_pixel(3, 3), BLUE));               // keyed: background stays
  EXPECT_TRUE(near_colour(testing_read_pixel(12, 3), RED));               // opaque red
  EXPECT_TRUE(near_colour(testing_read_pixel(44, 3), rgb(128, 0, 127)));  // half alpha over blue
  EXPECT_TRUE(near_colour(testing_read_pixel(20, 3), BLUE));              // outside the quad

  // Re-keying a sprite reaches the Sprite3D made from it, and freeing the sprite breaks nothing.
  EXPECT_EQ(size_of(sprite), std::pair(2, 4));
  const int32_t shared = sprite3d_create(-1, sprite);
  sprite_transparent_color(sprite, RED);
  sprite_free(sprite);
  screen_clear(BLUE);
  sprite3d_draw(shared, 0, 0);
  EXPECT_TRUE(near_colour(testing_read_pixel(1, 1), BLUE));
  EXPECT_EQ(sprite_exists(sprite), 0);

  testfiles::write_text(temp.file("not_an_image.png"), "plain text");
  EXPECT_EQ(sprite_load(-1, temp.path + "missing.png"), 0);
  EXPECT_EQ(sprite_load(-1, temp.path + "not_an_image.png"), 0);
  EXPECT_EQ(sprite3d_create(-1, 0), 0);
}

TEST_F(SpriteTest, RotationCornersFollowTheFormulaAndTheDrawFollowsThem) {
  using Corners = std::vector<float>;
  // Top row red, the rest green.
  const int32_t q = quad(32, 16, 4, 4, [](int32_t, int32_t y, int32_t&) { return y == 0 ? RED : GREEN; });
  const auto corners = [&] {
    testing_record_draws(true);
    testing_clear_recorded_draws();
    sprite3d_draw(q, 0, 0);
    const float* c = testing_recorded_draws().at(0).corners;
    return Corners(c, c + 8);
  };
  // The formula keeps the shape only for squares: a 32 x 16 quad at angle 0 starts at (8, -8).
  sprite3d_rotate(q, 0, 0);
  EXPECT_EQ(corners(), (Corners{8, -8, 32, 0, 24, 23, 0, 16}));
  // Clockwise: after 90 degrees the top-left corner sits at the top right.
  sprite3d_zoom(q, 32, 32);
  sprite3d_rotate(q, 90, 0);
  const Corners quarter = {32, 0, 32, 31, 0, 32, 0, 0};
  EXPECT_EQ(corners(), quarter);
  // Mode 1 accumulates; mode 0 sets the angle and forgets what was accumulated.
  for (const auto& [angle, mode] : {std::pair{50, 1}, {7, 0}, {30, 1}, {60, 1}}) sprite3d_rotate(q, angle, mode);
  EXPECT_EQ(corners(), quarter);
  // The accumulated angle is 16-bit: 32767 + 32767 + 1 wraps to -8 degrees.
  for (const auto& [angle, mode] : {std::pair{32767, 0}, {32767, 1}, {1, 1}}) sprite3d_rotate(q, angle, mode);
  EXPECT_EQ(corners(), (Corners{-2, 2, 29, -2, 34, 29, 2, 34}));
  // A foe's DROTATE at the int32 limits wraps the same way, without overflowing on the way.
  sprite3d_rotate(q, 0, 0);
  const Corners upright = corners();
  for (const auto& [angle, mode] : {std::pair{1, 0}, {1, 1}, {INT32_MAX, 1}}) sprite3d_rotate(q, angle, mode);
  EXPECT_EQ(corners(), upright);  // 1 + 2^31 - 1 keeps 0 in 16 bits
  sprite3d_rotate(q, -1, 0);
  const Corners minus_one = corners();
  for (const auto& [angle, mode] : {std::pair{-1, 1}, {INT32_MIN, 1}}) sprite3d_rotate(q, angle, mode);
  EXPECT_EQ(corners(), minus_one);  // -1 - 2^31 keeps -1 in 16 bits
  // Drawn turned a quarter, the red top row is the right column.
  sprite3d_rotate(q, 90, 0);
  screen_clear(0);
  sprite3d_draw(q, 8, 8);
  EXPECT_TRUE(near_colour(testing_read_pixel(8 + 29, 8 + 16), RED));
  EXPECT_TRUE(near_colour(testing_read_pixel(8 + 16, 8 + 2), GREEN));
  // Zoom resets the corners to the plain rectangle.
  sprite3d_zoom(q, 10, 6);
  EXPECT_EQ(corners(), (Corners{0, 0, 10, 0, 10, 6, 0, 6}));
}

TEST_F(SpriteTest, AdditiveGlowKeepsKeyedPixels) {
  // The glow (one, source alpha): source + destination x alpha; keyed pixels stay untouched.
  sprite_transparent_color(-1, 0);
  const int32_t q = quad(16, 16, 4, 4, [](int32_t x, int32_t, int32_t&) { return x < 2 ? 0 : rgb(50, 60, 70); });
  screen_clear(rgb(100, 100, 100));
  sprite3d_blend_mode(BLEND_ONE, BLEND_SOURCE_ALPHA);
  sprite3d_draw(q, 0, 0, 128);
  EXPECT_TRUE(near_colour(testing_read_pixel(12, 4), rgb(100, 110, 120)));
  EXPECT_TRUE(near_colour(testing_read_pixel(3, 4), rgb(100, 100, 100)));
  sprite3d_blend_mode(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA);  // back to ordinary blending
  sprite3d_draw(q, 32, 0, 128);
  EXPECT_TRUE(near_colour(testing_read_pixel(44, 4), rgb(75, 80, 85)));
}

// A grab copies a back-buffer rectangle. The software renderer draws straight into the window
// while it has the screen's size; after a resize the screen must keep its own size.
TEST_F(SpriteTest, GrabCopiesTheBackBufferAtTheScreenSizeAfterAResize) {
  testing_resize_window(48, 40);
  window_event(0);
  screen_clear(BLUE);
  draw_box(50, 50, 4, 4, RED);
  draw_box(54, 50, 4, 4, GREEN);
  EXPECT_EQ(testing_read_screen().size(), 64u * 64u);
  const int32_t grab = sprite_grab(-1, 50, 50, 8, 4);
  EXPECT_EQ(size_of(grab), std::pair(8, 4));
  screen_clear(0);  // the grab is a copy: the screen changing does not change it
  sprite3d_draw(sprite3d_create(-1, grab), 0, 0);
  screen_flip();
  EXPECT_EQ(std::vector<int32_t>({testing_read_pixel(3, 1), testing_read_pixel(4, 3), testing_read_pixel(8, 1)}),
            std::vector<int32_t>({RED, GREEN, 0}));
  EXPECT_NE(sprite_grab(-1, 60, 60, 10, 10), 0);  // reaching past the edge
  EXPECT_EQ(sprite_grab(-1, 0, 0, 0, 5), 0);
}

// The accelerated path: OpenGL through EGL without an X server.
class AcceleratedTest : public SpriteTest {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_RENDER_DRIVER", "opengl", 1);  // the game itself prefers software to software OpenGL
    testing_set_frame_pacing(false);
    if (testing_open_screen(64, 64) == 0) GTEST_SKIP() << "no offscreen OpenGL here";
  }
  void TearDown() override {
    testing_reset_platform();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    unsetenv("SDL_RENDER_DRIVER");
  }
};

TEST_F(AcceleratedTest, GlowWithSoftAndKeyedPixels) {
  // Opaque-but-soft pixels take the single custom pass: source + destination x source alpha.
  const int32_t soft = quad(8, 8, 2, 2, [](int32_t, int32_t, int32_t& alpha) {
    alpha = 128;
    return rgb(40, 20, 10);
  });
  screen_clear(rgb(200, 100, 60));
  sprite3d_blend_mode(BLEND_ONE, BLEND_SOURCE_ALPHA);
  sprite3d_draw(soft, 0, 0, 255);
  EXPECT_TRUE(near_colour(testing_read_pixel(4, 4), rgb(40 + 100, 20 + 50, 10 + 30)));
  // Keyed pixels stay undrawn under the glow here too.
  sprite_transparent_color(-1, 0);
  const int32_t glow = quad(16, 8, 2, 1, [](int32_t x, int32_t, int32_t&) { return x == 0 ? 0 : rgb(10, 10, 10); });
  screen_clear(rgb(100, 100, 100));
  sprite3d_draw(glow, 0, 20, 128);
  EXPECT_TRUE(near_colour(testing_read_pixel(3, 24), rgb(100, 100, 100)));
  EXPECT_TRUE(near_colour(testing_read_pixel(12, 24), rgb(60, 60, 60)));
}

// OpenGL is asked for only where a graphics device could be behind it (or where it is named);
// on a software rasteriser it is given up for SDL's software renderer.
TEST(RendererChoice, TriesOpenGLOnlyWhereADeviceExists) {
  struct Case {
    std::vector<std::string> devices;  // files made under the device root
    const char* named;                 // SDL_RENDER_DRIVER, or nullptr
    std::vector<std::string> made;     // renderers made, in order
  };
  // This machine's OpenGL (offscreen EGL) is Mesa's software rasteriser.
  // Named first: it shows whether this machine has offscreen OpenGL at all (here it is Mesa's
  // software rasteriser).
  const std::vector<Case> cases = {
      {{}, "opengl", {"opengl"}},
      {{}, nullptr, {"software"}},
      {{"dri/by-path"}, nullptr, {"software"}},
      {{"dri/renderD128"}, nullptr, {"opengl", "software"}},
      {{"dri/card0"}, nullptr, {"opengl", "software"}},
      {{"nvidiactl"}, nullptr, {"opengl", "software"}},
      {{"dxg"}, nullptr, {"opengl", "software"}},
  };
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  for (const Case& c : cases) {
    testfiles::TempDir root;
    for (const std::string& device : c.devices) testfiles::write_text(root.file(device), "");
    if (c.named != nullptr) setenv("SDL_RENDER_DRIVER", c.named, 1);
    testing_set_device_root(root.path);
    const bool opened = testing_open_screen(16, 16) != 0;
    const std::vector<std::string> made = testing_renderers_made();
    testing_reset_platform();
    unsetenv("SDL_RENDER_DRIVER");
    if (c.named != nullptr && !opened) {
      setenv("SDL_VIDEODRIVER", "dummy", 1);
      GTEST_SKIP() << "no offscreen OpenGL here";
    }
    ASSERT_TRUE(opened);
    EXPECT_EQ(made, c.made) << (c.devices.empty() ? "no device" : c.devices.front());
  }
  setenv("SDL_VIDEODRIVER", "dummy", 1);
}

// The tile layer: a pass the layer can keep and one it must give up on, over
// frames in which the clear colour, the origin, the alpha and the content move. Every frame must
// come out as plain drawing draws it (the game's own passes are compared in CachedFrames).

constexpr int32_t W = 88;  // five and a half 16-pixel cells
constexpr int32_t H = 56;
constexpr int32_t FRAMES = 6;

// Two soft-edged 4 x 4 tiles stretched to a 16-pixel cell, and a 6 x 6 object.
struct Quads {
  int32_t tile, other, small;
};

Quads make_quads(const testfiles::TempDir& dir) {
  const auto png = [&](const std::string& name, int32_t size, int32_t r, int32_t g, int32_t zoom) {
    return make_quad(dir.file(name), zoom, zoom, size, size, [&](int32_t x, int32_t y, int32_t& alpha) {
      alpha = 255 - 11 * (y * size + x);
      return rgb(r, g, 7 * (y * size + x) & 0xFF);
    });
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
    scene(frame, q);
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
         sprite3d_blend_mode(BLEND_ONE, BLEND_SOURCE_ALPHA);
         sprite3d_draw(q.small, 20 + 7 * f, 12, 255);
         sprite3d_blend_mode(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA);
         const int32_t x0 = f < 4 ? -16 * (f / 2) : -5 * f;
         const int32_t y0 = f < 4 ? 0 : 3 * f;
         tile_layer_begin(x0, y0);
         tiles(f, q, x0, y0, f == 3 ? 120 : 200);
         sprite3d_blend_mode(BLEND_ONE, BLEND_ONE);
         tile_layer_draw(q.small, x0 + 16 * 2 + 5, 21, 180);  // an object inside a cell
         sprite3d_blend_mode(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA);
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
