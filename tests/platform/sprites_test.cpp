#include "platform/platform.h"
#include "platform/platform_testing.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace tessera {
namespace {

constexpr int32_t MAGENTA = rgb(255, 0, 255);
constexpr int32_t BLUE = rgb(0, 0, 255);
constexpr int32_t RED = rgb(255, 0, 0);
constexpr int32_t GREEN = rgb(0, 255, 0);

// An image whose pixels come from a function of (x, y) giving packed colour and alpha.
template <typename Paint>
std::string image(const testfiles::TempDir& temp, const std::string& name, int32_t w, int32_t h, Paint paint) {
  std::vector<uint8_t> rgba;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      int32_t alpha = 255;
      const int32_t colour = paint(x, y, alpha);
      rgba.push_back(static_cast<uint8_t>(colour & 0xFF));
      rgba.push_back(static_cast<uint8_t>(colour >> 8 & 0xFF));
      rgba.push_back(static_cast<uint8_t>(colour >> 16 & 0xFF));
      rgba.push_back(static_cast<uint8_t>(alpha));
    }
  }
  const std::string path = temp.file(name);
  testfiles::write_png_pixels(path, w, h, rgba);
  return path;
}

// Left half magenta (the default key), right half red.
std::string half_keyed(const testfiles::TempDir& temp) {
  return image(temp, "half.png", 4, 4, [](int32_t x, int32_t, int32_t&) { return x < 2 ? MAGENTA : RED; });
}

::testing::AssertionResult near_colour(int32_t actual, int32_t r, int32_t g, int32_t b, int32_t tolerance = 2) {
  const int32_t ar = actual & 0xFF, ag = actual >> 8 & 0xFF, ab = actual >> 16 & 0xFF;
  if (std::abs(ar - r) <= tolerance && std::abs(ag - g) <= tolerance && std::abs(ab - b) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "pixel is (" << ar << ", " << ag << ", " << ab << "), expected (" << r
                                       << ", " << g << ", " << b << ")";
}

class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_set_frame_pacing(false);
    ASSERT_NE(testing_open_screen(64, 64), 0);
  }
  void TearDown() override { testing_reset_platform(); }
  testfiles::TempDir temp;
};

TEST_F(SpriteTest, ColourKeyAlphaAndSharedTextures) {
  screen_clear(BLUE);
  const int32_t sprite = sprite_load(-1, half_keyed(temp), SPRITE_TEXTURE);
  ASSERT_NE(sprite, 0);
  EXPECT_EQ(sprite_width(sprite), 4);
  EXPECT_EQ(sprite_height(sprite), 4);
  const int32_t quad = sprite3d_create(-1, sprite);
  ASSERT_NE(quad, 0);
  sprite3d_zoom(quad, 16, 16);
  sprite3d_begin();
  sprite3d_draw(quad, 0, 0);
  sprite3d_draw(quad, 32, 0, 128);
  sprite3d_end();
  EXPECT_TRUE(near_colour(testing_read_pixel(3, 3), 0, 0, 255));     // keyed: background stays
  EXPECT_TRUE(near_colour(testing_read_pixel(12, 3), 255, 0, 0));    // opaque red
  EXPECT_TRUE(near_colour(testing_read_pixel(44, 3), 128, 0, 127));  // half alpha over blue
  EXPECT_TRUE(near_colour(testing_read_pixel(20, 3), 0, 0, 255));    // outside the quad

  // Re-keying the sprite reaches the Sprite3D made from it, and freeing the sprite breaks nothing.
  sprite_transparent_color(sprite, RED);
  sprite_free(sprite);
  EXPECT_EQ(sprite_exists(sprite), 0);
  screen_clear(BLUE);
  sprite3d_draw(quad, 0, 0);
  EXPECT_TRUE(near_colour(testing_read_pixel(3, 3), 255, 0, 255));
  EXPECT_TRUE(near_colour(testing_read_pixel(12, 3), 0, 0, 255));
}

