#include "fuzz_data_set.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "game/default_game.h"
#include "support/test_files.h"

namespace fuzzdata {

namespace fs = std::filesystem;

namespace {

std::string outside_directory;

defaultgame::DefaultGame& game() {
  static const std::unique_ptr<defaultgame::DefaultGame> started = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The inputs are written as files many thousand times a second: keep them in memory when the
    // system offers a memory file system and no other temporary directory was asked for.
    std::error_code ec;
    if (std::getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm", ec)) setenv("TMPDIR", "/dev/shm", 1);
    auto made = std::make_unique<defaultgame::DefaultGame>(640, 360);
    // The game starts inside the copy; the fuzzer's own files stay where it was started.
    if (chdir(made->previous_directory.c_str()) != 0) throw std::runtime_error("cannot leave the data set");
    return made;
  }();
  return *started;
}

}  // namespace

InDataSet::InDataSet() {
  const std::string& start = game().dir.path;
  outside_directory = fs::current_path().string();
  if (chdir(start.c_str()) != 0) std::abort();
}

InDataSet::~InDataSet() {
  if (chdir(outside_directory.c_str()) != 0) std::abort();
}

std::string data_path(const std::string& relative) { return game().dir.path + relative; }

std::string write_data_file(const std::string& relative, const uint8_t* data, size_t size) {
  return write_data_file(relative, std::string(reinterpret_cast<const char*>(data), size));
}

std::string write_data_file(const std::string& relative, const std::string& bytes) {
  const std::string path = data_path(relative);
  testfiles::write_text(path, bytes);
  return path;
}

}  // namespace fuzzdata
