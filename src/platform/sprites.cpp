// Sprites (decoded images and back-buffer grabs), Sprite3D quads and boxes on the back buffer.
#include "platform/platform.h"

#include "platform/platform_internal.h"
#include "platform/platform_testing.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tessera {

namespace {

constexpr int32_t MAGENTA = rgb(255, 0, 255);

struct Sprite {
  std::shared_ptr<SharedTexture> texture;
  int32_t width = 0;
  int32_t height = 0;
};

struct Sprite3D {
  std::shared_ptr<SharedTexture> texture;
  int32_t width = 0;
  int32_t height = 0;
  float corners[8] = {};  // TL, TR, BR, BL relative to the draw position
  int16_t angle = 0;      // accumulated rotation
};

HandleTable<Sprite> sprites;
HandleTable<Sprite3D> quads;

int32_t default_key = MAGENTA;
int32_t blend_source = BLEND_SOURCE_ALPHA;
int32_t blend_destination = BLEND_INVERSE_SOURCE_ALPHA;
bool bilinear = false;
SDL_Texture* white_texture = nullptr;  // 1 x 1 white: the darkening pass of opaque sources
uint32_t white_generation = 0;
uint64_t last_serial = 0;
// The texture of the last grab freed: the zoom pass grabs the whole screen every frame, and a
// texture of that size is costly to make.
SDL_Texture* spare_grab = nullptr;
int32_t spare_width = 0;
int32_t spare_height = 0;
uint32_t spare_generation = 0;

Uint8 red_of(int32_t colour) { return static_cast<Uint8>(colour & 0xFF); }
Uint8 green_of(int32_t colour) { return static_cast<Uint8>((colour >> 8) & 0xFF); }
Uint8 blue_of(int32_t colour) { return static_cast<Uint8>((colour >> 16) & 0xFF); }

// Decodes an image file by its content into RGBA bytes; null when no decoder takes it.
SDL_Surface* decode_rgba(const std::string& resolved) {
  SDL_Surface* decoded = image_decode(resolved);
  if (decoded == nullptr) return nullptr;
  if (decoded->format->format == SDL_PIXELFORMAT_RGBA32 && !SDL_HasColorKey(decoded)) return decoded;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(decoded);
  return rgba;
}

// The pixels of the sprite's image file again, for the rare uses that need more than its texture
// (a new colour key, the additive mask): the decoded pixels are not kept, as they would double the
// memory of every texture. Null when the file no longer decodes to the sprite's size.
SDL_Surface* decode_again(const SharedTexture& shared) {
  SDL_Surface* surface = shared.source.empty() ? nullptr : decode_rgba(shared.source);
  if (surface != nullptr && (surface->w != shared.width || surface->h != shared.height)) {
    SDL_FreeSurface(surface);
    return nullptr;
  }
  return surface;
}

// 32-bit words of RGBA bytes, whatever the byte order of the machine.
Uint32 rgba_word(Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
  const Uint8 bytes[4] = {r, g, b, a};
  Uint32 word = 0;
  std::memcpy(&word, bytes, 4);
  return word;
}

// Uploads the decoded pixels with the key colour (and any alpha-0 pixel) made clear black. The
// pixels are keyed in place: the caller's surface is spent.
bool upload_keyed(SharedTexture& shared, SDL_Surface* surface) {
  const Uint32 colour_bits = rgba_word(255, 255, 255, 0), alpha_bits = rgba_word(0, 0, 0, 255);
  const Uint32 key = rgba_word(red_of(shared.key), green_of(shared.key), blue_of(shared.key), 0);
  bool transparent = false;
  SDL_LockSurface(surface);
  for (int y = 0; y < surface->h; ++y) {
    Uint8* row = static_cast<Uint8*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch;
    for (int x = 0; x < surface->w; ++x) {
      Uint32 pixel = 0;
      std::memcpy(&pixel, row + 4 * x, 4);
      if ((pixel & colour_bits) == key || (pixel & alpha_bits) == 0) {
        std::memset(row + 4 * x, 0, 4);
        transparent = true;
      }
    }
  }
  SDL_UnlockSurface(surface);
  if (shared.mask != nullptr) SDL_DestroyTexture(shared.mask);
  shared.mask = nullptr;
  shared.has_transparent = transparent;
  shared.serial = ++last_serial;
  return SDL_UpdateTexture(shared.texture, nullptr, surface->pixels, surface->pitch) == 0;
}

// Alpha as premultiplied white, built from the keyed texture's source pixels on first need.
SDL_Texture* mask_of(const SharedTexture& shared) {
  SDL_Surface* surface = decode_again(shared);
  if (surface == nullptr) return nullptr;
  SDL_Texture* mask = SDL_CreateTexture(platform_renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC,
                                        surface->w, surface->h);
  if (mask == nullptr) {
    SDL_FreeSurface(surface);
    return nullptr;
  }
  const Uint8 kr = red_of(shared.key), kg = green_of(shared.key), kb = blue_of(shared.key);
  SDL_LockSurface(surface);
  for (int y = 0; y < surface->h; ++y) {
    Uint8* row = static_cast<Uint8*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch;
    for (int x = 0; x < surface->w; ++x, row += 4) {
      const bool keyed = row[0] == kr && row[1] == kg && row[2] == kb;
      const Uint8 a = keyed ? 0 : row[3];
      row[0] = row[1] = row[2] = row[3] = a;
    }
  }
  SDL_UnlockSurface(surface);
  SDL_UpdateTexture(mask, nullptr, surface->pixels, surface->pitch);
  SDL_FreeSurface(surface);
  return mask;
}

SDL_Texture* white() {
  if (white_texture != nullptr && white_generation == platform_renderer_generation) return white_texture;
  white_texture = SDL_CreateTexture(platform_renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, 1, 1);
  const Uint8 pixel[4] = {255, 255, 255, 255};
  if (white_texture != nullptr) SDL_UpdateTexture(white_texture, nullptr, pixel, 4);
  white_generation = platform_renderer_generation;
  return white_texture;
}

SDL_BlendFactor factor_of(int32_t code) {
  switch (code) {
    case BLEND_ZERO: return SDL_BLENDFACTOR_ZERO;
    case BLEND_ONE: return SDL_BLENDFACTOR_ONE;
    case BLEND_SOURCE_COLOUR: return SDL_BLENDFACTOR_SRC_COLOR;
    case BLEND_INVERSE_SOURCE_COLOUR: return SDL_BLENDFACTOR_ONE_MINUS_SRC_COLOR;
    case BLEND_SOURCE_ALPHA: return SDL_BLENDFACTOR_SRC_ALPHA;
    case BLEND_INVERSE_SOURCE_ALPHA: return SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA;
    case BLEND_DESTINATION_ALPHA: return SDL_BLENDFACTOR_DST_ALPHA;
    case BLEND_INVERSE_DESTINATION_ALPHA: return SDL_BLENDFACTOR_ONE_MINUS_DST_ALPHA;
    case BLEND_DESTINATION_COLOUR: return SDL_BLENDFACTOR_DST_COLOR;
    case BLEND_INVERSE_DESTINATION_COLOUR: return SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR;
    default: return SDL_BLENDFACTOR_ONE;
  }
}

// The closest built-in mode, for renderers that refuse custom factors.
SDL_BlendMode nearest_builtin(int32_t source, int32_t destination) {
  if (destination == BLEND_ONE) return SDL_BLENDMODE_ADD;
  if (source == BLEND_DESTINATION_COLOUR || destination == BLEND_SOURCE_COLOUR) return SDL_BLENDMODE_MOD;
  if (source == BLEND_ONE && destination == BLEND_ZERO) return SDL_BLENDMODE_NONE;
  return SDL_BLENDMODE_BLEND;
}

void render_quad(SDL_Texture* texture, const QuadDraw& quad, SDL_Color colour) {
  static const float u[4] = {0, 1, 1, 0};
  static const float v[4] = {0, 0, 1, 1};
  static const int indices[6] = {0, 1, 2, 0, 2, 3};
  SDL_Vertex vertices[4];
  for (int i = 0; i < 4; ++i) {
    vertices[i].position = {quad.corners[2 * i] + static_cast<float>(quad.x),
                            quad.corners[2 * i + 1] + static_cast<float>(quad.y)};
    vertices[i].color = colour;
    vertices[i].tex_coord = {u[i], v[i]};
  }
  SDL_RenderGeometry(platform_renderer, texture, vertices, 4, indices, 6);
}

// result = source + destination x source alpha, with keyed pixels left undrawn: first the
// destination is scaled by the quad's alpha under the opaque pixels, then the colour is added.
void draw_additive_two_pass(SharedTexture& shared, const QuadDraw& quad) {
  const Uint8 alpha = quad.alpha;
  SDL_Texture* mask = white();
  if (shared.has_transparent) {
    if (shared.mask == nullptr) shared.mask = mask_of(shared);
    if (shared.mask != nullptr) mask = shared.mask;
  }
  if (mask != nullptr) {
    // MUL: dst = src x dst + dst x (1 - src alpha); with the premultiplied mask and a grey vertex
    // colour this is dst x alpha under opaque pixels and dst where the mask is clear.
    SDL_SetTextureBlendMode(mask, SDL_BLENDMODE_MUL);
    SDL_SetTextureScaleMode(mask, quad.bilinear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    render_quad(mask, quad, SDL_Color {alpha, alpha, alpha, 255});
  }
  SDL_SetTextureBlendMode(shared.texture, SDL_BLENDMODE_ADD);
  render_quad(shared.texture, quad, SDL_Color {255, 255, 255, 255});
}

// A target texture for a grab: the spare one when it has the size, else a new one.
SDL_Texture* grab_texture(int32_t width, int32_t height) {
  SDL_Texture* spare = spare_generation == platform_renderer_generation ? spare_grab : nullptr;
  spare_grab = nullptr;
  if (spare != nullptr && spare_width == width && spare_height == height) return spare;
  if (spare != nullptr) SDL_DestroyTexture(spare);
  return SDL_CreateTexture(platform_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
}

// Copies a rectangle of the back buffer into a target texture (the current render target).
void copy_from_back_buffer(SDL_Texture* copy, const SDL_Rect& from, const SDL_Rect& to) {
  // From a texture the copy stays on the GPU side: the zoom pass grabs every frame, and a read-back
  // would stall it.
  if (!platform_back_is_window) {
    SDL_RenderCopy(platform_renderer, platform_back_buffer, &from, &to);
    return;
  }
  // The window's surface cannot be a source of render copies: its pixels are read.
  std::vector<Uint32> pixels(static_cast<size_t>(from.w) * static_cast<size_t>(from.h));
  SDL_SetRenderTarget(platform_renderer, nullptr);
  if (SDL_RenderReadPixels(platform_renderer, &from, SDL_PIXELFORMAT_ARGB8888, pixels.data(), from.w * 4) == 0) {
    SDL_UpdateTexture(copy, &to, pixels.data(), from.w * 4);
  }
}

void set_rectangle(Sprite3D& quad, int32_t width, int32_t height) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float corners[8] = {0, 0, w, 0, w, h, 0, h};
  std::copy(corners, corners + 8, quad.corners);
}

}  // namespace

bool draws_recording = false;
std::vector<DrawRecord> draws_recorded;

SharedTexture::~SharedTexture() {
  // A renderer takes its textures with it; only destroy what belongs to the live one.
  if (generation != platform_renderer_generation) return;
  if (mask != nullptr) SDL_DestroyTexture(mask);
  if (texture == nullptr) return;
  if (!source.empty() || plain_drawing_forced) {
    SDL_DestroyTexture(texture);
    return;
  }
  if (spare_grab != nullptr && spare_generation == platform_renderer_generation) SDL_DestroyTexture(spare_grab);
  spare_grab = texture;
  spare_width = width;
  spare_height = height;
  spare_generation = generation;
}

int32_t sprite_load(int32_t handle, const std::string& path) {
  const int32_t id = handle_claim(sprites, handle);
  if (id == 0 || platform_renderer == nullptr) return 0;
  const std::string resolved = resolve_path(path);
  SDL_Surface* pixels = decode_rgba(resolved);
  if (pixels == nullptr) return 0;

  Sprite sprite;
  sprite.width = pixels->w;
  sprite.height = pixels->h;
  sprite.texture = std::make_shared<SharedTexture>();
  SharedTexture& shared = *sprite.texture;
  shared.source = resolved;
  shared.key = default_key;
  shared.generation = platform_renderer_generation;
  shared.width = sprite.width;
  shared.height = sprite.height;
  shared.texture = SDL_CreateTexture(platform_renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC,
                                     sprite.width, sprite.height);
  const bool uploaded = shared.texture != nullptr && upload_keyed(shared, pixels);
  SDL_FreeSurface(pixels);
  if (!uploaded) {
    std::fprintf(stderr, "Sprite %s: %s\n", resolved.c_str(), SDL_GetError());
    return 0;
  }
  handle_store(sprites, id, std::move(sprite));
  return id;
}

int32_t sprite_grab(int32_t handle, int32_t x, int32_t y, int32_t width, int32_t height) {
  const int32_t id = handle_claim(sprites, handle);
  if (id == 0 || !platform_has_back_buffer() || width <= 0 || height <= 0) {
    return 0;
  }
  back_buffer_settle();
  SDL_Texture* copy = grab_texture(width, height);
  if (copy == nullptr) return 0;
  SDL_SetRenderTarget(platform_renderer, copy);
  const SDL_Rect wanted {x, y, width, height};
  const SDL_Rect screen {0, 0, platform_back_width, platform_back_height};
  SDL_Rect inside {};
  const bool overlaps = SDL_IntersectRect(&wanted, &screen, &inside) == SDL_TRUE;
  if (!overlaps || inside.w != width || inside.h != height) {
    // What lies beyond the screen is clear.
    SDL_SetRenderDrawBlendMode(platform_renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(platform_renderer, 0, 0, 0, 0);
    SDL_RenderClear(platform_renderer);
  }
  if (overlaps) copy_from_back_buffer(copy, inside, SDL_Rect {inside.x - x, inside.y - y, inside.w, inside.h});
  platform_target_back_buffer();

  Sprite sprite;
  sprite.width = width;
  sprite.height = height;
  sprite.texture = std::make_shared<SharedTexture>();
  sprite.texture->key = default_key;
  sprite.texture->generation = platform_renderer_generation;
  sprite.texture->texture = copy;
  sprite.texture->width = width;
  sprite.texture->height = height;
  sprite.texture->serial = ++last_serial;
  handle_store(sprites, id, std::move(sprite));
  return id;
}

void sprite_transparent_color(int32_t sprite, int32_t colour) {
  if (sprite == -1) {
    default_key = colour & 0xFFFFFF;
    return;
  }
  Sprite* found = handle_find(sprites, sprite);
  if (found == nullptr) return;
  SharedTexture& shared = *found->texture;
  shared.key = colour & 0xFFFFFF;
  // Re-keyed in place, so Sprite3Ds already made from the sprite follow.
  if (shared.generation != platform_renderer_generation) return;
  if (SDL_Surface* pixels = decode_again(shared); pixels != nullptr) {
    upload_keyed(shared, pixels);
    SDL_FreeSurface(pixels);
  }
}

int32_t sprite_width(int32_t sprite) {
  const Sprite* found = handle_find(sprites, sprite);
  return found == nullptr ? 0 : found->width;
}

int32_t sprite_height(int32_t sprite) {
  const Sprite* found = handle_find(sprites, sprite);
  return found == nullptr ? 0 : found->height;
}

int32_t sprite_exists(int32_t sprite) { return handle_find(sprites, sprite) != nullptr ? 1 : 0; }

void sprite_free(int32_t sprite) { sprites.items.erase(sprite); }

int32_t sprite3d_create(int32_t handle, int32_t sprite) {
  const Sprite* source = handle_find(sprites, sprite);
  const int32_t id = handle_claim(quads, handle);
  if (id == 0 || source == nullptr) return 0;
  Sprite3D quad;
  quad.texture = source->texture;
  quad.width = source->width;
  quad.height = source->height;
  set_rectangle(quad, quad.width, quad.height);
  handle_store(quads, id, std::move(quad));
  return id;
}

void sprite3d_zoom(int32_t s3d, int32_t width, int32_t height) {
  Sprite3D* quad = handle_find(quads, s3d);
  if (quad == nullptr) return;
  quad->width = width;
  quad->height = height;
  set_rectangle(*quad, width, height);
}

void sprite3d_rotate(int32_t s3d, int32_t angle, int32_t mode) {
  Sprite3D* quad = handle_find(quads, s3d);
  if (quad == nullptr) return;
  int32_t used = angle;
  if (mode == ROTATE_ABSOLUTE) {
    quad->angle = 0;
  } else {
    // Summed in 64 bits: an angle step near the int32 limits must not overflow before the wrap.
    const int64_t sum = static_cast<int64_t>(quad->angle) + angle;
    quad->angle = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(sum) & 0xFFFF));
    used = quad->angle;
  }
  const int32_t a = used % 360 - 90;
  const float hw = static_cast<float>(quad->width / 2);
  const float hh = static_cast<float>(quad->height / 2);
  float t = 0.017452f * static_cast<float>(a);
  for (int corner = 0; corner < 4; ++corner) {
    const float c = std::cos(t), s = std::sin(t);
    quad->corners[2 * corner] = std::trunc(hw * c + hh * s + hw);
    quad->corners[2 * corner + 1] = std::trunc(hw * s - hh * c + hh);
    t += 1.57068f;
  }
}

