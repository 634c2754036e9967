// The player's own files (replays, scores, settings): where they live and how they are written.
#include "platform/platform.h"

#include <SDL.h>
#include <fcntl.h>
#if TESSERA_WEB
#include <emscripten.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace tessera {

namespace {

namespace fs = std::filesystem;

std::string with_separator(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

bool make_directory(const std::string& path) {
  std::error_code error;
  fs::create_directories(path, error);
  return fs::is_directory(path, error);
}

}  // namespace

// In a browser both live in the page's IndexedDB, mounted here before the game starts and copied
// back after every write (web/pre.js).
constexpr const char* WEB_PLAYER_ROOT = "/player/";

std::string player_data_directory() {
  if (PLATFORM_WEB) {
    const std::string result = std::string(WEB_PLAYER_ROOT) + "data/";
    return make_directory(result) ? result : std::string();
  }
  // SDL keeps the platform's convention: $XDG_DATA_HOME/zorvane/ (else ~/.local/share) on Linux.
  char* path = SDL_GetPrefPath("", "zorvane");
  if (path == nullptr) return {};
  std::string result = with_separator(path);
  SDL_free(path);
  return make_directory(result) ? result : std::string();
}

std::string player_config_directory() {
  if (PLATFORM_WEB) {
    const std::string result = std::string(WEB_PLAYER_ROOT) + "config/";
    return make_directory(result) ? result : std::string();
  }
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  // The XDG rules ignore a relative XDG_CONFIG_HOME.
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else if (home != nullptr && home[0] != '\0') {
    base = with_separator(home) + ".config";
  } else {
    return {};
  }
  const std::string result = with_separator(base) + "zorvane/";
  return make_directory(result) ? result : std::string();
}

std::string write_file_replacing(const std::string& path, const std::string& bytes) {
  // A name of its own per process, so two games writing the same file never share a half.
  const std::string fresh = path + ".new" + std::to_string(static_cast<long>(getpid()));
  const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return fresh + ": " + std::strerror(errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::string problem = fresh + ": " + std::strerror(n < 0 ? errno : ENOSPC);
      ::close(fd);
      ::unlink(fresh.c_str());
      return problem;
    }
    done += static_cast<size_t>(n);
  }
  const bool synced = ::fsync(fd) == 0;
  const int sync_error = errno;
  if (::close(fd) != 0 || !synced) {
    ::unlink(fresh.c_str());
    return fresh + ": " + std::strerror(synced ? errno : sync_error);
  }
  if (::rename(fresh.c_str(), path.c_str()) != 0) {
    const std::string problem = path + ": " + std::strerror(errno);
    ::unlink(fresh.c_str());
    return problem;
  }
  player_files_written();
  return {};
}

#if TESSERA_WEB
void player_files_written() {
  EM_ASM({
    if (Module.playerFilesWritten) Module.playerFilesWritten();
  });
}
#else
// Nothing to do where files land on disk as they are written.
void player_files_written() {}
#endif

#if TESSERA_WEB
// The browser's file system lives in memory: lasting means copying it to the page's storage.
bool file_sync_later(int) {
  player_files_written();
  return true;
}

bool file_sync_finish(int) { return true; }
#else
namespace {

// One waiting thread for the whole run: a frame never waits for the disk.
struct Syncer {
  std::mutex lock;
  std::condition_variable changed;
  int pending = -1;  // the descriptor to sync next
  int busy = -1;     // the one being synced
  int failed = -1;   // the last one whose sync failed
  bool started = false;
};
// Never destroyed: the thread waits on it until the process ends, and destroying a condition
// variable with a waiter blocks the exit.
Syncer& syncer = *new Syncer;

void sync_forever() {
  std::unique_lock<std::mutex> hold(syncer.lock);
  for (;;) {
    syncer.changed.wait(hold, [] { return syncer.pending >= 0; });
    const int fd = syncer.busy = syncer.pending;
    syncer.pending = -1;
    hold.unlock();
    const bool synced = ::fdatasync(fd) == 0;
    hold.lock();
    if (!synced) syncer.failed = fd;
    syncer.busy = -1;
    syncer.changed.notify_all();
  }
}

}  // namespace

bool file_sync_later(int fd) {
  std::lock_guard<std::mutex> hold(syncer.lock);
  if (syncer.failed == fd) return false;
  if (!syncer.started) {
    // Detached: it only ever waits, and the process may end at any time.
    std::thread(sync_forever).detach();
    syncer.started = true;
  }
  syncer.pending = fd;
  syncer.changed.notify_all();
  return true;
}

bool file_sync_finish(int fd) {
  std::unique_lock<std::mutex> hold(syncer.lock);
  if (syncer.pending == fd) syncer.pending = -1;
  syncer.changed.wait(hold, [fd] { return syncer.busy != fd; });
  const bool good = syncer.failed != fd;
  if (!good) syncer.failed = -1;
  return good;
}

#endif

}  // namespace tessera
