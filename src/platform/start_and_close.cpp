// SDL's lifetime: started once with our own signal handling, the image decoders, the headless
// drivers, and every service closed at the end.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <SDL_image.h>

#include <cstdio>
#include <cstring>

namespace tessera {

bool platform_sdl_started = false;

bool platform_sdl_start() {
  if (platform_sdl_started) return true;
  // SDL's own handlers would turn Ctrl+C into SDL_QUIT only while events are pumped; ours
  // reach the quit handler the same way and leave the default action when nobody listens.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    return false;
  }
  quit_signals_install();
  platform_sdl_started = true;
  return true;
}

bool platform_display_exists() {
  if (!platform_sdl_started || SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
}

int32_t screen_init() { return platform_sdl_start() ? 1 : 0; }

void image_decoders_register() {
  // The browser's SDL_image decodes through stb alone, which has no TIFF.
  const int wanted = IMG_INIT_PNG | IMG_INIT_JPG | (PLATFORM_WEB ? 0 : IMG_INIT_TIF);
  if ((IMG_Init(wanted) & wanted) != wanted) std::fprintf(stderr, "Image decoders: %s\n", IMG_GetError());
}

void headless_mode() {
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  frame_pacing = false;
}

void platform_close_all() {
  sound_close_all();
  windows_close_all();
  input_close_all();
  files_close_all();
  if (platform_sdl_started) {
    IMG_Quit();
    SDL_Quit();
    platform_sdl_started = false;
  }
  frame_pacing_restart();
}

}  // namespace tessera
