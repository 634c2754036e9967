// Everything drawn over the world each frame (map banner, full-screen zoom pass, HUD) and the
// game-over sequence.
//
// W and H are screen_width and screen_height, FZ is FULLSCREENZOOM. "Grabbing the world image"
// always takes the back-buffer rectangle at (1, 1) of round(W * FZ - 1) x round(H * FZ - 1) pixels
// and makes grab_sprite3d from it. A failed grab leaves a handle of 0; the
// image is then simply not drawn while the texts still are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

// The last grabbed screen image, shared by the three users below; each frees both before grabbing
// anew, so at most one grab is alive. Whole run; 0 at start.
extern int32_t grab_sprite;
extern int32_t grab_sprite3d;
// Horizontal scroll of the HUD's credit line in pixels; runs on across maps and games.
extern int32_t hud_scroll_offset;

// The HUD's scrolling credit line (one line, ends in "|").
extern const std::string hud_credit_line;

// The banner of a freshly built map, when banner_due is 1: ceil((W - 1) / 20) frames of its own,
// then banner_due is 0. Called inside the frame driver's open batch; batches do not nest, so it
// ends that batch before its own frames and opens it again before returning. The argument has no
// effect. Window events are processed in its frames (input is not acted on).
void show_map_banner(int32_t unused);

// Grabs the world drawn so far and redraws it stretched to the whole screen (FZ below 1 magnifies
// the top-left part). smooth 0 keeps point filtering, any other value filters bilinearly. At FZ 1
// with smooth 0 the world is left as drawn (no grab). Ends with process_window_events.
void fullscreen_zoom_pass(uint8_t smooth);

// Every text the HUD, the map banner and the game-over sequence draw, their numbers as all ten
// digits and a minus sign, the bombs held as "&" (the player's name comes from the machine and is
// left out).
std::vector<std::string> overlay_texts();

// Counts score up towards score_target, clamps tiles_left at 0, draws the HUD texts and scrolls the
// credit line by 2 pixels (back to 0 after round(2 * W)).
void draw_hud();

// Called outside any batch, after the last frame of play was presented: ceil((W - 1) / 20) frames of
// "GAME OVER" over that frame, then after_game_over. smooth is not used. No HUD, no clock; window
// events are processed (input is not acted on).
void game_over_sequence(uint8_t smooth);

}  // namespace tessera
