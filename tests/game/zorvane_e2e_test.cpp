// The real game binary as a process: start-up and the end of the program, the installed game
// started as its desktop entry starts it, and, under private X servers, driven by real key presses
// and read back from screenshots, one walk from the intro to a clean exit and the game ending on a
// signal wherever it is.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "core/config.h"
#include "core/runtime.h"
#include "game/flow.h"
#include "game/x_session.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "support/child_process.h"

namespace fs = std::filesystem;
using namespace tessera;
using testchild::contains;

namespace {

using Clock = std::chrono::steady_clock;
using e2e::Image;

constexpr int32_t W = 640;
constexpr int32_t H = 480;
constexpr int32_t CELL = 32;
// Glyphs are 6 x 8 images: a 5 x 7 block of pure green with a white (transparent) right column
// and bottom row, so letters stay apart. No tile uses a colour that passes for it.
constexpr int32_t GLYPH_W = 6;
constexpr int32_t GLYPH_H = 8;
constexpr int32_t GLYPH_INK = 5 * 7;

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool is_glyph_ink(uint8_t r, uint8_t g, uint8_t b) { return g >= 200 && r <= 40 && b <= 40; }
bool is_painted(uint8_t r, uint8_t g, uint8_t b) {
  return e2e::is_tile(r, g, b, "LAB_BLUE_FLOOR") || e2e::is_tile(r, g, b, "LAB_FIXED_FLOOR");
}

int32_t ink_in_band(const Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return image.count(x0, y0, x1, y1, is_glyph_ink);
}
int32_t painted_pixels(const Image& image) { return image.count(0, 0, image.width, image.height, is_painted); }

// Where the screens put their texts, for a 640 x 480 display and glyphs 8 pixels high.
int32_t intro_page_ink(const Image& i) { return ink_in_band(i, 60, H * 30 / 100, W, H * 72 / 100); }
// The title's rights line at (0.5 W, 0.8 H); no intro page draws right of 0.5 W at that height.
int32_t title_rights_ink(const Image& i) { return ink_in_band(i, W / 2, H * 80 / 100, W, H * 80 / 100 + 6); }
int32_t hud_score_ink(const Image& i) { return ink_in_band(i, W * 70 / 100, 24, W, 24 + GLYPH_H); }
int32_t hud_time_ink(const Image& i) { return ink_in_band(i, 38, 24, 250, 24 + GLYPH_H); }
int32_t quit_title_ink(const Image& i) { return ink_in_band(i, W * 30 / 100, H * 20 / 100, W, H * 20 / 100 + GLYPH_H); }
// "  GAME OVER |" at scale 3: 24 pixels high at 0.3 H.
int32_t game_over_ink(const Image& i) { return ink_in_band(i, 0, H * 30 / 100, W, H * 30 / 100 + 3 * GLYPH_H); }

void write_glyphs(const testfiles::TempDir& dir, const std::string& characters) {
  std::vector<uint8_t> rgba;
  for (int32_t y = 0; y < GLYPH_H; ++y) {
    for (int32_t x = 0; x < GLYPH_W; ++x) {
      const uint8_t ink = x < GLYPH_W - 1 && y < GLYPH_H - 1 ? 0 : 255;
      rgba.insert(rgba.end(), {ink, 255, ink, 255});
    }
  }
  for (const char c : characters) {
    const std::string name = tessera::glyph_image_name(static_cast<unsigned char>(c));
    testfiles::write_png_pixels(dir.file("DATA/FONT/" + name + ".png"), GLYPH_W, GLYPH_H, rgba);
  }
  testfiles::write_text(dir.file("DATA/FONT/charset.txt"), characters + "\r\nonly the first line counts\r\n");
}

// The intro is waited out, the title is left with P, a few arrow presses paint floor, Escape and B
// quit, and the game ends with status 0 after its game-over sequence. No intro or title pictures:
// the screens show only our glyphs over black or over flat tiles.
TEST(GameUnderX, IntroTitlePlayQuitAndCleanExit) {
  testfiles::TempDir dir;
  e2e::write_data_set(dir, {});
  write_glyphs(dir, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:!?()-+&\xF6");
  const std::string shot = dir.path + "shot.png";

  // Declared before the game, so the game is stopped first and the server last.
  e2e::XServer x;
  const std::string failure = e2e::start_xvfb(x, dir.path);
  ASSERT_TRUE(failure.empty()) << failure;

  e2e::Child game;
  const auto start = Clock::now();
  ASSERT_TRUE(e2e::start_game(game, {ZORVANE_BINARY}, dir.path, x));

  // Intro: the first page of credits, then, 11 s of delays later, the title.
  const auto intro = e2e::wait_for_screen(x, shot, 10.0, [](const Image& i) { return intro_page_ink(i) > 1000; });
  ASSERT_TRUE(intro) << "the intro's first page never appeared: " << testfiles::read_all(dir.path + "game.log");
  EXPECT_EQ(title_rights_ink(*intro), 0);
  const double intro_seen = seconds_since(start);

  const auto title = e2e::wait_for_screen(x, shot, 25.0, [](const Image& i) { return title_rights_ink(i) > 150; });
  ASSERT_TRUE(title) << "the title screen never appeared";
  // The intro cannot be skipped: its pages hold for 6 + 3 + 2 seconds.
  EXPECT_GT(seconds_since(start) - intro_seen, 8.0);

  // The title waits for P; play then starts with the banner of map 1 and the HUD. The very first
  // frame of play draws the start cell before the player paints it, and a level now builds fast
  // enough for a screenshot to catch that frame: wait for the painted one.
  ASSERT_TRUE(e2e::hold_key(x, "p"));
  const auto play = e2e::wait_for_screen(x, shot, 15.0, [](const Image& i) {
    return hud_score_ink(i) >= 5 * GLYPH_INK - 30 && game_over_ink(i) == 0 && painted_pixels(i) > CELL * CELL / 2;
  });
  ASSERT_TRUE(play) << "play never started (no HUD)";
  // " SCORE n|" and " TIME n|" are drawn where the HUD puts them and nowhere near.
  EXPECT_GE(hud_time_ink(*play), 5 * GLYPH_INK - 30);
  EXPECT_EQ(ink_in_band(*play, 400, 24, W * 70 / 100, 24 + GLYPH_H), 0);
  EXPECT_EQ(ink_in_band(*play, 0, 0, W, 4), 0);
  EXPECT_EQ(ink_in_band(*play, 0, 33, W, 47), 0);
  // The player paints the cell it starts on at once.
  const int32_t painted_at_start = painted_pixels(*play);

  for (const char* key : {"Right", "Down", "Left", "Up", "Right", "Down", "Left", "Up"}) {
    ASSERT_TRUE(e2e::hold_key(x, key));
    e2e::screenshot(x, shot);  // also lets a few frames pass between the presses
  }
  const auto painted = e2e::wait_for_screen(x, shot, 5.0, [painted_at_start](const Image& i) {
    return painted_pixels(i) >= painted_at_start + CELL * CELL / 2;
  });
  ASSERT_TRUE(painted) << "the arrow keys painted no floor (painted pixels at start " << painted_at_start << ")";
  EXPECT_GE(hud_score_ink(*painted), 5 * GLYPH_INK - 30);

  // Escape opens the quit dialog over the world.
  ASSERT_TRUE(e2e::hold_key(x, "Escape"));
  const auto quit = e2e::wait_for_screen(x, shot, 5.0, [](const Image& i) { return quit_title_ink(i) > 250; });
  ASSERT_TRUE(quit) << "Escape opened no quit dialog";
  EXPECT_TRUE(game.running());

  // B answers it (held down until the end): the game-over sequence runs over the last frame of
  // play, then the program ends.
  ASSERT_TRUE(e2e::run({"xdotool", "keydown", "b"}, {x.env()}, 5.0) == 0);
  const auto quit_pressed = Clock::now();
  int32_t most_game_over_ink = 0;
  while (game.running() && seconds_since(quit_pressed) < 5.0) {
    if (const auto frame = e2e::screenshot(x, shot))
      most_game_over_ink = std::max(most_game_over_ink, game_over_ink(*frame));
  }
  const std::optional<int> status = game.wait_exit(10.0);
  EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
      << "status " << status.value_or(-1) << ": " << testfiles::read_all(dir.path + "game.log");
  EXPECT_GT(most_game_over_ink, 250) << "no \"GAME OVER\" was seen before the exit";
}

// What the screen shows, told by the colour of its centre: the intro's picture is red, the
// title's green, the world a tile. WINDOW: the game's window exists (loading begins then).
enum Phase { WINDOW, INTRO, TITLE, WORLD, LAST_STEP };

bool shows(const Image& image, Phase phase) {
  const int32_t x = image.width / 2, y = image.height / 2;
  const uint8_t r = image.r(x, y), g = image.g(x, y), b = image.b(x, y);
  if (phase == INTRO) return r > 200 && g < 60 && b < 60;
  if (phase == TITLE) return g > 200 && r < 60 && b < 60;
  return e2e::is_tile(r, g, b);
}

// After the phase is on screen (or after the previous step's key is released, for LAST_STEP), wait
// `after` seconds, then press the key, or send the signal when there is none.
struct Step {
  Phase phase;
  double after;
  const char* key = nullptr;
};

struct QuitPoint {
  const char* where;
  std::vector<std::string> settings;  // configuration values that differ from the base set
  std::vector<Step> steps;
  int signal = SIGTERM;
  int base = 24;  // the base level file's size: 4000 gives the largest level, 255 x 255
};

// The limit is one second. A sanitizer build (on a busy machine, ten games at once) takes longer
// to tear down its shadow memory than the game takes to answer, so it is given two.
#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr double QUIT_LIMIT_SECONDS = 2.0;
#else
constexpr double QUIT_LIMIT_SECONDS = 1.0;
#endif

// The base set with small screens, red intro pages, a green title and floaters large enough that
// 256 of them take a second or two to load.
void write_point(const QuitPoint& point, const testfiles::TempDir& dir) {
  std::vector<std::string> settings = {"RESOLUTION", "16", "RESBASEW", "320", "RESBASEH", "240"};
  settings.insert(settings.end(), {"LOADSCREEN", "DATA\\intro#.png", "LOADINTROSCREEN", "DATA\\title.png"});
  settings.insert(settings.end(), point.settings.begin(), point.settings.end());
  e2e::write_data_set(dir, settings);
  const std::string size = std::to_string(point.base);
  testfiles::write_lines(dir.file("DATA/LEVELS/base.txt"), {"base", size, size, "-", "-"});
  for (const char* intro : {"DATA/intro0.png", "DATA/intro1.png"}) testfiles::write_png(dir.file(intro), 8, 8, 255);
  testfiles::write_png(dir.file("DATA/title.png"), 8, 8, tessera::rgb(0, 255, 0));
  for (int n = 0; n < 3; ++n)
    testfiles::write_png(dir.file("DATA/FLOATERS/f" + std::to_string(n) + ".png"), 384, 384, n);
}

// The failure, or empty when the game ended as it should; `took` is the time from the signal on.
std::string run_point(const QuitPoint& point, const e2e::XServer& x, const testfiles::TempDir& dir, double& took) {
  e2e::Child game;
  if (!e2e::start_game(game, {ZORVANE_BINARY}, dir.path, x)) return "could not start the game";
  for (const Step& step : point.steps) {
    if (step.phase == WINDOW && e2e::run({"xdotool", "search", "--sync", "--name", "ZORVANE"}, {x.env()}, 30.0) != 0) {
      return "no window appeared";
    }
    if (step.phase != WINDOW && step.phase != LAST_STEP &&
        !e2e::wait_for_screen(x, dir.path + "shot.png", 60.0,
                              [&step](const Image& i) { return shows(i, step.phase); })) {
      return "the screen never showed phase " + std::to_string(step.phase);
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(step.after));
    if (step.key != nullptr && !e2e::hold_key(x, step.key)) return std::string("xdotool failed on ") + step.key;
  }
  const std::string log = dir.path + "game.log";
  if (!game.running()) return "the game had ended before the signal: " + testfiles::read_all(log);
  const auto sent = Clock::now();
  kill(game.pid, point.signal);
  const std::optional<int> status = game.wait_exit(3.0);
  took = seconds_since(sent);
  const std::string said = testfiles::read_all(log);
  if (!status) return "still running 3 s after the signal";
  if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0) return "status " + std::to_string(*status) + ": " + said;
  if (took > QUIT_LIMIT_SECONDS) return "took " + std::to_string(took) + " s";
  // The regular way out, not the last-resort deadline for a game that stopped listening.
  if (said.find("quit: no event pump answered") != std::string::npos) return "only the deadline ended it";
  if (said.find("runtime error") != std::string::npos || said.find("Sanitizer") != std::string::npos) {
    return "sanitizer report: " + said;
  }
  return "";
}

// The game ends with status 0 within a second of SIGTERM or SIGINT wherever it is: loading, the
// intro, the title, a level build, play, each dialog, the game-over sequence. Each point runs in
// its own game under its own X server, all at once, so the intro's 11 s are waited out only once.
TEST(QuitAnywhere, SignalsEndTheGameWithStatusZeroWithinASecondAtEveryPoint) {
  // The intro holds its pages for 6, 3 and 2 s after loading; the title waits for P, which starts
  // the first level's build; Escape opens the quit dialog, P the pause dialog.
  const std::vector<QuitPoint> points = {
      {"loading (EGFXMAX 2^31 - 1)", {"EGFXMAX", "2147483647"}, {{WINDOW, 1.0}}},
      {"the intro's first page", {}, {{INTRO, 2.0}}},
      {"the intro's last page", {}, {{INTRO, 10.0}}, SIGINT},
      {"the title", {}, {{TITLE, 1.0}}},
      {"the title waiting on MULTITASK 2^31 - 1", {"MULTITASK", "2147483647"}, {{TITLE, 1.0}}},
      {"a 255 x 255 level build", {}, {{TITLE, 0.5, "p"}}, SIGTERM, 4000},
      {"play", {}, {{TITLE, 0.5, "p"}, {WORLD, 2.0}}},
      {"the pause dialog", {}, {{TITLE, 0.5, "p"}, {WORLD, 1.5, "p"}, {LAST_STEP, 0.5}}, SIGINT},
      {"the quit dialog", {}, {{TITLE, 0.5, "p"}, {WORLD, 1.5, "Escape"}, {LAST_STEP, 0.5}}},
      // Frames of 100 ms and a clock unit a frame: the map banner (16 frames), a moment of play,
      // then the game-over sequence (16 frames more).
      {"the game-over sequence", {"MULTITASK", "100", "WORLDREFRESH", "0"}, {{TITLE, 0.5, "p"}, {WORLD, 3.2}}},
  };
  std::vector<testfiles::TempDir> dirs(points.size());
  std::vector<e2e::XServer> servers(points.size());
  for (size_t n = 0; n < points.size(); ++n) {
    write_point(points[n], dirs[n]);
    const std::string failure = e2e::start_xvfb(servers[n], dirs[n].path, "320x240x24");
    ASSERT_TRUE(failure.empty()) << failure;
  }
  // Loading is timed from the start: it runs alone, before nine other games start beside it.
  std::vector<std::string> failures(points.size());
  std::vector<double> took(points.size(), 0.0);
  failures[0] = run_point(points[0], servers[0], dirs[0], took[0]);
  std::vector<std::thread> runs;
  for (size_t n = 1; n < points.size(); ++n) {
    runs.emplace_back([&, n] { failures[n] = run_point(points[n], servers[n], dirs[n], took[n]); });
  }
  for (std::thread& run : runs) run.join();
  for (size_t n = 0; n < points.size(); ++n) {
    EXPECT_EQ(failures[n], "") << points[n].where;
    std::printf("%-42s ended %.3f s after the signal\n", points[n].where, took[n]);
  }
}

// A configuration that is missing or cannot be opened ends start-up with a message, and where the
// game looked, before any window: under a driver that cannot open windows a window attempt would be reported first. One
// that opens runs on what it could read, and ends with 0 when asked.
TEST(Lifecycle, MissingOrBrokenConfigurationEndsBeforeAnyWindowOrRunsOnTheDefaults) {
  const std::string good = testfiles::read_all(std::string(ZORVANE_SOURCE_DIR) + "/game/DATA/ini.txt");
  const std::vector<std::string> variants = {"missing", "directory", "", std::string(4096, '\xA7'),
                                             good.substr(0, good.size() / 2)};
  for (const std::string& broken : variants) {
    SCOPED_TRACE(broken.substr(0, 20));
    testfiles::TempDir dir;
    fs::copy(std::string(ZORVANE_SOURCE_DIR) + "/game", dir.path, fs::copy_options::recursive);
    fs::remove(dir.path + "DATA/ini.txt");
    if (broken == "directory") {
      testfiles::make_dirs(dir.path + "DATA/ini.txt");
    } else if (broken != "missing") {
      testfiles::write_text(dir.path + "DATA/ini.txt", broken);
    }
    const bool ends = broken == "missing" || broken == "directory";
    e2e::Child game;
    ASSERT_TRUE(
        e2e::start_game(game, {ZORVANE_BINARY}, dir.path, {ends ? "SDL_VIDEODRIVER=none" : "SDL_VIDEODRIVER=dummy"}));
    // A game still running after two seconds has started up.
    const bool running = !game.wait_exit(2.0);
    if (running) kill(game.pid, SIGTERM);
    const std::optional<int> status = game.wait_exit(5.0);
    const std::string errors = testfiles::read_all(dir.path + "game.log");
    EXPECT_EQ(running, !ends) << errors;
    EXPECT_TRUE(status && WIFEXITED(*status) && (WEXITSTATUS(*status) == 0) == running) << errors;
    const std::string start = fs::canonical(dir.path).string() + "/";
    EXPECT_EQ(contains(errors, " Could not open " + start + "DATA\\ini.txt"), ends) << errors;
    // Where it looked, as the system writes paths, and what to do.
    const std::string problem = broken == "missing" ? " does not exist." : " is a directory.";
    EXPECT_EQ(contains(errors, "no data set here: " + start + "DATA/ini.txt" + problem), ends) << errors;
    EXPECT_EQ(contains(errors, "or give --data DIR"), ends) << errors;
    EXPECT_FALSE(contains(errors, "Could not open window") || contains(errors, "Could not open screen")) << errors;
    EXPECT_FALSE(contains(errors, "runtime error")) << errors;
  }
}

TEST(Lifecycle, WindowEventsNeverWaitWithoutLimit) {
  // Under the dummy driver no message ever comes; the alarm ends a child that waits for one.
  for (const int32_t setting : {0, -1, -250, INT32_MAX}) {
    SCOPED_TRACE(setting);
    EXPECT_EXIT(
        {
          alarm(5);
          screen_init();
          MULTITASK = setting;
          process_window_events();
          std::exit(0);
        },
        testing::ExitedWithCode(0), "");
  }
}

// The frame the dummy driver saved as the n-th present (counted from 1).
std::string saved_frame(const std::string& dir, int n) {
  const std::string number = std::to_string(n);
  return dir + "/SDL_window1-" + std::string(8 - number.size(), '0') + number + ".bmp";
}

// Mean difference per channel (0..255) between a frame and a picture stretched to its size.
double mean_difference(const e2e::Image& frame, const e2e::Image& picture) {
  double sum = 0.0;
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) {
      const int32_t px = x * picture.width / frame.width;
      const int32_t py = y * picture.height / frame.height;
      sum += std::abs(frame.r(x, y) - picture.r(px, py)) + std::abs(frame.g(x, y) - picture.g(px, py)) +
             std::abs(frame.b(x, y) - picture.b(px, py));
    }
  }
  return sum / (3.0 * frame.width * frame.height);
}

