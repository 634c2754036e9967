#include "model/state_digest.h"

#include "model/world_model.h"

namespace tessera {

uint64_t level_digest() {
  StateHash h;
  h.add(level_width, level_height);
  for (int32_t x = 0; x <= level_width; ++x) {
    for (int32_t y = 0; y <= level_height; ++y) {
      const WorldCell& cell = world_cell(x, y);
      h.add(cell.tile_kind, cell.in_level, cell.last_child);
      for (int32_t slot : cell.child_object) h.add(slot);
    }
  }
  h.add(object_instances.size());
  for (const ObjectInstance& i : object_instances.items) h.add(i.DSCORE, i.DISGOODY, i.offset_x, i.offset_y);
  h.add(foes.size());
  for (const Foe& foe : foes.items) h.add(foe.x, foe.y, foe.direction, foe.DAILEVEL);
  h.add(player.x, player.y, tiles_left, time_left);
  return h.value;
}

uint64_t play_state_digest() {
  StateHash h{level_digest()};
  h.add(map_number, scroll_x, scroll_y, score, score_target, bombs);
  for (int32_t x = 0; x <= level_width; ++x) {
    for (int32_t y = 0; y <= level_height; ++y) h.add(world_cell(x, y).use_collision);
  }
  for (const ObjectInstance& i : object_instances.items) h.add(i.DGFXSHOW, i.DCOLLISION, i.DEXTRATIME);
  return h.value;
}

}  // namespace tessera