void sprite3d_transform(int32_t s3d, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                        float y4) {
  Sprite3D* quad = handle_find(quads, s3d);
  if (quad == nullptr) return;
  const float corners[8] = {x1, y1, x2, y2, x3, y3, x4, y4};
  std::copy(corners, corners + 8, quad->corners);
}

bool quad_take(int32_t s3d, int32_t x, int32_t y, int32_t alpha, QuadDraw& draw) {
  const Sprite3D* quad = handle_find(quads, s3d);
  if (quad == nullptr) return false;
  if (draws_recording) {
    DrawRecord record;
    record.s3d = s3d;
    record.x = x;
    record.y = y;
    record.width = quad->width;
    record.height = quad->height;
    record.alpha = alpha;
    record.blend_source = blend_source;
    record.blend_destination = blend_destination;
    std::copy(quad->corners, quad->corners + 8, record.corners);
    draws_recorded.push_back(record);
  }
  const SharedTexture& shared = *quad->texture;
  if (platform_renderer == nullptr || shared.texture == nullptr || shared.generation != platform_renderer_generation) {
    return false;
  }
  draw.texture = quad->texture;
  std::copy(quad->corners, quad->corners + 8, draw.corners);
  draw.x = x;
  draw.y = y;
  draw.alpha = static_cast<Uint8>(std::clamp(alpha, 0, 255));
  draw.blend_source = blend_source;
  draw.blend_destination = blend_destination;
  draw.bilinear = bilinear;
  return true;
}

