// The cost of a frame of play: the real frame driver playing a generated level of the default data
// set (a bot holds the arrow keys as a player would), without frame pacing or vsync, on each SDL
// video driver that runs here and each renderer it offers. Frame for frame, interleaved, a bare SDL2
// program (bare_frame.cpp) draws the same quads with the same images, so "game / bare" prices the
// engine against naive drawing under the same load.
//
// Usage: frame_bench [--frames N] [--drivers dummy,offscreen,x11] [--renderers auto,opengl]
//                    [--runs 1280x720:1,1920x1080:1,1920x1080:30]
// "auto" is the renderer the game picks by itself ("software" and "opengl" name one through SDL's
// SDL_RENDER_DRIVER). The X11 runs start their own Xvfb.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "actors/player_input.h"
#include "bare_frame.h"
#include "core/runtime.h"
#include "game/default_game.h"
#include "game/flow.h"
#include "game/world_pass.h"
#include "game/x_session.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/test_files.h"
#include "world/level_builder.h"

using namespace tessera;

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
  int32_t width;
  int32_t height;
  int32_t map;
};

struct Options {
  int32_t frames = 300;
  std::vector<std::string> drivers = {"dummy", "offscreen", "x11"};
  std::vector<std::string> renderers = {"auto", "opengl"};
  std::vector<Run> runs = {{1280, 720, 1}, {1920, 1080, 1}, {1920, 1080, 30}};
};

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> out;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) {
    if (!part.empty()) out.push_back(part);
  }
  return out;
}

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--frames") options.frames = std::max(10, std::atoi(value.c_str()));
    if (name == "--drivers") options.drivers = split(value, ',');
    if (name == "--renderers") options.renderers = split(value, ',');
    if (name == "--runs") {
      options.runs.clear();
      for (const std::string& run : split(value, ',')) {
        Run r {};
        if (std::sscanf(run.c_str(), "%dx%d:%d", &r.width, &r.height, &r.map) == 3) options.runs.push_back(r);
      }
    }
  }
  return options;
}

struct Figures {
  double median = 0.0;
  double p99 = 0.0;
  double fps = 0.0;
};

Figures summarize(std::vector<double> ms) {
  Figures f;
  if (ms.empty()) return f;
  double total = 0.0;
  for (double m : ms) total += m;
  std::sort(ms.begin(), ms.end());
  f.median = ms[ms.size() / 2];
  f.p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
  f.fps = 1000.0 * static_cast<double>(ms.size()) / total;
  return f;
}

double since_ms(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The game's frame as the frame loop runs it, after the bot chose its key.
double game_frame() {
  testing_release_all_keys();
  const int32_t key = defaultgame::bot_key();
  if (key != 0) testing_set_key(key, true);
  testing_clear_recorded_draws();
  const Clock::time_point start = Clock::now();
  start_play();
  run_pass();
  screen_flip();
  return since_ms(start);
}

// A finished map is built again and the clock topped up outside the timed frames: the benchmark
// is about drawing a map in play, not about building one or about the game-over screens.
void keep_playing(int32_t map) {
  if (map_number != map || current_map != map) {
    map_number = map;
    build_level();
    current_map = map;
  }
  banner_due = 0;
  if (time_left < 20) time_left = 500;
}

std::vector<bare::Quad> quads_drawn(bare::Screen* screen) {
  std::vector<bare::Quad> quads;
  for (const DrawRecord& record : testing_recorded_draws()) {
    std::string path;
    int32_t key = 0;
    if (record.s3d == 0 || !testing_quad_image(record.s3d, path, key)) continue;
    bare::Quad quad;
    quad.texture = bare::image(screen, path, key);
    std::copy(record.corners, record.corners + 8, quad.corners);
    quad.x = record.x;
    quad.y = record.y;
    quad.alpha = static_cast<uint8_t>(std::clamp(record.alpha, 0, 255));
    quad.additive = record.blend_source == 2 && record.blend_destination == 5;
    quads.push_back(quad);
  }
  return quads;
}

// One driver, renderer, size and map: warm-up frames, then game and bare frames in turn.
void measure(const std::string& driver, const std::string& renderer, const Run& run, int32_t frames) {
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  if (renderer == "auto") {
    SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
  } else {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, renderer.c_str());
  }
  std::optional<defaultgame::DefaultGame> game;
  try {
    game.emplace(run.width, run.height);
  } catch (const std::exception& e) {
    std::printf("%-9s %-8s %4dx%-4d map %2d: %s\n", driver.c_str(), renderer.c_str(), run.width, run.height,
                run.map, e.what());
    return;
  }
  const std::string used = testing_renderer_name();
  if (renderer != "auto" && used != renderer) {
    std::printf("%-9s %-8s: not available (got %s)\n", driver.c_str(), renderer.c_str(), used.c_str());
    return;
  }
  bare::Screen* screen = bare::open(run.width, run.height, used);
  testing_record_draws(true);
  std::vector<double> game_ms;
  std::vector<double> bare_ms;
  size_t quads = 0;
  const int32_t warm_up = 20;
  for (int32_t n = -warm_up; n < frames; ++n) {
    keep_playing(run.map);
    const double g = game_frame();
    const std::vector<bare::Quad> drawn = screen == nullptr ? std::vector<bare::Quad>{} : quads_drawn(screen);
    const Clock::time_point start = Clock::now();
    if (screen != nullptr) bare::frame(screen, drawn);
    const double b = since_ms(start);
    if (n < 0) continue;
    game_ms.push_back(g);
    bare_ms.push_back(b);
    quads += drawn.size();
  }
  testing_record_draws(false);
  bare::close(screen);
  const Figures g = summarize(game_ms);
  const Figures b = summarize(bare_ms);
  std::printf("%-9s %-8s %4dx%-4d map %2d | game median %6.2f ms p99 %6.2f ms %6.1f fps | bare median %6.2f ms "
              "p99 %6.2f ms %6.1f fps | game/bare %.2f (p99 %.2f) | %zu quads a frame\n",
              driver.c_str(), (renderer == "auto" ? "auto:" + used : used).c_str(), run.width, run.height,
              run.map, g.median, g.p99, g.fps, b.median, b.p99, b.fps, b.median > 0 ? g.median / b.median : 0.0,
              b.p99 > 0 ? g.p99 / b.p99 : 0.0, quads / static_cast<size_t>(frames));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse(argc, argv);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::printf("frame_bench: %d frames a run, pacing and vsync off; ms per frame (wall clock)\n", options.frames);
  for (const std::string& driver : options.drivers) {
    testfiles::TempDir logs;
    e2e::XServer x;
    if (driver == "x11") {
      const std::string failure = e2e::start_xvfb(x, logs.path, "1920x1080x24");
      if (!failure.empty()) {
        std::printf("x11: %s\n", failure.c_str());
        continue;
      }
      setenv("DISPLAY", x.name().c_str(), 1);
    }
    setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    for (const std::string& renderer : options.renderers) {
      if (driver == "dummy" && renderer == "opengl") continue;  // the dummy driver has no OpenGL
      for (const Run& run : options.runs) measure(driver, renderer, run, options.frames);
    }
  }
  return 0;
}