TEST_F(SpriteTest, DefaultKeyAndImageAlphaTogether) {
  // White key for later loads; the image's own half alpha stays.
  sprite_transparent_color(-1, rgb(255, 255, 255));
  const std::string path = image(temp, "soft.png", 2, 1, [](int32_t x, int32_t, int32_t& alpha) {
    if (x == 0) return rgb(255, 255, 255);
    alpha = 128;
    return GREEN;
  });
  const int32_t quad = sprite3d_create(-1, sprite_load(-1, path, SPRITE_TEXTURE));
  ASSERT_NE(quad, 0);
  sprite3d_zoom(quad, 8, 8);
  screen_clear(0);
  sprite3d_draw(quad, 0, 0);
  EXPECT_TRUE(near_colour(testing_read_pixel(1, 1), 0, 0, 0));
  EXPECT_TRUE(near_colour(testing_read_pixel(6, 1), 0, 128, 0));
  // A magenta pixel is drawn now: the key changed before this load.
  const int32_t magenta = sprite_load(-1, half_keyed(temp), SPRITE_TEXTURE);
  const int32_t magenta_quad = sprite3d_create(-1, magenta);
  sprite3d_draw(magenta_quad, 20, 20);
  EXPECT_TRUE(near_colour(testing_read_pixel(20, 20), 255, 0, 255));
  EXPECT_EQ(sprite_load(-1, temp.path + "missing.png", SPRITE_TEXTURE), 0);
  testfiles::write_text(temp.file("not_an_image.png"), "plain text");
  EXPECT_EQ(sprite_load(-1, temp.path + "not_an_image.png", SPRITE_TEXTURE), 0);
  EXPECT_EQ(sprite3d_create(-1, 0), 0);
}

TEST_F(SpriteTest, TgaDecodesWhateverItsName) {
  // Uncompressed 24-bit TGA, 3 x 2, bottom-up rows of blue-green-red bytes; every pixel red.
  std::string tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 24, 0};
  for (int i = 0; i < 6; ++i) tga += std::string{0, 0, '\xFF'};
  testfiles::write_text(temp.file("tile.tga"), tga);
  testfiles::write_text(temp.file("tile.gfx"), tga);
  for (const char* name : {"tile.tga", "TILE.GFX"}) {
    const int32_t sprite = sprite_load(-1, temp.path + name, SPRITE_TEXTURE);
    ASSERT_NE(sprite, 0) << name;
    EXPECT_EQ(sprite_width(sprite), 3);
    EXPECT_EQ(sprite_height(sprite), 2);
    screen_clear(0);
    sprite3d_draw(sprite3d_create(-1, sprite), 0, 0);
    EXPECT_EQ(testing_read_pixel(2, 1), RED);
  }
}

