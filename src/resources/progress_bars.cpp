#include "resources/progress_bars.h"

#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"

namespace tessera {

float map_progress = 1.0f;
int32_t map_progress_calls = 0;
float build_progress = 1.0f;
int32_t build_progress_calls = 0;

namespace {

// A one-cell level has no area to divide by; its bar simply fills at once.
float progress_step() {
  const double cells = static_cast<double>(level_width) * static_cast<double>(level_height);
  if (cells <= 0.0) return screen_width;
  return static_cast<float>(screen_width / cells);
}

}  // namespace

void map_read_progress() {
  map_progress += progress_step();
  map_progress_calls += 1;
}

void level_build_progress() {
  build_progress += progress_step();
  build_progress_calls += 1;
}

void draw_progress_bar(float length) {
  const int32_t y = round_to_int(screen_height * 0.85);
  draw_box(0, y, round_to_int(screen_width), 9, rgb(0, 0, 0));
  draw_box(0, y, round_to_int(length), 8, rgb(255, 0, 0));
}

}  // namespace tessera
