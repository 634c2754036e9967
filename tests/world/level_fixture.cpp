#include "world/level_fixture.h"

#include <cstring>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "resources/catalogs.h"
#include "resources/cell_content.h"
#include "resources/object_types.h"

namespace levelfixture {

using namespace tessera;

namespace {

void write_type(const testfiles::TempDir& dir, const std::string& name, int32_t colour,
                const std::vector<std::string>& pairs) {
  testfiles::write_png(dir.file("OBJ/" + name + ".png"), 8, 8, colour);
  testfiles::write_lines(dir.file("OBJ/" + name + ".dll"), pairs);
}

}  // namespace

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

  const std::vector<std::pair<std::string, int32_t>> tiles = {
      {"wall", rgb(90, 90, 90)},  {"floor", rgb(40, 40, 40)},  {"blue", rgb(0, 0, 200)},
      {"fixed", rgb(0, 0, 120)},  {"green", rgb(0, 160, 0)},   {"water", rgb(0, 90, 160)},
      {"pink", rgb(230, 90, 180)}, {"fixedpink", rgb(150, 40, 110)}, {"edge", rgb(120, 120, 120)},
  };
  for (const auto& [name, colour] : tiles) testfiles::write_png(dir.file("TOPO/" + name + ".png"), 8, 8, colour);

  const std::string floor_child = options.goodies ? "GEM" : "#";
  const std::string floor_enemy = options.foes ? "1" : "0";
  write_content("LAB_WALL", {"GFXNAME", "wall.png", "TRANSPARENCY", "0", "USECOLLISION", "2", "CHILD1", "#"});
  write_content("LAB_FLOOR", {"GFXNAME", "floor.png", "TRANSPARENCY", "0", "USECOLLISION", "0", "USEENEMY",
                              floor_enemy, "CHILD1", floor_child, "CHILD2", options.goodies ? "BOMB" : "#"});
  write_content("LAB_BLUE_FLOOR", {"GFXNAME", "blue.png", "TRANSPARENCY", "0", "USECOLLISION", "0", "USEENEMY",
                                   "0", "CHILD1", "#", "CHILD2", "#"});
  write_content("LAB_FIXED_FLOOR", {"GFXNAME", "fixed.png", "TRANSPARENCY", "0", "USECOLLISION", "0", "USEENEMY",
                                    "0", "VALUE1", std::to_string(FIXED_VALUE), "CHILD1", "#", "CHILD2", "#"});
  write_content("LAB_GREEN", {"GFXNAME", "green.png", "TRANSPARENCY", "0", "USECOLLISION", "0", "USEENEMY", "0",
                              "CHILD1", "#", "CHILD2", "#"});
  write_content("LAB_WATER", {"GFXNAME", "water.png", "TRANSPARENCY", "0", "USECOLLISION", "1", "USEENEMY", "0",
                              "CHILD1", "#", "CHILD2", "#"});
  write_content("LAB_PINK_FLOOR", {"GFXNAME", "pink.png", "TRANSPARENCY", "0", "USECOLLISION", "0", "USEENEMY",
                                   "0", "CHILD1", "#", "CHILD2", "#"});
  write_content("LAB_FIXED_PINK_FLOOR", {"GFXNAME", "fixedpink.png", "TRANSPARENCY", "0", "USECOLLISION", "0",
                                         "USEENEMY", "0", "CHILD1", "#", "CHILD2", "#"});
  for (const char* kind : {"LAB_WALL_E", "LAB_WALL_S", "LAB_GREEN_E", "LAB_GREEN_S", "LAB_WATER_E", "LAB_WATER_S"}) {
    write_content(kind, {"GFXNAME", "edge.png", "TRANSPARENCY", "0", "USECOLLISION", "2", "CHILD1", "#"});
  }

  write_type(dir, "bomb", rgb(200, 0, 0),
             {"DGFXNAME", "BOMB", "DGFXTRANSPARENCY", "255", "DDENSITY", "30", "DCOLLISION", "1", "DGFXSHOW", "1",
              "DKILLONCOLLISION", "1", "DSCORE", "3"});
  write_type(dir, "gem", rgb(250, 220, 0),
             {"DGFXNAME", "GEM", "DGFXTRANSPARENCY", "255", "DDENSITY", "12", "DCOLLISION", "1", "DGFXSHOW", "1",
              "DKILLONCOLLISION", "1", "DSCORE", "25", "DISGOODY", "1", "DEXTRATIME", "2"});
  if (options.foes) {
    write_type(dir, "walker", rgb(255, 128, 0),
               {"DGFXNAME", "NOPE", "DGFXTRANSPARENCY", "255", "DDENSITY", "15", "DGFXSHOW", "1", "DISENEMY", "1",
                "DRANDOMMOVE", "1", "DVELOX", "4", "DVELOY", "4", "DAILEVEL", "1", "DDMOVE", "0",
                "DCHANGEDIRECTION", "6"});
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

void LevelData::write_content(const std::string& kind, const std::vector<std::string>& pairs) const {
  testfiles::write_lines(dir.file("RGB/LAB/" + kind), pairs);
}

int32_t LevelData::sound_handle(const std::string& file_name) {
  for (const SoundEffect& effect : sound_effects.items) {
    if (effect.file_name == file_name) return effect.sound;
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

uint64_t level_digest() {
  Hash h;
  h.add(level_width);
  h.add(level_height);
  for (int32_t x = 0; x <= level_width; ++x) {
    for (int32_t y = 0; y <= level_height; ++y) {
      const WorldCell& cell = world_cell(x, y);
      h.add(cell.tile_kind);
      h.add(cell.in_level);
      h.add(cell.last_child);
      for (int32_t slot : cell.child_object) h.add(slot);
    }
  }
  h.add(object_instances.size());
  for (const ObjectInstance& instance : object_instances.items) {
    h.add(instance.DSCORE);
    h.add(instance.DISGOODY);
    h.add(instance.offset_x);
    h.add(instance.offset_y);
  }
  h.add(foes.size());
  for (const Foe& foe : foes.items) {
    h.add(foe.x);
    h.add(foe.y);
    h.add(foe.direction);
    h.add(foe.DAILEVEL);
  }
  h.add(player.x);
  h.add(player.y);
  h.add(tiles_left);
  h.add(time_left);
  return h.value;
}

}  // namespace levelfixture
