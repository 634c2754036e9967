// A frame of play in two halves: world_step changes the game and draws nothing; draw_world_frame
// draws the world as the step left it and changes nothing of the game.
//
// Order inside world_step: floaters move, the tile rules and the pink lock run for each visible
// cell with alpha > 0 and in_level 1 in the walk's order, objects' blocked flags are recomputed,
// each foe turns and takes its step, the player's cell is tested for pick-ups and painted, the
// figure turns, the HUD's counters move, and a map without tiles left is completed. Random numbers
// are drawn in that order.
// The visible window: columns round(scroll_x) .. round(scroll_x) + round(visible_columns) and rows
// round(scroll_y) .. round(scroll_y) + round(visible_rows) - 1; the rules run only there.
#pragma once

#include <cstdint>

#include "model/world_model.h"

namespace tessera {

// The world's rules for one frame of play (whatever USESPRITE3D says), then, when tiles_left is
// below 1, level_start_score = score and complete_map.
void world_step();
// The world as it stands (when USESPRITE3D is 1; any other value draws no world), the full-screen
// zoom pass and, with `hud`, the HUD.
void draw_world_frame(bool hud);
// Moves one floater list (random draws) and draws one; glow 1 draws additively (blend 2, 5).
void move_floaters(List<Floater>& list);
void draw_floaters(List<Floater>& list, int32_t glow);
// The objects' blocked flags of the visible cells (scroll clamped at 0 first).
void update_blocked();
// Each foe turns and takes its step, in list order.
void step_foes();
// Draws foe n where it stands, with its blend mode; its position is multiplied by scale (play: 1).
void draw_foe(int32_t n, float scale);
// The whole level as it stands, into one frame from the screen's top-left corner: every cell,
// the objects in them, the foes and the player, drawn as play draws them but without running any
// rule, foe step or turn. The screen should be (level_width + 1) x (level_height + 1) cells of
// RESOLUTION pixels. A level built at cells of R pixels and drawn at cells of RESOLUTION gives
// scale = RESOLUTION / R: objects, foes and the player are sized and placed by it like the tiles.
void draw_level_picture(float scale);
// Pick-ups on the player's cell, then its painting.
void player_cell_step();
// Collects every object with collision in the cell, when the cell is blocked.
void pickup_test(int32_t x, int32_t y);
// Credits the object in child slot `slot` of the cell (sound, bomb, score, time) and removes it
// when it dies on collision; a bomb stays while three are held.
void collect_object(int32_t x, int32_t y, int32_t slot);
// map_number + 1 and time_left 0; the frame loop then builds the next map.
void complete_map();

}  // namespace tessera
