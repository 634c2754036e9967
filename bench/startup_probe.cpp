// Preloaded into the game by startup_bench (LD_PRELOAD): times SDL's own set-up (SDL_Init,
// SDL_CreateWindow, SDL_CreateRenderer) and the presents, and ends the process right after the
// present numbered STARTUP_PROBE_PRESENTS (default 1, the first intro page), writing its figures
// to the file named by STARTUP_PROBE_OUT. SDL's functions are declared here with plain pointers,
// as they cross the library boundary, so no SDL header is needed.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>

namespace {

int64_t now_us() {
  timespec t {};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<int64_t>(t.tv_sec) * 1'000'000 + t.tv_nsec / 1000;
}

template <typename Function>
Function real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int64_t init_us = 0;
int64_t window_us = 0;
int64_t renderer_us = 0;
int64_t first_present_at_us = 0;
int64_t presents = 0;

void finish() {
  if (const char* out = std::getenv("STARTUP_PROBE_OUT"); out != nullptr) {
    if (FILE* file = std::fopen(out, "w"); file != nullptr) {
      std::fprintf(file, "%lld %lld %lld %lld %lld\n", static_cast<long long>(init_us),
                   static_cast<long long>(window_us), static_cast<long long>(renderer_us),
                   static_cast<long long>(first_present_at_us), static_cast<long long>(presents));
      std::fclose(file);
    }
  }
  _exit(0);
}

}  // namespace

extern "C" {

int SDL_Init(uint32_t flags) {
  static const auto call = real<int (*)(uint32_t)>("SDL_Init");
  const int64_t start = now_us();
  const int result = call(flags);
  init_us += now_us() - start;
  return result;
}

void* SDL_CreateWindow(const char* title, int x, int y, int w, int h, uint32_t flags) {
  static const auto call = real<void* (*)(const char*, int, int, int, int, uint32_t)>("SDL_CreateWindow");
  const int64_t start = now_us();
  void* window = call(title, x, y, w, h, flags);
  window_us += now_us() - start;
  return window;
}

void* SDL_CreateRenderer(void* window, int index, uint32_t flags) {
  static const auto call = real<void* (*)(void*, int, uint32_t)>("SDL_CreateRenderer");
  const int64_t start = now_us();
  void* renderer = call(window, index, flags);
  renderer_us += now_us() - start;
  return renderer;
}

void SDL_RenderPresent(void* renderer) {
  static const auto call = real<void (*)(void*)>("SDL_RenderPresent");
  static const long stop_at = [] {
    const char* given = std::getenv("STARTUP_PROBE_PRESENTS");
    return given == nullptr ? 1L : std::max(1L, std::strtol(given, nullptr, 10));
  }();
  call(renderer);
  if (++presents == 1) first_present_at_us = now_us();
  if (presents >= stop_at) finish();
}

}  // extern "C"
