// A small complete data set for level and play tests (and the level benchmark): content files for
// every tile kind, 8x8 tile and object images, object definitions with a goody, a bomb and a foe,
// and the step, fix, lock and blast sounds. The configuration globals are pointed at it and a
// small screen is opened without frame pacing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/cell_text.h"
#include "model/state_digest.h"
#include "support/test_files.h"

namespace levelfixture {

constexpr int32_t SCREEN_W = 320;
constexpr int32_t SCREEN_H = 240;
constexpr float CELL = 32.0f;
constexpr int32_t FIXED_VALUE = 10;  // VALUE1 of "LAB_FIXED_FLOOR"

struct Options {
  bool goodies = true;   // "LAB_FLOOR" spawns a goody (DISGOODY) and bombs as children
  bool foes = true;      // "LAB_FLOOR" admits foes and a foe type exists
  bool sounds = true;    // write and load the sound effects
  int32_t screen_w = SCREEN_W;  // the screen opened for the level
  int32_t screen_h = SCREEN_H;
};
// Tiles only: no objects, no foes, no sounds.
constexpr Options BARE{false, false, false};

struct LevelData {
  testfiles::TempDir dir;
  explicit LevelData(const Options& options = Options{});
  // (Re)writes the content file of one tile kind: keys and values apart by blanks, one a line.
  void write_content(const std::string& kind, const std::string& pairs) const;
  // How often the sound effect of a file name loaded from the data set has been started.
  static int32_t plays(const std::string& file_name);
};

// An empty level matrix (reset_world) with every cell of 0..w x 0..h in the level and re-tiled as
// `kind` (alpha and collision from its content file).
void fill_level(int32_t w, int32_t h, const std::string& kind);
// Sets a cell's kind through re-tiling, as the game does.
void set_kind(int32_t x, int32_t y, const std::string& kind);

// Cells of the level whose kind is `kind`.
int32_t count_kind(const std::string& kind);

// Levels as pictures, one character a cell, row 0 first: '#' wall, '.' floor, 'b' blue, 'F' fixed,
// 'g' green, '~' water, 'p' pink, 'P' fixed pink ('?' reads back any other kind).
void draw_board(const std::vector<std::string>& rows);
std::vector<std::string> board();

using Hash = tessera::StateHash;
using tessera::level_digest;

}  // namespace levelfixture