// `cmake --install` into a temporary prefix, then the program that the desktop entry names runs
// headless through the intro up to the title screen on the installed data set. The dummy video
// driver saves every presented frame as a BMP in the start directory, which shows what it got to.
TEST(Install, InstalledGameStartsFromItsDesktopEntryUpToTheTitle) {
  testfiles::TempDir prefix;
  const std::string log = prefix.path + "install.log";
  ASSERT_EQ(e2e::run({ZORVANE_CMAKE, "--install", ZORVANE_BUILD_DIR, "--prefix", prefix.path + "usr"}, {}, 120.0, log),
            0)
      << testfiles::read_all(log);
  const std::string usr = prefix.path + "usr/";
  const std::string data = usr + "share/zorvane";
  EXPECT_FALSE(fs::exists(data + "/DATA/errors.log"));
  const std::optional<e2e::Image> icon = e2e::load_image(usr + "share/icons/hicolor/256x256/apps/zorvane.png");
  EXPECT_TRUE(icon && icon->width == 256 && icon->height == 256);

  const std::string entry = testfiles::read_all(usr + "share/applications/zorvane.desktop");
  EXPECT_NE(entry.find("\nIcon=zorvane\n"), std::string::npos) << entry;
  std::smatch exec;
  ASSERT_TRUE(std::regex_search(entry, exec, std::regex("\nExec=\"([^\"]+)\" --data \"([^\"]+)\"\n"))) << entry;
  EXPECT_EQ(fs::canonical(exec[1].str()), fs::canonical(usr + "bin/zorvane"));
  EXPECT_EQ(fs::canonical(exec[2].str()), fs::canonical(data));

  // A small window keeps the saved frames small; the intro holds its pages 660 frames, the title
  // follows. The frames between the first and the title's are not kept.
  e2e::Child game;
  ASSERT_TRUE(e2e::start_game(game, {exec[1].str(), "--data", exec[2].str(), "--window", "320x240"}, prefix.path,
                              {"SDL_VIDEODRIVER=dummy", "SDL_VIDEO_DUMMY_SAVE_FRAMES=1"}));
  const int title_frame = 665;
  for (int waited = 0, next = 2; waited < 600 && !fs::exists(saved_frame(data, title_frame + 1)) && game.running();
       ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (; next < title_frame && fs::exists(saved_frame(data, next + 1)); ++next) fs::remove(saved_frame(data, next));
  }
  ASSERT_TRUE(game.running()) << testfiles::read_all(prefix.path + "game.log");
  kill(game.pid, SIGTERM);
  const std::optional<int> status = game.wait_exit(20.0);
  EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
      << testfiles::read_all(prefix.path + "game.log");

  const std::optional<e2e::Image> intro = e2e::load_image(saved_frame(data, 1));
  const std::optional<e2e::Image> title = e2e::load_image(saved_frame(data, title_frame));
  const std::optional<e2e::Image> picture = e2e::load_image(data + "/DATA/GFX/SCREENS/title.png");
  ASSERT_TRUE(intro && title && picture);
  EXPECT_TRUE(title->width == 320 && title->height == 240);
  // The title frame is the title picture (with faint text and a few glows over it); the intro
  // page is not.
  EXPECT_LT(mean_difference(*title, *picture), 18.0);
  EXPECT_GT(mean_difference(*intro, *picture), 18.0);
}

}  // namespace
