// Frame pacing probe: flips a screen for a few seconds while drawing a field of quads and reports
// frames per second and the spread of frame times. Keys seen are printed with their scan codes.
// Usage: pacing_probe [seconds] [quads]
// Build after the library: g++ -std=c++20 -O2 -Isrc bench/pacing_probe.cpp build/libtessera.a \
//   $(pkg-config --cflags --libs sdl2 SDL2_image SDL2_mixer) -o pacing_probe
// Under Xvfb: Xvfb :99 -screen 0 1280x720x24 -noreset & DISPLAY=:99 SDL_VIDEODRIVER=x11 ./pacing_probe
#include "platform/platform.h"
#include "platform/platform_testing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tessera;

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
  const int quads = argc > 2 ? std::atoi(argv[2]) : 500;
  if (screen_init() == 0) return 1;
  image_decoders_register();
  const int32_t width = std::max(desktop_width(0), 320), height = std::max(desktop_height(0), 240);
  std::printf("display 0: %d x %d, %d Hz\n", width, height, desktop_frequency(0));
  const int32_t window = window_open(-1, 0, 0, width, height, "pacing probe", WINDOW_BORDERLESS);
  if (window == 0 || screen_open_windowed(window, width, height) == 0) return 1;

  // A quad to draw: grab a small coloured square from the back buffer.
  screen_clear(rgb(200, 60, 20));
  const int32_t tile = sprite3d_create(-1, sprite_grab(-1, 0, 0, 32, 32));

  using Clock = std::chrono::steady_clock;
  std::vector<double> frame_ms;
  const Clock::time_point start = Clock::now();
  Clock::time_point last = start;
  while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) {
    keyboard_examine();
    for (int32_t code = 1; code < 256; ++code) {
      if (key_released(code) != 0) std::printf("key released: %d\n", code);
    }
    screen_clear(rgb(10, 10, 40));
    for (int i = 0; i < quads; ++i) sprite3d_draw(tile, (i * 37) % width, (i * 53) % height, 200);
    window_event(0);
    screen_flip();
    const Clock::time_point now = Clock::now();
    frame_ms.push_back(std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
  }
  const double total = std::chrono::duration<double>(last - start).count();
  std::sort(frame_ms.begin(), frame_ms.end());
  std::printf("%zu frames in %.2f s: %.2f fps; frame ms min %.2f median %.2f p99 %.2f max %.2f\n",
              frame_ms.size(), total, static_cast<double>(frame_ms.size()) / total, frame_ms.front(),
              frame_ms[frame_ms.size() / 2], frame_ms[frame_ms.size() * 99 / 100], frame_ms.back());
  platform_close_all();
  return 0;
}
