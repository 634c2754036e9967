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

// The HUD's scrolling credit line (one line, ends in "|"), naming the bomb's bound key.
std::string hud_credit_line();

// The map banner and the game-over sequence are screens of the frame loop that last
// sweep_frames() frames, ceil((W - 1) / 20): a big text over the world that drifts left while its
// letter spacing grows. These draw the text of frame n (0 first) and change nothing.
int32_t sweep_frames();
void draw_map_banner(int32_t frame);
void draw_game_over(int32_t frame);

// Grabs the world drawn so far and redraws it stretched to the whole screen (FZ below 1 magnifies
// the top-left part). smooth 0 keeps point filtering, any other value filters bilinearly. At FZ 1
// with smooth 0 the world is left as drawn (no grab).
void fullscreen_zoom_pass(uint8_t smooth);

// Every text the HUD, the map banner and the game-over sequence draw, their numbers as all ten
// digits and a minus sign, the bombs held as "&" (the player's name comes from the machine and is
// left out).
std::vector<std::string> overlay_texts();

// The HUD's counters, once a frame of play: score counts up towards score_target, tiles_left is
// clamped at 0, and the credit line scrolls by 2 pixels (back to 0 after round(2 * W)).
void hud_step();
// Draws the HUD texts as the counters stand.
void draw_hud();

}  // namespace tessera
