#include "game/default_game.h"

#include <unistd.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "actors/play_clock.h"
#include "actors/player_input.h"
#include "core/config.h"
#include "core/runtime.h"
#include "game/flow.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "presentation/font.h"
#include "presentation/overlays.h"
#include "presentation/screen_text.h"
#include "resources/object_types.h"
#include "resources/progress_bars.h"
#include "world/level_builder.h"
#include "world/tile_rules.h"

namespace defaultgame {

namespace fs = std::filesystem;
using namespace tessera;

DefaultGame::DefaultGame(int32_t width, int32_t height, const std::function<void(const std::string&)>& alter) {
  fs::copy(fs::path(ZORVANE_SOURCE_DIR) / "game", dir.path, fs::copy_options::recursive);
  if (alter) alter(dir.path);
  previous_directory = fs::current_path().string();
  // The game takes its start directory from the current one.
  if (chdir(dir.path.c_str()) != 0) throw std::runtime_error("cannot enter " + dir.path);

  config_set_defaults();
  world_state_set_defaults();
  player_input_set_defaults();
  read_configuration();
  start_platform_services();
  if (testing_open_screen(width, height) == 0) throw std::runtime_error("no test screen");
  testing_set_frame_pacing(false);
  testing_set_real_delays(false);
  screen_width = static_cast<float>(width);
  screen_height = static_cast<float>(height);
  font_zoom_set(screen_width);
  declare_world_model();

  load_resources();

  // What the title screen leaves behind when play starts.
  menu_active = 0;
  game_mode = GAME_MODE_PLAY;
  map_number = 1;
  build_first_level(SELFCREATEBASE);
  current_map = map_number;
  start_play();
}

DefaultGame::~DefaultGame() {
  testing_reset_platform();
  std::error_code ignored;
  fs::current_path(previous_directory, ignored);
}

int32_t count_pickups() {
  int32_t n = 0;
  for (int32_t x = 0; x <= level_width; ++x) {
    for (int32_t y = 0; y <= level_height; ++y) {
      const WorldCell& cell = world_cell(x, y);
      for (int32_t slot = 0; slot <= cell.last_child_name && slot < CHILD_SLOTS; ++slot) {
        const int32_t instance = cell.child_object[static_cast<size_t>(slot)];
        if (instance >= 0 && instance < object_instances.size() &&
            object_instances.at(instance).DKILLONCOLLISION != 0) {
          ++n;
        }
      }
    }
  }
  return n;
}

namespace {

bool unpainted(const std::string& kind) {
  return kind == "LAB_FLOOR" || kind == "LAB_GREEN" || kind == "LAB_PINK_FLOOR";
}

// Kinds that are painted already or can still be painted by walking on them.
bool paintable(const std::string& kind) {
  return unpainted(kind) || kind == "LAB_BLUE_FLOOR" || kind == "LAB_FIXED_FLOOR";
}

// An unpainted cell that lies in some shape whose four cells can all be painted: painting it
// brings a fix nearer. Cells in one-wide corridors never fix and are not worth a detour.
bool worth_painting(int32_t x, int32_t y) {
  if (!unpainted(world_cell(x, y).tile_kind)) return false;
  for (int32_t ay = y - 1; ay <= y + 1; ++ay) {
    for (int32_t ax = x - 1; ax <= x + 1; ++ax) {
      for (const auto& shape : FIXING_SHAPES) {
        bool open = paintable(world_cell(ax, ay).tile_kind);
        bool contains = ax == x && ay == y;
        for (const auto& o : shape) {
          open = open && paintable(world_cell(ax + o[0], ay + o[1]).tile_kind);
          contains = contains || (ax + o[0] == x && ay + o[1] == y);
        }
        if (open && contains) return true;
      }
    }
  }
  return false;
}

struct Cell {
  int32_t x;
  int32_t y;
};

Cell player_cell() {
  return {static_cast<int32_t>(std::floor(player.x / cell_width)) + static_cast<int32_t>(scroll_x),
          static_cast<int32_t>(std::floor(player.y / cell_height)) + static_cast<int32_t>(scroll_y)};
}

}  // namespace

int32_t bot_key() {
  const Cell p = player_cell();
  // A broken map can leave the figure outside the level: no way to walk from there.
  if (p.x < 0 || p.y < 0 || p.x > level_width || p.y > level_height) return 0;
  const int32_t rows = level_height + 1;
  const auto index = [rows](int32_t x, int32_t y) { return static_cast<size_t>(x * rows + y); };
  const int32_t steps[4][3] = {{1, 0, KEY_RIGHT}, {-1, 0, KEY_LEFT}, {0, 1, KEY_DOWN}, {0, -1, KEY_UP}};
  for (const bool picky : {true, false}) {
    std::vector<int32_t> first_key(static_cast<size_t>((level_width + 1) * rows), -1);
    std::deque<Cell> queue{p};
    first_key[index(p.x, p.y)] = 0;
    while (!queue.empty()) {
      const Cell c = queue.front();
      queue.pop_front();
      for (const auto& s : steps) {
        const int32_t nx = c.x + s[0];
        const int32_t ny = c.y + s[1];
        if (nx < 0 || ny < 0 || nx > level_width || ny > level_height) continue;
        if (first_key[index(nx, ny)] != -1 || world_cell(nx, ny).use_collision != 0) continue;
        const int32_t key = (c.x == p.x && c.y == p.y) ? s[2] : first_key[index(c.x, c.y)];
        first_key[index(nx, ny)] = key;
        if (picky ? worth_painting(nx, ny) : unpainted(world_cell(nx, ny).tile_kind)) return key;
        queue.push_back({nx, ny});
      }
    }
  }
  return 0;
}

void reset_run_state() {
  config_set_defaults();
  world_state_set_defaults();
  player_input_set_defaults();
  time_tick = 0;
  grab_sprite = 0;
  grab_sprite3d = 0;
  hud_scroll_offset = 0;
  text_pen_x = 0.0f;
  text_pen_y = 0.0f;
  build_progress = 1.0f;
  build_progress_calls = 0;
  frame_loop_reset();
  start_play();
}

bool run_frame(const std::vector<int32_t>& keys, bool drawn) {
  const bool due = current_map != map_number;
  testing_release_all_keys();
  for (const int32_t key : keys) {
    const int32_t held = key == BOT ? bot_key() : key;
    if (held != 0) testing_set_key(held, true);
  }
  const Controls controls = read_controls();
  // The banner that follows a build belongs to the frame that built the level.
  do {
    loop_pass(controls, drawn);
    if (drawn) screen_flip();
  } while (screen == Screen::banner);
  return due;
}

}  // namespace defaultgame
