// The command line: desktop conventions around a game that otherwise takes everything from its
// start directory. Without options the game runs exactly as it always has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

// The exit status of a command line the program cannot follow, or a start directory it cannot enter.
constexpr int32_t EXIT_USAGE = 2;

// What the program does: play, watch or verify a replay, print the score table, or one of the tools
// for people who make data sets.
enum class LaunchMode : uint8_t { play, check, render_level, watch_replay, verify_replay, scores };

struct LaunchOptions {
  LaunchMode mode = LaunchMode::play;
  std::string data_directory;  // start directory (--data, or DIR after a tool); empty: the current one
  int32_t window_width = 0;    // 0 x 0: borderless and as large as display 0
  int32_t window_height = 0;
  // Set when the program should end at once with this status after printing `message`
  // (standard output for status 0, standard error otherwise); -1 runs the game.
  int32_t exit_status = -1;
  std::string message;
  // --render-level N [--rebuilt] [--cell PX] --out FILE.png
  int32_t render_map = 1;
  bool render_rebuilt = false;
  int32_t render_cell = 0;  // 0: the data set's cell size
  std::string render_out;
  std::string replay_file;  // --replay FILE or --verify-replay FILE
  bool reset_settings = false;  // --reset-settings: delete the player's settings file and end
};

// Reads argv[1..]. Options are "--name VALUE" or "--name=VALUE"; the tools take the start
// directory as one more argument. An unknown option, a missing or bad value, a stray argument or
// options that do not go together give EXIT_USAGE and a one-line message naming them.
LaunchOptions parse_launch_options(const std::vector<std::string>& arguments);
LaunchOptions parse_launch_options(int argc, const char* const* argv);

// Makes data_directory the current directory (when given). Empty on success, else a message.
std::string enter_data_directory(const LaunchOptions& options);

}  // namespace tessera
