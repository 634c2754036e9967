// Level construction cost: maps 1 to 20 of a small base size, and the largest level (255 x 255).
// Runs headless on SDL's dummy drivers without frame pacing, so it measures the engine's own work
// (content file reads, Sprite3D rebuilds, spawning, the progress bar's drawing), not display waits.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "core/config.h"
#include "model/world_model.h"
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
  // Any base this large asks for more than the limit; the builder clamps to 255.
  base_width = 600;
  base_height = 600;
  MAPSIZE = 1024;
  double seconds = 0.0;
  int64_t levels = 0;
  int64_t cells = 0;
  for (auto _ : state) {
    seconds += build_seconds(1, cells);
    ++levels;
  }
  if (level_width != LEVEL_EXTENT_LIMIT || level_height != LEVEL_EXTENT_LIMIT) state.SkipWithError("not 255 x 255");
  report(state, seconds, levels, cells);
}

}  // namespace

BENCHMARK(BM_BuildMaps1To20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Build255x255)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  benchmark::Initialize(&argc, argv);
  data = std::make_unique<levelfixture::LevelData>();
  benchmark::RunSpecifiedBenchmarks();
  data.reset();
  benchmark::Shutdown();
  return 0;
}
