#include "game/flow.h"
#include "game/options.h"

#include <cstdio>

int main(int argc, char** argv) {
  const tessera::LaunchOptions options = tessera::parse_launch_options(argc, argv);
  if (options.exit_status >= 0) {
    std::fputs(options.message.c_str(), options.exit_status == 0 ? stdout : stderr);
    return options.exit_status;
  }
  const std::string problem = tessera::enter_data_directory(options);
  if (!problem.empty()) {
    std::fputs(problem.c_str(), stderr);
    return 2;
  }
  tessera::run_game(options.window_width, options.window_height);
}
