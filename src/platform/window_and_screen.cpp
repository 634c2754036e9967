// Displays, windows and the screen in a window: its renderer and back buffer, clearing it and
// saving it as a picture.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <vector>
#if TESSERA_WEB
#include <emscripten.h>
#endif

namespace tessera {

SDL_Window* platform_window = nullptr;
SDL_Renderer* platform_renderer = nullptr;
SDL_Texture* platform_back_buffer = nullptr;
bool platform_back_is_window = false;
int32_t platform_back_width = 0;
int32_t platform_back_height = 0;
uint32_t platform_back_format = SDL_PIXELFORMAT_ARGB8888;
uint32_t platform_renderer_generation = 1;

namespace {

HandleTable<SDL_Window*> windows;
int32_t screen_window = 0;  // handle of the window the renderer belongs to

// The screen's window: fullscreen (borderless over display 0) or a normal window of windowed_*.
bool fullscreen_on = false;
int32_t windowed_width = 0;
int32_t windowed_height = 0;
int32_t away_latched = 0;
// A window manager may take the focus away for a moment while a window changes between
// fullscreen and windowed; that is not the player leaving.
constexpr uint32_t SWITCH_FOCUS_GRACE_MS = 500;
uint32_t switched_at = 0;
bool switched = false;

bool make_back_texture(int32_t width, int32_t height) {
  platform_back_buffer =
      SDL_CreateTexture(platform_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
  if (platform_back_buffer == nullptr) {
    std::fprintf(stderr, "Back buffer: %s\n", SDL_GetError());
    return false;
  }
  SDL_SetTextureBlendMode(platform_back_buffer, SDL_BLENDMODE_NONE);
  // Scaled to a window of another size, it is filtered (a copy at its own size is exact either way).
  SDL_SetTextureScaleMode(platform_back_buffer, SDL_ScaleModeLinear);
  platform_back_format = SDL_PIXELFORMAT_ARGB8888;
  return true;
}

void destroy_back_buffer() {
  tile_layer_close();
  if (platform_back_buffer != nullptr) SDL_DestroyTexture(platform_back_buffer);
  platform_back_buffer = nullptr;
  platform_back_is_window = false;
  platform_back_width = 0;
  platform_back_height = 0;
}

void destroy_renderer() {
  sprites_close_all();  // their textures belong to this renderer
  destroy_back_buffer();
  if (platform_renderer != nullptr) {
    SDL_DestroyRenderer(platform_renderer);
    ++platform_renderer_generation;
  }
  platform_renderer = nullptr;
  screen_window = 0;
}

bool display_mode(int32_t display, SDL_DisplayMode& mode) {
  return platform_sdl_start() && SDL_GetDesktopDisplayMode(display, &mode) == 0;
}

}  // namespace

// The back buffer becomes a texture of its own size holding what the window showed, so the window
// can change its size without losing the frame (a dialog draws over it).
void back_buffer_leave_window() {
  if (!platform_back_is_window) return;
  back_buffer_settle();
  const int pitch = platform_back_width * 4;
  std::vector<Uint8> pixels(static_cast<size_t>(pitch) * static_cast<size_t>(platform_back_height));
  const SDL_Rect all {0, 0, platform_back_width, platform_back_height};
  const bool read = SDL_RenderReadPixels(platform_renderer, &all, SDL_PIXELFORMAT_ARGB8888, pixels.data(), pitch) == 0;
  tile_layer_close();
  platform_back_is_window = false;
  if (!make_back_texture(platform_back_width, platform_back_height)) return;
  if (read) {
    SDL_UpdateTexture(platform_back_buffer, nullptr, pixels.data(), pitch);
  } else {
    screen_clear(0);
  }
  platform_target_back_buffer();
}

// A window that no longer has the back buffer's size gets a surface of the new size: from then on
// the back buffer is a texture again, scaled to the window as ever. The window's focus going or
// the window minimised is latched for window_away.
void screen_follow_window(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT && platform_window != nullptr &&
      event.window.windowID == SDL_GetWindowID(platform_window) &&
      (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST || event.window.event == SDL_WINDOWEVENT_MINIMIZED)) {
    const bool switching = switched && SDL_GetTicks() - switched_at < SWITCH_FOCUS_GRACE_MS;
    if (event.window.event == SDL_WINDOWEVENT_MINIMIZED || !switching) away_latched = 1;
  }
  // Targets lost with the device (Direct3D): the kept tiles are gone, the next frame draws all.
  if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) tile_layer_close();
  if (!platform_back_is_window || event.type != SDL_WINDOWEVENT ||
      event.window.event != SDL_WINDOWEVENT_SIZE_CHANGED || platform_window == nullptr ||
      event.window.windowID != SDL_GetWindowID(platform_window)) {
    return;
  }
  if (event.window.data1 == platform_back_width && event.window.data2 == platform_back_height) return;
  tile_layer_close();
  platform_back_is_window = false;
  if (make_back_texture(platform_back_width, platform_back_height)) screen_clear(0);
}

bool platform_has_back_buffer() {
  return platform_renderer != nullptr && (platform_back_buffer != nullptr || platform_back_is_window);
}

void platform_target_back_buffer() {
  if (platform_has_back_buffer()) SDL_SetRenderTarget(platform_renderer, platform_back_buffer);
}

int32_t desktop_width(int32_t display) {
#if TESSERA_WEB
  // A page's display is the browser window it fills (SDL would give the whole monitor's size).
  (void)display;
  return EM_ASM_INT({ return window.innerWidth; });
#endif
  SDL_DisplayMode mode {};
  return display_mode(display, mode) ? mode.w : 0;
}

