// Screen texts drawn with the bitmap font as Sprite3Ds. Draws only: the frame loop presents the
// frame.
//
// The text pen persists between calls (the whole run; 0 at start) and is reset only by "|", so every
// text of the game ends in "|". Inside a text:
//   "|"   pen to (0, 0);
//   "\"   a new line: pen x to 0, pen y down by 1.2 heights of the glyph "A" times the scale;
//   " "   pen x right by the width of the glyph "I" (not scaled, no spacing).
// Any other character with a glyph is drawn at (x + pen x, y + pen y) and moves the pen right by
// its width * scale * spacing; a character without a glyph is skipped and takes no room.
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

extern float text_pen_x;
extern float text_pen_y;

// Sets the blend mode (5, 6), which stays set, then draws every character of the text in order.
// x, y in pixels; rotation in degrees (added to the glyph's accumulated angle, which the glyph's
// Sprite3D keeps, so a rotation passed every frame spins it); alpha 0..255; a negative scale is 1.
void draw_screen_text(const std::string& text, float x, float y, float scale, float rotation,
                      int32_t alpha, float spacing);
// One character (code 0..255; other codes draw nothing) with the pen rules above.
void draw_glyph(int32_t code, float x, float y, float scale, float rotation, int32_t alpha,
                float spacing);

}  // namespace tessera
