#include "world/level_builder.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "core/config.h"
#include "core/diagnostics.h"
#include "core/errors.h"
#include "core/numeric.h"
#include "model/vocabulary.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/catalogs.h"
#include "resources/cell_content.h"
#include "resources/object_types.h"
#include "resources/progress_bars.h"
#include "resources/sound_control.h"

namespace tessera {

namespace {

// The kinds the builders compare cell after cell, as texts that compare by reference.
const CellText WALL_TEXT = KIND_WALL;
const CellText GREEN_TEXT = KIND_GREEN;
const CellText WATER_TEXT = KIND_WATER;

// The seed wraps like the generator's own arithmetic instead of overflowing.
int32_t level_seed() {
  return static_cast<int32_t>(static_cast<uint32_t>(WORLDRANDOM) + static_cast<uint32_t>(map_number));
}

// Base files and MAPSIZE may ask for more than the matrix holds; negative sizes make no level.
int32_t clamp_extent(int64_t extent) {
  return static_cast<int32_t>(std::clamp<int64_t>(extent, 0, LEVEL_EXTENT_LIMIT));
}

int32_t bounded_by_map_size(int64_t extent) {
  if (extent > MAPSIZE || extent < 1) extent = MAPSIZE;
  return clamp_extent(extent);
}

// The part that both builders share, in its fixed order, one part a call.
using BuildPart = void (*)();
constexpr BuildPart BUILD_PARTS[] = {
    [] { fill_walls(level_width, level_height); },
    [] { carve_floor(level_width, level_height); },
    [] { grow_green(level_width, level_height); },
    [] { flood_water(level_width, level_height); },
    [] { mark_edges(); },
    [] { populate_foes(level_width, level_height); },
    // Play re-tiles into these kinds: read now, so that no rule reads a file in mid-play.
    preload_play_contents,
};
constexpr int32_t BUILD_PART_COUNT = static_cast<int32_t>(std::size(BUILD_PARTS));
int32_t next_build_part = BUILD_PART_COUNT;

std::string edge_kind(const std::string& neighbour, const char* suffix) {
  if (neighbour == WALL_TEXT || neighbour == GREEN_TEXT || neighbour == WATER_TEXT) return neighbour + suffix;
  return std::string();
}

// One of the two edge sweeps: (dx, dy) points at the neighbour that is compared.
void mark_edges_against(int32_t dx, int32_t dy, const char* suffix) {
  for (int32_t n = 0; n < edge_placements.size(); ++n) {
    const EdgePlacement placement = edge_placements.at(n);
    const int32_t nx = placement.x + dx;
    const int32_t ny = placement.y + dy;
    if (nx < 0 || ny < 0) continue;
    const std::string neighbour = world_cell(nx, ny).tile_kind;
    if (neighbour == placement.kind) continue;
    std::string kind = edge_kind(neighbour, suffix);
    if (kind.empty()) kind = world_cell(placement.x, placement.y).tile_kind;
    retile_cell(placement.x, placement.y, kind);
  }
}

}  // namespace

void preload_play_contents() {
  preload_cell_contents({KIND_FLOOR, KIND_BLUE_FLOOR, KIND_FIXED_FLOOR, KIND_PINK_FLOOR, KIND_FIXED_PINK_FLOOR});
}

void build_first_level(const std::string& path) {
  begin_first_level(path);
  while (!level_build_step()) {
  }
}

void build_level() {
  begin_level();
  while (!level_build_step()) {
  }
}

bool level_build_step() {
  if (next_build_part >= BUILD_PART_COUNT) return true;
  BUILD_PARTS[next_build_part++]();
  return next_build_part >= BUILD_PART_COUNT;
}

void begin_first_level(const std::string& path) {
  tiles_left = 0;
  next_build_part = BUILD_PART_COUNT;
  const int32_t file = file_open_read(-1, path);
  if (file == 0) {
    report_error(ERROR_BASE_LEVEL);
    return;
  }
  file_read_line(file);
  base_width = parse_leading_int(file_read_line(file));
  base_height = parse_leading_int(file_read_line(file));
  file_read_line(file);
  file_read_line(file);
  file_close(file);

  random_seed(random_seed(level_seed()));
  // Separate statements: the draws must happen in this order.
  const int64_t w1 = random_int(base_width / 2);
  const int64_t w2 = random_int(base_width / 2);
  const int64_t h1 = random_int(base_height / 2);
  const int64_t h2 = random_int(base_height / 2);
  level_width = clamp_extent(w1 + w2);
  level_height = clamp_extent(h1 + h2);

  play_music("");
  player.motion = MOTION_IDLE;
  reset_world();
  clear_foes();
  load_player_graphic();
  build_progress = 1.0f;
  next_build_part = 0;
}

void begin_level() {
  tiles_left = 0;
  if (map_number < 1) map_number = 0;
  random_seed(level_seed());
  const int64_t w = random_int(base_width / 2) + static_cast<int64_t>(base_width / 2) + map_number;
  const int64_t h = random_int(base_height / 2) + static_cast<int64_t>(base_height / 2) + map_number;
  level_width = bounded_by_map_size(w);
  level_height = bounded_by_map_size(h);
  tiles_left = 0;

  play_music("");
  player.motion = MOTION_IDLE;
  clear_foes();
  reset_world();
  load_object_types();
  build_progress = 1.0f;
  next_build_part = 0;
}

void fill_walls(int32_t w, int32_t h) {
  for (int32_t x = 0; x <= w; ++x) {
    for (int32_t y = 0; y <= h; ++y) {
      retile_cell(x, y, WALL_TEXT);
      world_cell(x, y).in_level = 1;
      level_build_progress();
    }
  }
  // A cell size of zero would make the visible window endless; config keeps it positive.
  if (RESOLUTION > 0.0f) {
    visible_columns = std::ceil(screen_width / RESOLUTION);
    visible_rows = std::ceil(screen_height / RESOLUTION);
  } else {
    visible_columns = 0.0f;
    visible_rows = 0.0f;
  }
}

WalkResult level_walk(int32_t w, int32_t h, const std::string& kind, bool record_edges) {
  const CellText new_kind = kind;
  WalkResult result;
  int32_t x = 1;
  int32_t y = 1;
  int32_t d = 0;
  int64_t steps = static_cast<int64_t>(w) * static_cast<int64_t>(h);
  while (steps > 0) {
    int32_t dx = 0;
    int32_t dy = 0;
    if (random_int(LABSWITCH) == 0) d = random_int(3);
    switch (d) {
      case 0:
        if (x - 1 > 1) dx = -1;
        break;
      case 1:
        if (y - 1 > 1) dy = -1;
        break;
      case 2:
        if (x + 1 < w - 1) dx = 1;
        break;
      case 3:
        if (y + 1 < h - 1) dy = 1;
        break;
      default:
        break;
    }
    x += dx;
    y += dy;
    // The cell is tested even when no move was made, so (1, 1) converts on a level too small to walk.
    if (world_cell(x, y).tile_kind == WALL_TEXT) {
      retile_cell(x, y, new_kind);
      if (record_edges) {
        EdgePlacement& placement = edge_placements.add();
        placement.x = x;
        placement.y = y;
        placement.kind = kind;
      }
      if (result.converted == 0) {
        result.first_x = x;
        result.first_y = y;
      }
      ++result.converted;
    }
    --steps;
  }
  return result;
}

void carve_floor(int32_t w, int32_t h) {
  const WalkResult walk = level_walk(w, h, KIND_FLOOR, false);
  // Goodies spawned by the walk have already added to tiles_left; the division covers both.
  tiles_left += walk.converted;
  if (walk.converted > 0) {
    player.motion = MOTION_IDLE;
    player.x = static_cast<float>(walk.first_x) * RESOLUTION;
    player.y = static_cast<float>(walk.first_y) * RESOLUTION;
  }
  tiles_left = tiles_left / 4;
  time_left = std::min(tiles_left / 4, 60);
}

void grow_green(int32_t w, int32_t h) { level_walk(w, h, GREEN_TEXT, true); }

void flood_water(int32_t w, int32_t h) { level_walk(w, h, WATER_TEXT, true); }

void mark_edges() {
  if (USEEXTENDEDTOPO != 1) return;
  mark_edges_against(-1, 0, EDGE_EAST);
  mark_edges_against(0, -1, EDGE_SOUTH);
}

namespace {

constexpr int32_t BASE_LINES = 5;

// The kinds that building and play give cells (the builders here, the tile rules, the pink floor
// of the foes and the blasts of the bombs), and the edge kinds of the extended construction.
const char* const PLAY_KINDS[] = {KIND_WALL,       KIND_FLOOR,       KIND_GREEN,      KIND_WATER,
                                  KIND_BLUE_FLOOR, KIND_FIXED_FLOOR, KIND_PINK_FLOOR, KIND_FIXED_PINK_FLOOR};
const char* const EDGED_KINDS[] = {KIND_WALL, KIND_GREEN, KIND_WATER};
const char* const EDGE_SIDES[] = {EDGE_EAST, EDGE_SOUTH};

// Building halves the base size and draws below each half, so a size below 2 makes the first level
// one cell across.
void check_base_size(const std::string& line_text, int32_t line, const char* across) {
  const NumberReading reading = read_leading_int(line_text);
  const std::string single = std::string("the first level is a single cell ") + across;
  if (!reading.has_number) {
    diagnostic_error(SELFCREATEBASE, line,
                     quoted(line_text) + " is not a number: the game reads 0, so " + single +
                         " and later ones grow only with the map number");
  } else if (reading.value < 2) {
    diagnostic_error(SELFCREATEBASE, line, decimal(reading.value) + " is below 2: " + single);
  } else if (reading.value > LEVEL_EXTENT_LIMIT) {
    diagnostic_warning(SELFCREATEBASE, line,
                       decimal(reading.value) + " is above " + decimal(LEVEL_EXTENT_LIMIT) +
                           ": generated levels stop at index " + decimal(LEVEL_EXTENT_LIMIT));
  }
}

void check_base_level_file() {
  if (!check_configured_path("SELFCREATEBASE", SELFCREATEBASE, ENTRY_FILE, Severity::error,
                             "the game ends at start-up (\" Could not open:\")")) {
    return;
  }
  const int32_t file = file_open_read(-1, SELFCREATEBASE);
  std::string lines[BASE_LINES];
  int32_t count = 0;
  for (; count < BASE_LINES && file_eof(file) == 0; ++count) lines[count] = file_read_line(file);
  file_close(file);
  check_base_size(lines[1], 2, "wide");
  check_base_size(lines[2], 3, "high");
}

}  // namespace

void check_level_sources() {
  if (USESELFCREATEBASE != 1) return;
  check_base_level_file();
  const int32_t line = configuration_line("APPSTART");
  for (const char* kind : PLAY_KINDS) {
    check_tile_kind(kind, configuration_path, line, Severity::error, "cells of this kind keep what they had");
  }
  if (USEEXTENDEDTOPO == 1) {
    for (const char* kind : EDGED_KINDS) {
      for (const char* side : EDGE_SIDES) {
        check_tile_kind(std::string(kind) + side, configuration_path, line, Severity::error,
                        "edge cells keep what they had");
      }
    }
  }
  if (MAPSIZE > LEVEL_EXTENT_LIMIT) {
    diagnostic_warning(configuration_path, configuration_line("MAPSIZE"),
                       "MAPSIZE " + decimal(MAPSIZE) + " is above " + decimal(LEVEL_EXTENT_LIMIT) +
                           ": generated levels stop at index " + decimal(LEVEL_EXTENT_LIMIT));
  }
}

}  // namespace tessera
