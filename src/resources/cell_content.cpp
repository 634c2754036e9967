#include "resources/cell_content.h"

#include <algorithm>

#include "core/config.h"
#include "core/line_pairs.h"
#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"

namespace tessera {

namespace {

// Slot index of a "CHILD1" .. "CHILD8" key, -1 for any other key.
int32_t child_slot(const std::string& key) {
  if (key.size() != 6 || key.compare(0, 5, "CHILD") != 0) return -1;
  const char digit = key[5];
  if (digit < '1' || digit > '8') return -1;
  return digit - '1';
}

void apply_content_pair(WorldCell& cell, const std::string& key, const std::string& value) {
  const int32_t slot = child_slot(key);
  if (slot >= 0) {
    cell.child_name[static_cast<size_t>(slot)] = value;
    cell.child_object[static_cast<size_t>(slot)] = -1;
    if (value != "#") cell.last_child_name = static_cast<int8_t>(slot);
  } else if (key == "GFXNAME") {
    cell.gfx_name = value.empty() ? "dummy.png" : value;
  } else if (key == "VALUE1") {
    cell.value1 = parse_leading_int(value);
  } else if (key == "USECOLLISION") {
    cell.use_collision = low8_signed(parse_leading_int(value));
  } else if (key == "TRANSPARENCY") {
    cell.transparency = parse_leading_int(value);
    cell.alpha = static_cast<int32_t>(255u - static_cast<uint32_t>(cell.transparency));
  } else if (key == "USEENEMY") {
    cell.use_enemy = low8_signed(parse_leading_int(value));
  }
  // RANDOMSEED, USEDIRECTION and INTERNALNAME change nothing in the game.
}

// Draw offset of an image inside its cell, shared by instances and foes.
void anchor_sprite(const ObjectType& type, float width, float height, float& offset_x, float& offset_y) {
  if (!type.DHOTSPOT.empty()) {
    if (type.DHOTSPOT == "CENTER") {
      offset_x = width / 2.0f;
      offset_y = height / 2.0f;
    } else if (type.DHOTSPOT == "RIGHT") {
      offset_x = width;
      offset_y = 0.0f;
    } else if (type.DHOTSPOT == "BOTTOMLEFT") {
      offset_x = 0.0f;
      offset_y = height;
    } else if (type.DHOTSPOT == "BOTTOMRIGHT") {
      offset_x = width;
      offset_y = height;
    }
  }
  if (type.DCENTERFIELD == 1) {
    offset_x += cell_width / 2.0f;
    offset_y += cell_height / 2.0f;
  }
}

int32_t spawn_instance(int32_t type_index) {
  const ObjectType& type = object_types.at(type_index);
  ObjectInstance& instance = object_instances.add();
  instance.instance_sprite = sprite3d_create(-1, type.type_sprite);
  instance.instance_size_x = static_cast<float>(sprite_width(type.type_sprite));
  instance.instance_size_y = static_cast<float>(sprite_height(type.type_sprite));
  sprite3d_zoom(instance.instance_sprite, round_to_int(instance.instance_size_x),
                round_to_int(instance.instance_size_y));
  instance.DGFXTRANSPARENCY = type.DGFXTRANSPARENCY;
  instance.DXMODE1 = type.DXMODE1;
  instance.DXMODE2 = type.DXMODE2;
  instance.DGFXSHOW = type.DGFXSHOW;
  instance.DCOLLISION = type.DCOLLISION;
  instance.DKILLONCOLLISION = type.DKILLONCOLLISION;
  instance.DSCORE = type.DSCORE;
  instance.DCOUNTTOSCORE = type.DCOUNTTOSCORE;
  instance.DCOUNTSOUND = type.DCOUNTSOUND;
  instance.DUSECOUNTSOUND = type.DUSECOUNTSOUND;
  instance.DISPLAYER = type.DISPLAYER;
  instance.DISGOODY = type.DISGOODY;
  instance.DEXTRATIME = type.DEXTRATIME;
  return object_instances.size() - 1;
}

void spawn_foe(int32_t type_index, int32_t x, int32_t y) {
  const ObjectType& type = object_types.at(type_index);
  Foe& foe = foes.add();
  foe.instance_sprite = sprite3d_create(-1, type.type_sprite);
  foe.instance_size_x = static_cast<float>(sprite_width(type.type_sprite));
  foe.instance_size_y = static_cast<float>(sprite_height(type.type_sprite));
  sprite3d_zoom(foe.instance_sprite, round_to_int(foe.instance_size_x), round_to_int(foe.instance_size_y));
  foe.DGFXTRANSPARENCY = type.DGFXTRANSPARENCY;
  foe.DXMODE1 = type.DXMODE1;
  foe.DXMODE2 = type.DXMODE2;
  foe.DGFXSHOW = type.DGFXSHOW;
  foe.DCOLLISION = type.DCOLLISION;
  foe.DRANDOMMOVE = type.DRANDOMMOVE;
  foe.DAILEVEL = type.DAILEVEL;
  foe.DMOVEX = type.DMOVEX;
  foe.DMOVEY = type.DMOVEY;
  foe.DDMOVE = type.DDMOVE;
  foe.DVELOX = type.DVELOX;
  foe.DVELOY = type.DVELOY;
  foe.DCHANGEDIRECTION = type.DCHANGEDIRECTION;
  foe.DROTATE = type.DROTATE;
  foe.x = round_to_int(static_cast<float>(x) * cell_width);
  foe.y = round_to_int(static_cast<float>(y) * cell_height);
  place_foe_sprite(foes.size() - 1, type_index);
}

}  // namespace

std::string cell_content_path(const std::string& kind) { return RGBCODEPATH + APPSTART + "\\" + kind; }

void retile_cell(int32_t x, int32_t y, const std::string& kind) {
  if (!cell_inside(x, y)) return;
  world_cell(x, y).tile_kind = kind;
  load_cell_content(x, y, cell_content_path(kind));
  load_cell_graphic(x, y, world_cell(x, y).gfx_name);
  spawn_cell_objects(x, y);
}

void load_cell_content(int32_t x, int32_t y, const std::string& path) {
  if (!cell_inside(x, y)) return;
  WorldCell& cell = world_cell(x, y);
  const int8_t previous_last_child_name = cell.last_child_name;
  cell.last_child_name = 0;
  const bool opened = read_line_pairs(
      path, [&cell](const std::string& key, const std::string& value) { apply_content_pair(cell, key, value); });
  if (!opened) {
    cell.last_child_name = previous_last_child_name;
    return;
  }
  if (cell.gfx_name.empty()) cell.gfx_name = "dummy.png";
  cell.blocked = -1;
}

void load_cell_graphic(int32_t x, int32_t y, const std::string& name) {
  if (!cell_inside(x, y)) return;
  for (const TileGraphic& graphic : tile_graphics.items) {
    if (graphic.file_name != name) continue;
    WorldCell& cell = world_cell(x, y);
    if (sprite3d_exists(cell.tile_sprite) != 0) sprite3d_free(cell.tile_sprite);
    cell.tile_sprite = sprite3d_create(-1, graphic.sprite);
    size_tile_sprite(x, y);
    return;
  }
}

void size_tile_sprite(int32_t x, int32_t y) {
  const WorldCell& cell = world_cell(x, y);
  if (cell.tile_sprite != 0 && cell.alpha > 0) {
    sprite3d_zoom(cell.tile_sprite, round_to_int(cell_width), round_to_int(cell_height));
  }
}

void spawn_cell_objects(int32_t x, int32_t y) {
  if (!cell_inside(x, y)) return;
  WorldCell& cell = world_cell(x, y);
  cell.blocked = 0;
  cell.last_child = -1;
  // Whatever a caller stored, the walk never leaves the eight slots.
  const int32_t last_slot = std::min<int32_t>(cell.last_child_name, CHILD_SLOTS - 1);
  for (int32_t slot = 0; slot <= last_slot; ++slot) {
    const std::string& name = cell.child_name[static_cast<size_t>(slot)];
    for (int32_t t = 0; t < object_types.size(); ++t) {
      const ObjectType& type = object_types.at(t);
      if (type.DGFXNAME == "NOPE" || type.DGFXNAME != name) continue;
      // The draw is made for every matching type, spawned or not: levels depend on it.
      if (random_int(type.DDENSITY) != 0) continue;
      const int32_t instance = spawn_instance(t);
      cell.child_object[static_cast<size_t>(slot)] = instance;
      cell.last_child = slot;
      if (object_instances.at(instance).DISGOODY == 1) tiles_left += 1;
      place_object_sprite(instance, t);
    }
  }
}

void place_object_sprite(int32_t instance, int32_t type) {
  if (instance < 0 || instance >= object_instances.size() || type < 0 || type >= object_types.size()) return;
  ObjectInstance& object = object_instances.at(instance);
  const ObjectType& object_type = object_types.at(type);
  if (sprite3d_exists(object.instance_sprite) == 0) return;
  if (object_type.DFITTOMATRIX == 1) {
    object.instance_size_x = cell_width;
    object.instance_size_y = cell_height;
    sprite3d_zoom(object.instance_sprite, round_to_int(cell_width), round_to_int(cell_height));
  }
  anchor_sprite(object_type, object.instance_size_x, object.instance_size_y, object.offset_x, object.offset_y);
}

void populate_foes(int32_t width, int32_t height) {
  // Cells outside the matrix read as empty and would add nothing.
  const int32_t last_x = std::min(width, world_matrix.columns - 1);
  const int32_t last_y = std::min(height, world_matrix.rows - 1);
  for (int32_t x = 0; x <= last_x; ++x) {
    for (int32_t y = 0; y <= last_y; ++y) {
      if (world_cell(x, y).use_enemy != 1) continue;
      for (int32_t t = 0; t < object_types.size() && foes.size() < MAXFOE; ++t) {
        const ObjectType& type = object_types.at(t);
        if (type.DISENEMY == 0) continue;
        if (random_int(type.DDENSITY) != 0) continue;
        spawn_foe(t, x, y);
      }
    }
  }
}

void place_foe_sprite(int32_t foe, int32_t type) {
  if (foe < 0 || foe >= foes.size() || type < 0 || type >= object_types.size()) return;
  Foe& f = foes.at(foe);
  anchor_sprite(object_types.at(type), f.instance_size_x, f.instance_size_y, f.offset_x, f.offset_y);
}

void clear_foes() {
  for (Foe& foe : foes.items) {
    if (sprite3d_exists(foe.instance_sprite) != 0) sprite3d_free(foe.instance_sprite);
  }
  foes.clear();
}

void reset_world() {
  scroll_x = 0.0f;
  scroll_y = 0.0f;
  edge_placements.clear();
  for (ObjectInstance& instance : object_instances.items) {
    if (sprite3d_exists(instance.instance_sprite) != 0) sprite3d_free(instance.instance_sprite);
  }
  object_instances.clear();
  // Every cell of the current matrix, not only 0..256: a map loaded into the larger start-up
  // matrix would otherwise leave its outer tile sprites behind.
  for (WorldCell& cell : world_matrix.cells) {
    if (sprite3d_exists(cell.tile_sprite) != 0) sprite3d_free(cell.tile_sprite);
  }
  world_matrix_create(LEVEL_MATRIX_SIZE, LEVEL_MATRIX_SIZE);
}

}  // namespace tessera
