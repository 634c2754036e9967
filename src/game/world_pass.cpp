#include "game/world_pass.h"

#include <algorithm>
#include <cmath>

#include "actors/enemy_ai.h"
#include "actors/play_clock.h"
#include "core/config.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "platform/platform.h"
#include "presentation/overlays.h"
#include "resources/sound_control.h"
#include "world/tile_rules.h"

namespace tessera {

namespace {

constexpr int32_t BLEND_ONE = 2;
constexpr int32_t BLEND_SOURCE_ALPHA = 5;
constexpr int32_t BLEND_INVERSE_SOURCE_ALPHA = 6;

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

// A picture of the level draws the cells as they stand; play runs their rules first.
void tile_pass(bool run_rules) {
  walk_visible_window([run_rules](int32_t i, int32_t j) {
    const WorldCell& cell = world_cell(scan_x, scan_y);
    if (cell.alpha <= 0 || cell.in_level != 1) return;
    if (run_rules) {
      apply_tile_rules(scan_x, scan_y);
      lock_pink_cell(scan_x, scan_y);
    }
    // The rules may just have re-tiled the cell: draw what it is now.
    const WorldCell& now = world_cell(scan_x, scan_y);
    tile_layer_draw(now.tile_sprite, screen_position(i), screen_position(j), now.alpha);
  });
}

void draw_cell_objects(int32_t i, int32_t j) {
  WorldCell& cell = world_cell(scan_x, scan_y);
  cell.blocked = 0;
  if (object_instances.empty() || cell.tile_sprite == 0 || cell.in_level != 1) return;
  const int32_t last = std::min(cell.last_child, CHILD_SLOTS - 1);
  for (int32_t n = 0; n <= last; ++n) {
    if (cell.child_object[static_cast<size_t>(n)] == -1) continue;
    if (!object_instances.select(cell.child_object[static_cast<size_t>(n)])) continue;
    const ObjectInstance& instance = object_instances.current();
    if (instance.instance_sprite != 0 && instance.DGFXSHOW == 1 && instance.DISPLAYER == 0) {
      object_blend(instance.DXMODE1, instance.DXMODE2);
      tile_layer_draw(instance.instance_sprite,
                    round_to_int(static_cast<float>(i) * RESOLUTION + instance.offset_x),
                    round_to_int(static_cast<float>(j) * RESOLUTION + instance.offset_y),
                    instance.DGFXTRANSPARENCY);
    }
    if (instance.DCOLLISION != 0) cell.blocked = 1;
  }
}

}  // namespace

void world_step() {
  if (USESPRITE3D == 1) draw_world_frame();
  if (tiles_left < 1) {
    level_start_score = score;
    complete_map();
  }
}

void draw_world_frame() {
  screen_clear(rgb(0, 0, 0));
  scan_x = round_to_int(scroll_x);
  scan_y = round_to_int(scroll_y);
  draw_floaters(world_floaters, 1);
  // Tiles and the objects standing on them go through the platform's tile layer, which keeps them
  // from frame to frame. Its origin is where matrix cell (0, 0) would lie on the screen, so what
  // it keeps scrolls with the view.
  tile_layer_begin(-screen_position(round_to_int(scroll_x)), -screen_position(round_to_int(scroll_y)));
  tile_pass(true);
  draw_objects();
  tile_layer_end();
  draw_foes();
  player_cell_step();
  show_map_banner(1);
  fullscreen_zoom_pass(SMOOTH);
  draw_hud();
}

void draw_floaters(List<Floater>& list, int32_t glow) {
  if (glow == 1) {
    sprite3d_blend_mode(BLEND_ONE, BLEND_SOURCE_ALPHA);
  } else {
    standard_blend();
  }
  for (int32_t n = 0; n < list.size(); ++n) {
    Floater& floater = list.at(n);
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
    sprite3d_draw(floater.sprite, round_to_int(floater.x), round_to_int(floater.y), 255);
  }
  standard_blend();
}

void draw_objects() {
  if (scroll_x < 0.0f) scroll_x = 0.0f;
  if (scroll_y < 0.0f) scroll_y = 0.0f;
  walk_visible_window(draw_cell_objects);
}

void draw_foes() {
  for (int32_t n = 0; n < foes.size(); ++n) {
    foes.select(n);
    if (foes.at(n).DROTATE != 0) sprite3d_rotate(foes.at(n).instance_sprite, foes.at(n).DROTATE, 1);
    foe_think(foes.at(n).DAILEVEL);
    draw_foe(n);
  }
}

void draw_foe(int32_t n) {
  const Foe& foe = foes.at(n);
  object_blend(foe.DXMODE1, foe.DXMODE2);
  sprite3d_draw(foe.instance_sprite, round_to_int(static_cast<float>(foe.x) + foe.offset_x - scroll_x * RESOLUTION),
                round_to_int(static_cast<float>(foe.y) + foe.offset_y - scroll_y * RESOLUTION), foe.DGFXTRANSPARENCY);
  standard_blend();
}

void draw_level_picture() {
  scroll_x = 0.0f;
  scroll_y = 0.0f;
  // The walk takes one column more than visible_columns says (a partly visible one in play).
  visible_columns = static_cast<float>(level_width);
  visible_rows = static_cast<float>(level_height + 1);
  sprite3d_begin();
  screen_clear(rgb(0, 0, 0));
  tile_layer_begin(0, 0);
  tile_pass(false);
  draw_objects();
  tile_layer_end();
  for (int32_t n = 0; n < foes.size(); ++n) draw_foe(n);
  sprite3d_draw(player.player_sprite, round_to_int(player.x), round_to_int(player.y), 255);
  sprite3d_end();
}

void player_cell_step() {
  const int32_t px = round_to_int(std::floor(player.x / RESOLUTION) + scroll_x);
  const int32_t py = round_to_int(std::floor(player.y / RESOLUTION) + scroll_y);
  if (world_cell(px, py).blocked == 1) pickup_test(px, py);
  paint_tile(px, py);
  sprite3d_rotate(player.player_sprite, 1, 1);
  sprite3d_draw(player.player_sprite, round_to_int(player.x), round_to_int(player.y), 255);
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
    if (cell.child_name[index] == "BOMB") {
      if (bombs.size() < 3) {
        bombs += "&";
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

void frame_driver() {
  sprite3d_begin();
  world_step();
  sprite3d_end();
  clock_frame(-1);
  process_window_events();
  screen_flip();
  if (game_mode == GAME_MODE_GAME_OVER) game_over_sequence(SMOOTH);
}

}  // namespace tessera
