// The game's vocabulary: codes and names that several modules write or compare, each given once.
// Texts are compared exactly; tile kinds are also the names of their content files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessera {

// ---- Tile kinds --------------------------------------------------------------------------------

constexpr const char* KIND_WALL = "LAB_WALL";
constexpr const char* KIND_FLOOR = "LAB_FLOOR";
constexpr const char* KIND_GREEN = "LAB_GREEN";
constexpr const char* KIND_WATER = "LAB_WATER";
constexpr const char* KIND_BLUE_FLOOR = "LAB_BLUE_FLOOR";    // painted by the player
constexpr const char* KIND_FIXED_FLOOR = "LAB_FIXED_FLOOR";  // blue that a painted block fixed
constexpr const char* KIND_PINK_FLOOR = "LAB_PINK_FLOOR";    // painted by a foe
constexpr const char* KIND_FIXED_PINK_FLOOR = "LAB_FIXED_PINK_FLOOR";

// The edge kinds of the extended construction: wall, green or water followed by the side where
// the cell meets another kind ("LAB_WALL_E").
constexpr const char* EDGE_EAST = "_E";
constexpr const char* EDGE_SOUTH = "_S";

// ---- Cells and objects -------------------------------------------------------------------------

// A cell's use_collision as the game reads it: free to walk, solid (any other value), or solid
// and stopping a bomb's blast.
constexpr int8_t COLLISION_NONE = 0;
constexpr int8_t COLLISION_SOLID = 1;
constexpr int8_t COLLISION_BLAST_PROOF = 2;

// A CHILDn or DGFXNAME value that names nothing.
constexpr const char* NO_NAME = "#";
// The DGFXNAME kept for a type that names nothing; no cell's child ever spawns it.
constexpr const char* NO_OBJECT_NAME = "NOPE";
// The GFXNAME of a content file that gives none.
constexpr const char* DUMMY_GRAPHIC = "dummy.png";

// DHOTSPOT anchors; any other text gives the image no offset.
constexpr const char* HOTSPOT_CENTER = "CENTER";
constexpr const char* HOTSPOT_RIGHT = "RIGHT";
constexpr const char* HOTSPOT_BOTTOM_LEFT = "BOTTOMLEFT";
constexpr const char* HOTSPOT_BOTTOM_RIGHT = "BOTTOMRIGHT";

// The DAILEVEL values, FIRST to LAST, of foes that stand still.
constexpr int8_t AI_LEVEL_STILL_FIRST = 2;
constexpr int8_t AI_LEVEL_STILL_LAST = 4;

// ---- Bombs -------------------------------------------------------------------------------------

// The child name of a bomb lying in a cell, the sign of each bomb held, and how many can be held.
constexpr const char* BOMB_CHILD = "BOMB";
constexpr char BOMB_SIGN = '&';
constexpr size_t BOMBS_HELD_MAX = 3;

}  // namespace tessera
