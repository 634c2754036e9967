// The tile layer (the tiles of a frame and the objects standing on them), and what the back
// buffer holds from one frame to the next.
//
// The layer's draws lie on a grid, each inside one cell. A cell's draws, in their order, drawn
// over the colour the back buffer was cleared to, give the same pixels wherever that is done with
// the same renderer, texture formats and position: on the back buffer, or in a texture of our own
// (the store) from which the cell is then copied. So cells with nothing but the clear colour under
// them are copied from the store, where they stay from frame to frame and are drawn again only
// when what lies in them changes; cells under anything drawn since the clear (the glowing
// floaters) are drawn as ever. A kept cell is moved with the view only while it lies wholly on
// the screen, where moving it changes none of its pixels. A pass with a draw that is not an
// upright rectangle inside one cell is drawn plainly from that draw on.
//
// The clear itself waits: until something needs the whole back buffer, each draw first clears what
// lies under it. The pass then knows, cell by cell, what the back buffer still holds from the
// frame before (the clear colour, or a cell copied from the store, with nothing drawn over it
// since), and leaves alone the cells that already hold what they should.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessera {

namespace {

// Everything about one draw that decides its pixels inside its cell, laid out without padding so
// that lists of them compare as bytes.
struct DrawLook {
  uint64_t texture = 0;
  int32_t x = 0;  // relative to the cell
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t blend_source = 0;
  int32_t blend_destination = 0;
  uint32_t alpha_and_filter = 0;
  uint32_t padding = 0;
};
static_assert(sizeof(DrawLook) == 40, "DrawLook must have no padding");

// A cell's content: 0 for nothing, else the number given to its list of draws.
using Content = uint32_t;
constexpr Content EMPTY = 0;
constexpr size_t CONTENT_LIMIT = 8192;  // numbers given before all are forgotten and given anew

std::unordered_map<std::string, Content> contents;

Content content_of(const std::vector<DrawLook>& looks) {
  if (looks.empty()) return EMPTY;
  std::string bytes(reinterpret_cast<const char*>(looks.data()), looks.size() * sizeof(DrawLook));
  const auto found = contents.find(bytes);
  if (found != contents.end()) return found->second;
  const Content number = static_cast<Content>(contents.size() + 1);
  contents.emplace(std::move(bytes), number);
  return number;
}

// ---- The back buffer ------------------------------------------------------------------------

// What a grid cell of the back buffer holds: unknown, the clear colour (EMPTY), or a content
// copied from the store.
constexpr Content UNKNOWN = 0xFFFFFFFFu;

// The layer's grid laid over the whole back buffer: cell (0, 0) at (x0, y0), at or beyond its
// top-left corner.
struct Grid {
  int32_t x0 = 0;
  int32_t y0 = 0;
  int32_t cell_width = 0;  // 0: no grid
  int32_t cell_height = 0;
  int32_t columns = 0;
  int32_t rows = 0;
  int32_t colour = 0;  // the clear colour its cells hold
  std::vector<Content> held;
};
Grid grid;

// Since the last clear the back buffer was drawn on only in `touched` (as far as is known) and
// holds the clear colour elsewhere; while the clear is pending, only in `touched` has it been
// done. Beyond the limit the rectangles merge into one that covers them all.
constexpr size_t TOUCHED_LIMIT = 32;
bool back_known = false;
bool clear_pending = false;
int32_t back_colour = 0;
std::vector<SDL_Rect> touched;

// ---- The pass ---------------------------------------------------------------------------------

struct Waiting {
  QuadDraw draw;
  int32_t column = 0;
  int32_t row = 0;
};

bool layer_open = false;
bool layer_plain = false;  // each draw is drawn as it comes
int32_t layer_origin_x = 0;
int32_t layer_origin_y = 0;
std::vector<Waiting> waiting;
// The pass's own grid: cell (0, 0) at (cells_x0, cells_y0).
int32_t cells_x0 = 0;
int32_t cells_y0 = 0;
int32_t cells_width = 0;
int32_t cells_height = 0;

struct Kept {
  Content content = EMPTY;
  bool whole = false;  // wholly on the screen when it was drawn or last moved
};

// The store: a texture the size of the back buffer, and the content of each cell in it, by the
// cell's position relative to the layer's origin.
struct Store {
  SDL_Texture* texture = nullptr;
  SDL_Texture* spare = nullptr;  // the other half of a scrolled copy
  uint32_t generation = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t colour = 0;
  int32_t cell_width = 0;
  int32_t cell_height = 0;
  int32_t origin_x = 0;
  int32_t origin_y = 0;
  std::unordered_map<uint64_t, Kept> kept;
};
Store store;

uint64_t place_key(int32_t x, int32_t y) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) | static_cast<uint32_t>(y);
}

