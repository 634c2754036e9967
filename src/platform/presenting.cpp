// Showing the back buffer in the window, and pacing the frames to 60 a second.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <chrono>
#include <thread>

namespace tessera {

bool frame_pacing = true;
void (*flip_hook)() = nullptr;
int64_t flip_count = 0;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto FRAME_PERIOD = std::chrono::nanoseconds(1'000'000'000 / 60);
// A flip this close to its slot is not worth a sleep (and keeps a 60.05 Hz display from drifting).
constexpr auto PACING_SLACK = std::chrono::microseconds(1000);

bool pacing_started = false;
Clock::time_point previous_flip {};

void pace_frame() {
  const Clock::time_point now = Clock::now();
  if (!pacing_started) {
    pacing_started = true;
    previous_flip = now;
    return;
  }
  const Clock::time_point slot = previous_flip + FRAME_PERIOD;
  if (now + PACING_SLACK >= slot) {
    previous_flip = now;
    return;
  }
  // Sleep most of the way, then yield until the slot: sleeping alone overshoots by up to a tick.
  std::this_thread::sleep_until(slot - std::chrono::microseconds(500));
  while (Clock::now() < slot) std::this_thread::yield();
  previous_flip = slot;
}

void present() {
  back_buffer_settle();
  if (platform_back_is_window) {
    SDL_RenderPresent(platform_renderer);
  } else if (platform_has_back_buffer()) {
    SDL_SetRenderTarget(platform_renderer, nullptr);
    int window_width = 0;
    int window_height = 0;
    SDL_GetRendererOutputSize(platform_renderer, &window_width, &window_height);
    const SDL_Rect shown = letterbox(platform_back_width, platform_back_height, window_width, window_height);
    // Bars where the window's shape differs from the screen's; a copy over the whole window leaves
    // nothing to clear.
    if (shown.w != window_width || shown.h != window_height) {
      SDL_SetRenderDrawColor(platform_renderer, 0, 0, 0, 255);
      SDL_RenderClear(platform_renderer);
    }
    SDL_RenderCopy(platform_renderer, platform_back_buffer, nullptr, &shown);
    SDL_RenderPresent(platform_renderer);
    platform_target_back_buffer();
  }
}

}  // namespace

SDL_Rect letterbox(int32_t width, int32_t height, int32_t window_width, int32_t window_height) {
  if (width <= 0 || height <= 0 || window_width <= 0 || window_height <= 0) return {0, 0, window_width, window_height};
  // The largest size of the screen's shape that fits; the other side is centred.
  const int64_t by_width = static_cast<int64_t>(window_width) * height;
  const int64_t by_height = static_cast<int64_t>(window_height) * width;
  SDL_Rect shown {0, 0, window_width, window_height};
  if (by_width > by_height) {
    shown.w = static_cast<int>(by_height / height);
    shown.x = (window_width - shown.w) / 2;
  } else if (by_width < by_height) {
    shown.h = static_cast<int>(by_width / width);
    shown.y = (window_height - shown.h) / 2;
  }
  return shown;
}

void frame_pacing_restart() { pacing_started = false; }

void screen_flip() {
  ++flip_count;
  if (flip_hook != nullptr) flip_hook();
  present();
  // In a browser the page's animation frames pace the game.
  if (frame_pacing && !PLATFORM_WEB) pace_frame();
}

void screen_flip_now() {
  // In a browser vsync is the page's frame timing, which switching it would change: a present there
  // never waits anyway.
  if (PLATFORM_WEB) {
    screen_flip();
    return;
  }
  // Vsync off for this one present where the renderer can switch it (SDL 2.0.18 and later).
  SDL_RendererInfo info {};
  const bool vsync = platform_renderer != nullptr && SDL_GetRendererInfo(platform_renderer, &info) == 0 &&
                     (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  if (vsync) SDL_RenderSetVSync(platform_renderer, 0);
  const bool paced = frame_pacing;
  frame_pacing = false;
  screen_flip();
  frame_pacing = paced;
  if (vsync) SDL_RenderSetVSync(platform_renderer, 1);
}

}  // namespace tessera
