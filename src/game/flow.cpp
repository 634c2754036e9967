#include "game/flow.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "actors/dialogs.h"
#include "actors/play_clock.h"
#include "core/config.h"
#include "core/errors.h"
#include "core/numeric.h"
#include "core/player_settings.h"
#include "core/runtime.h"
#include "game/replay.h"
#include "game/score_table.h"
#include "game/screens.h"
#include "game/settings_screen.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "presentation/overlays.h"
#include "presentation/screen_text.h"
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
bool pass_yielded = false;         // this pass's build yielded before its end

// The game under way, from the title's start to its end, and what the real game keeps of it.
bool game_running = false;
int64_t game_passes = 0;
bool keeping_games = false;        // recording and the score table: the real game only
std::string player_directory;      // player_data_directory(); empty: nothing is kept
std::string data_digest_text;      // the start directory's digest, once known

// Watching a replay: its passes feed the loop instead of the player's controls.
struct Watching {
  const Replay* replay = nullptr;
  std::string file_name;
  size_t run = 0;
  int64_t in_run = 0;
  int64_t pass = 0;
  bool paused = false;
  int32_t speed = 1;
};
Watching watching;

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
// A player who chose a window (and gave no size) gets one of three quarters of the display's size,
// showing the same display-sized screen scaled down.
void open_game_window() {
  const int32_t width = round_to_int(screen_width);
  const int32_t height = round_to_int(screen_height);
  const bool player_window = !windowed() && !player_settings.fullscreen;
  const int32_t style = windowed() || player_window ? WINDOW_CENTRED : WINDOW_BORDERLESS;
  int32_t window_width = player_window ? width * 3 / 4 : width;
  int32_t window_height = player_window ? height * 3 / 4 : height;
  // A replay keeps its recorded layout; its window shows all of it, scaled down when the display
  // is smaller.
  if (watching.replay != nullptr && desktop_width(0) > 0 && desktop_height(0) > 0) {
    const double fit = std::min({1.0, 0.9 * desktop_width(0) / width, 0.9 * desktop_height(0) / height});
    window_width = std::max(1, round_to_int(width * fit));
    window_height = std::max(1, round_to_int(height * fit));
  }
  window_handle = window_open(-1, 0, 0, window_width, window_height, APPNAME, style);
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
  load_player_settings();
  start_platform_services();
  sound_set_volumes(player_settings.music_volume, player_settings.effects_volume);
  sound_set_muted(player_settings.muted);
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
  if (!built) {
    pass_yielded = true;
    return;
  }
  build_begun = false;
  // Only now does the level count as built: an abandoned build is begun again.
  if (!first_game) banner_due = 1;
  current_map = map_number;
  first_game = false;
  enter(Screen::play);
  play_step(controls);
}

