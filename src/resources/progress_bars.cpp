#include "resources/progress_bars.h"

#include <algorithm>

#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"

namespace tessera {

float map_progress = 1.0f;
int32_t map_progress_calls = 0;
float build_progress = 1.0f;
int32_t build_progress_calls = 0;

namespace {

constexpr int64_t GAME_FRAME_US = 1'000'000 / 60;
// Where a present costs real work (a software renderer at a large size), the bar waits long
// enough after it that showing it takes at most a fifth of the time.
constexpr int64_t PRESENT_SHARE_INVERSE = 4;

// When a bar last finished showing and how long it waits before the next showing. A bar that
// has just begun waits one refresh first, so a build shorter than that shows nothing at all.
struct PresentTimer {
  bool started = false;
  int64_t shown_us = 0;
  int64_t gap_us = 0;
};

PresentTimer map_timer;
PresentTimer build_timer;

// One display refresh, and never less than one frame of the game's own pacing.
int64_t refresh_interval_us() {
  static const int64_t interval = [] {
    const int32_t hz = desktop_frequency(0);
    return hz > 0 ? std::max<int64_t>(GAME_FRAME_US, 1'000'000 / hz) : GAME_FRAME_US;
  }();
  return interval;
}

bool present_due(PresentTimer& timer) {
  const int64_t now = clock_us();
  if (!timer.started) {
    timer.started = true;
    timer.shown_us = now;
    timer.gap_us = refresh_interval_us();
    return false;
  }
  return now - timer.shown_us >= timer.gap_us;
}

// A one-cell level has no area to divide by; its bar simply fills at once.
float progress_step() {
  const double cells = static_cast<double>(level_width) * static_cast<double>(level_height);
  if (cells <= 0.0) return screen_width;
  return static_cast<float>(screen_width / cells);
}

// The bar is drawn only when it is shown: the back buffer keeps nothing between presents that
// anybody sees.
void present_bar(PresentTimer& timer, float length) {
  const int64_t start = clock_us();
  const int32_t y = round_to_int(screen_height * 0.85);
  draw_box(0, y, round_to_int(screen_width), 9, rgb(0, 0, 0));
  draw_box(0, y, round_to_int(length), 8, rgb(255, 0, 0));
  screen_flip_now();
  timer.shown_us = clock_us();
  timer.gap_us = progress_present_gap_us(refresh_interval_us(), timer.shown_us - start);
  // A large build or map takes a while: a request to close is answered between two bars.
  window_events_when_due();
}

}  // namespace

int64_t progress_present_gap_us(int64_t refresh_us, int64_t present_cost_us) {
  return std::max(refresh_us, PRESENT_SHARE_INVERSE * std::max<int64_t>(present_cost_us, 0));
}

void map_read_progress() {
  map_progress += progress_step();
  map_progress_calls += 1;
  if (!present_due(map_timer)) return;
  present_bar(map_timer, map_progress);
  map_progress_calls = 0;
}

void level_build_progress() {
  if (current_map != map_number) {
    build_progress = 1.0f;
    current_map = map_number;
    build_timer = PresentTimer{};
  }
  build_progress += progress_step();
  build_progress_calls += 1;
  if (!present_due(build_timer)) return;
  present_bar(build_timer, build_progress);
  build_progress_calls = 0;
}

}  // namespace tessera
