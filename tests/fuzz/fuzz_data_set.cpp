#include "fuzz_data_set.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "game/default_game.h"
#include "platform/platform.h"
#include "support/test_files.h"

namespace fuzzdata {

namespace fs = std::filesystem;

namespace {

std::string outside_directory;

// Made at the first call, after every global of the game, so it is destroyed (the screen closed,
// the copy removed) before them at exit.
std::unique_ptr<defaultgame::DefaultGame>& game() {
  static std::unique_ptr<defaultgame::DefaultGame> started;
  return started;
}

}  // namespace

void start(const std::function<void(const std::string&)>& alter) {
  std::unique_ptr<defaultgame::DefaultGame>& started = game();
  if (started) return;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // Every input is written as a file: keep the copy in memory when the system offers a memory
  // file system and no other temporary directory was asked for.
  std::error_code ec;
  if (std::getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm", ec)) setenv("TMPDIR", "/dev/shm", 1);
  started = std::make_unique<defaultgame::DefaultGame>(640, 360, alter);
  // The game starts inside the copy; the fuzzer's own files stay where it was started.
  if (chdir(started->previous_directory.c_str()) != 0) throw std::runtime_error("cannot leave the data set");
}

InDataSet::InDataSet() {
  start();
  outside_directory = fs::current_path().string();
  if (chdir(game()->dir.path.c_str()) != 0) std::abort();
}

InDataSet::~InDataSet() {
  if (chdir(outside_directory.c_str()) != 0) std::abort();
}

void shrink_images(const std::string& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".png") testfiles::write_png(entry.path().string(), 3, 4, tessera::rgb(0, 0, 0));
  }
}

std::string data_path(const std::string& relative) {
  start();
  return game()->dir.path + relative;
}

std::string write_data_file(const std::string& relative, const uint8_t* data, size_t size) {
  const std::string path = data_path(relative);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) std::abort();
  return path;
}

std::string write_data_file(const std::string& relative, const std::string& bytes) {
  return write_data_file(relative, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace fuzzdata
