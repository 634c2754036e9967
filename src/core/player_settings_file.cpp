// The player's settings file itself: where it lives, reading it at start-up, writing it whole.
#include "core/player_settings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace tessera {

std::string settings_path() {
  // As player_config_directory finds it, without making the directory.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else if (home != nullptr && home[0] != '\0') {
    base = std::string(home) + (std::string(home).back() == '/' ? "" : "/") + ".config";
  } else {
    return {};
  }
  if (base.back() != '/') base += '/';
  return base + "zorvane/settings.ini";
}

namespace {

// A file that cannot be read as settings is never overwritten: it is moved aside, and while that
// fails nothing is written over it.
bool file_kept = false;

void move_aside(const std::string& path, const std::string& problem) {
  const std::string aside = path + ".unreadable-" + std::to_string(date_now());
  if (std::rename(path.c_str(), aside.c_str()) == 0) {
    std::fprintf(stderr, "Settings %s: %s; moved to %s, the default settings are used.\n", path.c_str(),
                 problem.c_str(), aside.c_str());
    player_files_written();
  } else {
    file_kept = true;
    std::fprintf(stderr, "Settings %s: %s, and it cannot be moved aside; the default settings are used and not saved.\n",
                 path.c_str(), problem.c_str());
  }
}

}  // namespace

void load_player_settings() {
  player_settings = PlayerSettings();
  file_kept = false;
  const std::string path = settings_path();
  if (path.empty()) return;
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (errno != ENOENT) move_aside(path, errno != 0 ? std::strerror(errno) : "cannot be read");
    return;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad() || (text.str().empty() && !std::filesystem::is_regular_file(path))) {
    move_aside(path, "cannot be read");
    return;
  }
  if (text.str().find('\0') != std::string::npos) {
    move_aside(path, "not a text file");
    return;
  }
  SettingsRead read = parse_settings(text.str(), path);
  for (const std::string& message : read.messages) std::fprintf(stderr, "%s\n", message.c_str());
  player_settings = std::move(read.settings);
}

bool save_player_settings() {
  const std::string path = settings_path();
  if (path.empty() || player_config_directory().empty()) {
    std::fprintf(stderr, "Settings: no configuration directory (neither XDG_CONFIG_HOME nor HOME): not saved\n");
    return false;
  }
  if (file_kept) return false;
  const std::string problem = write_file_replacing(path, settings_text(player_settings));
  if (!problem.empty()) std::fprintf(stderr, "Settings not saved: %s\n", problem.c_str());
  return problem.empty();
}

bool reset_settings_file(std::string& said) {
  const std::string path = settings_path();
  if (path.empty()) {
    said = "zorvane: no configuration directory (neither XDG_CONFIG_HOME nor HOME): no settings to remove\n";
    return true;
  }
  if (std::remove(path.c_str()) == 0) {
    player_files_written();
    said = "zorvane: removed " + path + ": the next game starts with the default settings\n";
    return true;
  }
  if (errno == ENOENT) {
    said = "zorvane: there was no settings file to remove (" + path + ")\n";
    return true;
  }
  said = "zorvane: cannot remove " + path + ": " + std::strerror(errno) + "\n";
  return false;
}

}  // namespace tessera
