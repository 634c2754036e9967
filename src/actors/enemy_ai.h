// Enemies wander the labyrinth painting floor pink, and pink blocks lock.
//
// The foe procedures act on the current element of foes (draw_foes selects it). A chance n
// succeeds when random_int(n) is 0; every draw belongs to the level's random sequence.
#pragma once

#include <cstdint>

namespace tessera {

// The per-frame decision of the current foe: nothing unless DDMOVE is at least 0 and its chance
// succeeds; then AI levels 2, 3 and 4 stand still and every other level wanders.
void foe_think(int8_t ai_level);
// With the DCHANGEDIRECTION chance, turn: try right, left, down, up (each with its own
// DRANDOMMOVE chance and a free neighbour) and step the first that succeeds; otherwise go on.
void foe_wander();
// One try (DRANDOMMOVE chance, free neighbour) to step on in the current direction.
void foe_go_on();
// One sub-step of cell_width / DVELOX (cell_height / DVELOY) pixels, rounded on its own; paints
// the cell under the new position and plays the step sound. A divisor of 0 keeps the axis still.
void foe_substep_x(int32_t sign);
void foe_substep_y(int32_t sign);
// The cell at world pixel (px, py): floor, green and blue floor become "LAB_PINK_FLOOR".
void paint_cell(int32_t px, int32_t py);
// The lock rule for one visible cell (column and row 0 are examined as 1). The marks of the four
// tests are kept from one test to the next, so a block can complete across two tests.
void lock_pink_cell(int32_t c, int32_t r);

}  // namespace tessera
