#include "core/player_settings.h"
#include "core/runtime.h"
#include "game/flow.h"
#include "game/modding_tools.h"
#include "game/options.h"
#include "game/replay.h"
#include "game/score_table.h"
#include "platform/platform.h"

#include <cstdio>
#include <filesystem>

namespace {

// Not emitted in the browser build, which has no tools.
[[noreturn, maybe_unused]] void run_tool(const tessera::LaunchOptions& options) {
  int32_t status = 0;
  if (options.mode == tessera::LaunchMode::check) {
    status = tessera::run_data_check();
  } else if (options.mode == tessera::LaunchMode::verify_replay) {
    status = tessera::verify_replay(options.replay_file);
  } else if (options.mode == tessera::LaunchMode::scores) {
    const std::string directory = tessera::player_data_directory();
    std::fputs(tessera::score_table_report(tessera::load_score_table(directory, tessera::data_set_digest())).c_str(),
               stdout);
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

// A replay is watched only on the data set and game version it was recorded with.
[[noreturn, maybe_unused]] void watch(const std::string& path) {
  static tessera::Replay replay;
  std::string problem = tessera::load_replay(path, replay);
  if (problem.empty() && replay.start.game_version != tessera::game_version()) {
    problem = "recorded by zorvane " + replay.start.game_version + ", this is zorvane " + tessera::game_version();
  }
  if (problem.empty() && replay.start.data_digest != tessera::data_set_digest()) problem = "recorded on another data set";
  if (problem.empty() && replay.start.continued) problem = "a later game on a data set of map files, which no replay holds";
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
    std::exit(tessera::EXIT_USAGE);
  }
  tessera::watch_replay(replay, std::filesystem::path(path).filename().string());
}

}  // namespace

int main(int argc, char** argv) {
  tessera::LaunchOptions options = tessera::parse_launch_options(argc, argv);
  if (options.exit_status >= 0) {
    std::fputs(options.message.c_str(), options.exit_status == 0 ? stdout : stderr);
    return options.exit_status;
  }
  if (options.reset_settings) {
    std::string said;
    const bool removed = tessera::reset_settings_file(said);
    std::fputs(said.c_str(), stderr);
    return removed ? 0 : 1;
  }
  // The replay's name is as given, before the start directory changes.
  if (!options.replay_file.empty()) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(options.replay_file, error);
    if (!error) options.replay_file = absolute.string();
  }
  const std::string problem = tessera::enter_data_directory(options);
  if (!problem.empty()) {
    std::fputs(problem.c_str(), stderr);
    return tessera::EXIT_USAGE;
  }
  // The browser build leaves the tools out (a discarded branch needs no definition of them).
  if constexpr (tessera::PLATFORM_HAS_TOOLS) {
    if (options.mode == tessera::LaunchMode::watch_replay) watch(options.replay_file);
    if (options.mode != tessera::LaunchMode::play) run_tool(options);
  }
  tessera::run_game(options.window_width, options.window_height);
}
