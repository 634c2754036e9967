#include "game/default_game.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "actors/player_input.h"
#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "presentation/font.h"
#include "resources/catalogs.h"
#include "resources/object_types.h"
#include "world/level_builder.h"

namespace defaultgame {

namespace fs = std::filesystem;
using namespace tessera;

DefaultGame::DefaultGame(int32_t width, int32_t height) {
  fs::copy(fs::path(ZORVANE_SOURCE_DIR) / "game", dir.path, fs::copy_options::recursive);
  previous_directory = fs::current_path().string();
  // The game takes its start directory from the current one.
  if (chdir(dir.path.c_str()) != 0) throw std::runtime_error("cannot enter " + dir.path);

  config_set_defaults();
  world_state_set_defaults();
  player_input_set_defaults();
  read_configuration();
  if (testing_open_screen(width, height) == 0) throw std::runtime_error("no test screen");
  testing_set_frame_pacing(false);
  testing_set_real_delays(false);
  screen_width = static_cast<float>(width);
  screen_height = static_cast<float>(height);
  font_zoom_set(screen_width);
  declare_world_model();

  load_tile_graphics();
  clear_object_lists();
  load_object_types();
  load_sound_effects();
  load_music_tracks();
  load_world_floaters();
  load_title_floaters();
  font_init();

  // What the title screen leaves behind when play starts.
  menu_active = 0;
  game_mode = GAME_MODE_PLAY;
  map_number = 1;
  build_first_level(SELFCREATEBASE);
}

DefaultGame::~DefaultGame() {
  testing_reset_platform();
  std::error_code ignored;
  fs::current_path(previous_directory, ignored);
}

int32_t count_kind(const std::string& kind) {
  int32_t n = 0;
  for (int32_t x = 0; x <= level_width; ++x) {
    for (int32_t y = 0; y <= level_height; ++y) n += world_cell(x, y).tile_kind == kind ? 1 : 0;
  }
  return n;
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

}  // namespace defaultgame
