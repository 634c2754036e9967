#include "game/world_pass.h"

#include <algorithm>
#include <cmath>

#include "actors/enemy_ai.h"
#include "core/config.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "model/vocabulary.h"
#include "platform/platform.h"
#include "presentation/overlays.h"
#include "resources/catalogs.h"
#include "resources/object_types.h"
#include "resources/sound_control.h"
#include "world/tile_rules.h"

namespace tessera {

namespace {

void standard_blend() { sprite3d_blend_mode(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA); }

void object_blend(int32_t mode1, int32_t mode2) {
  if (mode1 > 0 || mode2 > 0) {
    sprite3d_blend_mode(mode1, mode2);
  } else {
    standard_blend();
  }
}

int32_t screen_position(int32_t index) { return round_to_int(static_cast<float>(index) * RESOLUTION); }

// Both passes of a frame walk the same cells in the same order; scan_x and scan_y follow the walk.
// At least one cell is visited, as the walk tests its end after each cell. The walk stops at the
// matrix's last column and row: cells beyond it hold nothing to draw or rule, and a tiny
// RESOLUTION would otherwise ask for millions of them every frame.
template <typename Visit>
void walk_visible_window(Visit visit) {
  const int32_t first_column = round_to_int(scroll_x);
  const int32_t first_row = round_to_int(scroll_y);
  const int32_t last_column =
      std::min(round_to_int(visible_columns), std::max(0, world_matrix.columns - 1 - first_column));
  const int32_t rows = std::min(round_to_int(visible_rows), std::max(1, world_matrix.rows - first_row));
  scan_x = first_column;
  scan_y = first_row;
  int32_t i = 0;
  int32_t j = 0;
  do {
    visit(i, j);
    ++i;
    ++scan_x;
    if (i > last_column) {
      i = 0;
      ++j;
      ++scan_y;
      scan_x = first_column;
    }
  } while (j < rows);
}

bool in_play(const WorldCell& cell) { return cell.alpha > 0 && cell.in_level == 1; }

void apply_visible_tile_rules() {
  walk_visible_window([](int32_t, int32_t) {
    if (!in_play(world_cell(scan_x, scan_y))) return;
    apply_tile_rules(scan_x, scan_y);
    lock_pink_cell(scan_x, scan_y);
  });
}

void draw_tiles() {
  walk_visible_window([](int32_t i, int32_t j) {
    const WorldCell& cell = world_cell(scan_x, scan_y);
    if (!in_play(cell)) return;
    tile_layer_draw(tile_graphic_quad(cell.tile_graphic), screen_position(i), screen_position(j), cell.alpha);
  });
}

// A quad turned to a frame's angle; the platform sums turns in 16 bits, and so does this.
int16_t turned(int16_t angle, int32_t by) {
  const int64_t sum = static_cast<int64_t>(angle) + by;
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(sum) & 0xFFFF));
}

void update_cell_blocked(int32_t, int32_t) {
  WorldCell& cell = world_cell(scan_x, scan_y);
  cell.blocked = 0;
  if (object_instances.empty() || cell.tile_graphic == 0 || cell.in_level != 1) return;
  const int32_t last = std::min(cell.last_child, CHILD_SLOTS - 1);
  for (int32_t n = 0; n <= last; ++n) {
    const int32_t position = cell.child_object[static_cast<size_t>(n)];
    if (position < 0 || position >= object_instances.size()) continue;
    if (object_instances.at(position).DCOLLISION != 0) cell.blocked = 1;
  }
}

