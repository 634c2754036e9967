// Which renderer a screen draws with: accelerated with vsync where there is a graphics processor,
// SDL's software renderer where OpenGL could only be a software rasteriser.
#include "platform/platform_internal.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tessera {

std::string graphics_device_root = "/dev";
std::vector<std::string> renderers_made;

namespace {

// An OpenGL renderer whose rasteriser runs on the processor (Mesa's llvmpipe, softpipe or swrast,
// Windows' GDI fallback): virtual machines, remote desktops, machines without a working driver.
bool on_software_opengl(SDL_Renderer* renderer) {
  SDL_RendererInfo info {};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0 ||
      SDL_GL_GetCurrentContext() == nullptr) {
    return false;
  }
  using GetString = const unsigned char* (*)(unsigned int);
  const auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  constexpr unsigned int GL_RENDERER_NAME = 0x1F01;
  const unsigned char* name = get_string != nullptr ? get_string(GL_RENDERER_NAME) : nullptr;
  if (name == nullptr) return false;
  std::string lower(reinterpret_cast<const char*>(name));
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* soft : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "gdi generic"}) {
    if (lower.find(soft) != std::string::npos) return true;
  }
  return false;
}

// Where the system shows no graphics device at all, OpenGL could only be a software rasteriser;
// finding that out by making a context loads Mesa and LLVM, about 60 ms and 60 MB. Elsewhere the
// context is the only way to know. /dev/dxg is the graphics processor of WSL.
bool plainly_no_graphics_device() {
#if defined(__linux__)
  std::error_code error;
  std::filesystem::directory_iterator entry(graphics_device_root + "/dri", error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return false;
  }
  for (const char* device : {"nvidiactl", "nvidia0", "dxg"}) {
    if (std::filesystem::exists(graphics_device_root + "/" + device, error)) return false;
  }
  return true;
#else
  return false;
#endif
}

SDL_Renderer* make_renderer(SDL_Window* window, Uint32 flags) {
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, flags);
  SDL_RendererInfo info {};
  if (renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0) renderers_made.emplace_back(info.name);
  return renderer;
}

}  // namespace

// Where OpenGL is a software rasteriser, SDL's own software renderer draws the same frame in less
// than half the time (the frame benchmark shows it on every driver here), so it takes over. A
// driver named through SDL's own SDL_RENDER_DRIVER is used as named.
SDL_Renderer* renderer_choose(SDL_Window* window) {
  // Naming a driver switches batching off; the world pass draws thousands of quads a frame.
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  // Software pixels go to the window system as they are (MIT-SHM on X11); the default would
  // upload them to OpenGL every frame, which on a software rasteriser costs more than the frame.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  const bool named = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
  SDL_Renderer* renderer = nullptr;
  if (named || !plainly_no_graphics_device()) {
    renderer = make_renderer(window, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
  }
  if (renderer != nullptr && !named && on_software_opengl(renderer)) {
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
  }
  if (renderer == nullptr) renderer = make_renderer(window, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
  if (renderer == nullptr) std::fprintf(stderr, "Renderer: %s\n", SDL_GetError());
  return renderer;
}

}  // namespace tessera
