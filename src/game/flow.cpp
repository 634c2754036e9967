#include "game/flow.h"

#include <string>

#include "actors/player_input.h"
#include "core/config.h"
#include "core/errors.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "game/screens.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "resources/catalogs.h"
#include "resources/map_files.h"
#include "resources/object_types.h"
#include "world/level_builder.h"

namespace tessera {

namespace {

int32_t window_handle = 0;
int32_t screen_handle = 0;
// The size asked for on the command line; 0 x 0 keeps the display's size and no border.
int32_t requested_width = 0;
int32_t requested_height = 0;

bool windowed() { return requested_width > 0 && requested_height > 0; }

void quit_on_request() { end_program(0); }

// The registered run-time error handler: the record names the map being played.
void log_runtime_error() { report_runtime_error(map_number); }

// Steps 1 to 4: bookkeeping, defaults, and the error handler before anything can fault.
void prepare_engine() {
  quit_handler_register(quit_on_request);
  config_set_defaults();
  world_state_set_defaults();
  player_input_set_defaults();
  window_handle = 0;
  screen_handle = 0;
  error_handler_register(log_runtime_error);
}

void register_decoders() {
  image_decoders_register();
  sound_decoders_register();
}

void measure_display() {
  screen_width = static_cast<float>(windowed() ? requested_width : desktop_width(0));
  screen_height = static_cast<float>(windowed() ? requested_height : desktop_height(0));
  font_zoom_set(screen_width);
}

// Without a size from the command line the window is exactly the size of display 0 at its
// top-left corner, without a border; no setting of the data set changes that.
void open_game_window() {
  const int32_t width = round_to_int(screen_width);
  const int32_t height = round_to_int(screen_height);
  const int32_t style = windowed() ? WINDOW_CENTRED : WINDOW_BORDERLESS;
  window_handle = window_open(-1, 0, 0, width, height, APPNAME, style);
  if (window_handle == 0) report_error(ERROR_WINDOW);
  screen_handle = screen_open_windowed(window_handle, width, height);
  if (screen_handle == 0) report_error(ERROR_SCREEN);
}

// The last folder of the home directory; both separators count, as data sets come from anywhere.
void take_player_name() {
  std::string home = home_directory();
  if (!home.empty()) home.pop_back();
  const size_t separator = home.find_last_of("\\/");
  player_name = separator == std::string::npos ? std::string() : home.substr(separator + 1);
}

// A map file names no player image of its own; without this the figure would be invisible in
// map mode (only the level builder loads it otherwise).
void load_first_level() {
  if (USESELFCREATEBASE == 1) {
    build_first_level(SELFCREATEBASE);
  } else {
    load_map(APPENTRY + APPSTART + ".ai42");
    load_player_graphic();
  }
}

void start_up() {
  prepare_engine();
  read_configuration();
  register_decoders();
  measure_display();
  open_game_window();
  take_player_name();
  declare_world_model();
  load_resources();
  show_intro(0);
  show_title_screen(0);
  load_first_level();
}

void build_due_level() {
  if (USESELFCREATEBASE != 1 || current_map == map_number) return;
  build_level();
  banner_due = 1;
  current_map = map_number;
}

// The recovery point is set in this procedure, which never returns, so a jump back to it after
// an abandoned frame always lands in a live stack frame. An abandoned frame is simply not
// finished: the next one starts from the top.
[[noreturn]] void frame_loop() {
  fault_recovery_arm(true);
  for (;;) {
    // A frame abandoned inside its batch leaves the batch open; close it before the next one.
    if (FAULT_RECOVERY_POINT() != 0) sprite3d_end();
    play_frame();
  }
}

}  // namespace

void load_resources() {
  load_tile_graphics();
  clear_object_lists();
  load_object_types();
  load_sound_effects();
  load_music_tracks();
  load_world_floaters();
  load_title_floaters();
  font_init();
}

void play_frame() {
  TESSERA_HERE();
  build_due_level();
  examine_mouse_step();
  read_play_input();
  frame_driver();
}

// A new game starts fresh: the frame loop only rebuilds when the map number differs, so without
// this a game lost on map 1 would resume the lost map with its clock already run out.
void after_game_over() {
  if (quit_requested != 0) end_program(0);
  show_title_screen(0);
  current_map = -1;
  score = 0;
  score_target = 0;
  level_start_score = 0;
  // One bomb. Not operator=("&"): GCC 12 warns of an overlapping copy there (-Wrestrict).
  bombs.assign(1, '&');
}

void run_game(int32_t window_width, int32_t window_height) {
  requested_width = window_width;
  requested_height = window_height;
  start_up();
  frame_loop();
}

}  // namespace tessera