// scale sizes the objects (their images and offsets) for the level picture; play draws at 1.
void draw_cell_objects(int32_t i, int32_t j, float scale) {
  const WorldCell& cell = world_cell(scan_x, scan_y);
  if (object_instances.empty() || cell.tile_graphic == 0 || cell.in_level != 1) return;
  const int32_t last = std::min(cell.last_child, CHILD_SLOTS - 1);
  for (int32_t n = 0; n <= last; ++n) {
    const int32_t position = cell.child_object[static_cast<size_t>(n)];
    if (position < 0 || position >= object_instances.size()) continue;
    const ObjectInstance& instance = object_instances.at(position);
    if (instance.DGFXSHOW != 1 || instance.DISPLAYER != 0) continue;
    const int32_t quad = object_type_quad(instance.type, round_to_int(instance.instance_size_x * scale),
                                          round_to_int(instance.instance_size_y * scale));
    if (quad != 0) {
      object_blend(instance.DXMODE1, instance.DXMODE2);
      tile_layer_draw(quad,
                      round_to_int(static_cast<float>(i) * RESOLUTION + instance.offset_x * scale),
                      round_to_int(static_cast<float>(j) * RESOLUTION + instance.offset_y * scale),
                      instance.DGFXTRANSPARENCY);
    }
  }
}

void draw_player() {
  sprite3d_rotate(player.player_sprite, player.angle, ROTATE_ABSOLUTE);
  sprite3d_draw(player.player_sprite, round_to_int(player.x), round_to_int(player.y), 255);
}

// Tiles and the objects standing on them go through the platform's tile layer, which keeps them
// from frame to frame. Its origin is where matrix cell (0, 0) would lie on the screen, so what it
// keeps scrolls with the view.
void draw_cells(int32_t origin_x, int32_t origin_y, float scale = 1.0f) {
  tile_layer_begin(origin_x, origin_y);
  draw_tiles();
  walk_visible_window([scale](int32_t i, int32_t j) { draw_cell_objects(i, j, scale); });
  tile_layer_end();
}

}  // namespace

void world_step() {
  scan_x = round_to_int(scroll_x);
  scan_y = round_to_int(scroll_y);
  move_floaters(world_floaters);
  apply_visible_tile_rules();
  update_blocked();
  step_foes();
  player_cell_step();
  player.angle = turned(player.angle, 1);
  hud_step();
  if (tiles_left < 1) {
    level_start_score = score;
    level_start_target = score_target;
    complete_map();
  }
}

void draw_world_frame(bool hud) {
  screen_clear(rgb(0, 0, 0));
  if (USESPRITE3D == 1) {
    draw_floaters(world_floaters, 1);
    draw_cells(-screen_position(round_to_int(scroll_x)), -screen_position(round_to_int(scroll_y)));
    for (int32_t n = 0; n < foes.size(); ++n) draw_foe(n, 1.0f);
    draw_player();
    sprite3d_blend_mode(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA);
    fullscreen_zoom_pass(SMOOTH);
  }
  if (hud) draw_hud();
}

void move_floaters(List<Floater>& list) {
  for (Floater& floater : list.items) {
    if (random_int(50) == 0) {
      // One draw per statement: the order of the four draws is part of the motion.
      const int32_t vx_plus = random_int(10);
      const int32_t vx_minus = random_int(10);
      const int32_t vy_plus = random_int(10);
      const int32_t vy_minus = random_int(10);
      floater.vx = static_cast<float>(vx_plus - vx_minus);
      floater.vy = static_cast<float>(vy_plus - vy_minus);
    }
    if (floater.x + floater.vx > screen_width || floater.x + floater.vx < 1.0f) floater.vx = -floater.vx;
    if (floater.y + floater.vy > screen_height || floater.y + floater.vy < 1.0f) floater.vy = -floater.vy;
    floater.x += floater.vx;
    floater.y += floater.vy;
  }
}

void draw_floaters(List<Floater>& list, int32_t glow) {
  if (glow == 1) {
    sprite3d_blend_mode(BLEND_ONE, BLEND_SOURCE_ALPHA);
  } else {
    standard_blend();
  }
  for (const Floater& floater : list.items) {
    sprite3d_draw(floater.sprite, round_to_int(floater.x), round_to_int(floater.y), 255);
  }
  standard_blend();
}

void update_blocked() {
  if (scroll_x < 0.0f) scroll_x = 0.0f;
  if (scroll_y < 0.0f) scroll_y = 0.0f;
  walk_visible_window(update_cell_blocked);
}

