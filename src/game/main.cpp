#include "core/runtime.h"
#include "game/flow.h"
#include "game/modding_tools.h"
#include "game/options.h"
#include "platform/platform.h"

#include <cstdio>

namespace {

// Not emitted in the browser build, which has no tools.
[[noreturn, maybe_unused]] void run_tool(const tessera::LaunchOptions& options) {
  int32_t status = 0;
  if (options.mode == tessera::LaunchMode::check) {
    status = tessera::run_data_check();
  } else {
    tessera::LevelPictureRequest request;
    request.map = options.render_map;
    request.rebuilt = options.render_rebuilt;
    request.cell = options.render_cell;
    request.out = options.render_out;
    status = tessera::run_level_picture(request);
  }
  std::fflush(stdout);
  tessera::end_program(status);
}

}  // namespace

int main(int argc, char** argv) {
  const tessera::LaunchOptions options = tessera::parse_launch_options(argc, argv);
  if (options.exit_status >= 0) {
    std::fputs(options.message.c_str(), options.exit_status == 0 ? stdout : stderr);
    return options.exit_status;
  }
  const std::string problem = tessera::enter_data_directory(options);
  if (!problem.empty()) {
    std::fputs(problem.c_str(), stderr);
    return tessera::EXIT_USAGE;
  }
  // The browser build leaves the tools out (a discarded branch needs no definition of them).
  if constexpr (tessera::PLATFORM_HAS_TOOLS) {
    if (options.mode != tessera::LaunchMode::play) run_tool(options);
  }
  tessera::run_game(options.window_width, options.window_height);
}
