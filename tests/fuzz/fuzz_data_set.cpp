#include "fuzz_data_set.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "game/default_game.h"

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
  const std::string path = data_path(relative);
  fs::create_directories(fs::path(path).parent_path());
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  size_t written = 0;
  while (written < size) {
    const ssize_t n = ::write(fd, data + written, size - written);
    if (n <= 0) std::abort();
    written += static_cast<size_t>(n);
  }
  ::close(fd);
  return path;
}

std::string write_data_file(const std::string& relative, const std::string& bytes) {
  return write_data_file(relative, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace fuzzdata
