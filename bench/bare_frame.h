// A bare SDL2 drawing loop with none of the engine: its own window and renderer, textures made the
// usual way (colour key, SDL_CreateTextureFromSurface), every quad drawn with SDL_RenderGeometry
// straight to the window, then a present. The frame benchmark hands it the quads the game drew in
// a frame, so it prices naive drawing of the same picture on the same renderer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bare {

struct Quad {
  int32_t texture = -1;   // from image()
  float corners[8] = {};  // top-left, top-right, bottom-right, bottom-left, relative to (x, y)
  int32_t x = 0;
  int32_t y = 0;
  uint8_t alpha = 255;
  bool additive = false;  // SDL's additive mode instead of ordinary alpha blending
};

struct Screen;

// A window of width x height with the named render driver ("software", "opengl"), without vsync.
// Null when either cannot be made.
Screen* open(int32_t width, int32_t height, const std::string& renderer);
// The image file as a texture, its pixels of colour `key` (r + g * 256 + b * 65536) transparent.
// Loaded once per path and key; -1 when it cannot be read.
int32_t image(Screen* screen, const std::string& path, int32_t key);
// Clears to black, draws the quads in order and presents.
void frame(Screen* screen, const std::vector<Quad>& quads);
void close(Screen* screen);

}  // namespace bare
