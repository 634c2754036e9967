#include "game/options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#ifndef ZORVANE_VERSION
#define ZORVANE_VERSION "unknown"
#endif

namespace tessera {

namespace {

constexpr int32_t EXIT_USAGE = 2;
constexpr int32_t WINDOW_MIN = 160;
constexpr int32_t WINDOW_MAX = 16384;

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

bool parse_dimension(const std::string& text, int32_t& out) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, out);
  return error == std::errc() && stop == end && !text.empty() && text.front() != '-' && text.front() != '+';
}

std::string set_window(LaunchOptions& options, const std::string& value) {
  const size_t x = value.find('x');
  int32_t width = 0;
  int32_t height = 0;
  if (x == std::string::npos || !parse_dimension(value.substr(0, x), width) ||
      !parse_dimension(value.substr(x + 1), height)) {
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

// Every option, in the order --help lists them. A new option is one more line here.
const OptionEntry OPTIONS[] = {
    {"--data", "DIR", "start directory holding DATA/ini.txt (default: the current directory)", set_data},
    {"--window", "WxH", "a normal window of that size, such as 1280x720 (default: no border, display-sized)",
     set_window},
    {"--help", nullptr, "show this help and exit", show_help},
    {"--version", nullptr, "show the version and exit", show_version},
};

std::string help_text() {
  std::string text = "Usage: zorvane [OPTION]...\nA real-time labyrinth game. Options:\n";
  for (const OptionEntry& option : OPTIONS) {
    std::string left = std::string("  ") + option.name;
    if (option.value_name != nullptr) left += std::string(" ") + option.value_name;
    left.resize(std::max<size_t>(left.size() + 2, 18), ' ');
    text += left + option.help + "\n";
  }
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

LaunchOptions parse_launch_options(const std::vector<std::string>& arguments) {
  LaunchOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const OptionEntry* option = argument.rfind("--", 0) == 0 ? find_option(name) : nullptr;
    if (option == nullptr) {
      return usage_error((argument.rfind("-", 0) == 0 ? "unknown option " : "unexpected argument ") + argument);
    }
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
