// The bitmap font: one image per character code, each turned into a Sprite3D.
// Lifetime: the whole run. Built once at start-up by font_init (after the configuration is read
// and font_zoom is set); drawing never touches files.
//
// Character codes are bytes 0..255 (Latin-1): the definition file and every screen text are byte
// strings. Index `glyphs` with an unsigned char, never with a plain (possibly negative) char.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

struct Glyph {
  float height = 0.0f;   // drawn height at scale 1: image height * font_zoom
  float width = 0.0f;    // drawn width at scale 1: image width * font_zoom
  int32_t sprite = 0;    // the loaded image; 0 = none
  int32_t sprite3d = 0;  // 0 = the character has no glyph: it is neither drawn nor takes room
};

constexpr int32_t GLYPH_COUNT = 256;

extern std::array<Glyph, GLYPH_COUNT> glyphs;
// Screen scale of the glyphs; 1.0 until font_zoom_set runs.
extern float font_zoom;

// font_zoom = screen_width / RESBASEW. A RESBASEW of 0 or below would give an infinite or negative
// scale (invisible or mirrored text), so the scale stays 1.0 then.
void font_zoom_set(float screen_width);

// The image name of a character: the character itself, except the icon and punctuation names
// ("." POINT, "&" BOMB, 0xF6/0xD6 NOBOMB, ...) and lower case as "_a" .. "_z".
std::string glyph_image_name(unsigned char code);

// font_free, then font_load with FONTSYSTEM.
void font_init();
// Releases every glyph's Sprite3D and sprite and clears the table.
void font_free();
// Reads the first line of the definition file and loads FONTPATH + "\" + name + ".png" for each
// byte of it, in order (a byte listed twice is loaded twice, the last load wins). A missing file
// leaves the table as it was; a missing image leaves that character without a glyph.
void font_load(const std::string& path);

// The checker, after font_init: the FONTSYSTEM file and the FONTPATH directory, every character
// the file lists (its image missing, not decoding, or found only in another letter case; listed
// twice), and every character of texts_drawn without a glyph (an error: the letter is missing on
// screen). Characters that only texts_drawn shows make a missing image an error, others a warning.
// Messages quote a text as the player sees it: without pen controls, and with "<number>" where the
// text holds TEXT_NUMBER.
void check_font(const std::vector<std::string>& texts_drawn);
// Stands for a number in the texts given to check_font: the game may draw any of its characters.
constexpr const char* TEXT_NUMBER = "-0123456789";

}  // namespace tessera
