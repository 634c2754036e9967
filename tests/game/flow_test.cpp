// Start-up and the end of the program, on the real game binary where the process matters.
#include "core/runtime.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/config.h"
#include "platform/platform.h"
#include "support/child_process.h"
#include "support/test_files.h"

namespace {

using namespace tessera;
using namespace std::chrono_literals;

using testchild::contains;
using testchild::read_everything;
using Game = testchild::Started;

// Starts the game binary in directory with SDL's driver names; its standard error goes to a pipe.
Game start_game(const std::string& directory, const std::string& video_driver) {
  return testchild::start_child([&] {
    if (chdir(directory.c_str()) != 0) _exit(120);
    setenv("SDL_VIDEODRIVER", video_driver.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(ZORVANE_BINARY, ZORVANE_BINARY, static_cast<char*>(nullptr));
    _exit(121);
  });
}

// Waits up to the time limit; kills a game that is still running then. -1 when it had to be killed.
int wait_for_end(const Game& game, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (waitpid(game.pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(game.pid, SIGKILL);
      waitpid(game.pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(20ms);
  }
  return status;
}

TEST(Lifecycle, MissingConfigurationEndsBeforeAnyWindow) {
  testfiles::TempDir dir;
  const std::string start = std::filesystem::canonical(dir.path).string() + "/";
  // With a driver that cannot open windows a window attempt would be reported first.
  for (const char* driver : {"dummy", "no-such-driver"}) {
    SCOPED_TRACE(driver);
    const Game game = start_game(dir.path, driver);
    const int status = wait_for_end(game, 20s);
    const std::string errors = read_everything(game.stderr_fd);
    ASSERT_NE(status, -1) << "the game kept running";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
    EXPECT_TRUE(contains(errors, " Could not open " + start + "DATA\\ini.txt")) << errors;
    EXPECT_FALSE(contains(errors, "Could not open window")) << errors;
    EXPECT_FALSE(contains(errors, "Could not open screen")) << errors;
  }
}

TEST(Lifecycle, BrokenConfigurationEndsStartUpWithAMessageOrRunsOnTheDefaults) {
  const std::string good = testfiles::read_all(std::string(ZORVANE_SOURCE_DIR) + "/game/DATA/ini.txt");
  const std::vector<std::string> variants = {"directory", "", std::string(4096, '\xA7'), good.substr(0, good.size() / 2)};
  for (const std::string& broken : variants) {
    SCOPED_TRACE(broken.substr(0, 20));
    testfiles::TempDir dir;
    std::filesystem::copy(std::string(ZORVANE_SOURCE_DIR) + "/game", dir.path,
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(dir.path + "DATA/ini.txt");
    if (broken == "directory") {
      testfiles::make_dirs(dir.path + "DATA/ini.txt");
    } else {
      testfiles::write_text(dir.path + "DATA/ini.txt", broken);
    }
    const Game game = start_game(dir.path, "dummy");
    // A game still running after two seconds has started up on what it could read, and must end
    // with 0 when asked; one that could not open its configuration has ended with a message.
    std::this_thread::sleep_for(2s);
    int status = 0;
    const bool running = waitpid(game.pid, &status, WNOHANG) == 0;
    if (running) kill(game.pid, SIGTERM);
    if (running) status = wait_for_end(game, 5s);
    const std::string errors = read_everything(game.stderr_fd);
    EXPECT_EQ(running, broken != "directory") << errors;
    EXPECT_TRUE(WIFEXITED(status) && (WEXITSTATUS(status) == 0) == running) << status << errors;
    EXPECT_EQ(contains(errors, " Could not open "), !running) << errors;
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

}  // namespace