void step_foes() {
  for (int32_t n = 0; n < foes.size(); ++n) {
    foes.select(n);
    Foe& foe = foes.at(n);
    if (foe.DROTATE != 0) foe.angle = turned(foe.angle, foe.DROTATE);
    foe_think(foe.DAILEVEL);
  }
}

void draw_foe(int32_t n, float scale) {
  const Foe& foe = foes.at(n);
  if (foe.DROTATE != 0) sprite3d_rotate(foe.instance_sprite, foe.angle, ROTATE_ABSOLUTE);
  object_blend(foe.DXMODE1, foe.DXMODE2);
  sprite3d_draw(foe.instance_sprite,
                round_to_int((static_cast<float>(foe.x) + foe.offset_x - scroll_x * RESOLUTION) * scale),
                round_to_int((static_cast<float>(foe.y) + foe.offset_y - scroll_y * RESOLUTION) * scale),
                foe.DGFXTRANSPARENCY);
  standard_blend();
}

void draw_level_picture(float scale) {
  scroll_x = 0.0f;
  scroll_y = 0.0f;
  // The walk takes one column more than visible_columns says (a partly visible one in play).
  visible_columns = static_cast<float>(level_width);
  visible_rows = static_cast<float>(level_height + 1);
  screen_clear(rgb(0, 0, 0));
  draw_cells(0, 0, scale);
  for (int32_t n = 0; n < foes.size(); ++n) {
    const Foe& foe = foes.at(n);
    sprite3d_zoom(foe.instance_sprite, round_to_int(foe.instance_size_x * scale),
                  round_to_int(foe.instance_size_y * scale));
    draw_foe(n, scale);
  }
  if (sprite3d_exists(player.player_sprite) != 0) {
    sprite3d_zoom(player.player_sprite, round_to_int(static_cast<float>(sprite_width(player.player_image)) * scale),
                  round_to_int(static_cast<float>(sprite_height(player.player_image)) * scale));
  }
  sprite3d_draw(player.player_sprite, round_to_int(player.x * scale), round_to_int(player.y * scale), 255);
}

void player_cell_step() {
  const int32_t px = round_to_int(std::floor(player.x / RESOLUTION) + scroll_x);
  const int32_t py = round_to_int(std::floor(player.y / RESOLUTION) + scroll_y);
  if (world_cell(px, py).blocked == 1) pickup_test(px, py);
  paint_tile(px, py);
}

void pickup_test(int32_t x, int32_t y) {
  if (world_cell(x, y).blocked == 0) return;
  const int32_t last = std::min(world_cell(x, y).last_child, CHILD_SLOTS - 1);
  for (int32_t n = 0; n <= last; ++n) {
    if (!object_instances.select(world_cell(x, y).child_object[static_cast<size_t>(n)])) continue;
    if (object_instances.current().DCOLLISION != 0) collect_object(x, y, n);
  }
}

void collect_object(int32_t x, int32_t y, int32_t slot) {
  if (slot < 0 || slot >= CHILD_SLOTS) return;
  const auto index = static_cast<size_t>(slot);
  const int32_t position = world_cell(x, y).child_object[index];
  if (!object_instances.select(position)) return;
  const ObjectInstance instance = object_instances.current();
  play_collect_sound(position);
  if (instance.DKILLONCOLLISION != 0) {
    WorldCell& cell = world_cell(x, y);
    if (cell.child_name[index] == BOMB_CHILD) {
      if (bombs.size() < BOMBS_HELD_MAX) {
        bombs += BOMB_SIGN;
        cell.child_object[index] = -1;
      }
    } else {
      cell.child_object[index] = -1;
    }
    if (instance.DCOUNTTOSCORE == 0) {
      score = add_saturating(score, instance.DSCORE);
    } else {
      score_target = add_saturating(score_target, instance.DSCORE);
    }
  }
  time_left = add_saturating(time_left, instance.DEXTRATIME);
}

void complete_map() {
  map_number = add_saturating(map_number, 1);
  time_left = 0;
}

}  // namespace tessera
