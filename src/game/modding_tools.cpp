#include "game/modding_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "actors/dialogs.h"
#include "actors/player_input.h"
#include "core/config.h"
#include "core/diagnostics.h"
#include "core/errors.h"
#include "core/numeric.h"
#include "game/screens.h"
#include "game/settings_screen.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "presentation/overlays.h"
#include "resources/catalogs.h"
#include "resources/cell_content.h"
#include "resources/map_files.h"
#include "resources/object_types.h"
#include "resources/sound_control.h"
#include "world/level_builder.h"

namespace tessera {

namespace {

// The screen the tools load and build on: small, as nothing is shown on it.
constexpr int32_t TOOL_SCREEN = 64;

int32_t tool_window = 0;

// The services start-up starts, on SDL's dummy drivers, and a small screen.
bool start_headless_services() {
  if (screen_init() == 0) return false;
  sprite_transparent_color(-1, rgb(255, 0, 255));
  sound_init();
  image_decoders_register();
  sound_decoders_register();
  tool_window = window_open(-1, 0, 0, TOOL_SCREEN, TOOL_SCREEN, APPNAME, WINDOW_BORDERLESS);
  if (tool_window == 0 || screen_open_windowed(tool_window, TOOL_SCREEN, TOOL_SCREEN) == 0) {
    return false;
  }
  screen_width = static_cast<float>(TOOL_SCREEN);
  screen_height = static_cast<float>(TOOL_SCREEN);
  font_zoom_set(screen_width);
  return true;
}

bool configuration_readable() {
  const int32_t file = file_open_read(-1, configuration_path);
  file_close(file);
  return file != 0;
}

// Everything start-up loads before the intro, in its order (the floaters are the checker's own).
void load_catalogs() {
  declare_world_model();
  load_tile_graphics();
  clear_object_lists();
  load_object_types();
  load_sound_effects();
  load_music_tracks();
}

std::vector<std::string> texts_drawn() {
  std::vector<std::string> texts = overlay_texts();
  for (const std::vector<std::string>& more : {dialog_texts(), title_screen_texts(), settings_screen_texts()}) {
    texts.insert(texts.end(), more.begin(), more.end());
  }
  return texts;
}

void run_checks() {
  check_error_log();
  check_catalogs();
  check_object_types();
  check_sound_names();
  check_cell_contents();
  check_level_sources();
  check_map_files();
  check_font(texts_drawn());
  check_screen_pictures();
}

int32_t print_problems(int32_t status) {
  for (const Diagnostic& problem : diagnostics_sorted()) std::printf("%s\n", diagnostic_text(problem).c_str());
  const int32_t errors = diagnostics_count(Severity::error);
  const int32_t warnings = diagnostics_count(Severity::warning);
  std::fprintf(stderr, "zorvane --check: %d error%s, %d warning%s\n", errors, errors == 1 ? "" : "s", warnings,
               warnings == 1 ? "" : "s");
  if (status != TOOL_CLEAN) return status;
  return errors > 0 ? TOOL_FAILED : TOOL_CLEAN;
}

}  // namespace

int32_t run_data_check() {
  headless_mode();
  // Whatever cannot be loaded gets a report line; the loaders' own lines would say it twice.
  load_reports_enable(false);
  config_set_defaults();
  world_state_set_defaults();
  player_input_set_defaults();
  diagnostics_begin(start_directory);
  if (!check_configuration()) return print_problems(TOOL_UNREADABLE);
  if (!start_headless_services()) {
    std::fprintf(stderr, "zorvane --check: the headless screen could not be opened\n");
    return TOOL_FAILED;
  }
  load_catalogs();
  load_player_graphic();
  font_init();
  run_checks();
  return print_problems(TOOL_CLEAN);
}

namespace {

void set_cell_size(float cell) {
  RESOLUTION = cell;
  cell_width = cell;
  cell_height = cell;
}

// As play gets there: start-up builds map 1 from the base level file (or loads the hand-made
// map); a later map is built from the base size that file gave, as Page Up builds it.
void build_requested_map(const LevelPictureRequest& request) {
  load_catalogs();
  if (USESELFCREATEBASE != 1) {
    load_map(APPENTRY + APPSTART + ".ai42");
    load_player_graphic();
    return;
  }
  map_number = 1;
  build_first_level(SELFCREATEBASE);
  if (request.map == 1 && !request.rebuilt) return;
  map_number = request.map;
  build_level();
}

int64_t picture_side(int32_t cells, float cell) { return std::llround(static_cast<double>(cells) * cell); }

bool picture_fits(float cell) {
  const int64_t width = picture_side(level_width + 1, cell);
  const int64_t height = picture_side(level_height + 1, cell);
  return width <= PICTURE_SIDE_LIMIT && height <= PICTURE_SIDE_LIMIT &&
         width * height <= static_cast<int64_t>(PICTURE_AREA_SIDE) * PICTURE_AREA_SIDE;
}

// The largest whole cell size at which the level's picture fits; 0 when none does.
int32_t largest_fitting_cell() {
  int32_t cell = PICTURE_SIDE_LIMIT;
  while (cell > 0 && !picture_fits(static_cast<float>(cell))) --cell;
  return cell;
}

bool draw_and_save(const std::string& out, float scale) {
  const int32_t width = round_to_int(static_cast<double>(level_width + 1) * RESOLUTION);
  const int32_t height = round_to_int(static_cast<double>(level_height + 1) * RESOLUTION);
  if (screen_open_windowed(tool_window, width, height) == 0) return false;
  screen_width = static_cast<float>(width);
  screen_height = static_cast<float>(height);
  draw_level_picture(scale);
  if (screen_save_png(out) == 0) return false;
  std::printf("%s: map %d, %d x %d cells of %g pixels, %d x %d pixels\n", out.c_str(), map_number,
              level_width + 1, level_height + 1, static_cast<double>(RESOLUTION), width, height);
  return true;
}

}  // namespace

int32_t run_level_picture(const LevelPictureRequest& request) {
  headless_mode();
  config_set_defaults();
  world_state_set_defaults();
  player_input_set_defaults();
  if (!configuration_readable()) {
    std::fprintf(stderr, "zorvane --render-level: %s cannot be read\n", configuration_path.c_str());
    return TOOL_UNREADABLE;
  }
  read_configuration();
  if (!start_headless_services()) {
    std::fprintf(stderr, "zorvane --render-level: the headless screen could not be opened\n");
    return TOOL_FAILED;
  }
  // Built at the data set's own cell size, as play builds it; only the picture takes the cell asked for.
  const float built_cell = RESOLUTION;
  build_requested_map(request);
  set_cell_size(request.cell > 0 ? static_cast<float>(request.cell) : built_cell);
  if (!picture_fits(RESOLUTION)) {
    std::fprintf(stderr,
                 "zorvane --render-level: map %d is %d x %d cells; at %g pixels a cell the picture would be %lld x %lld "
                 "pixels, more than %d a side or %d x %d in all; --cell %d fits\n",
                 map_number, level_width + 1, level_height + 1, static_cast<double>(RESOLUTION),
                 static_cast<long long>(picture_side(level_width + 1, RESOLUTION)),
                 static_cast<long long>(picture_side(level_height + 1, RESOLUTION)), PICTURE_SIDE_LIMIT,
                 PICTURE_AREA_SIDE, PICTURE_AREA_SIDE, largest_fitting_cell());
    return TOOL_FAILED;
  }
  if (!draw_and_save(request.out, RESOLUTION / built_cell)) {
    std::fprintf(stderr, "zorvane --render-level: %s could not be written\n", request.out.c_str());
    return TOOL_FAILED;
  }
  return TOOL_CLEAN;
}

}  // namespace tessera
