// Preloaded into the unmodified game (LD_PRELOAD) by play_rate_bench: every SDL_RenderPresent goes
// on to SDL's own, and its time (CLOCK_MONOTONIC, nanoseconds) is appended as one line to the file
// named by PRESENT_COUNTER_LOG. Nothing of the game is changed or asked.
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using Present = void (*)(SDL_Renderer*);

int log_file() {
  static int fd = -2;
  if (fd == -2) {
    const char* path = std::getenv("PRESENT_COUNTER_LOG");
    fd = path == nullptr ? -1 : open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
  }
  return fd;
}

}  // namespace

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
  static const auto real = reinterpret_cast<Present>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
  if (real != nullptr) real(renderer);
  const int fd = log_file();
  if (fd < 0) return;
  timespec now {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  char line[32];
  const int n = std::snprintf(line, sizeof line, "%lld\n",
                              static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  if (n > 0) (void)!write(fd, line, static_cast<size_t>(n));
}