const std::string& data_digest() {
  if (data_digest_text.empty()) data_digest_text = data_set_digest();
  return data_digest_text;
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
  } else if (dialog_request == ACTION_PAUSE || controls.away) {
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

// The game's first pass: the first game plays the start-up map; a later one rebuilds map 1 in play.
void begin_game(const Controls& controls) {
  game_running = true;
  game_passes = 0;
  if (first_game) {
    start_build(controls);
  } else {
    enter(Screen::play);
    play_step(controls);
  }
}

void title_screen_step(const Controls& controls) {
  if (title_opens_settings(controls)) {
    enter_settings();
    enter(Screen::settings);
    return;
  }
  if (!title_step(controls)) return;
  if (keeping_games) {
    ReplayStart start = capture_replay_start(first_game);
    start.data_digest = data_digest();
    recording_begin(start);
  }
  begin_game(controls);
}

// What the title shows of the score table: the best game, and the last one with its place.
void show_scores_on_title(int32_t last_score, int32_t last_place) {
  if (!keeping_games || player_directory.empty()) return;
  const std::vector<ScoreEntry> table = load_score_table(player_directory, data_digest());
  std::string best;
  if (!table.empty()) best = "  BEST SCORE " + std::to_string(table.front().score) + " BY " + table.front().name + "|";
  std::string last;
  if (last_place > 0) {
    last = "  YOUR SCORE " + std::to_string(last_score) + ", PLACE " + std::to_string(last_place) + " OF " +
           std::to_string(SCORE_TABLE_SIZE) + "|";
  } else if (last_place == 0) {
    last = "  YOUR SCORE " + std::to_string(last_score) + "|";
  }
  set_title_scores(best, last);
}

// The game is over, however it ended: its replay gets its end, the table its entry.
void finish_game() {
  game_running = false;
  const std::string replay_file = recording_end();
  if (!keeping_games) return;
  ScoreEntry entry;
  entry.score = score;
  entry.map = map_number;
  entry.passes = game_passes;
  entry.date = date_now();
  entry.replay = replay_file;
  entry.name = player_name;
  const int32_t place = player_directory.empty() ? 0 : enter_score(player_directory, data_digest(), entry);
  show_scores_on_title(score, place);
}

bool game_screen(Screen on) {
  return on == Screen::build || on == Screen::banner || on == Screen::play || on == Screen::pause || on == Screen::quit;
}

// After each pass of a game: a pass whose build yielded did nothing else and is not one of the
// game's passes (a headless run builds within one pass).
void count_game_pass(const Controls& controls) {
  if (!pass_yielded) {
    ++game_passes;
    recording_pass(controls);
  }
  if (!game_screen(screen)) finish_game();
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
        show_scores_on_title(0, -1);
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
    case Screen::settings:
      if (settings_step(controls)) {
        resume_title();
        enter(Screen::title);
      }
      break;
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
    case Screen::settings: draw_settings(); break;
  }
}

// MULTITASK's wait for window messages belongs to the title, play and the sweeps over the world;
// the intro, the dialogs and a build only take what is there.
bool waits_on_multitask(Screen on) {
  return on == Screen::title || on == Screen::play || on == Screen::banner || on == Screen::game_over;
}

// The first pass of a replayed game: the title's last pass, from the recorded start.
void replayed_first_pass(const ReplayStart& start, const Controls& controls) {
  pass_yielded = false;
  first_game = start.start_up_map;
  begin_game(controls);
  if (game_running) count_game_pass(controls);
}

// The next recorded pass, fed to the loop; true while the replay has one.
bool feed_watched_pass(bool draw) {
  const Replay& replay = *watching.replay;
  if (watching.run >= replay.runs.size()) return false;
  const Controls controls = replay.runs[watching.run].controls;
  if (watching.pass == 0 && screen == Screen::loading) {
    // The data set loads as for any game; then play starts where the recording started.
    load_resources();
    if (!restore_replay_start(replay.start)) {
      std::fprintf(stderr, "%s: a random state no game has\n", watching.file_name.c_str());
      end_requested = true;
      return false;
    }
    replayed_first_pass(replay.start, controls);
  } else {
    loop_pass(controls, draw);
  }
  if (!pass_counted()) return true;
  ++watching.pass;
  if (++watching.in_run == replay.runs[watching.run].count) {
    ++watching.run;
    watching.in_run = 0;
  }
  return true;
}

// The player takes over: the game goes on from here under their controls, recorded as a new game
// that begins with the watched passes.
void take_over() {
  ReplayStart start = watching.replay->start;
  start.taken_over_from = watching.file_name;
  start.date = date_now();
  keeping_games = true;
  if (game_running) recording_begin(start, watching.replay, watching.pass);
  watching.replay = nullptr;
}

