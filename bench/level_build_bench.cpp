// Level construction cost: maps 1 to 20 of a small base size, and the largest level (255 x 255).
// Runs headless on SDL's dummy drivers unless SDL_VIDEODRIVER names another. The CPU figures run without frame pacing, so they measure
// the engine's own work (content files, Sprite3D rebuilds, spawning, the progress bar); the paced
// figure builds as the game does, with pacing on, and reports the wall time a player waits.
// Also reported: the bytes of one cell and the peak memory of this process once it has built a
// 255 x 255 level. Usage: level_build_bench [--screen WxH] [--frozen-clock] [google benchmark flags]
// --frozen-clock stops the clock the progress bar reads, so it never presents: under a profiler,
// whose slowdown would multiply the presents, the counts are then the build's own work.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform_testing.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"

using namespace tessera;

namespace {

std::unique_ptr<levelfixture::LevelData> data;

double build_seconds(int32_t map, int64_t& cells) {
  map_number = map;
  const auto start = std::chrono::steady_clock::now();
  build_level();
  const auto end = std::chrono::steady_clock::now();
  cells += static_cast<int64_t>(level_width + 1) * (level_height + 1);
  return std::chrono::duration<double>(end - start).count();
}

void report(benchmark::State& state, double seconds, int64_t levels, int64_t cells) {
  state.counters["ms_per_level"] = 1e3 * seconds / static_cast<double>(levels);
  state.counters["us_per_cell"] = 1e6 * seconds / static_cast<double>(cells);
  state.counters["cells_per_level"] = static_cast<double>(cells) / static_cast<double>(levels);
}

double peak_megabytes() {
  rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void largest_level() {
  // Any base this large asks for more than the limit; the builder clamps to 255.
  base_width = 600;
  base_height = 600;
  MAPSIZE = 1024;
}

void BM_BuildMaps1To20(benchmark::State& state) {
  base_width = 12;
  base_height = 10;
  MAPSIZE = 255;
  double seconds = 0.0;
  int64_t levels = 0;
  int64_t cells = 0;
  for (auto _ : state) {
    for (int32_t map = 1; map <= 20; ++map) {
      seconds += build_seconds(map, cells);
      ++levels;
    }
  }
  report(state, seconds, levels, cells);
}

void BM_Build255x255(benchmark::State& state) {
  largest_level();
  double seconds = 0.0;
  int64_t levels = 0;
  int64_t cells = 0;
  for (auto _ : state) {
    seconds += build_seconds(1, cells);
    ++levels;
  }
  if (level_width != LEVEL_EXTENT_LIMIT || level_height != LEVEL_EXTENT_LIMIT) state.SkipWithError("not 255 x 255");
  report(state, seconds, levels, cells);
  state.counters["bytes_per_cell"] = static_cast<double>(sizeof(WorldCell));
  state.counters["peak_MB"] = peak_megabytes();
}

// As the game runs: frame pacing on, and every level a new map number (the progress bar starts
// again), so the wall time is what a player waits between two maps.
void BM_Build255x255Paced(benchmark::State& state) {
  largest_level();
  testing_set_frame_pacing(true);
  double seconds = 0.0;
  int64_t levels = 0;
  int64_t cells = 0;
  const int64_t flips_before = testing_flip_count();
  for (auto _ : state) {
    seconds += build_seconds(static_cast<int32_t>(levels % 2) + 1, cells);
    ++levels;
  }
  testing_set_frame_pacing(false);
  report(state, seconds, levels, cells);
  state.counters["presents_per_level"] =
      static_cast<double>(testing_flip_count() - flips_before) / static_cast<double>(levels);
}

// Takes the bench's own options out of the arguments before the benchmark library sees them:
// "--screen WxH" (default 1920x1080) and "--frozen-clock".
levelfixture::Options bench_options(int& argc, char** argv, bool& frozen_clock) {
  levelfixture::Options options;
  options.screen_w = 1920;
  options.screen_h = 1080;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screen") == 0 && i + 1 < argc) {
      std::sscanf(argv[++i], "%dx%d", &options.screen_w, &options.screen_h);
    } else if (std::strcmp(argv[i], "--frozen-clock") == 0) {
      frozen_clock = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return options;
}

}  // namespace

BENCHMARK(BM_BuildMaps1To20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Build255x255)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Build255x255Paced)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

int main(int argc, char** argv) {
  // Dummy drivers unless the caller names others (SDL_VIDEODRIVER=x11 under an X server shows what
  // a desktop's presents cost).
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  bool frozen_clock = false;
  const levelfixture::Options options = bench_options(argc, argv, frozen_clock);
  benchmark::Initialize(&argc, argv);
  data = std::make_unique<levelfixture::LevelData>(options);
  if (frozen_clock) testing_set_clock_us(1);
  std::printf("screen %d x %d, sizeof(WorldCell) %zu bytes\n", options.screen_w, options.screen_h,
              sizeof(WorldCell));
  benchmark::RunSpecifiedBenchmarks();
  data.reset();
  benchmark::Shutdown();
  return 0;
}
