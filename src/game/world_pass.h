// One frame of play: the frame driver and the world pass inside it. The visible window of cells is
// walked, its rules run and its tiles, objects, foes and the player are drawn; then the
// map-completion test.
//
// Order inside draw_world_frame: clear, floaters, tile pass (tile rules, pink lock, tile draw per
// visible cell with alpha > 0 and in_level 1), objects, foes (each foe's step first), the player's
// cell (pick-ups, painting, the figure), then the banner, the zoom pass and the HUD.
// The visible window: columns round(scroll_x) .. round(scroll_x) + round(visible_columns) and rows
// round(scroll_y) .. round(scroll_y) + round(visible_rows) - 1; the rules run only there.
#pragma once

#include <cstdint>

#include "model/world_model.h"

namespace tessera {

// One frame of play: a Sprite3D batch around world_step, then the clock, window events, the flip,
// and the game-over sequence when game_mode is GAME_MODE_GAME_OVER.
void frame_driver();

// Called by the frame driver between sprite3d_begin and sprite3d_end: the world frame when
// USESPRITE3D is 1, then, when tiles_left is below 1, level_start_score = score and complete_map.
void world_step();
void draw_world_frame();
// Moves and draws one floater list; glow 1 draws additively (blend 2, 5).
void draw_floaters(List<Floater>& list, int32_t glow);
// Draws the objects of the visible cells and recomputes their blocked flags (scroll clamped at 0).
void draw_objects();
// Runs each foe's step and draws it, in list order.
void draw_foes();
// Draws foe n where it stands, with its blend mode.
void draw_foe(int32_t n);
// The whole level as it stands, into one frame from the screen's top-left corner: every cell,
// the objects in them, the foes and the player, drawn as play draws them but without running any
// rule, foe step or turn. The screen should be (level_width + 1) x (level_height + 1) cells.
void draw_level_picture();
// Pick-ups on the player's cell, its painting, and the player figure (turning a degree a frame).
void player_cell_step();
// Collects every object with collision in the cell, when the cell is blocked.
void pickup_test(int32_t x, int32_t y);
// Credits the object in child slot `slot` of the cell (sound, bomb, score, time) and removes it
// when it dies on collision; a bomb stays while three are held.
void collect_object(int32_t x, int32_t y, int32_t slot);
// map_number + 1 and time_left 0; the frame loop then builds the next map.
void complete_map();

}  // namespace tessera
