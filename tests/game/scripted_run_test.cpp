// A few hundred frames of play on generated levels, driven like the frame loop drives them, with
// the arrow keys chosen each frame by a small path finder that heads for the nearest unpainted cell.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "actors/player_input.h"
#include "core/config.h"
#include "core/runtime.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;

namespace {

bool wanted(const std::string& kind) {
  return kind == "LAB_FLOOR" || kind == "LAB_GREEN" || kind == "LAB_PINK_FLOOR";
}

// The arrow key of the first step on a shortest open path to the nearest unpainted cell; 0 when
// no such cell can be reached.
int32_t next_key() {
  const int32_t px = static_cast<int32_t>(std::floor(player.x / cell_width)) + static_cast<int32_t>(scroll_x);
  const int32_t py = static_cast<int32_t>(std::floor(player.y / cell_height)) + static_cast<int32_t>(scroll_y);
  const int32_t w = level_width + 1;
  const int32_t h = level_height + 1;
  std::vector<int32_t> first_key(static_cast<size_t>(w * h), -1);
  std::deque<std::pair<int32_t, int32_t>> queue;
  auto index = [h](int32_t x, int32_t y) { return static_cast<size_t>(x * h + y); };
  first_key[index(px, py)] = 0;
  queue.emplace_back(px, py);
  const int32_t steps[4][3] = {{1, 0, KEY_RIGHT}, {-1, 0, KEY_LEFT}, {0, 1, KEY_DOWN}, {0, -1, KEY_UP}};
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    for (const auto& s : steps) {
      const int32_t nx = x + s[0];
      const int32_t ny = y + s[1];
      if (nx < 0 || ny < 0 || nx >= w || ny >= h || first_key[index(nx, ny)] != -1) continue;
      if (world_cell(nx, ny).use_collision != 0) continue;
      const int32_t key = (x == px && y == py) ? s[2] : first_key[index(x, y)];
      first_key[index(nx, ny)] = key;
      if (wanted(world_cell(nx, ny).tile_kind)) return key;
      queue.emplace_back(nx, ny);
    }
  }
  return 0;
}

}  // namespace

TEST(ScriptedRun, PlayerPaintsFixesCompletesAMapAndTheNextLargerOneIsBuilt) {
  LevelData data;
  // Base size 1: a map's width and height are its number, so every next map is larger.
  base_width = 1;
  base_height = 1;
  constexpr int32_t FIRST_MAP = 16;
  constexpr int32_t MAPS = 4;
  map_number = FIRST_MAP;
  current_map = 0;
  menu_active = 0;
  input_device = 0;
  player_input_set_defaults();

  struct Built {
    int32_t map;
    int32_t width;
    int32_t tiles;
  };
  std::vector<Built> built;
  bool tiles_fell_during_a_map = false;
  int32_t most_fixed = 0;
  int32_t most_blue = 0;
  bool painted_on_first_map = false;
  int32_t frames = 0;
  for (; frames < 3000 && map_number < FIRST_MAP + MAPS; ++frames) {
    if (current_map != map_number) {
      build_level();
      current_map = map_number;
      built.push_back({map_number, level_width, tiles_left});
    }
    testing_release_all_keys();
    const int32_t key = next_key();
    if (key != 0) testing_set_key(key, true);
    read_play_input();
    sprite3d_begin();
    world_step();
    sprite3d_end();
    if (current_map == map_number) {
      if (tiles_left > 0 && tiles_left < built.back().tiles) tiles_fell_during_a_map = true;
      most_fixed = std::max(most_fixed, levelfixture::count_kind("LAB_FIXED_FLOOR"));
      most_blue = std::max(most_blue, levelfixture::count_kind("LAB_BLUE_FLOOR"));
      if (built.size() == 1 && most_blue > 0) painted_on_first_map = true;
    }
  }
  ASSERT_EQ(built.size(), static_cast<size_t>(MAPS)) << "frames " << frames << " tiles_left " << tiles_left;
  EXPECT_EQ(map_number, FIRST_MAP + MAPS);
  EXPECT_GT(frames, 100);
  EXPECT_TRUE(painted_on_first_map);
  EXPECT_GT(most_fixed, 0);
  EXPECT_TRUE(tiles_fell_during_a_map);
  for (size_t n = 0; n < built.size(); ++n) {
    EXPECT_EQ(built[n].map, FIRST_MAP + static_cast<int32_t>(n));
    EXPECT_EQ(built[n].width, built[n].map);
    EXPECT_GT(built[n].tiles, 0);
  }
  // Completing the first map recorded the score it ended with.
  EXPECT_GT(level_start_score, 0);
}
