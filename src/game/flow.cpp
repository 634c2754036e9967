#include "game/flow.h"

#include <algorithm>
#include <string>

#include "actors/dialogs.h"
#include "actors/play_clock.h"
#include "core/config.h"
#include "core/errors.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "game/screens.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "presentation/overlays.h"
#include "resources/catalogs.h"
#include "resources/map_files.h"
#include "resources/object_types.h"
#include "resources/progress_bars.h"
#include "world/level_builder.h"

namespace tessera {

Screen screen = Screen::loading;

namespace {

int32_t window_handle = 0;
int32_t screen_handle = 0;
// The size asked for on the command line; 0 x 0 keeps the display's size and no border.
int32_t requested_width = 0;
int32_t requested_height = 0;

// The screens' own state.
int32_t screen_frame = 0;          // frames the banner or the game over has shown
Screen after_banner = Screen::play;
bool first_game = true;            // map 1 is the start-up map, not a rebuilt one
bool build_begun = false;
bool pacing_builds = false;        // the real loop yields between the parts of a long build
bool end_requested = false;

// A build yields the pass once it has taken this long, so the window keeps answering.
constexpr int64_t BUILD_SLICE_US = 8000;

bool windowed() { return requested_width > 0 && requested_height > 0; }

// A request to close ends the program from the end screen at the next pass; while loading there is
// no pass to wait for and nothing to lose.
void quit_on_request() {
  if (screen == Screen::loading) end_program(0);
  end_requested = true;
}

// The registered run-time error handler: the record names the map being played.
void log_runtime_error() { report_runtime_error(map_number); }

// Bookkeeping, defaults, and the error handler before anything can fault.
void prepare_engine() {
  quit_handler_register(quit_on_request);
  config_set_defaults();
  world_state_set_defaults();
  player_input_set_defaults();
  frame_loop_reset();
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

// Defaults, the configuration and the services, the window, the player's name and the world
// model; loading the data set is the first screen's work.
void start_up() {
  prepare_engine();
  read_configuration();
  start_platform_services();
  register_decoders();
  measure_display();
  open_game_window();
  take_player_name();
  declare_world_model();
}

void enter(Screen next) {
  screen = next;
  screen_frame = 0;
}

void play_step(const Controls& controls);

// Map 1 of the first game is the start-up map: built from the base level file, or the map file.
// Neither shows a banner. A map file is read within the pass; it has no parts.
void begin_build() {
  build_begun = true;
  if (!first_game) {
    begin_level();
  } else if (USESELFCREATEBASE == 1) {
    begin_first_level(SELFCREATEBASE);
  } else {
    load_map(APPENTRY + APPSTART + ".ai42");
    // A map file names no player image of its own; without this the figure would be invisible.
    load_player_graphic();
    preload_play_contents();
  }
}

void build_step(const Controls& controls) {
  if (!build_begun) begin_build();
  const int64_t start = clock_us();
  bool built = false;
  do {
    built = level_build_step();
  } while (!built && !(pacing_builds && clock_us() - start >= BUILD_SLICE_US));
  if (!built) return;
  build_begun = false;
  // Only now does the level count as built: an abandoned build is begun again.
  if (!first_game) banner_due = 1;
  current_map = map_number;
  first_game = false;
  enter(Screen::play);
  play_step(controls);
}

void start_build(const Controls& controls) {
  enter(Screen::build);
  build_begun = false;
  build_step(controls);
}

void play_step(const Controls& controls) {
  if (USESELFCREATEBASE == 1 && current_map != map_number) {
    start_build(controls);
    return;
  }
  examine_mouse_step();
  read_play_input(controls);
  world_step();
  clock_frame(CLOCK_COUNT_DOWN);
  if (player_trapped == 1) {
    player_trapped = 0;
    after_game_over();
    return;
  }
  Screen next = Screen::play;
  if (game_mode == GAME_MODE_GAME_OVER) {
    next = Screen::game_over;
  } else if (dialog_request == ACTION_PAUSE) {
    next = Screen::pause;
  } else if (dialog_request == ACTION_QUIT) {
    next = Screen::quit;
  }
  if (banner_due == 1) {
    after_banner = next;
    enter(Screen::banner);
  } else if (next != Screen::play) {
    enter(next);
  }
}

void title_screen_step(const Controls& controls) {
  if (!title_step(controls)) return;
  // The first game plays the start-up map; a later one rebuilds map 1 in play.
  if (first_game) {
    start_build(controls);
  } else {
    enter(Screen::play);
    play_step(controls);
  }
}

void step_screen(const Controls& controls) {
  switch (screen) {
    case Screen::loading:
      load_resources();
      enter_intro();
      enter(Screen::intro);
      break;
    case Screen::intro:
      if (intro_step()) {
        enter_title();
        enter(Screen::title);
      }
      break;
    case Screen::title: title_screen_step(controls); break;
    case Screen::build: build_step(controls); break;
    case Screen::banner:
      if (++screen_frame >= sweep_frames()) {
        banner_due = 0;
        enter(after_banner);
      }
      break;
    case Screen::play: play_step(controls); break;
    case Screen::pause:
      if (pause_dialog(controls) != ACTION_NONE) enter(Screen::play);
      break;
    case Screen::quit: {
      const int32_t answer = quit_dialog(controls);
      if (answer == ACTION_B) enter(Screen::game_over);
      if (answer == ACTION_X) enter(Screen::play);
      break;
    }
    case Screen::game_over:
      // Its first frame is the last frame of play, then the sweep.
      if (++screen_frame > sweep_frames()) after_game_over();
      break;
    case Screen::end: break;
  }
}

void draw_screen() {
  switch (screen) {
    case Screen::loading:
    case Screen::end: break;
    case Screen::build: draw_progress_bar(build_progress); break;
    case Screen::play: draw_world_frame(true); break;
    case Screen::banner:
      draw_world_frame(false);
      draw_map_banner(screen_frame);
      break;
    case Screen::game_over:
      draw_world_frame(true);
      if (screen_frame > 0) draw_game_over(screen_frame - 1);
      break;
    case Screen::intro: draw_intro(); break;
    case Screen::title: draw_title(); break;
    // The dialogs' texts go over whatever the last frame left.
    case Screen::pause: draw_pause_dialog(); break;
    case Screen::quit: draw_quit_dialog(); break;
  }
}

// MULTITASK's wait for window messages belongs to the title, play and the sweeps over the world;
// the intro, the dialogs and a build only take what is there.
bool waits_on_multitask(Screen on) {
  return on == Screen::title || on == Screen::play || on == Screen::banner || on == Screen::game_over;
}

void frame_pass() {
  run_pass();
  if (screen == Screen::end) end_program(0);
  screen_flip();
}

// The platform runs the passes: a loop of its own on the desktop, the page's frames in a browser.
[[noreturn]] void frame_loop() {
  pacing_builds = true;
  frames_run(frame_pass, recover_from_fault);
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

void frame_loop_reset() {
  screen = Screen::loading;
  screen_frame = 0;
  after_banner = Screen::play;
  first_game = true;
  build_begun = false;
  end_requested = false;
}

// Only a positive setting waits: a negative one would ask for a wait without limit and freeze
// the game until the next window message. A frame never waits longer than MULTITASK_LIMIT_MS, so
// a huge setting slows the game down instead of stopping it.
void process_window_events() { window_event(std::clamp(MULTITASK, 0, MULTITASK_LIMIT_MS)); }

void examine_mouse_step() { mouse_examine(); }

void run_pass() {
  if (waits_on_multitask(screen)) {
    process_window_events();
  } else {
    window_event(0);
  }
  loop_pass(read_controls(), true);
}

void recover_from_fault() {
  report_error(ERROR_DIVISION_QUESTION);
  build_begun = false;
}

void start_play() {
  enter(Screen::play);
  first_game = false;
  build_begun = false;
}

void loop_pass(const Controls& controls, bool draw) {
  TESSERA_HERE();
  if (end_requested) enter(Screen::end);
  step_screen(controls);
  if (end_requested) enter(Screen::end);
  if (draw) draw_screen();
}

// A new game starts fresh: play only rebuilds when the map number differs, so without this a
// game lost on map 1 would resume the lost map with its clock already run out.
void after_game_over() {
  if (quit_requested != 0) {
    enter(Screen::end);
    return;
  }
  enter_title();
  enter(Screen::title);
  current_map = -1;
  score = 0;
  score_target = 0;
  level_start_score = 0;
  level_start_target = 0;
  // One bomb. Not operator=("&"): GCC 12 warns of an overlapping copy there (-Wrestrict).
  bombs.assign(1, BOMB_SIGN);
}

void run_game(int32_t window_width, int32_t window_height) {
  requested_width = window_width;
  requested_height = window_height;
  start_up();
  frame_loop();
}

}  // namespace tessera