int32_t floor_div(int32_t a, int32_t b) {
  return static_cast<int32_t>(std::floor(static_cast<double>(a) / static_cast<double>(b)));
}

bool on_screen(const SDL_Rect& r) {
  return r.x >= 0 && r.y >= 0 && r.x + r.w <= platform_back_width && r.y + r.h <= platform_back_height;
}

void fill(const SDL_Rect& area, int32_t colour) {
  SDL_SetRenderDrawBlendMode(platform_renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(platform_renderer, static_cast<Uint8>(colour & 0xFF), static_cast<Uint8>((colour >> 8) & 0xFF),
                         static_cast<Uint8>((colour >> 16) & 0xFF), 255);
  SDL_RenderFillRect(platform_renderer, &area);
}

void note_touched(const SDL_Rect& area) {
  if (touched.size() < TOUCHED_LIMIT) {
    touched.push_back(area);
    return;
  }
  SDL_Rect all = area;
  for (const SDL_Rect& r : touched) SDL_UnionRect(&all, &r, &all);
  touched.assign(1, all);
}

bool under_touched(const SDL_Rect& area) {
  for (const SDL_Rect& r : touched) {
    if (SDL_HasIntersection(&r, &area) == SDL_TRUE) return true;
  }
  return false;
}

// Clears the part of `area` that nothing was drawn on since the clear (on the back buffer).
void fill_untouched(const SDL_Rect& area) {
  std::vector<SDL_Rect> pieces {area};
  for (const SDL_Rect& t : touched) {
    std::vector<SDL_Rect> rest;
    for (const SDL_Rect& p : pieces) {
      SDL_Rect cut {};
      if (SDL_IntersectRect(&p, &t, &cut) == SDL_FALSE) {
        rest.push_back(p);
        continue;
      }
      const int32_t p_right = p.x + p.w, p_bottom = p.y + p.h;
      const int32_t c_right = cut.x + cut.w, c_bottom = cut.y + cut.h;
      if (cut.y > p.y) rest.push_back({p.x, p.y, p.w, cut.y - p.y});
      if (c_bottom < p_bottom) rest.push_back({p.x, c_bottom, p.w, p_bottom - c_bottom});
      if (cut.x > p.x) rest.push_back({p.x, cut.y, cut.x - p.x, cut.h});
      if (c_right < p_right) rest.push_back({c_right, cut.y, p_right - c_right, cut.h});
    }
    pieces.swap(rest);
  }
  for (const SDL_Rect& p : pieces) fill(p, back_colour);
}

void grid_forget() { std::fill(grid.held.begin(), grid.held.end(), UNKNOWN); }

// The screen part of grid cell (c, r).
SDL_Rect grid_rect(int32_t c, int32_t r) {
  const SDL_Rect cell {grid.x0 + c * grid.cell_width, grid.y0 + r * grid.cell_height, grid.cell_width,
                       grid.cell_height};
  const SDL_Rect screen {0, 0, platform_back_width, platform_back_height};
  SDL_Rect inside {};
  SDL_IntersectRect(&cell, &screen, &inside);
  return inside;
}

Content& held_at(int32_t c, int32_t r) { return grid.held[static_cast<size_t>(r * grid.columns + c)]; }

// Cells that `area` reaches hold something unknown from now on.
void grid_spoil(const SDL_Rect& area) {
  if (grid.cell_width <= 0 || area.w <= 0 || area.h <= 0) return;
  const int32_t c0 = std::max(0, floor_div(area.x - grid.x0, grid.cell_width));
  const int32_t c1 = std::min(grid.columns - 1, floor_div(area.x + area.w - 1 - grid.x0, grid.cell_width));
  const int32_t r0 = std::max(0, floor_div(area.y - grid.y0, grid.cell_height));
  const int32_t r1 = std::min(grid.rows - 1, floor_div(area.y + area.h - 1 - grid.y0, grid.cell_height));
  for (int32_t r = r0; r <= r1; ++r) {
    for (int32_t c = c0; c <= c1; ++c) held_at(c, r) = UNKNOWN;
  }
}

// The back buffer's grid for the pass's cells.
void grid_place() {
  const int32_t x0 = cells_x0 - floor_div(cells_x0, cells_width) * cells_width;
  const int32_t y0 = cells_y0 - floor_div(cells_y0, cells_height) * cells_height;
  const int32_t left = x0 == 0 ? 0 : x0 - cells_width;
  const int32_t top = y0 == 0 ? 0 : y0 - cells_height;
  const int32_t columns = (platform_back_width - left + cells_width - 1) / cells_width;
  const int32_t rows = (platform_back_height - top + cells_height - 1) / cells_height;
  const bool same = grid.cell_width == cells_width && grid.cell_height == cells_height && grid.x0 == left &&
                    grid.y0 == top && grid.columns == columns && grid.rows == rows && grid.colour == back_colour;
  if (same) return;
  grid = Grid {left, top, cells_width, cells_height, columns, rows, back_colour, {}};
  grid.held.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), UNKNOWN);
}

