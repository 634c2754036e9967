#include "game/options.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/player_settings.h"

#ifndef ZORVANE_VERSION
#define ZORVANE_VERSION "unknown"
#endif

namespace tessera {

namespace {

constexpr int32_t WINDOW_MIN = 160;
constexpr int32_t WINDOW_MAX = 16384;
constexpr int32_t CELL_MAX = 1024;

// Handlers return an empty text on success, else what is wrong with the value.
using Handler = std::string (*)(LaunchOptions&, const std::string&);

struct OptionEntry {
  const char* name;        // with the leading "--"
  const char* value_name;  // nullptr: a flag without a value
  const char* help;
  Handler apply;
};

std::string help_text();

std::string show_help(LaunchOptions& options, const std::string&) {
  options.exit_status = 0;
  options.message = help_text();
  return "";
}

std::string set_reset_settings(LaunchOptions& options, const std::string&) {
  options.reset_settings = true;
  return "";
}

std::string show_version(LaunchOptions& options, const std::string&) {
  options.exit_status = 0;
  options.message = std::string("zorvane ") + ZORVANE_VERSION + "\n";
  return "";
}

std::string set_data(LaunchOptions& options, const std::string& value) {
  std::error_code error;
  if (value.empty() || !std::filesystem::is_directory(value, error)) return "not a directory: " + value;
  options.data_directory = value;
  return "";
}

bool parse_count(const std::string& text, int32_t& out) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, out);
  return error == std::errc() && stop == end && !text.empty() && text.front() != '-' && text.front() != '+';
}

std::string set_window(LaunchOptions& options, const std::string& value) {
  const size_t x = value.find('x');
  int32_t width = 0;
  int32_t height = 0;
  if (x == std::string::npos || !parse_count(value.substr(0, x), width) ||
      !parse_count(value.substr(x + 1), height)) {
    return "expected WIDTHxHEIGHT, such as 1280x720, not " + value;
  }
  if (width < WINDOW_MIN || height < WINDOW_MIN || width > WINDOW_MAX || height > WINDOW_MAX) {
    return "each side must be " + std::to_string(WINDOW_MIN) + " to " + std::to_string(WINDOW_MAX) +
           " pixels, not " + value;
  }
  options.window_width = width;
  options.window_height = height;
  return "";
}

// The tools: one mode at a time.
std::string enter_mode(LaunchOptions& options, LaunchMode mode) {
  if (options.mode != LaunchMode::play && options.mode != mode) {
    return "--check, --render-level, --replay, --verify-replay and --scores cannot be combined";
  }
  options.mode = mode;
  return "";
}

std::string set_check(LaunchOptions& options, const std::string&) { return enter_mode(options, LaunchMode::check); }

std::string set_render_level(LaunchOptions& options, const std::string& value) {
  if (!parse_count(value, options.render_map)) return "expected a map number (0 or more), not " + value;
  return enter_mode(options, LaunchMode::render_level);
}

std::string set_replay_file(LaunchOptions& options, const std::string& value, LaunchMode mode) {
  if (value.empty()) return "needs a file name";
  options.replay_file = value;
  return enter_mode(options, mode);
}

std::string set_replay(LaunchOptions& options, const std::string& value) {
  return set_replay_file(options, value, LaunchMode::watch_replay);
}

std::string set_verify_replay(LaunchOptions& options, const std::string& value) {
  return set_replay_file(options, value, LaunchMode::verify_replay);
}

std::string set_scores(LaunchOptions& options, const std::string&) { return enter_mode(options, LaunchMode::scores); }

std::string set_out(LaunchOptions& options, const std::string& value) {
  if (value.empty()) return "needs a file name";
  options.render_out = value;
  return "";
}

std::string set_rebuilt(LaunchOptions& options, const std::string&) {
  options.render_rebuilt = true;
  return "";
}

std::string set_cell(LaunchOptions& options, const std::string& value) {
  if (!parse_count(value, options.render_cell) || options.render_cell < 1 || options.render_cell > CELL_MAX) {
    return "expected pixels a cell from 1 to " + std::to_string(CELL_MAX) + ", not " + value;
  }
  return "";
}

// Every option, in the order --help lists them. A new option is one more line here.
const OptionEntry OPTIONS[] = {
    {"--data", "DIR", "start directory holding DATA/ini.txt (default: the current directory)", set_data},
    {"--window", "WxH", "a normal window of that size, such as 1280x720 (default: no border, display-sized)",
     set_window},
    {"--check", nullptr,
     "check the data set in DIR (default: the current directory): one line per problem, exit status 0 "
     "without errors, 1 with, 2 when DIR holds no DATA/ini.txt",
     set_check},
    {"--render-level", "N", "draw map N of the data set in DIR into one PNG (needs --out)", set_render_level},
    {"--out", "FILE", "the PNG file --render-level writes", set_out},
    {"--rebuilt", nullptr, "map 1 as a new game builds it, not as start-up does", set_rebuilt},
    {"--cell", "PX", "pixels a cell of the picture (default: RESOLUTION; refused above 16384 a side or 8192 x 8192 in all)",
     set_cell},
    {"--replay", "FILE",
     "watch a replay in a window: Space pauses, Right speeds up, T takes over, Escape leaves", set_replay},
    {"--verify-replay", "FILE",
     "play a replay headless and check it: exit status 0 when it plays as recorded, 1 when it diverges, "
     "2 when it cannot be checked here",
     set_verify_replay},
    {"--scores", nullptr, "print the data set's score table", set_scores},
    {"--reset-settings", nullptr, "delete the player's settings file (see below), say so, and exit", set_reset_settings},
    {"--help", nullptr, "show this help and exit", show_help},
    {"--version", nullptr, "show the version and exit", show_version},
};