TEST_F(SpriteTest, RotationCornersFollowTheFormula) {
  testing_record_draws(true);
  const int32_t sprite = sprite_load(-1, half_keyed(temp), SPRITE_TEXTURE);
  const int32_t quad = sprite3d_create(-1, sprite);
  auto corners_after = [&](auto turn) {
    turn();
    testing_clear_recorded_draws();
    sprite3d_draw(quad, 0, 0);
    const float* c = testing_recorded_draws().at(0).corners;
    return std::vector<float>(c, c + 8);
  };

  sprite3d_zoom(quad, 32, 16);
  // The formula keeps the shape only for squares: a 32 x 16 quad at angle 0 starts at (8, -8).
  const std::vector<float> wide = corners_after([&] { sprite3d_rotate(quad, 0, 0); });
  EXPECT_EQ(wide, (std::vector<float>{8, -8, 32, 0, 24, 23, 0, 16}));

  sprite3d_zoom(quad, 32, 32);
  const std::vector<float> upright = corners_after([&] { sprite3d_rotate(quad, 0, 0); });
  // Nearly the plain rectangle: truncation leaves the bottom-right corner one pixel short in y.
  EXPECT_EQ(upright, (std::vector<float>{0, 0, 32, 0, 32, 31, 0, 32}));
  // Clockwise: after 90 degrees the top-left corner sits at the top right.
  const std::vector<float> quarter = corners_after([&] { sprite3d_rotate(quad, 90, 0); });
  EXPECT_EQ(quarter, (std::vector<float>{32, 0, 32, 31, 0, 32, 0, 0}));

  // Mode 1 accumulates; mode 0 forgets the accumulated angle.
  EXPECT_EQ(corners_after([&] {
              for (int i = 0; i < 3; ++i) sprite3d_rotate(quad, 30, 1);
            }),
            quarter);
  EXPECT_EQ(corners_after([&] {
              sprite3d_rotate(quad, 50, 1);
              sprite3d_rotate(quad, 7, 0);
              sprite3d_rotate(quad, 90, 1);
            }),
            quarter);
  // The accumulated angle is 16-bit: 32767 + 1 wraps to -32768, which is -8 degrees.
  const std::vector<float> minus_eight = corners_after([&] { sprite3d_rotate(quad, -8, 0); });
  EXPECT_EQ(corners_after([&] {
              sprite3d_rotate(quad, 32767, 0);
              sprite3d_rotate(quad, 32767, 1);
              sprite3d_rotate(quad, 1, 1);
            }),
            minus_eight);
  EXPECT_EQ(minus_eight, (std::vector<float>{-2, 2, 29, -2, 34, 29, 2, 34}));
  // A foe's DROTATE at the int32 limits wraps the same way, without overflowing on the way.
  EXPECT_EQ(corners_after([&] {
              sprite3d_rotate(quad, 1, 0);
              sprite3d_rotate(quad, 1, 1);
              sprite3d_rotate(quad, INT32_MAX, 1);  // 1 + 2^31 - 1 keeps 0 in 16 bits
            }),
            upright);
  const std::vector<float> minus_one = corners_after([&] { sprite3d_rotate(quad, -1, 0); });
  EXPECT_EQ(corners_after([&] {
              sprite3d_rotate(quad, -1, 1);
              sprite3d_rotate(quad, INT32_MIN, 1);  // -1 - 2^31 keeps -1 in 16 bits
            }),
            minus_one);

  // Zoom resets the corners to the plain rectangle; transform sets them as given.
  sprite3d_zoom(quad, 10, 6);
  EXPECT_EQ(corners_after([] {}), (std::vector<float>{0, 0, 10, 0, 10, 6, 0, 6}));
  EXPECT_EQ(corners_after([&] { sprite3d_transform(quad, 1, 2, 3, 4, 5, 6, 7, 8); }),
            (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(SpriteTest, RotatedQuadIsDrawnTurned) {
  // Top row red, the rest green; turned a quarter clockwise, the red row becomes the right column.
  const std::string path = image(temp, "row.png", 4, 4, [](int32_t, int32_t y, int32_t&) { return y == 0 ? RED : GREEN; });
  const int32_t quad = sprite3d_create(-1, sprite_load(-1, path, SPRITE_TEXTURE));
  sprite3d_zoom(quad, 16, 16);
  sprite3d_rotate(quad, 90, 0);
  screen_clear(0);
  sprite3d_draw(quad, 8, 8);
  EXPECT_TRUE(near_colour(testing_read_pixel(8 + 14, 8 + 8), 255, 0, 0));
  EXPECT_TRUE(near_colour(testing_read_pixel(8 + 8, 8 + 1), 0, 255, 0));
  EXPECT_TRUE(near_colour(testing_read_pixel(8 + 1, 8 + 8), 0, 255, 0));
}

TEST_F(SpriteTest, AdditiveGlowKeepsKeyedPixelsOnSoftwareRenderer) {
  // result = source + destination x alpha; keyed pixels leave the destination alone.
  const std::string path = image(temp, "glow.png", 4, 4, [](int32_t x, int32_t, int32_t&) {
    return x < 2 ? 0 : rgb(50, 60, 70);
  });
  sprite_transparent_color(-1, 0);
  const int32_t quad = sprite3d_create(-1, sprite_load(-1, path, SPRITE_TEXTURE));
  sprite3d_zoom(quad, 16, 16);
  screen_clear(rgb(100, 100, 100));
  sprite3d_blend_mode(2, 5);
  sprite3d_draw(quad, 0, 0, 128);
  EXPECT_TRUE(near_colour(testing_read_pixel(12, 4), 100, 110, 120));
  EXPECT_TRUE(near_colour(testing_read_pixel(3, 4), 100, 100, 100));
  // Back to ordinary blending for the next draw.
  sprite3d_blend_mode(5, 6);
  sprite3d_draw(quad, 32, 0, 128);
  EXPECT_TRUE(near_colour(testing_read_pixel(44, 4), 75, 80, 85));
  EXPECT_TRUE(near_colour(testing_read_pixel(35, 4), 100, 100, 100));
  testing_record_draws(true);
  sprite3d_blend_mode(2, 5);
  sprite3d_draw(quad, 1, 2, 9);
  ASSERT_EQ(testing_recorded_draws().size(), 1u);
  EXPECT_EQ(testing_recorded_draws()[0].blend_source, 2);
  EXPECT_EQ(testing_recorded_draws()[0].blend_destination, 5);
  EXPECT_EQ(testing_recorded_draws()[0].alpha, 9);
}

TEST_F(SpriteTest, GrabCopiesABackBufferRectangle) {
  screen_clear(BLUE);
  draw_box(10, 10, 4, 4, RED);
  draw_box(14, 10, 4, 4, GREEN);
  draw_box(0, 0, 1, 1, rgb(1, 2, 3));
  EXPECT_EQ(testing_read_pixel(0, 0), rgb(1, 2, 3));
  EXPECT_EQ(testing_read_pixel(1, 0), BLUE);

  const int32_t grab = sprite_grab(-1, 10, 10, 8, 4, SPRITE_TEXTURE);
  ASSERT_NE(grab, 0);
  EXPECT_EQ(sprite_width(grab), 8);
  EXPECT_EQ(sprite_height(grab), 4);
  const int32_t quad = sprite3d_create(-1, grab);
  screen_clear(0);  // the grab is a copy: the screen changing does not change it
  sprite3d_draw(quad, 40, 40);
  EXPECT_EQ(testing_read_pixel(41, 41), RED);
  EXPECT_EQ(testing_read_pixel(46, 43), GREEN);
  EXPECT_EQ(testing_read_pixel(48, 41), 0);
  // A rectangle reaching past the screen edge still grabs what is inside.
  EXPECT_NE(sprite_grab(-1, 60, 60, 10, 10, SPRITE_TEXTURE), 0);
  EXPECT_EQ(sprite_grab(-1, 0, 0, 0, 5, SPRITE_TEXTURE), 0);
  screen_flip();
  EXPECT_EQ(testing_flip_count(), 1);
}

// The software renderer draws straight into the window while the window has the screen's size; a
// resized window gets a surface of its own size, and the screen must go on at its own.
TEST_F(SpriteTest, ScreenKeepsItsSizeWhenTheWindowIsResized) {
  screen_clear(RED);
  screen_flip();
  testing_resize_window(48, 40);
  window_event(0);
  screen_clear(BLUE);
  draw_box(56, 50, 4, 4, GREEN);
  EXPECT_EQ(testing_read_screen().size(), 64u * 64u);
  EXPECT_EQ(testing_read_pixel(57, 51), GREEN);
  EXPECT_EQ(testing_read_pixel(40, 60), BLUE);
  const int32_t grab = sprite3d_create(-1, sprite_grab(-1, 52, 46, 8, 8, SPRITE_TEXTURE));
  sprite3d_draw(grab, 0, 0);
  EXPECT_EQ(testing_read_pixel(5, 5), GREEN);
  screen_flip();
  EXPECT_EQ(testing_read_pixel(5, 5), GREEN);
}

// The accelerated path: OpenGL through EGL without an X server.
class AcceleratedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // Named, since the game itself prefers the software renderer to software OpenGL.
    setenv("SDL_RENDER_DRIVER", "opengl", 1);
    testing_set_frame_pacing(false);
    if (testing_open_screen(64, 64) == 0) GTEST_SKIP() << "no offscreen OpenGL here";
  }
  void TearDown() override {
    testing_reset_platform();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    unsetenv("SDL_RENDER_DRIVER");
  }
  testfiles::TempDir temp;
};

TEST_F(AcceleratedTest, CustomBlendWithPartialAlphaAndBilinearFiltering) {
  // Opaque-but-soft pixels take the single custom pass: source + destination x source alpha.
  const std::string soft = image(temp, "soft.png", 2, 2, [](int32_t, int32_t, int32_t& alpha) {
    alpha = 128;
    return rgb(40, 20, 10);
  });
  const int32_t quad = sprite3d_create(-1, sprite_load(-1, soft, SPRITE_TEXTURE));
  sprite3d_zoom(quad, 8, 8);
  screen_clear(rgb(200, 100, 60));
  sprite3d_blend_mode(2, 5);
  sprite3d_draw(quad, 0, 0, 255);
  EXPECT_TRUE(near_colour(testing_read_pixel(4, 4), 40 + 100, 20 + 50, 10 + 30));

  // Keyed pixels stay undrawn under the glow here too.
  sprite_transparent_color(-1, 0);
  const std::string keyed = image(temp, "keyed.png", 2, 1, [](int32_t x, int32_t, int32_t&) {
    return x == 0 ? 0 : rgb(10, 10, 10);
  });
  const int32_t glow = sprite3d_create(-1, sprite_load(-1, keyed, SPRITE_TEXTURE));
  sprite3d_zoom(glow, 16, 8);
  screen_clear(rgb(100, 100, 100));
  sprite3d_draw(glow, 0, 20, 128);
  EXPECT_TRUE(near_colour(testing_read_pixel(3, 24), 100, 100, 100));
  EXPECT_TRUE(near_colour(testing_read_pixel(12, 24), 60, 60, 60));

  // Black | white stretched over 64 pixels: nearest gives only the two, bilinear the greys between.
  sprite3d_blend_mode(5, 6);
  sprite_transparent_color(-1, MAGENTA);
  const std::string ramp = image(temp, "ramp.png", 2, 1, [](int32_t x, int32_t, int32_t&) {
    return x == 0 ? 0 : rgb(255, 255, 255);
  });
  const int32_t stretched = sprite3d_create(-1, sprite_load(-1, ramp, SPRITE_TEXTURE));
  sprite3d_zoom(stretched, 64, 4);
  auto greys_in_row = [&](int32_t quality) {
    sprite3d_quality(quality);
    screen_clear(rgb(255, 0, 0));
    sprite3d_draw(stretched, 0, 40);
    int32_t greys = 0;
    for (int32_t x = 0; x < 64; ++x) {
      const int32_t level = testing_read_pixel(x, 41) & 0xFF;
      if (level > 10 && level < 245) ++greys;
    }
    return greys;
  };
  EXPECT_EQ(greys_in_row(0), 0);
  EXPECT_GT(greys_in_row(1), 10);
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

}  // namespace
}  // namespace tessera
