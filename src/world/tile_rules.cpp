#include "world/tile_rules.h"

#include <algorithm>
#include <cstdint>

#include "core/config.h"
#include "model/vocabulary.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/cell_content.h"
#include "resources/sound_control.h"

namespace tessera {

namespace {

bool is_closed_kind(const CellText& kind) { return kind == play_kinds().blue_floor || kind == play_kinds().wall; }

bool painted(int32_t x, int32_t y) {
  const CellText& kind = world_cell(x, y).tile_kind;
  return kind == play_kinds().blue_floor || kind == play_kinds().fixed_floor;
}

}  // namespace

bool is_painted_kind(const std::string& kind) { return kind == KIND_BLUE_FLOOR || kind == KIND_FIXED_FLOOR; }

int32_t add_saturating(int32_t total, int32_t amount) {
  const int64_t sum = static_cast<int64_t>(total) + amount;
  return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

void paint_tile(int32_t x, int32_t y) {
  const CellText kind = world_cell(x, y).tile_kind;
  if (kind == play_kinds().floor || kind == play_kinds().green) {
    retile_cell(x, y, KIND_BLUE_FLOOR);
    play_sound(DEFTILESOUND, SOUND_ONCE);
    if (GAMEMODE == GAMEMODE_HARDCORE) {
      world_cell(x, y).use_collision = COLLISION_SOLID;
      check_trapped(x, y);
    }
  } else if (kind == play_kinds().pink_floor) {
    retile_cell(x, y, KIND_BLUE_FLOOR);
    play_sound(DEFTILESOUND, SOUND_ONCE);
  }
}

void apply_tile_rules(int32_t x, int32_t y) {
  if (x == 0) x = 1;
  if (y == 0) y = 1;
  if (!painted(x, y)) return;  // (x, y) belongs to every shape
  for (const auto& shape : FIXING_SHAPES) {
    bool complete = true;
    for (const auto& offset : shape) complete = complete && painted(x + offset[0], y + offset[1]);
    if (!complete) continue;
    if (world_cell(x, y).tile_kind == play_kinds().blue_floor) {
      retile_cell(x, y, KIND_FIXED_FLOOR);
      play_sound(FIXEDTILESOUND, SOUND_ONCE);
      score = add_saturating(score, world_cell(x, y).value1);
      tiles_left -= 1;
    }
    return;
  }
}

void check_trapped(int32_t x, int32_t y) {
  if (is_closed_kind(world_cell(x + 1, y).tile_kind) && is_closed_kind(world_cell(x - 1, y).tile_kind) &&
      is_closed_kind(world_cell(x, y + 1).tile_kind) && is_closed_kind(world_cell(x, y - 1).tile_kind)) {
    player_trapped = 1;
  }
}

}  // namespace tessera
