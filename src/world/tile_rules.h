// The painting rules of the floor: the player paints, painted blocks fix and count off tiles_left,
// and in the "HARDCORE" mode a player who walls itself in loses.
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

// The four shapes of the fixing rule, as offsets of the three cells beside (x, y), in the order
// they are tested.
inline constexpr int32_t FIXING_SHAPES[4][3][2] = {
    {{-1, 0}, {-1, 1}, {0, 1}},    // the square to the lower left
    {{1, 0}, {1, 1}, {0, 1}},      // the square to the lower right
    {{0, -1}, {1, -1}, {-1, -1}},  // the row above
    {{0, 1}, {1, 1}, {-1, 1}},     // the row below
};

// Painted for the fixing rule: "LAB_BLUE_FLOOR" or "LAB_FIXED_FLOOR".
bool is_painted_kind(const std::string& kind);

// Points and time from data files are added without overflowing: the sum stops at the int32 range.
int32_t add_saturating(int32_t total, int32_t amount);

// The cell under the player: floor, green and pink become "LAB_BLUE_FLOOR" with the step sound.
// In "HARDCORE" mode (exact text) painted floor and green also become solid and the trap test runs.
void paint_tile(int32_t x, int32_t y);
// The fixing rule for one visible cell (column and row 0 are examined as 1): at the first of four
// shapes whose cells are all painted, a blue cell becomes "LAB_FIXED_FLOOR", earns its value1 and
// takes one off tiles_left.
void apply_tile_rules(int32_t x, int32_t y);
// When all four neighbours are "LAB_BLUE_FLOOR" or "LAB_WALL", player_trapped becomes 1: the frame
// runs on, and the frame loop then ends the game without the game-over sequence.
void check_trapped(int32_t x, int32_t y);

}  // namespace tessera