// Does the pending clear everywhere, sparing cells that hold the clear colour already.
void clear_now() {
  if (!clear_pending) return;
  clear_pending = false;
  platform_target_back_buffer();
  if (grid.cell_width <= 0 || grid.colour != back_colour) {
    grid_forget();
    fill_untouched(SDL_Rect {0, 0, platform_back_width, platform_back_height});
    return;
  }
  for (int32_t r = 0; r < grid.rows; ++r) {
    for (int32_t c = 0; c < grid.columns; ++c) {
      const SDL_Rect area = grid_rect(c, r);
      Content& held = held_at(c, r);
      if (under_touched(area)) {
        fill_untouched(area);
        held = UNKNOWN;
      } else if (held != EMPTY) {
        fill(area, back_colour);
        held = EMPTY;
      }
    }
  }
}

// ---- The store --------------------------------------------------------------------------------

void destroy(SDL_Texture*& texture) {
  if (texture != nullptr && store.generation == platform_renderer_generation) SDL_DestroyTexture(texture);
  texture = nullptr;
}

void store_drop() {
  destroy(store.texture);
  destroy(store.spare);
  store.kept.clear();
  store.width = 0;
  store.height = 0;
}

void draw_on_back_buffer(const QuadDraw& draw) {
  platform_target_back_buffer();
  back_buffer_touched(quad_bounds(draw));
  quad_render(draw);
}

void draw_waiting_plainly() {
  for (const Waiting& w : waiting) draw_on_back_buffer(w.draw);
  waiting.clear();
}