void draw_watch_line(bool over) {
  std::string line = "  REPLAY  PASS " + std::to_string(watching.pass);
  if (watching.speed > 1) line += "  X" + std::to_string(watching.speed);
  if (watching.paused) line += "  PAUSED";
  line += over ? "  END OF REPLAY - T TAKES OVER, ESC LEAVES|" : "  - SPACE PAUSES, RIGHT SPEEDS UP, T TAKES OVER|";
  draw_screen_text(line, 0.0f, screen_height * 0.95f, 0.5f, 0.0f, 255, 1.0f);
}

// A watched pass: the watcher's keys, then as many recorded passes as the speed asks, the last
// one drawn.
void watch_pass() {
  window_event(0);
  const Controls live = read_controls();  // the snapshot the watcher's keys are read from
  if (key_pushed(KEY_ESCAPE) != 0) end_requested = true;
  if (key_released(KEY_SPACE) != 0) watching.paused = !watching.paused;
  if (key_released(KEY_RIGHT) != 0) watching.speed = watching.speed >= 16 ? 1 : watching.speed * 4;
  const bool over = watching.run >= watching.replay->runs.size();
  if (key_released(KEY_T) != 0 && screen != Screen::loading) {
    take_over();
    loop_pass(live, true);
    return;
  }
  if (end_requested) {
    loop_pass(Controls{}, false);
    return;
  }
  const int32_t passes = watching.paused ? 0 : watching.speed;
  bool drawn = false;
  for (int32_t i = 0; i < passes; ++i) {
    if (!feed_watched_pass(i + 1 == passes)) break;
    drawn = i + 1 == passes;
  }
  if (!drawn && screen != Screen::loading) draw_screen();
  draw_watch_line(over);
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
  game_running = false;
  keeping_games = false;
}

// Only a positive setting waits: a negative one would ask for a wait without limit and freeze
// the game until the next window message. A frame never waits longer than MULTITASK_LIMIT_MS, so
// a huge setting slows the game down instead of stopping it.
void process_window_events() { window_event(std::clamp(MULTITASK, 0, MULTITASK_LIMIT_MS)); }

void examine_mouse_step() { mouse_examine(); }

void run_pass() {
  if (watching.replay != nullptr) {
    watch_pass();
    return;
  }
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

bool pass_counted() { return !pass_yielded; }

bool game_in_progress() { return game_running; }

void begin_replayed_game(const ReplayStart& start, const Controls& controls) {
  first_game = start.start_up_map;
  begin_game(controls);
}

void loop_pass(const Controls& controls, bool draw) {
  TESSERA_HERE();
  pass_yielded = false;
  if (end_requested) enter(Screen::end);
  step_screen(controls);
  if (end_requested) enter(Screen::end);
  if (game_running) count_game_pass(controls);
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
  keep_games(player_data_directory());
  frame_loop();
}

void keep_games(const std::string& directory) {
  keeping_games = true;
  player_directory = directory;
  if (directory.empty()) std::fprintf(stderr, "Replays and scores: no place for the player's files; nothing is kept.\n");
  recording_set_directory(directory.empty() ? std::string() : directory + "replays/");
}

void watch_replay(const Replay& replay, const std::string& file_name) {
  requested_width = replay.start.screen_width;
  requested_height = replay.start.screen_height;
  watching = Watching{};
  watching.replay = &replay;
  watching.file_name = file_name;
  start_up();
  // Watching keeps nothing until the player takes over.
  player_directory = player_data_directory();
  recording_set_directory(player_directory.empty() ? std::string() : player_directory + "replays/");
  frame_loop();
}

void start_headless(int32_t width, int32_t height) {
  requested_width = width;
  requested_height = height;
  prepare_engine();
  read_configuration();
  headless_mode();
  start_platform_services();
  register_decoders();
  measure_display();
  open_game_window();
  take_player_name();
  declare_world_model();
  load_resources();
}

void replay_pass(const ReplayStart& start, const Controls& controls, bool first) {
  if (first) {
    replayed_first_pass(start, controls);
  } else {
    loop_pass(controls, false);
  }
}

}  // namespace tessera
