// The tile layer keeps tiles and the objects on them from frame to frame, and the clear waits for
// the draws; the plain path draws everything every frame. The same scripted frames of play drawn
// both ways must present the same pictures, pixel for pixel, on each renderer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/config.h"
#include "game/default_game.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "resources/catalogs.h"
#include "resources/object_types.h"
#include "support/test_files.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"

using namespace tessera;

namespace {

// Not a whole number of 48-pixel cells either way: the edge cells are cut by the screen.
constexpr int32_t W = 424;
constexpr int32_t H = 248;

using Frame = std::vector<int32_t>;
std::vector<Frame>* presented = nullptr;
void keep_presented() { presented->push_back(testing_read_screen()); }

// What the default data set lacks: painted floor that is translucent twice over (a soft-edged
// image with keyed holes, and a transparency of its own), and objects in the two other blend
// modes on plain floor, one of them soft and stretched to the cell.
void add_edge_cases(const std::string& root) {
  const std::string data = root + "DATA/";
  testfiles::write_png_drawn(data + "GFX/TILES/soft.png", 16, 16, [](int32_t x, int32_t y) {
    const bool hole = x >= 6 && x < 9 && y >= 6 && y < 9;
    return testfiles::Rgba{static_cast<uint8_t>(hole ? 255 : 30), static_cast<uint8_t>(hole ? 0 : 60),
                           static_cast<uint8_t>(hole ? 255 : 200), static_cast<uint8_t>(40 + 13 * x)};
  });
  testfiles::write_png_drawn(data + "GFX/OBJECTS/glow.png", 48, 48, [](int32_t x, int32_t y) {
    const bool keyed = (x + y) % 11 == 0;
    return testfiles::Rgba{static_cast<uint8_t>(keyed ? 255 : 200), static_cast<uint8_t>(keyed ? 255 : 90),
                           static_cast<uint8_t>(keyed ? 255 : 10), 255};
  });
  testfiles::write_png_drawn(data + "GFX/OBJECTS/veil.png", 12, 12, [](int32_t x, int32_t) {
    return testfiles::Rgba{60, 200, 120, static_cast<uint8_t>(20 * x)};
  });
  const auto object = [&](const std::string& name, const std::string& mode1, const std::string& mode2) {
    testfiles::write_lines(data + "GFX/OBJECTS/" + name + ".dll",
                           {"DGFXNAME", name == "glow" ? "GLOW" : "VEIL", "DDENSITY", "2", "DGFXTRANSPARENCY", "190",
                            "DXMODE1", mode1, "DXMODE2", mode2, "DGFXSHOW", "1", "DFITTOMATRIX", "1", "DHOTSPOT",
                            "TOPLEFT", "DCENTERFIELD", "0", "DCOLLISION", "0"});
  };
  object("glow", "2", "5");
  object("veil", "2", "2");
  const std::string contents = data + "LEVELS/DEFAULT/";
  testfiles::write_lines(contents + "LAB_BLUE_FLOOR", {"GFXNAME", "soft.png", "TRANSPARENCY", "70", "USECOLLISION",
                                                       "0", "USEENEMY", "0", "VALUE1", "0", "CHILD1", "#", "CHILD2",
                                                       "#", "CHILD3", "#"});
  testfiles::write_lines(contents + "LAB_FLOOR", {"GFXNAME", "floor.png", "TRANSPARENCY", "0", "USECOLLISION", "0",
                                                  "USEENEMY", "1", "VALUE1", "0", "CHILD1", "GEM", "CHILD2", "GLOW",
                                                  "CHILD3", "VEIL"});
  load_tile_graphics();  // adds soft.png; the tiles loaded before stay first
  clear_object_lists();
  load_object_types();
}

// Held keys, or the bot's choice (0), for a number of frames, with the zoom pass's settings.
struct Step {
  int32_t frames;
  int32_t key;
  float zoom;
  uint8_t smooth;
};

constexpr Step SCRIPT[] = {
    {60, 0, 1.0f, 0},         // paint, fix and scroll as a player would
    {2, KEY_SPACE, 1.0f, 0},  // a bomb
    {30, 0, 1.0f, 0},
    {12, 0, 0.75f, 0},  // the zoom pass magnifies
    {8, 0, 0.75f, 1},   // and smooths
    {1, KEY_PAGE_UP, 1.0f, 0},
    {40, 0, 1.0f, 0},  // the next map, after its banner
};

struct Run {
  std::vector<Frame> frames;  // every presented picture, banners included
  bool scrolled = false;
  bool painted = false;
  bool fired = false;
};

Run play(bool plain) {
  testing_force_plain_drawing(plain);
  defaultgame::reset_run_state();
  Run run;
  {
    defaultgame::DefaultGame game(W, H);
    add_edge_cases(game.dir.path);
    build_level();
    presented = &run.frames;
    testing_set_flip_hook(keep_presented);
    const float first_scroll = scroll_x + 1000.0f * scroll_y;
    for (const Step& step : SCRIPT) {
      FULLSCREENZOOM = step.zoom;
      SMOOTH = step.smooth;
      for (int32_t n = 0; n < step.frames; ++n) {
        if (time_left < 50) time_left = 50;  // no game over in the middle
        const size_t bombs_before = bombs.size();
        defaultgame::run_frame({step.key != 0 ? step.key : defaultgame::BOT}, true);
        run.fired = run.fired || bombs.size() < bombs_before;
        run.scrolled = run.scrolled || scroll_x + 1000.0f * scroll_y != first_scroll;
        run.painted = run.painted || levelfixture::count_kind("LAB_BLUE_FLOOR") > 0;
      }
    }
    testing_set_flip_hook(nullptr);
  }
  testing_force_plain_drawing(false);
  return run;
}

void expect_same_pictures() {
  const Run kept = play(false);
  const Run plain = play(true);
  // The script did what it is for.
  EXPECT_TRUE(plain.scrolled);
  EXPECT_TRUE(plain.painted);
  EXPECT_TRUE(plain.fired);
  int32_t frames = 0;
  for (const Step& step : SCRIPT) frames += step.frames;
  EXPECT_GT(plain.frames.size(), static_cast<size_t>(frames)) << "no banner frames";
  ASSERT_EQ(kept.frames.size(), plain.frames.size());

  int32_t differing_frames = 0;
  for (size_t f = 0; f < plain.frames.size(); ++f) {
    const Frame& a = kept.frames[f];
    const Frame& b = plain.frames[f];
    ASSERT_EQ(a.size(), static_cast<size_t>(W * H)) << "frame " << f;
    ASSERT_EQ(b.size(), a.size()) << "frame " << f;
    int32_t differing = 0;
    size_t first = 0;
    for (size_t p = 0; p < a.size(); ++p) {
      if (a[p] == b[p]) continue;
      if (differing++ == 0) first = p;
    }
    if (differing == 0) continue;
    if (differing_frames++ < 5) {
      ADD_FAILURE() << "frame " << f << ": " << differing << " pixels differ, the first at (" << first % W << ", "
                    << first / W << "): kept " << std::hex << a[first] << ", plain " << b[first];
    }
  }
  EXPECT_EQ(differing_frames, 0);
}

TEST(CachedFrames, SoftwareRendererDrawsTheSamePictures) { expect_same_pictures(); }

TEST(CachedFrames, OpenGLDrawsTheSamePictures) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_RENDER_DRIVER", "opengl", 1);
  struct Restore {
    ~Restore() {
      setenv("SDL_VIDEODRIVER", "dummy", 1);
      unsetenv("SDL_RENDER_DRIVER");
    }
  } restore;
  if (testing_open_screen(64, 64) == 0 || testing_renderer_name() != "opengl") {
    testing_reset_platform();
    GTEST_SKIP() << "no offscreen OpenGL here";
  }
  testing_reset_platform();
  expect_same_pictures();
}

}  // namespace
