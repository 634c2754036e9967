// Tools for people who make data sets, run on the engine itself so that they can never disagree
// with the game: a checker of a whole data set and a picture of a whole level. Both work on the
// start directory that is current, headless (no window shows, no sound device opens).
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

// Exit statuses of the tools.
constexpr int32_t TOOL_CLEAN = 0;       // check: no error (warnings may be printed); picture written
constexpr int32_t TOOL_FAILED = 1;      // check: an error; picture: nothing written
constexpr int32_t TOOL_UNREADABLE = 2;  // the directory holds no readable DATA\ini.txt

// zorvane --check: loads the data set as start-up does and prints every problem found on standard
// output, one "path:line: error|warning: message" line each, sorted by path and line (line 0 is
// the file as a whole), and a count on standard error. Returns the exit status.
int32_t run_data_check();

// The largest picture of a level: no side above PICTURE_SIDE_LIMIT pixels, and no more pixels in
// all than a square of PICTURE_AREA_SIDE (256 MB of back buffer). A 256 x 256 level fits at 32
// pixels a cell.
constexpr int32_t PICTURE_SIDE_LIMIT = 16384;
constexpr int32_t PICTURE_AREA_SIDE = 8192;

struct LevelPictureRequest {
  int32_t map = 1;       // the map number; map mode always draws the hand-made map
  bool rebuilt = false;  // map 1 as a new game builds it, not as start-up does
  int32_t cell = 0;      // pixels a cell; 0: RESOLUTION of the data set
  std::string out;       // the PNG file written
};

// zorvane --render-level: builds the map as play does (map 1 first, as start-up, then the map
// asked for, as Page Up would reach it) and draws every cell, object and foe and the player at
// their start into one PNG with the engine's own drawing. A picture larger than the limits above
// is refused (TOOL_FAILED), naming the largest cell size that fits. The same data set and request
// always give the same bytes. Returns the exit status.
int32_t run_level_picture(const LevelPictureRequest& request);

}  // namespace tessera
