// Every test runs headless: the harness picks SDL's dummy drivers before anything starts. No test
// reads or writes the player's own files (settings, replays, scores): their directories are fresh
// ones of this process (the games the tests start inherit them).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::filesystem::path player =
      std::filesystem::temp_directory_path() / ("zorvane-test-player-" + std::to_string(getpid()));
  setenv("XDG_CONFIG_HOME", (player / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (player / "data").c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(player, ignored);
  return status;
}
