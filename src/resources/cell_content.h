// Cell content files (one per tile kind) and the objects and foes they bring into the world.
#pragma once

#include <cstdint>
#include <string>

#include "model/cell_text.h"

namespace tessera {

// Path of the content file of a tile kind: RGBCODEPATH + APPSTART + "\" + kind.
std::string cell_content_path(const std::string& kind);
// Re-tiling, the only way a cell changes kind: sets tile_kind, reads the kind's content file,
// rebuilds the tile Sprite3D and spawns the children, all for the same cell.
void retile_cell(int32_t x, int32_t y, const CellText& kind);
void retile_cell(int32_t x, int32_t y, const std::string& kind);
void retile_cell(int32_t x, int32_t y, const char* kind);

// Applies the content file at path to cell (x, y); a missing file leaves the cell as it was.
// Each file is read once and kept, with its pairs in file order, until forget_cell_contents:
// a level sees its content files as they were when it first used them.
void load_cell_content(int32_t x, int32_t y, const std::string& path);
// Empties the store of content files (reset_world and load_map do, so an edited file shows from
// the next level on).
void forget_cell_contents();
// Makes the cell's Sprite3D from the first tile graphic named name (unchanged when none is).
void load_cell_graphic(int32_t x, int32_t y, const std::string& name);
void load_cell_graphic(int32_t x, int32_t y, const CellText& name);
void load_cell_graphic(int32_t x, int32_t y, const char* name);
// Spawns the cell's child objects, drawing a DDENSITY chance for every matching type in order.
void spawn_cell_objects(int32_t x, int32_t y);
// Size and anchor of the instance at list position `instance` made from object type `type`.
void place_object_sprite(int32_t instance, int32_t type);
// Foes for every cell 0..width x 0..height whose use_enemy is 1, never more than MAXFOE.
void populate_foes(int32_t width, int32_t height);
void place_foe_sprite(int32_t foe, int32_t type);
// Frees every foe's Sprite3D and empties foes.
void clear_foes();
// Before a level: scroll 0, edge placements and instances emptied, the content files forgotten,
// tile sprites freed, and the matrix re-created at LEVEL_MATRIX_SIZE.
void reset_world();
// Fits a cell's tile Sprite3D to the cell size when it has one and is visible.
void size_tile_sprite(int32_t x, int32_t y);

}  // namespace tessera