int32_t desktop_height(int32_t display) {
#if TESSERA_WEB
  (void)display;
  return EM_ASM_INT({ return window.innerHeight; });
#endif
  SDL_DisplayMode mode {};
  return display_mode(display, mode) ? mode.h : 0;
}

int32_t desktop_frequency(int32_t display) {
  SDL_DisplayMode mode {};
  return display_mode(display, mode) ? mode.refresh_rate : 0;
}

int32_t window_open(int32_t handle, int32_t x, int32_t y, int32_t width, int32_t height,
                    const std::string& title, int32_t style) {
  const int32_t id = handle_claim(windows, handle);
  if (id == 0 || width <= 0 || height <= 0 || !platform_sdl_start()) return 0;
  Uint32 flags = SDL_WINDOW_SHOWN;
  if ((style & WINDOW_BORDERLESS) != 0) flags |= SDL_WINDOW_BORDERLESS;
  // A normal window can be resized; what it shows is scaled to it.
  if ((style & WINDOW_CENTRED) != 0) {
    x = y = static_cast<int32_t>(SDL_WINDOWPOS_CENTERED);
    flags |= SDL_WINDOW_RESIZABLE;
  }
  SDL_Window* window = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
  if (window == nullptr) {
    std::fprintf(stderr, "Window: %s\n", SDL_GetError());
    return 0;
  }
  if (SDL_Window** old = handle_find(windows, id); old != nullptr) {
    if (id == screen_window) destroy_renderer();
    if (*old == platform_window) platform_window = nullptr;
    SDL_DestroyWindow(*old);
  }
  handle_store(windows, id, std::move(window));
  SDL_RaiseWindow(window);
  fullscreen_on = (style & WINDOW_BORDERLESS) != 0;
  windowed_width = fullscreen_on ? desktop_width(0) * 3 / 4 : width;
  windowed_height = fullscreen_on ? desktop_height(0) * 3 / 4 : height;
  return id;
}

void window_set_fullscreen(bool on) {
  SDL_Window* window = platform_window;
  if (window == nullptr || on == fullscreen_on) return;
  // The window's own surface would change its size under the frame.
  back_buffer_leave_window();
  if (on) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    windowed_width = width;
    windowed_height = height;
    SDL_Rect bounds {0, 0, desktop_width(0), desktop_height(0)};
    SDL_GetDisplayBounds(0, &bounds);
    SDL_SetWindowResizable(window, SDL_FALSE);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
    SDL_RaiseWindow(window);
  } else {
    SDL_SetWindowGrab(window, SDL_FALSE);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    SDL_SetWindowSize(window, std::max(windowed_width, 160), std::max(windowed_height, 120));
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  fullscreen_on = on;
  switched = true;
  switched_at = SDL_GetTicks();
}

bool window_fullscreen() { return platform_window != nullptr && fullscreen_on; }

int32_t window_away() {
  const int32_t away = away_latched;
  away_latched = 0;
  return away;
}

int32_t screen_open_windowed(int32_t window, int32_t width, int32_t height) {
  SDL_Window** found = handle_find(windows, window);
  if (found == nullptr || width <= 0 || height <= 0) return 0;
  if (screen_window != window) {
    destroy_renderer();
    platform_renderer = renderer_choose(*found);
    if (platform_renderer == nullptr) return 0;
    screen_window = window;
    platform_window = *found;
  }
  destroy_back_buffer();
  // SDL's software renderer draws into memory that it hands to the window system as it is: where
  // the window has the screen's size, drawing there spares a whole-screen copy every frame.
  SDL_RendererInfo info {};
  int window_width = 0;
  int window_height = 0;
  SDL_GetWindowSize(*found, &window_width, &window_height);
  const bool software =
      SDL_GetRendererInfo(platform_renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  // A window that can be resized keeps a back buffer of its own, so a resize never loses a frame.
  const bool resizable = (SDL_GetWindowFlags(*found) & SDL_WINDOW_RESIZABLE) != 0;
  if (software && !resizable && window_width == width && window_height == height) {
    platform_back_is_window = true;
    platform_back_format = SDL_GetWindowPixelFormat(*found);
  } else if (!make_back_texture(width, height)) {
    return 0;
  }
  platform_back_width = width;
  platform_back_height = height;
  screen_clear(0);
  return 1;
}

void screen_clear(int32_t colour) {
  if (!platform_has_back_buffer()) return;
  back_buffer_clear(colour);
}

int32_t screen_save_png(const std::string& path) {
  if (!platform_has_back_buffer()) return 0;
  back_buffer_settle();
  platform_target_back_buffer();
  const int pitch = platform_back_width * 3;
  std::vector<Uint8> pixels(static_cast<size_t>(pitch) * static_cast<size_t>(platform_back_height));
  const SDL_Rect all {0, 0, platform_back_width, platform_back_height};
  if (SDL_RenderReadPixels(platform_renderer, &all, SDL_PIXELFORMAT_RGB24, pixels.data(), pitch) != 0) {
    std::fprintf(stderr, "Reading the back buffer: %s\n", SDL_GetError());
    return 0;
  }
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), platform_back_width, platform_back_height,
                                                            24, pitch, SDL_PIXELFORMAT_RGB24);
  const bool saved = surface != nullptr && IMG_SavePNG(surface, path.c_str()) == 0;
  if (!saved) std::fprintf(stderr, "Writing %s: %s\n", path.c_str(), IMG_GetError());
  SDL_FreeSurface(surface);
  return saved ? 1 : 0;
}

void windows_close_all() {
  fullscreen_on = false;
  away_latched = 0;
  switched = false;
  destroy_renderer();
  for (auto& [id, window] : windows.items) SDL_DestroyWindow(window);
  windows.items.clear();
  platform_window = nullptr;
}

}  // namespace tessera
