// The default data set loaded by the game's own loaders: every name one file gives to another
// must resolve in the catalogs the game builds, and the first map must come out playable.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "core/config.h"
#include "game/default_game.h"
#include "game/screens.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "presentation/overlays.h"
#include "resources/cell_content.h"
#include "world/level_builder.h"

using namespace tessera;
using defaultgame::count_kind;
using defaultgame::count_pickups;
using defaultgame::DefaultGame;

namespace {

bool sound_loaded(const std::string& name) {
  return std::any_of(sound_effects.items.begin(), sound_effects.items.end(), [&](const SoundEffect& s) {
    return s.file_name == name && s.loaded == 1 && s.sound != 0;
  });
}

bool has_tile_graphic(const std::string& name) {
  return std::any_of(tile_graphics.items.begin(), tile_graphics.items.end(),
                     [&](const TileGraphic& g) { return g.file_name == name && g.sprite != 0; });
}

bool has_object_type(const std::string& name) {
  return std::any_of(object_types.items.begin(), object_types.items.end(),
                     [&](const ObjectType& t) { return t.DGFXNAME == name && t.type_sprite != 0; });
}

// The tile kinds the data set has content for: every file of the content directory.
std::set<std::string> content_kinds() {
  std::string dir = start_directory + RGBCODEPATH + APPSTART;
  std::replace(dir.begin(), dir.end(), '\\', '/');
  std::set<std::string> kinds;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.is_regular_file()) kinds.insert(entry.path().filename().string());
  }
  return kinds;
}

}  // namespace

TEST(DefaultLoad, EveryNameTheDataUsesResolvesInTheLoadedCatalogs) {
  DefaultGame game(1920, 1080);

  const std::set<std::string> kinds = content_kinds();
  for (const char* kind : {"LAB_WALL", "LAB_FLOOR", "LAB_GREEN", "LAB_WATER", "LAB_BLUE_FLOOR",
                           "LAB_FIXED_FLOOR", "LAB_PINK_FLOOR", "LAB_FIXED_PINK_FLOOR"}) {
    EXPECT_TRUE(kinds.count(kind)) << kind;
  }
  // Each kind is applied to a fresh cell exactly as the game re-tiles one.
  for (const std::string& kind : kinds) {
    reset_world();
    retile_cell(1, 1, kind);
    const WorldCell& cell = world_cell(1, 1);
    EXPECT_TRUE(has_tile_graphic(cell.gfx_name)) << kind << " shows " << cell.gfx_name;
    EXPECT_NE(cell.tile_sprite, 0) << kind;
    EXPECT_GT(cell.alpha, 0) << kind << " would be neither drawn nor played";
    for (int32_t slot = 0; slot <= cell.last_child_name && slot < CHILD_SLOTS; ++slot) {
      const std::string& child = cell.child_name[static_cast<size_t>(slot)];
      if (child != "#") {
        EXPECT_TRUE(has_object_type(child)) << kind << " child " << child;
      }
    }
  }

  int32_t enemy_types = 0;
  for (const ObjectType& type : object_types.items) {
    EXPECT_NE(type.type_sprite, 0) << type.file_name;
    if (type.DUSECOUNTSOUND != 0) {
      EXPECT_TRUE(sound_loaded(type.DCOUNTSOUND)) << type.file_name;
    }
    enemy_types += type.DISENEMY != 0 ? 1 : 0;
  }
  EXPECT_GE(enemy_types, 2);

  for (const std::string* sound : {&DEFTILESOUND, &FIXEDTILESOUND, &PINKTILEFIXEDSOUND, &EXPLOSIONSOUND,
                                   &BOMBPICKUPSOUND, &TIMERSOUND, &ENDTIMERSOUND, &VOXTAMBER1, &VOXTAMBER}) {
    EXPECT_TRUE(sound_loaded(*sound)) << *sound;
  }
  EXPECT_TRUE(std::any_of(music_tracks.items.begin(), music_tracks.items.end(),
                          [](const MusicTrack& t) { return t.file_name == MENUMUSIC; }))
      << MENUMUSIC;
  EXPECT_GE(music_tracks.size(), 2) << "a level picks a random track";
  EXPECT_FALSE(world_floaters.empty());
  EXPECT_FALSE(title_floaters.empty());
  EXPECT_NE(player.player_image, 0);

  std::string font_line;
  {
    std::string path = FONTSYSTEM;
    std::replace(path.begin(), path.end(), '\\', '/');
    const int32_t file = file_open_read(-1, path);
    ASSERT_NE(file, 0) << path;
    font_line = file_read_line(file);
    file_close(file);
  }
  ASSERT_FALSE(font_line.empty());
  for (const unsigned char c : font_line) {
    EXPECT_NE(glyphs[c].sprite3d, 0) << "character " << static_cast<int>(c);
  }
  for (const unsigned char c : std::string("TIMESCORMAPLF0123456789&\xF6")) {
    EXPECT_NE(glyphs[c].sprite3d, 0) << "the HUD needs character " << static_cast<int>(c);
  }
  // The credit line scrolls in from the right and starts again after 2 W pixels: it must have
  // passed the left edge by then, or its end is never read. Glyphs grow with the width, so one
  // width covers every screen.
  float credit_width = 0.0f;
  for (const unsigned char c : hud_credit_line) {
    if (c == ' ') {
      credit_width += glyphs['I'].width;
    } else if (c != '|') {
      credit_width += glyphs[c].width * 0.8f;
      EXPECT_NE(glyphs[c].sprite3d, 0) << "credit line character " << c;
    }
  }
  EXPECT_LE(credit_width, screen_width);

  // Both intro pictures (the intro picks one at random) and the title picture.
  for (const char digit : {'0', '1'}) {
    std::string intro = LOADSCREEN;
    ASSERT_NE(intro.find('#'), std::string::npos);
    intro[intro.find('#')] = digit;
    const int32_t picture = sprite_load(-1, intro, SPRITE_TEXTURE);
    EXPECT_NE(picture, 0) << intro;
    if (picture != 0) sprite_free(picture);
  }
  show_title_screen(1);
  EXPECT_NE(screen_picture, 0) << LOADINTROSCREEN;
  EXPECT_NE(screen_picture_3d, 0);
}

