#include "resources/catalogs.h"

#include <functional>
#include <string>

#include "core/config.h"
#include "core/diagnostics.h"
#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"

namespace tessera {

namespace {

// Hands the name of every file (not directory) of the listing to take, in listing order, until
// take answers false. Loading takes a while: window messages are taken between files, so a request
// to close is answered.
void for_each_file(const std::string& directory, const std::string& pattern,
                   const std::function<bool(const std::string& name)>& take) {
  const int32_t dir = dir_examine(-1, directory, pattern);
  if (dir == 0) return;
  while (dir_next_entry(dir) != 0) {
    window_events_when_due();
    if (dir_entry_type(dir) != ENTRY_FILE) continue;
    if (!take(dir_entry_name(dir))) break;
  }
  dir_finish(dir);
}

void load_floaters(List<Floater>& floaters, const std::string& directory, int32_t count) {
  floaters.clear();
  // count + 1 passes, but never more floaters than FLOATER_LIMIT, and no pass after one that found
  // nothing: a count from the data set cannot make start-up endless. 64 bits so that the largest
  // count cannot wrap the counter.
  for (int64_t pass = 0; pass <= count && floaters.size() < FLOATER_LIMIT; ++pass) {
    const int32_t before = floaters.size();
    for_each_file(directory, "*.png", [&floaters, &directory](const std::string& name) {
      Floater& floater = floaters.add();
      sprite_transparent_color(-1, rgb(0, 0, 0));
      const int32_t sprite = sprite_load(-1, directory + name);
      floater.sprite = sprite3d_create(-1, sprite);
      // The order of these draws is part of the catalog's meaning: y first, then x.
      floater.y = static_cast<float>(random_int(round_to_int(visible_rows * screen_height)));
      floater.x = static_cast<float>(random_int(round_to_int(visible_columns * screen_width)));
      floater.vx = static_cast<float>(random_int(5) + 1);
      floater.vy = static_cast<float>(random_int(5) + 1);
      return floaters.size() < FLOATER_LIMIT;
    });
    if (floaters.size() == before) break;
  }
}

}  // namespace

void load_tile_graphics() {
  for_each_file(TOPOGFX, "*" + GFXCODEC, [](const std::string& name) {
    TileGraphic& graphic = tile_graphics.add();
    graphic.path = TOPOGFX + name;
    graphic.file_name = name;
    graphic.sprite = sprite_load(-1, graphic.path);
    graphic.width = static_cast<float>(sprite_width(graphic.sprite));
    graphic.height = static_cast<float>(sprite_height(graphic.sprite));
    return true;
  });
}

int32_t tile_graphic_quad(int32_t graphic) {
  if (graphic < 1 || graphic > tile_graphics.size()) return 0;
  TileGraphic& tile = tile_graphics.at(graphic - 1);
  const int32_t width = round_to_int(cell_width);
  const int32_t height = round_to_int(cell_height);
  if (sprite3d_exists(tile.quad) == 0) {
    tile.quad = sprite3d_create(-1, tile.sprite);
    tile.quad_width = -1;
  }
  // The cell size is fixed for a run but for the level picture, which picks its own.
  if (tile.quad_width != width || tile.quad_height != height) {
    sprite3d_zoom(tile.quad, width, height);
    tile.quad_width = width;
    tile.quad_height = height;
  }
  return tile.quad;
}

void load_sound_effects() {
  sound_effects.clear();
  for_each_file(SOUNDFXPATH, "*.ogg", [](const std::string& name) {
    SoundEffect& effect = sound_effects.add();
    effect.path = SOUNDFXPATH + name;
    effect.file_name = name;
    effect.sound = sound_load(-1, effect.path);
    effect.loaded = effect.sound != 0 ? 1 : 0;
    return true;
  });
}

void load_music_tracks() {
  music_tracks.clear();
  for_each_file(INGAMEMUSIC, "*.ogg", [](const std::string& name) {
    MusicTrack& track = music_tracks.add();
    track.path = INGAMEMUSIC + name;
    track.file_name = name;
    return true;
  });
}

void load_world_floaters() { load_floaters(world_floaters, EGFXPATH, EGFXMAX); }

void load_title_floaters() { load_floaters(title_floaters, SCREGFXPATH, SCREGFXMAX); }

void load_player_graphic() {
  // A second build of a first level must not leave the previous figure behind.
  if (sprite3d_exists(player.player_sprite) != 0) sprite3d_free(player.player_sprite);
  if (sprite_exists(player.player_image) != 0) sprite_free(player.player_image);
  player.player_sprite = 0;
  player.angle = 0;  // a new figure starts unturned
  sprite_transparent_color(-1, rgb(255, 255, 255));
  player.player_image = sprite_load(-1, CURSOR);
  if (sprite_exists(player.player_image) != 0) player.player_sprite = sprite3d_create(-1, player.player_image);
}

void place_player(int32_t x, int32_t y) {
  player.x = static_cast<float>(x) * cell_width;
  player.y = static_cast<float>(y) * cell_height;
}

void reset_player_motion() { player.motion = MOTION_IDLE; }

namespace {

const char* const NO_IMAGE = "does not decode as an image";

void check_tile_graphics() {
  if (!check_configured_path("TOPOGFX", TOPOGFX, ENTRY_DIRECTORY, Severity::error, "no cell has a graphic")) return;
  for (const TileGraphic& graphic : tile_graphics.items) {
    if (graphic.sprite == 0) diagnostic_error(graphic.path, 0, std::string(NO_IMAGE) + ": cells that name it are not drawn");
  }
}

void check_sound_effects() {
  if (!check_configured_path("SOUNDFXPATH", SOUNDFXPATH, ENTRY_DIRECTORY, Severity::error, "no sound plays")) return;
  for (const SoundEffect& effect : sound_effects.items) {
    if (effect.loaded == 0) diagnostic_error(effect.path, 0, "does not decode as OGG Vorbis: it never plays");
  }
}

// Tracks are streamed while they play, so opening each once is what the game would do.
void check_music_tracks() {
  if (!check_configured_path("INGAMEMUSIC", INGAMEMUSIC, ENTRY_DIRECTORY, Severity::warning, "no music plays")) return;
  for (const MusicTrack& track : music_tracks.items) {
    const int32_t sound = sound_load_streamed(-1, track.path);
    if (sound == 0) diagnostic_error(track.path, 0, "does not decode as OGG Vorbis: when it is chosen, no music plays");
    sound_free(sound);
  }
}

void check_floaters(const char* key, const std::string& directory) {
  if (!check_configured_path(key, directory, ENTRY_DIRECTORY, Severity::warning, "no glowing sprites float there")) {
    return;
  }
  for_each_file(directory, "*.png", [&directory](const std::string& name) {
    sprite_transparent_color(-1, rgb(0, 0, 0));
    const int32_t sprite = sprite_load(-1, directory + name);
    if (sprite == 0) diagnostic_error(directory + name, 0, std::string(NO_IMAGE) + ": it never floats");
    sprite_free(sprite);
    return true;
  });
}

void check_player_image() {
  if (!check_configured_path("CURSOR", CURSOR, ENTRY_FILE, Severity::error, "the player is invisible")) return;
  if (player.player_image == 0) {
    diagnostic_error(CURSOR, 0, std::string(NO_IMAGE) + ": the player is invisible");
    return;
  }
  const int32_t width = sprite_width(player.player_image);
  const int32_t height = sprite_height(player.player_image);
  if (width != height) {
    diagnostic_error(CURSOR, 0,
                     "is " + decimal(width) + " x " + decimal(height) +
                         " pixels: the figure turns all the time, and only a square image keeps its shape while turning");
  }
}

}  // namespace

void check_catalogs() {
  check_tile_graphics();
  check_sound_effects();
  check_music_tracks();
  check_floaters("EGFXPATH", EGFXPATH);
  check_floaters("SCREGFXPATH", SCREGFXPATH);
  check_player_image();
}

}  // namespace tessera
