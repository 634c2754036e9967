// The real game ends with status 0 within a second of SIGTERM or SIGINT wherever it is: loading,
// the intro, the title, a level build, play, each dialog, the game-over sequence. Each point runs in
// its own game under its own X server, all at once, so the intro's 11 s are waited out only once.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game/x_session.h"
#include "platform/platform.h"
#include "support/test_files.h"

namespace {

using Clock = std::chrono::steady_clock;

// What the screen shows, told by colour: the intro's picture is red, the title's green, and the
// world's tiles blue or grey.
// WINDOW: the game's window exists (loading begins then).
enum Phase { WINDOW, INTRO, TITLE, WORLD, LAST_STEP };

bool shows(const e2e::Image& image, Phase phase) {
  const int32_t x = image.width / 2, y = image.height / 2;
  const uint8_t r = image.r(x, y), g = image.g(x, y), b = image.b(x, y);
  if (phase == INTRO) return r > 200 && g < 60 && b < 60;
  if (phase == TITLE) return g > 200 && r < 60 && b < 60;
  return (b > 150 && r < 60) || (r == 90 && g == 90 && b == 90);
}

// After the phase is on screen (or after the previous step, for LAST_STEP), wait `after` seconds,
// then press the key, or send the signal when there is none.
struct Step {
  Phase phase;
  double after;
  const char* key = nullptr;
};

struct QuitPoint {
  const char* where;
  std::vector<std::string> settings;  // ini keys and values that differ from the base set
  std::vector<Step> steps;
  int signal = SIGTERM;
  int base = 24;  // the base level file's size: 4000 gives the largest level, 255 x 255
};

void write_tile(const testfiles::TempDir& dir, const std::string& kind, int32_t colour, int32_t collision) {
  testfiles::write_png(dir.file("DATA/TILES/" + kind + ".png"), 8, 8, colour);
  testfiles::write_lines(dir.file("DATA/LEVELS/Q/" + kind),
                         {"GFXNAME", kind + ".png", "TRANSPARENCY", "0", "USECOLLISION", std::to_string(collision)});
}

// A small complete data set; settings replace the values of keys it already has.
void write_data_set(const testfiles::TempDir& dir, const std::vector<std::string>& settings, int base) {
  std::vector<std::string> ini = {
      "APPNAME", "QUIT", "USESPRITE3D", "1", "MULTITASK", "0", "RESOLUTION", "16", "RESBASEW", "320",
      "RESBASEH", "240", "FULLSCREENZOOM", "1.0", "SMOOTH", "0", "GFXCODEC", ".png", "TOPOGFX",
      "DATA\\TILES\\", "WORLDGFX", "DATA\\OBJECTS\\", "CURSOR", "DATA\\player.png", "EGFXPATH",
      "DATA\\FLOATERS\\", "EGFXMAX", "0", "SCREGFXPATH", "DATA\\FLOATERS\\", "SCREGFXMAX", "0", "LOADSCREEN",
      "DATA\\intro#.png", "LOADINTROSCREEN", "DATA\\title.png", "SOUNDFXPATH", "DATA\\SFX\\", "INGAMEMUSIC", "DATA\\MUSIC\\", "LOGPATH",
      "DATA\\", "LOGFILE", "errors.log", "RGBCODEPATH", "DATA\\LEVELS\\", "APPSTART", "Q", "APPENTRY",
      "DATA\\LEVELS\\", "SELFCREATEBASE", "DATA\\LEVELS\\base.txt", "USESELFCREATEBASE", "1", "USEEXTENDEDTOPO",
      "0", "WORLDRANDOM", "31", "LABSWITCH", "3", "MAPSIZE", "64", "MAXFOE", "0", "WORLDREFRESH", "600",
      "CURSORSPEED", "247", "GAMEMODE", "DEFAULT"};
  for (size_t s = 0; s + 1 < settings.size(); s += 2) {
    for (size_t k = 0; k + 1 < ini.size(); k += 2) {
      if (ini[k] == settings[s]) ini[k + 1] = settings[s + 1];
    }
  }
  testfiles::write_lines(dir.file("DATA/ini.txt"), ini);
  testfiles::write_lines(dir.file("DATA/LEVELS/base.txt"),
                         {"base", std::to_string(base), std::to_string(base), "-", "-"});
  write_tile(dir, "LAB_WALL", tessera::rgb(90, 90, 90), 2);
  for (const char* kind : {"LAB_FLOOR", "LAB_BLUE_FLOOR", "LAB_FIXED_FLOOR", "LAB_GREEN", "LAB_PINK_FLOOR",
                           "LAB_FIXED_PINK_FLOOR"}) {
    write_tile(dir, kind, tessera::rgb(0, 0, 200), 0);
  }
  write_tile(dir, "LAB_WATER", tessera::rgb(0, 90, 160), 1);
  testfiles::write_png(dir.file("DATA/player.png"), 8, 8, tessera::rgb(255, 128, 0));
  for (const char* intro : {"DATA/intro0.png", "DATA/intro1.png"}) testfiles::write_png(dir.file(intro), 8, 8, tessera::rgb(255, 0, 0));
  testfiles::write_png(dir.file("DATA/title.png"), 8, 8, tessera::rgb(0, 255, 0));
  // Large enough that 256 floaters of them take a second or two to load.
  for (int n = 0; n < 3; ++n) testfiles::write_png(dir.file("DATA/FLOATERS/f" + std::to_string(n) + ".png"), 384, 384, n);
  testfiles::make_dirs(dir.path + "DATA/OBJECTS");
}

struct Outcome {
  std::string failure;  // empty when the game ended as it should
  double seconds = 0.0;
};

// The limit is one second. A sanitizer build (on a busy machine, ten games at once) takes longer
// to tear down its shadow memory than the game takes to answer, so it is given two.
#if defined(__SANITIZE_ADDRESS__)
constexpr double QUIT_LIMIT_SECONDS = 2.0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr double QUIT_LIMIT_SECONDS = 2.0;
#else
constexpr double QUIT_LIMIT_SECONDS = 1.0;
#endif
#else
constexpr double QUIT_LIMIT_SECONDS = 1.0;
#endif

Outcome run_point(const QuitPoint& point, const e2e::XServer& x, const testfiles::TempDir& dir) {
  const std::string log = dir.path + "game.log";
  const char* asan = std::getenv("ASAN_OPTIONS");
  const std::string asan_options = std::string("ASAN_OPTIONS=") + (asan != nullptr ? asan : "") + ":detect_leaks=0";
  e2e::Child game;
  if (!e2e::spawn(game, {ZORVANE_BINARY}, {x.env(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy", asan_options},
                  dir.path, log)) {
    return {"could not start the game", 0};
  }
  Clock::time_point from = Clock::now();
  for (const Step& step : point.steps) {
    if (step.phase == WINDOW) {
      for (int tries = 0; tries < 300 && e2e::run({"xdotool", "search", "--name", "QUIT"}, {x.env()}, 5.0) != 0; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      from = Clock::now();
    } else if (step.phase != LAST_STEP) {
      const auto seen = e2e::wait_for_screen(x, dir.path + "shot.png", 60.0,
                                             [&step](const e2e::Image& i) { return shows(i, step.phase); });
      if (!seen) return {"the screen never showed phase " + std::to_string(step.phase), 0};
      from = Clock::now();
    }
    std::this_thread::sleep_until(from + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(step.after)));
    from = Clock::now();
    if (step.key != nullptr && !e2e::hold_key(x, step.key)) return {std::string("xdotool failed on ") + step.key, 0};
  }
  if (!game.running()) return {"the game had ended before the signal: " + testfiles::read_all(log), 0};
  // ZORVANE_QUIT_SHOTS keeps what the screen showed when the signal went out.
  if (const char* keep = std::getenv("ZORVANE_QUIT_SHOTS"); keep != nullptr && *keep != '\0') {
    e2e::screenshot(x, std::string(keep) + "/" + std::to_string(x.display) + ".png");
  }
  const auto sent = Clock::now();
  kill(game.pid, point.signal);
  const std::optional<int> status = game.wait_exit(3.0);
  const double took = std::chrono::duration<double>(Clock::now() - sent).count();
  const std::string said = testfiles::read_all(log);
  if (!status) return {"still running 3 s after the signal", took};
  if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0) return {"status " + std::to_string(*status) + ": " + said, took};
  if (took > QUIT_LIMIT_SECONDS) return {"took " + std::to_string(took) + " s", took};
  // The regular way out, not the last-resort deadline for a game that stopped listening.
  if (said.find("quit: no event pump answered") != std::string::npos) return {"only the deadline ended it", took};
  if (said.find("runtime error") != std::string::npos || said.find("Sanitizer") != std::string::npos) {
    return {"sanitizer report: " + said, took};
  }
  return {"", took};
}

TEST(QuitAnywhere, SignalsEndTheGameWithStatusZeroWithinASecondAtEveryPoint) {
  // The intro holds its pages for 6, 3 and 2 s after loading; the title waits for P, which starts
  // the first level's build; Escape opens the quit dialog, P the pause dialog.
  const std::vector<QuitPoint> points = {
      {"loading (EGFXMAX 2^31 - 1)", {"EGFXMAX", "2147483647"}, {{WINDOW, 1.0}}},
      {"the intro's first page", {}, {{INTRO, 2.0}}},
      {"the intro's last page", {}, {{INTRO, 10.0}}, SIGINT},
      {"the title", {}, {{TITLE, 1.0}}},
      {"the title waiting on MULTITASK 2^31 - 1", {"MULTITASK", "2147483647"}, {{TITLE, 1.0}}},
      {"a 255 x 255 level build", {}, {{TITLE, 0.5, "p"}, {LAST_STEP, 0.05}}, SIGTERM, 4000},
      {"play", {}, {{TITLE, 0.5, "p"}, {WORLD, 2.0}}},
      {"the pause dialog", {}, {{TITLE, 0.5, "p"}, {WORLD, 1.5, "p"}, {LAST_STEP, 0.5}}, SIGINT},
      {"the quit dialog", {}, {{TITLE, 0.5, "p"}, {WORLD, 1.5, "Escape"}, {LAST_STEP, 0.5}}},
      // Frames of 100 ms and a clock unit a frame: the map banner (16 frames), a moment of play,
      // then the game-over sequence (16 frames more).
      {"the game-over sequence", {"MULTITASK", "100", "WORLDREFRESH", "0"}, {{TITLE, 0.5, "p"}, {WORLD, 3.2}}},
  };
  std::vector<std::unique_ptr<testfiles::TempDir>> dirs;
  std::vector<std::unique_ptr<e2e::XServer>> servers;
  for (const QuitPoint& point : points) {
    dirs.push_back(std::make_unique<testfiles::TempDir>());
    write_data_set(*dirs.back(), point.settings, point.base);
    servers.push_back(std::make_unique<e2e::XServer>());
    const std::string failure = e2e::start_xvfb(*servers.back(), dirs.back()->path, "320x240x24");
    ASSERT_TRUE(failure.empty()) << failure;
  }
  // Loading is timed from the start: it runs alone, before nine other games start beside it.
  std::vector<Outcome> outcomes(points.size());
  outcomes[0] = run_point(points[0], *servers[0], *dirs[0]);
  std::vector<std::thread> runs;
  for (size_t n = 1; n < points.size(); ++n) {
    runs.emplace_back([&, n] { outcomes[n] = run_point(points[n], *servers[n], *dirs[n]); });
  }
  for (std::thread& run : runs) run.join();
  for (size_t n = 0; n < points.size(); ++n) {
    EXPECT_EQ(outcomes[n].failure, "") << points[n].where;
    std::printf("%-42s ended %.3f s after the signal\n", points[n].where, outcomes[n].seconds);
  }
}

}  // namespace