TEST(DefaultLoad, MapOneBuildsWithFloorPickUpsAndFoesBothWays) {
  DefaultGame game(1920, 1080);
  // The first game's map 1 comes from the base file; after a game over it is rebuilt.
  for (const bool rebuilt : {false, true}) {
    SCOPED_TRACE(rebuilt ? "rebuilt map 1" : "first map 1");
    if (rebuilt) {
      map_number = 1;
      build_level();
    }
    EXPECT_EQ(map_number, 1);
    // Both fill the whole 1920 x 1080 screen with labyrinth.
    EXPECT_GE(static_cast<float>(level_width + 1) * cell_width, screen_width);
    EXPECT_GE(static_cast<float>(level_height + 1) * cell_height, screen_height);
    EXPECT_LE(level_width, LEVEL_EXTENT_LIMIT);
    EXPECT_GT(count_kind("LAB_FLOOR"), 50);
    EXPECT_GT(count_pickups(), 0);
    EXPECT_GT(foes.size(), 0);
    EXPECT_LE(foes.size(), MAXFOE);
    EXPECT_GT(tiles_left, 0);
    EXPECT_GT(time_left, 0);
    // The player starts on the floor, inside the screen, and every foe on a walkable cell.
    const int32_t px = static_cast<int32_t>(player.x / cell_width) + static_cast<int32_t>(scroll_x);
    const int32_t py = static_cast<int32_t>(player.y / cell_height) + static_cast<int32_t>(scroll_y);
    EXPECT_EQ(world_cell(px, py).use_collision, 0);
    EXPECT_LT(player.x, screen_width);
    EXPECT_LT(player.y, screen_height);
    for (const Foe& foe : foes.items) {
      const int32_t fx = static_cast<int32_t>(foe.x / cell_width);
      const int32_t fy = static_cast<int32_t>(foe.y / cell_height);
      EXPECT_EQ(world_cell(fx, fy).use_collision, 0) << fx << "," << fy;
      EXPECT_NE(foe.instance_sprite, 0);
      EXPECT_NE(foe.DVELOX, 0);
    }
  }
}
