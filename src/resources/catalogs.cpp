#include "resources/catalogs.h"

#include <functional>
#include <string>

#include "core/config.h"
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
      const int32_t sprite = sprite_load(-1, directory + name, SPRITE_TEXTURE);
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
    graphic.sprite = sprite_load(-1, graphic.path, SPRITE_TEXTURE);
    graphic.width = static_cast<float>(sprite_width(graphic.sprite));
    graphic.height = static_cast<float>(sprite_height(graphic.sprite));
    return true;
  });
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
  sprite_transparent_color(-1, rgb(255, 255, 255));
  player.player_image = sprite_load(-1, CURSOR, SPRITE_TEXTURE);
  if (sprite_exists(player.player_image) != 0) player.player_sprite = sprite3d_create(-1, player.player_image);
}

void place_player(int32_t x, int32_t y) {
  player.x = static_cast<float>(x) * cell_width;
  player.y = static_cast<float>(y) * cell_height;
}

void reset_player_motion() { player.motion = MOTION_IDLE; }

}  // namespace tessera
