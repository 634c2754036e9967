// Generated levels: a rectangle of walls carved by seeded random walks.
//
// The same map_number, WORLDRANDOM, LABSWITCH, base size and MAPSIZE give the same level, because
// every random draw between the seeding and the end of a build (the walks, the spawning of cell
// children, the foe population, the music choice) happens in one fixed order. Never add, skip or
// reorder a draw anywhere in a build.
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

// Highest column and row index a generated level may have: one below the last index of the
// re-created matrix, so every rule's x + 1 and y + 1 stays inside it.
constexpr int32_t LEVEL_EXTENT_LIMIT = 255;

// Reads base_width and base_height from the base level file (lines 2 and 3; five lines), then
// builds the level of map_number. A missing file is fatal (error kind 6) and builds nothing.
void build_first_level(const std::string& path);
// Builds the level of map_number from the stored base size (map_number below 1 becomes 0).
void build_level();

// The same builds in parts, so that the frame loop can answer the window between them: a begin
// (the sizes, the seed and the emptied world), then level_build_step until it answers true. A
// begin again starts over; no other random draw may come between the parts.
void begin_first_level(const std::string& path);
void begin_level();
bool level_build_step();
// Reads the content files of the kinds play re-tiles cells into (the last part of a build; a
// loaded map needs it too), so that no rule reads a file in mid-play.
void preload_play_contents();

// Every cell 0..w x 0..h becomes "LAB_WALL" and joins the level, with one progress step per cell;
// then visible_columns and visible_rows are set from the screen size.
void fill_walls(int32_t w, int32_t h);
// The floor walk: converts walls to "LAB_FLOOR", places the player on the first converted cell,
// and sets tiles_left (converted cells plus goodies, divided by 4) and time_left (a quarter of
// that, at most 60).
void carve_floor(int32_t w, int32_t h);
// The same walk converting walls to "LAB_GREEN", then to "LAB_WATER"; the converted cells are
// recorded in edge_placements for mark_edges.
void grow_green(int32_t w, int32_t h);
void flood_water(int32_t w, int32_t h);

struct WalkResult {
  int32_t converted = 0;  // cells turned from "LAB_WALL" into the walk's kind
  int32_t first_x = 0;    // the first converted cell (meaningful when converted > 0)
  int32_t first_y = 0;
};
// The one random walk behind the three walks above: starts at (1, 1), w * h steps, stays inside
// x 1..w-2 and y 1..h-2, converts only cells that are exactly "LAB_WALL". With record_edges set,
// every converted cell is appended to edge_placements.
WalkResult level_walk(int32_t w, int32_t h, const std::string& kind, bool record_edges);

// Gives recorded cells the edge kinds of the wall, green or water beside them (USEEXTENDEDTOPO 1
// only): first against the left neighbour ("_E"), then against the upper one ("_S").
void mark_edges();

// The checker, for generated levels (USESELFCREATEBASE 1; nothing otherwise): the base level file
// (it must exist, and its lines 2 and 3 must be sizes), a content file for every tile kind that
// building and play give cells, and a MAPSIZE the levels cannot reach.
void check_level_sources();

}  // namespace tessera