// The cell of a draw that the layer can keep: an upright rectangle of whole pixels inside one
// cell of the pass's grid (the first draw sets the grid). False for any other draw.
bool place_in_grid(Waiting& w) {
  const float* c = w.draw.corners;
  const float width = c[2];
  const float height = c[5];
  const bool upright =
      c[0] == 0.0f && c[1] == 0.0f && c[3] == 0.0f && c[4] == width && c[6] == 0.0f && c[7] == height;
  if (!upright || width < 1.0f || height < 1.0f || width > 4096.0f || height > 4096.0f ||
      width != std::floor(width) || height != std::floor(height)) {
    return false;
  }
  const int32_t w_px = static_cast<int32_t>(width);
  const int32_t h_px = static_cast<int32_t>(height);
  if (waiting.empty()) {
    cells_x0 = w.draw.x;
    cells_y0 = w.draw.y;
    cells_width = w_px;
    cells_height = h_px;
  }
  w.column = floor_div(w.draw.x - cells_x0, cells_width);
  w.row = floor_div(w.draw.y - cells_y0, cells_height);
  const int32_t left = cells_x0 + w.column * cells_width;
  const int32_t top = cells_y0 + w.row * cells_height;
  return w.draw.x + w_px <= left + cells_width && w.draw.y + h_px <= top + cells_height;
}

DrawLook look_of(const Waiting& w) {
  DrawLook look;
  look.texture = w.draw.texture->serial;
  look.x = w.draw.x - (cells_x0 + w.column * cells_width);
  look.y = w.draw.y - (cells_y0 + w.row * cells_height);
  look.width = static_cast<int32_t>(w.draw.corners[2]);
  look.height = static_cast<int32_t>(w.draw.corners[5]);
  look.blend_source = w.draw.blend_source;
  look.blend_destination = w.draw.blend_destination;
  look.alpha_and_filter = w.draw.alpha | (w.draw.bilinear ? 0x100u : 0u);
  return look;
}

// In the back buffer's own format, so that drawing there and copying from there to the back
// buffer give the same pixels as drawing on the back buffer.
bool make_target(SDL_Texture*& texture) {
  if (texture != nullptr) return true;
  texture = SDL_CreateTexture(platform_renderer, platform_back_format, SDL_TEXTUREACCESS_TARGET,
                              platform_back_width, platform_back_height);
  if (texture != nullptr) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
  return texture != nullptr;
}

// A store for this back buffer, clear colour and cell size; false when none can be made.
bool store_ready() {
  const bool fits = store.texture != nullptr && store.generation == platform_renderer_generation &&
                    store.width == platform_back_width && store.height == platform_back_height &&
                    store.colour == back_colour && store.cell_width == cells_width &&
                    store.cell_height == cells_height;
  if (fits) return true;
  store_drop();
  grid_forget();  // what the back buffer holds was copied from the old store
  store.generation = platform_renderer_generation;
  if (!make_target(store.texture)) return false;
  store.width = platform_back_width;
  store.height = platform_back_height;
  store.colour = back_colour;
  store.cell_width = cells_width;
  store.cell_height = cells_height;
  store.origin_x = layer_origin_x;
  store.origin_y = layer_origin_y;
  return true;
}

// Follows the layer's origin: the kept pixels move with it, and only cells that stay wholly on the
// screen stay kept.
void store_follow_origin() {
  const int32_t dx = layer_origin_x - store.origin_x;
  const int32_t dy = layer_origin_y - store.origin_y;
  store.origin_x = layer_origin_x;
  store.origin_y = layer_origin_y;
  if (dx == 0 && dy == 0) return;
  if (store.kept.empty() || std::abs(dx) >= store.width || std::abs(dy) >= store.height || !make_target(store.spare)) {
    store.kept.clear();
    return;
  }
  SDL_SetRenderTarget(platform_renderer, store.spare);
  const SDL_Rect from {std::max(0, -dx), std::max(0, -dy), store.width - std::abs(dx), store.height - std::abs(dy)};
  const SDL_Rect to {std::max(0, dx), std::max(0, dy), from.w, from.h};
  SDL_RenderCopy(platform_renderer, store.texture, &from, &to);
  std::swap(store.texture, store.spare);
  for (auto it = store.kept.begin(); it != store.kept.end();) {
    const int32_t x = static_cast<int32_t>(static_cast<uint32_t>(it->first >> 32)) + layer_origin_x;
    const int32_t y = static_cast<int32_t>(static_cast<uint32_t>(it->first)) + layer_origin_y;
    const bool whole = it->second.whole && on_screen(SDL_Rect {x, y, store.cell_width, store.cell_height});
    it = whole ? std::next(it) : store.kept.erase(it);
  }
}

