// The command line: desktop conventions around a game that otherwise takes everything from its
// start directory. Without options the game runs exactly as it always has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

struct LaunchOptions {
  std::string data_directory;  // start directory; empty: the current directory
  int32_t window_width = 0;    // 0 x 0: borderless and as large as display 0
  int32_t window_height = 0;
  // Set when the program should end at once with this status after printing `message`
  // (standard output for status 0, standard error otherwise); -1 runs the game.
  int32_t exit_status = -1;
  std::string message;
};

// Reads argv[1..]. Options are "--name VALUE" or "--name=VALUE"; an unknown option, a missing or
// bad value, or a stray argument gives exit status 2 and a one-line message naming it.
LaunchOptions parse_launch_options(const std::vector<std::string>& arguments);
LaunchOptions parse_launch_options(int argc, const char* const* argv);

// Makes data_directory the current directory (when given). Empty on success, else a message.
std::string enter_data_directory(const LaunchOptions& options);

}  // namespace tessera
