// Cell content files (one per tile kind) and the objects and foes they bring into the world.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/diagnostics.h"
#include "model/cell_text.h"

namespace tessera {

// Path of the content file of a tile kind: RGBCODEPATH + APPSTART + "\" + kind.
std::string cell_content_path(const std::string& kind);
// Re-tiling, the only way a cell changes kind: sets tile_kind, applies the kind's content file
// (read at its first use in a level), points the cell at its tile graphic and spawns the
// children, all for the same cell.
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
// Reads the content files of these kinds now, so that re-tiling them later reads no file.
void preload_cell_contents(std::initializer_list<const char*> kinds);
// Points the cell at the first tile graphic named name (unchanged when none is).
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
// and the matrix re-created at LEVEL_MATRIX_SIZE.
void reset_world();

// The lookups of load_cell_graphic and spawn_cell_objects: the list position of the first tile
// graphic of that exact file name (-1: none), and how many object types spawn for a child slot
// of that name.
int32_t tile_graphic_named(const std::string& name);
int32_t object_types_answering(const std::string& child_name);

// The checker, after load_tile_graphics and load_object_types: the content directory
// RGBCODEPATH + APPSTART and every file in it (unknown keys, numbers the game reads other than
// written, a GFXNAME that no tile graphic has, CHILD1..CHILD8 names that no object type has).
void check_cell_contents();
// Reports, at `line` of `file`, a tile kind without a content file (with the severity and the
// consequence given) or whose file is found only in another letter case. True when it is found.
bool check_tile_kind(const std::string& kind, const std::string& file, int32_t line, Severity if_missing,
                     const std::string& consequence);

}  // namespace tessera