// The pass's cells on the back buffer's grid, each with its draws in order and its content.
struct Cell {
  std::vector<const Waiting*> draws;
  Content content = EMPTY;
};

std::vector<Cell> gather_cells() {
  std::vector<Cell> cells(grid.held.size());
  const int32_t dc = floor_div(cells_x0 - grid.x0, cells_width);
  const int32_t dr = floor_div(cells_y0 - grid.y0, cells_height);
  for (const Waiting& w : waiting) {
    const int32_t c = w.column + dc;
    const int32_t r = w.row + dr;
    // Off the screen, nothing of it would show.
    if (c < 0 || r < 0 || c >= grid.columns || r >= grid.rows) continue;
    cells[static_cast<size_t>(r * grid.columns + c)].draws.push_back(&w);
  }
  std::vector<DrawLook> looks;
  for (Cell& cell : cells) {
    looks.clear();
    for (const Waiting* w : cell.draws) looks.push_back(look_of(*w));
    cell.content = content_of(looks);
  }
  return cells;
}

// Draws into the store every cell that does not hold its content yet; forgets cells not in this
// pass.
void store_update(const std::vector<Cell>& cells) {
  std::unordered_map<uint64_t, Kept> now;
  now.reserve(waiting.size() * 2);
  bool targeted = false;
  for (int32_t r = 0; r < grid.rows; ++r) {
    for (int32_t c = 0; c < grid.columns; ++c) {
      const Cell& cell = cells[static_cast<size_t>(r * grid.columns + c)];
      if (cell.content == EMPTY) continue;
      const SDL_Rect area {grid.x0 + c * grid.cell_width, grid.y0 + r * grid.cell_height, grid.cell_width,
                           grid.cell_height};
      const uint64_t place = place_key(area.x - layer_origin_x, area.y - layer_origin_y);
      const auto found = store.kept.find(place);
      if (found != store.kept.end() && found->second.content == cell.content) {
        now.emplace(place, found->second);
        continue;
      }
      if (!targeted) SDL_SetRenderTarget(platform_renderer, store.texture);
      targeted = true;
      fill(area, store.colour);
      for (const Waiting* w : cell.draws) quad_render(w->draw);
      now.emplace(place, Kept {cell.content, on_screen(area)});
    }
  }
  store.kept.swap(now);
}

// ---- Putting the pass on the back buffer ------------------------------------------------------