void quad_render(const QuadDraw& draw) {
  SharedTexture& shared = *draw.texture;
  SDL_SetTextureScaleMode(shared.texture, draw.bilinear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  const bool additive_glow = draw.blend_source == BLEND_ONE && draw.blend_destination == BLEND_SOURCE_ALPHA;
  SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
  if (!(draw.blend_source == BLEND_SOURCE_ALPHA && draw.blend_destination == BLEND_INVERSE_SOURCE_ALPHA)) {
    mode = SDL_ComposeCustomBlendMode(factor_of(draw.blend_source), factor_of(draw.blend_destination),
                                      SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE,
                                      SDL_BLENDOPERATION_ADD);
  }
  // A single custom pass would paint keyed pixels black under the additive glow, so transparent
  // textures take the two-pass route there too.
  const bool custom_ok = SDL_SetTextureBlendMode(shared.texture, mode) == 0;
  if (additive_glow && (!custom_ok || shared.has_transparent)) {
    draw_additive_two_pass(shared, draw);
    return;
  }
  if (!custom_ok) SDL_SetTextureBlendMode(shared.texture, nearest_builtin(draw.blend_source, draw.blend_destination));
  render_quad(shared.texture, draw, SDL_Color {255, 255, 255, draw.alpha});
}

SDL_Rect quad_bounds(const QuadDraw& draw) {
  // Corners that are no numbers, or far off (a broken transform), may reach anywhere.
  static constexpr double FAR = 1.0e8;
  const SDL_Rect everywhere {-1, -1, platform_back_width + 2, platform_back_height + 2};
  double left = FAR, right = -FAR, top = FAR, bottom = -FAR;
  for (int i = 0; i < 4; ++i) {
    const double x = draw.corners[2 * i], y = draw.corners[2 * i + 1];
    if (!std::isfinite(x) || !std::isfinite(y)) return everywhere;
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  // A pixel of margin for the rasteriser's rounding; kept well inside the range of int.
  const auto edge = [](double v, int32_t at, double margin) {
    return static_cast<int>(std::clamp(v + at, -FAR, FAR) + margin);
  };
  const int from_x = edge(std::floor(left), draw.x, -1.0), to_x = edge(std::ceil(right), draw.x, 1.0);
  const int from_y = edge(std::floor(top), draw.y, -1.0), to_y = edge(std::ceil(bottom), draw.y, 1.0);
  return SDL_Rect {from_x, from_y, to_x - from_x, to_y - from_y};
}

void sprite3d_draw(int32_t s3d, int32_t x, int32_t y, int32_t alpha) {
  tile_layer_interrupt();
  QuadDraw draw;
  if (!quad_take(s3d, x, y, alpha, draw)) return;
  platform_target_back_buffer();
  back_buffer_touched(quad_bounds(draw));
  quad_render(draw);
}

void sprite3d_blend_mode(int32_t source, int32_t destination) {
  blend_source = source;
  blend_destination = destination;
}

void sprite3d_quality(int32_t mode) { bilinear = mode != QUALITY_NEAREST; }


int32_t sprite3d_exists(int32_t s3d) { return handle_find(quads, s3d) != nullptr ? 1 : 0; }

void sprite3d_free(int32_t s3d) { quads.items.erase(s3d); }

void draw_box(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
  if (draws_recording) {
    DrawRecord record;
    record.x = x;
    record.y = y;
    record.width = width;
    record.height = height;
    record.colour = colour;
    draws_recorded.push_back(record);
  }
  if (!platform_has_back_buffer() || width <= 0 || height <= 0) return;
  tile_layer_interrupt();
  platform_target_back_buffer();
  back_buffer_touched(SDL_Rect {x, y, width, height});
  SDL_SetRenderDrawBlendMode(platform_renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(platform_renderer, red_of(colour), green_of(colour), blue_of(colour), 255);
  const SDL_Rect box {x, y, width, height};
  SDL_RenderFillRect(platform_renderer, &box);
}

void sprites_close_all() {
  quads.items.clear();
  sprites.items.clear();
  if (spare_grab != nullptr && spare_generation == platform_renderer_generation) SDL_DestroyTexture(spare_grab);
  spare_grab = nullptr;
  if (white_texture != nullptr && white_generation == platform_renderer_generation) {
    SDL_DestroyTexture(white_texture);
  }
  white_texture = nullptr;
}

void sprites_forget_settings() {
  default_key = MAGENTA;
  blend_source = BLEND_SOURCE_ALPHA;
  blend_destination = BLEND_INVERSE_SOURCE_ALPHA;
  bilinear = false;
  draws_recording = false;
  draws_recorded.clear();
}

const SharedTexture* quad_texture(int32_t s3d) {
  const Sprite3D* quad = handle_find(quads, s3d);
  return quad == nullptr ? nullptr : quad->texture.get();
}

}  // namespace tessera
