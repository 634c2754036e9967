// Start-up and the end of the program, on the real game binary where the process matters, and the
// installed game started as its desktop entry starts it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "core/config.h"
#include "core/runtime.h"
#include "game/x_session.h"
#include "platform/platform.h"
#include "support/child_process.h"

namespace fs = std::filesystem;
using namespace tessera;

namespace {

using testchild::contains;

// A configuration that is missing or cannot be opened ends start-up with a message before any
// window: under a driver that cannot open windows a window attempt would be reported first. One
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
        e2e::start_game(game, ZORVANE_BINARY, dir.path, {ends ? "SDL_VIDEODRIVER=none" : "SDL_VIDEODRIVER=dummy"}));
    // A game still running after two seconds has started up.
    const bool running = !game.wait_exit(2.0);
    if (running) kill(game.pid, SIGTERM);
    const std::optional<int> status = game.wait_exit(5.0);
    const std::string errors = testfiles::read_all(dir.path + "game.log");
    EXPECT_EQ(running, !ends) << errors;
    ASSERT_TRUE(status) << errors;
    EXPECT_TRUE(WIFEXITED(*status) && (WEXITSTATUS(*status) == 0) == running) << *status << errors;
    const std::string start = fs::canonical(dir.path).string() + "/";
    EXPECT_EQ(contains(errors, " Could not open " + start + "DATA\\ini.txt"), ends) << errors;
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
  char name[40];
  std::snprintf(name, sizeof name, "SDL_window1-%08d.bmp", n);
  return dir + "/" + name;
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
  EXPECT_TRUE(fs::is_regular_file(usr + "bin/zorvane"));
  EXPECT_TRUE(fs::is_regular_file(data + "/DATA/ini.txt"));
  EXPECT_FALSE(fs::exists(data + "/DATA/errors.log"));
  const std::optional<e2e::Image> icon = e2e::load_image(usr + "share/icons/hicolor/256x256/apps/zorvane.png");
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->width, 256);
  EXPECT_EQ(icon->height, 256);

  const std::string entry = testfiles::read_all(usr + "share/applications/zorvane.desktop");
  EXPECT_NE(entry.find("\nIcon=zorvane\n"), std::string::npos) << entry;
  std::smatch exec;
  ASSERT_TRUE(std::regex_search(entry, exec, std::regex("\nExec=\"([^\"]+)\" --data \"([^\"]+)\"\n"))) << entry;
  EXPECT_EQ(fs::canonical(exec[1].str()), fs::canonical(usr + "bin/zorvane"));
  EXPECT_EQ(fs::canonical(exec[2].str()), fs::canonical(data));

  // A small window keeps the saved frames small; the intro presents three pages, the title
  // presents every frame after them.
  e2e::Child game;
  ASSERT_TRUE(e2e::spawn(game, {exec[1].str(), "--data", exec[2].str(), "--window", "320x240"},
                         {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "SDL_VIDEO_DUMMY_SAVE_FRAMES=1"},
                         prefix.path, prefix.path + "game.log"));
  const int title_frame = 6;
  for (int waited = 0; waited < 600 && !fs::exists(saved_frame(data, title_frame + 1)) && game.running(); ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(game.running()) << testfiles::read_all(prefix.path + "game.log");
  kill(game.pid, SIGTERM);
  const std::optional<int> status = game.wait_exit(20.0);
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << testfiles::read_all(prefix.path + "game.log");

  const std::optional<e2e::Image> intro = e2e::load_image(saved_frame(data, 1));
  const std::optional<e2e::Image> title = e2e::load_image(saved_frame(data, title_frame));
  const std::optional<e2e::Image> picture = e2e::load_image(data + "/DATA/GFX/SCREENS/title.png");
  ASSERT_TRUE(intro && title && picture);
  EXPECT_EQ(title->width, 320);
  EXPECT_EQ(title->height, 240);
  // The title frame is the title picture (with faint text and a few glows over it); the intro
  // page is not.
  EXPECT_LT(mean_difference(*title, *picture), 18.0);
  EXPECT_GT(mean_difference(*intro, *picture), 18.0);
}

}  // namespace
