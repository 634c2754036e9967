#include "bare_frame.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <map>
#include <utility>

namespace bare {

struct Screen {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  std::vector<SDL_Texture*> textures;
  std::map<std::pair<std::string, int32_t>, int32_t> loaded;
};

namespace {

int render_driver_index(const std::string& name) {
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info {};
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && name == info.name) return i;
  }
  return -1;
}

}  // namespace

Screen* open(int32_t width, int32_t height, const std::string& renderer) {
  const int index = render_driver_index(renderer);
  if (index < 0) return nullptr;
  auto* screen = new Screen;
  screen->window = SDL_CreateWindow("bare", 0, 0, width, height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
  if (screen->window != nullptr) {
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    screen->renderer = SDL_CreateRenderer(screen->window, index, 0);
  }
  if (screen->renderer == nullptr) {
    close(screen);
    return nullptr;
  }
  return screen;
}

int32_t image(Screen* screen, const std::string& path, int32_t key) {
  const auto found = screen->loaded.find({path, key});
  if (found != screen->loaded.end()) return found->second;
  int32_t index = -1;
  if (SDL_Surface* surface = IMG_Load(path.c_str()); surface != nullptr) {
    SDL_SetColorKey(surface, SDL_TRUE,
                    SDL_MapRGB(surface->format, key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF));
    if (SDL_Texture* texture = SDL_CreateTextureFromSurface(screen->renderer, surface); texture != nullptr) {
      index = static_cast<int32_t>(screen->textures.size());
      screen->textures.push_back(texture);
    }
    SDL_FreeSurface(surface);
  }
  screen->loaded[{path, key}] = index;
  return index;
}

void frame(Screen* screen, const std::vector<Quad>& quads) {
  static const float u[4] = {0, 1, 1, 0};
  static const float v[4] = {0, 0, 1, 1};
  static const int indices[6] = {0, 1, 2, 0, 2, 3};
  SDL_SetRenderDrawColor(screen->renderer, 0, 0, 0, 255);
  SDL_RenderClear(screen->renderer);
  for (const Quad& quad : quads) {
    if (quad.texture < 0) continue;
    SDL_Texture* texture = screen->textures[static_cast<size_t>(quad.texture)];
    SDL_SetTextureBlendMode(texture, quad.additive ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
    SDL_Vertex vertices[4];
    for (int i = 0; i < 4; ++i) {
      vertices[i].position = {quad.corners[2 * i] + static_cast<float>(quad.x),
                              quad.corners[2 * i + 1] + static_cast<float>(quad.y)};
      vertices[i].color = {255, 255, 255, quad.alpha};
      vertices[i].tex_coord = {u[i], v[i]};
    }
    SDL_RenderGeometry(screen->renderer, texture, vertices, 4, indices, 6);
  }
  SDL_RenderPresent(screen->renderer);
}

void close(Screen* screen) {
  if (screen == nullptr) return;
  for (SDL_Texture* texture : screen->textures) SDL_DestroyTexture(texture);
  if (screen->renderer != nullptr) SDL_DestroyRenderer(screen->renderer);
  if (screen->window != nullptr) SDL_DestroyWindow(screen->window);
  delete screen;
}

}  // namespace bare
