#include "world/level_fixture.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "resources/catalogs.h"
#include "resources/cell_content.h"
#include "resources/object_types.h"

namespace levelfixture {

using namespace tessera;

// "KEY value KEY value" as the lines of a content or object file.
static void write_words(const std::string& path, const std::string& text) {
  std::string bytes;
  for (const char c : text) bytes += c == ' ' ? std::string("\r\n") : std::string(1, c);
  testfiles::write_text(path, bytes + "\r\n");
}

LevelData::LevelData(const Options& options) {
  world_state_set_defaults();
  declare_world_model();

  RGBCODEPATH = dir.path + "RGB/";
  APPSTART = "LAB";
  TOPOGFX = dir.path + "TOPO/";
  WORLDGFX = dir.path + "OBJ/";
  SOUNDFXPATH = dir.path + "SFX/";
  INGAMEMUSIC = dir.path + "MUSIC/";
  GFXCODEC = ".png";
  RESOLUTION = CELL;
  cell_width = CELL;
  cell_height = CELL;
  WORLDRANDOM = 4242;
  LABSWITCH = 3;
  MAPSIZE = 255;
  MAXFOE = options.foes ? 3 : 0;
  USEEXTENDEDTOPO = 0;
  USESPRITE3D = 1;
  SMOOTH = 0;
  GAMEMODE = "NORMAL";
  FULLSCREENZOOM = 1.0f;
  move_delay = 0;
  DEFTILESOUND = "step.ogg";
  FIXEDTILESOUND = "fixed.ogg";
  PINKTILEFIXEDSOUND = "pink.ogg";
  EXPLOSIONSOUND = "boom.ogg";
  base_width = 12;
  base_height = 10;
  testfiles::make_dirs(dir.path + "MUSIC");

  // Every tile kind with its image; the edge kinds share one.
  const std::string plain = " USEENEMY 0 CHILD1 # CHILD2 #";
  const std::string floor = std::string(" USEENEMY ") + (options.foes ? "1" : "0") + " CHILD1 " +
                            (options.goodies ? "GEM CHILD2 BOMB" : "# CHILD2 #");
  const std::vector<std::tuple<std::string, std::string, int32_t, std::string>> tiles = {
      {"LAB_WALL", "wall", rgb(90, 90, 90), "USECOLLISION 2 CHILD1 #"},
      {"LAB_FLOOR", "floor", rgb(40, 40, 40), "USECOLLISION 0" + floor},
      {"LAB_BLUE_FLOOR", "blue", rgb(0, 0, 200), "USECOLLISION 0" + plain},
      {"LAB_FIXED_FLOOR", "fixed", rgb(0, 0, 120), "USECOLLISION 0 VALUE1 " + std::to_string(FIXED_VALUE) + plain},
      {"LAB_GREEN", "green", rgb(0, 160, 0), "USECOLLISION 0" + plain},
      {"LAB_WATER", "water", rgb(0, 90, 160), "USECOLLISION 1" + plain},
      {"LAB_PINK_FLOOR", "pink", rgb(230, 90, 180), "USECOLLISION 0" + plain},
      {"LAB_FIXED_PINK_FLOOR", "fixedpink", rgb(150, 40, 110), "USECOLLISION 0" + plain},
  };
  for (const auto& [kind, image, colour, pairs] : tiles) {
    testfiles::write_png(dir.file("TOPO/" + image + ".png"), 8, 8, colour);
    write_content(kind, "GFXNAME " + image + ".png TRANSPARENCY 0 " + pairs);
  }
  testfiles::write_png(dir.file("TOPO/edge.png"), 8, 8, rgb(120, 120, 120));
  for (const char* kind : {"LAB_WALL_E", "LAB_WALL_S", "LAB_GREEN_E", "LAB_GREEN_S", "LAB_WATER_E", "LAB_WATER_S"}) {
    write_content(kind, "GFXNAME edge.png TRANSPARENCY 0 USECOLLISION 2 CHILD1 #");
  }

  // A bomb, a goody worth time, and (with foes) a walking foe.
  std::vector<std::tuple<std::string, int32_t, std::string>> types = {
      {"bomb", rgb(200, 0, 0), "DGFXNAME BOMB DDENSITY 30 DCOLLISION 1 DKILLONCOLLISION 1 DSCORE 3"},
      {"gem", rgb(250, 220, 0),
       "DGFXNAME GEM DDENSITY 12 DCOLLISION 1 DKILLONCOLLISION 1 DSCORE 25 DISGOODY 1 DEXTRATIME 2"}};
  if (options.foes) {
    types.emplace_back("walker", rgb(255, 128, 0),
                       "DGFXNAME NOPE DDENSITY 15 DISENEMY 1 DRANDOMMOVE 1 DVELOX 4 DVELOY 4 DAILEVEL 1 "
                       "DDMOVE 0 DCHANGEDIRECTION 6");
  }
  for (const auto& [name, colour, pairs] : types) {
    testfiles::write_png(dir.file("OBJ/" + name + ".png"), 8, 8, colour);
    write_words(dir.file("OBJ/" + name + ".dll"), pairs + " DGFXTRANSPARENCY 255 DGFXSHOW 1");
  }

  testing_open_screen(options.screen_w, options.screen_h);
  testing_set_frame_pacing(false);
  testing_set_real_delays(false);
  screen_width = static_cast<float>(options.screen_w);
  screen_height = static_cast<float>(options.screen_h);

  if (options.sounds) {
    for (const char* name : {"step.ogg", "fixed.ogg", "pink.ogg", "boom.ogg"}) {
      testfiles::write_ogg(dir.file(std::string("SFX/") + name), 0.05);
    }
    load_sound_effects();
  }
  load_tile_graphics();
  load_object_types();
}

void LevelData::write_content(const std::string& kind, const std::string& pairs) const {
  write_words(dir.file("RGB/LAB/" + kind), pairs);
}

int32_t LevelData::plays(const std::string& file_name) {
  for (const SoundEffect& effect : sound_effects.items) {
    if (effect.file_name == file_name) return testing_sound_play_count(effect.sound);
  }
  return 0;
}

void fill_level(int32_t w, int32_t h, const std::string& kind) {
  reset_world();
  level_width = w;
  level_height = h;
  for (int32_t x = 0; x <= w; ++x) {
    for (int32_t y = 0; y <= h; ++y) {
      retile_cell(x, y, kind);
      world_cell(x, y).in_level = 1;
    }
  }
  visible_columns = static_cast<float>(SCREEN_W) / CELL;
  visible_rows = static_cast<float>(SCREEN_H) / CELL;
}

void set_kind(int32_t x, int32_t y, const std::string& kind) { retile_cell(x, y, kind); }

int32_t count_kind(const std::string& kind) {
  int32_t n = 0;
  for (int32_t x = 0; x <= level_width; ++x) {
    for (int32_t y = 0; y <= level_height; ++y) n += world_cell(x, y).tile_kind == kind ? 1 : 0;
  }
  return n;
}

namespace {
const std::array<std::string, 8> kBoardKinds = {"LAB_WALL",  "LAB_FLOOR", "LAB_BLUE_FLOOR", "LAB_FIXED_FLOOR",
                                               "LAB_GREEN", "LAB_WATER", "LAB_PINK_FLOOR", "LAB_FIXED_PINK_FLOOR"};
const std::string kBoardChars = "#.bFg~pP";
}  // namespace

void draw_board(const std::vector<std::string>& rows) {
  fill_level(static_cast<int32_t>(rows[0].size()) - 1, static_cast<int32_t>(rows.size()) - 1, "LAB_FLOOR");
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) {
      const size_t k = kBoardChars.find(rows[y][x]);
      if (k != 1) set_kind(static_cast<int32_t>(x), static_cast<int32_t>(y), kBoardKinds.at(k));
    }
  }
}

std::vector<std::string> board() {
  std::vector<std::string> rows(static_cast<size_t>(level_height) + 1);
  for (int32_t y = 0; y <= level_height; ++y) {
    for (int32_t x = 0; x <= level_width; ++x) {
      const std::string& kind = world_cell(x, y).tile_kind.str();
      const auto k = std::find(kBoardKinds.begin(), kBoardKinds.end(), kind);
      rows[static_cast<size_t>(y)] += k == kBoardKinds.end() ? '?' : kBoardChars[static_cast<size_t>(k - kBoardKinds.begin())];
    }
  }
  return rows;
}

}  // namespace levelfixture
