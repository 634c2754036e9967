// The asset catalogs filled from directory listings, and the player figure.
#pragma once

#include <cstdint>

#include "core/config.h"

namespace tessera {

void load_tile_graphics();    // TOPOGFX, "*" + GFXCODEC
// The quad that draws a cell's tile_graphic (1-based; 0 for none) at the cell size, made at its
// first use and shared by every cell that shows the graphic.
int32_t tile_graphic_quad(int32_t graphic);
void load_sound_effects();    // SOUNDFXPATH, "*.ogg"
void load_music_tracks();     // INGAMEMUSIC, "*.ogg" (loaded only when played)
// EGFXPATH / SCREGFXPATH, "*.png", EGFXMAX / SCREGFXMAX + 1 passes, black key; the passes stop
// at FLOATER_LIMIT floaters and after a pass that found no file.
void load_world_floaters();
void load_title_floaters();
void load_player_graphic();   // CURSOR with the white key
void place_player(int32_t x, int32_t y);  // pixel position of cell (x, y)
void reset_player_motion();

// The checker, after load_tile_graphics, load_sound_effects, load_music_tracks and
// load_player_graphic: the catalogs' directories, every image and sound in them that does not
// decode (the floaters are loaded once each here), and the player image, which turns while the
// game runs and so must be square.
void check_catalogs();

}  // namespace tessera