// Where the player's files go, as --help names it (not created by asking).
std::string player_files_place() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + "/zorvane/";
  return "~/.local/share/zorvane/";
}

std::string help_text() {
  std::string text =
      "Usage: zorvane [--data DIR] [--window WxH]\n"
      "       zorvane --replay FILE [--data DIR]\n"
      "       zorvane --verify-replay FILE [--data DIR]\n"
      "       zorvane --scores [--data DIR]\n"
      "       zorvane --reset-settings\n"
      "       zorvane --check [DIR]\n"
      "       zorvane --render-level N --out FILE.png [--rebuilt] [--cell PX] [DIR]\n"
      "A real-time labyrinth game, and tools for making its data sets. Every game is recorded as a\n"
      "replay; replays and score tables are kept in " + player_files_place() + ". Options:\n";
  for (const OptionEntry& option : OPTIONS) {
    std::string left = std::string("  ") + option.name;
    if (option.value_name != nullptr) left += std::string(" ") + option.value_name;
    left.resize(std::max<size_t>(left.size() + 2, 18), ' ');
    text += left + option.help + "\n";
  }
  const std::string settings = settings_path();
  text += "The player's settings (keys, volume, fullscreen; the settings screen of the title changes them):\n  " +
          (settings.empty() ? std::string("none: neither XDG_CONFIG_HOME nor HOME is set") : settings) + "\n";
  return text;
}

const OptionEntry* find_option(const std::string& name) {
  for (const OptionEntry& option : OPTIONS) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

LaunchOptions usage_error(const std::string& text) {
  LaunchOptions failed;
  failed.exit_status = EXIT_USAGE;
  failed.message = "zorvane: " + text + " (zorvane --help lists the options)\n";
  return failed;
}

}  // namespace

namespace {

// What only makes sense with another option, and the start directory given as an argument.
std::string check_combination(LaunchOptions& options, const std::vector<std::string>& directories) {
  const bool tool = options.mode == LaunchMode::check || options.mode == LaunchMode::render_level;
  if (!directories.empty() && !tool) return "unexpected argument " + directories.front();
  if (directories.size() > 1) return "unexpected argument " + directories[1];
  if (!directories.empty() && !options.data_directory.empty()) return "give the start directory once, not with --data too";
  if (!directories.empty()) {
    const std::string problem = set_data(options, directories.front());
    if (!problem.empty()) return problem;
  }
  const bool render = options.mode == LaunchMode::render_level;
  if (!render && (!options.render_out.empty() || options.render_rebuilt || options.render_cell != 0)) {
    return "--out, --rebuilt and --cell go with --render-level";
  }
  if (render && options.render_out.empty()) return "--render-level needs --out FILE.png";
  if (options.mode != LaunchMode::play && options.window_width != 0) return "--window goes with play alone";
  if (options.reset_settings && (options.mode != LaunchMode::play || options.window_width != 0 || !options.data_directory.empty())) {
    return "--reset-settings goes alone";
  }
  return "";
}

}  // namespace

LaunchOptions parse_launch_options(const std::vector<std::string>& arguments) {
  LaunchOptions options;
  std::vector<std::string> directories;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.rfind("-", 0) != 0) {
      directories.push_back(argument);
      continue;
    }
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const OptionEntry* option = argument.rfind("--", 0) == 0 ? find_option(name) : nullptr;
    if (option == nullptr) return usage_error("unknown option " + argument);
    std::string value;
    if (option->value_name == nullptr) {
      if (equals != std::string::npos) return usage_error(name + " takes no value");
    } else if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return usage_error(name + " needs a value " + option->value_name);
    }
    const std::string problem = option->apply(options, value);
    if (!problem.empty()) return usage_error(name + ": " + problem);
    if (options.exit_status >= 0) return options;  // --help and --version end the parse
  }
  const std::string problem = check_combination(options, directories);
  if (!problem.empty()) return usage_error(problem);
  return options;
}

LaunchOptions parse_launch_options(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return parse_launch_options(arguments);
}

std::string enter_data_directory(const LaunchOptions& options) {
  if (options.data_directory.empty()) return "";
  std::error_code error;
  std::filesystem::current_path(options.data_directory, error);
  if (error) return "zorvane: --data: cannot enter " + options.data_directory + ": " + error.message() + "\n";
  return "";
}

}  // namespace tessera