// Walks the grid once: cells under what was drawn since the clear are cleared around it and their
// draws drawn as ever; the others get their content from the store, or the clear colour, unless
// they hold it already. Copies are joined into runs along each row. No two cells overlap, so the
// order among cells is free; inside a cell the draws keep theirs.
void compose(const std::vector<Cell>& cells) {
  platform_target_back_buffer();
  std::vector<bool> direct(cells.size(), false);
  for (int32_t r = 0; r < grid.rows; ++r) {
    SDL_Rect run {0, 0, 0, 0};
    const auto flush_run = [&run] {
      if (run.w > 0) SDL_RenderCopy(platform_renderer, store.texture, &run, &run);
      run.w = 0;
    };
    for (int32_t c = 0; c < grid.columns; ++c) {
      const size_t index = static_cast<size_t>(r * grid.columns + c);
      const SDL_Rect area = grid_rect(c, r);
      Content& held = held_at(c, r);
      const Content content = cells[index].content;
      if (under_touched(area)) {
        flush_run();
        if (clear_pending) fill_untouched(area);
        direct[index] = true;
        held = UNKNOWN;
      } else if (held == content) {
        flush_run();
      } else if (content == EMPTY) {
        flush_run();
        if (clear_pending || held != UNKNOWN) fill(area, back_colour);
        held = EMPTY;
      } else {
        if (run.w > 0 && run.x + run.w == area.x) {
          run.w += area.w;
        } else {
          flush_run();
          run = area;
        }
        held = content;
      }
    }
    flush_run();
  }
  clear_pending = false;
  SDL_Rect drawn {0, 0, 0, 0};
  for (size_t index = 0; index < cells.size(); ++index) {
    if (cells[index].content == EMPTY) continue;
    const int32_t at = static_cast<int32_t>(index);
    const SDL_Rect area = grid_rect(at % grid.columns, at / grid.columns);
    SDL_UnionRect(&drawn, &area, &drawn);
    if (!direct[index]) continue;
    for (const Waiting* w : cells[index].draws) quad_render(w->draw);
  }
  // A pass that follows without a clear finds these cells drawn on.
  if (drawn.w > 0) note_touched(drawn);
}

void layer_finish() {
  if (waiting.empty()) return;
  if (contents.size() > CONTENT_LIMIT) {
    contents.clear();
    store.kept.clear();
    grid_forget();
  }
  if (!store_ready()) {
    draw_waiting_plainly();
    return;
  }
  store_follow_origin();
  grid_place();
  const std::vector<Cell> cells = gather_cells();
  store_update(cells);
  compose(cells);
  waiting.clear();
}

}  // namespace

bool plain_drawing_forced = false;

void back_buffer_clear(int32_t colour) {
  tile_layer_interrupt();
  back_known = true;
  back_colour = colour & 0xFFFFFF;
  touched.clear();
  clear_pending = true;
  if (plain_drawing_forced) {
    grid_forget();
    clear_now();
  }
}

void back_buffer_touched(const SDL_Rect& area) {
  if (area.w <= 0 || area.h <= 0) return;
  grid_spoil(area);
  if (!back_known) return;
  if (clear_pending) {
    if (touched.size() >= TOUCHED_LIMIT) {
      clear_now();
    } else {
      fill_untouched(area);
    }
  }
  note_touched(area);
}

void back_buffer_settle() {
  tile_layer_interrupt();
  clear_now();
}

void tile_layer_interrupt() {
  if (!layer_open || layer_plain) return;
  // Whatever comes now must find the draws before it done, as if each had been drawn at once.
  layer_plain = true;
  draw_waiting_plainly();
}

void tile_layer_close() {
  store_drop();
  waiting.clear();
  layer_open = false;
  back_known = false;
  clear_pending = false;
  touched.clear();
  grid = Grid {};
}

void tile_layer_drop_store() { store_drop(); }

void tile_layer_begin(int32_t origin_x, int32_t origin_y) {
  tile_layer_end();
  layer_open = true;
  layer_plain = plain_drawing_forced || !back_known || !platform_has_back_buffer();
  layer_origin_x = origin_x;
  layer_origin_y = origin_y;
}

void tile_layer_draw(int32_t s3d, int32_t x, int32_t y, int32_t alpha) {
  if (!layer_open || layer_plain) {
    sprite3d_draw(s3d, x, y, alpha);
    return;
  }
  Waiting w;
  if (!quad_take(s3d, x, y, alpha, w.draw)) return;
  if (!place_in_grid(w)) {
    // Drawn at once, after those before it: the rest of the pass is plain.
    tile_layer_interrupt();
    draw_on_back_buffer(w.draw);
    return;
  }
  waiting.push_back(std::move(w));
}

void tile_layer_end() {
  if (!layer_open) return;
  layer_open = false;
  if (!layer_plain) layer_finish();
  waiting.clear();
}

}  // namespace tessera
