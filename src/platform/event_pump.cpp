// The one event pump: SDL's queue drained into the screen, the input state and quit requests.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <algorithm>
#include <chrono>

namespace tessera {

void (*pump_hook)() = nullptr;

namespace {

using Clock = std::chrono::steady_clock;

// Long work takes window messages at least this often (window_events_when_due).
constexpr auto PUMP_INTERVAL = std::chrono::milliseconds(40);

Clock::time_point last_pump {};

void handle_event(const SDL_Event& event) {
  screen_follow_window(event);
  if (event.type == SDL_QUIT) quit_pending = true;
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) quit_pending = true;
  input_handle_event(event);
}

// Waits in short slices, so that a request to close (a signal, which wakes no SDL wait) is
// answered within a slice however long the wait.
bool wait_event(SDL_Event& event, int32_t timeout_ms) {
  constexpr int32_t SLICE_MS = 20;
  int32_t left = timeout_ms;
  for (;;) {
    const int32_t slice = timeout_ms < 0 ? SLICE_MS : std::min(left, SLICE_MS);
    if (SDL_WaitEventTimeout(&event, slice) != 0) return true;
    if (quit_signal != 0) return false;
    if (timeout_ms >= 0 && (left -= slice) <= 0) return false;
  }
}

}  // namespace

void platform_pump_events() {
  last_pump = Clock::now();
  if (platform_sdl_started) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) handle_event(event);
  }
  if (pump_hook != nullptr) pump_hook();
  quit_deliver();
}

void window_events_when_due() {
  if (quit_signal != 0 || Clock::now() - last_pump >= PUMP_INTERVAL) platform_pump_events();
}

int32_t window_event(int32_t timeout_ms) {
  if (!platform_sdl_started) return 0;
  SDL_Event event;
  int32_t code = 0;
  bool got = false;
  // A page must hand the browser back its thread: events come between the frames.
  if (timeout_ms == 0 || PLATFORM_WEB) {
    got = SDL_PollEvent(&event) != 0;
  } else {
    got = wait_event(event, timeout_ms);
  }
  if (got) {
    code = static_cast<int32_t>(event.type);
    handle_event(event);
  }
  platform_pump_events();
  return code;
}

}  // namespace tessera
