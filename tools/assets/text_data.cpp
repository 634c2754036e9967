// The text files of the data set: configuration, content files, object definitions, the base
// level file and the hand-made map.
#include <string>
#include <utility>
#include <vector>

#include "data_set.h"
#include "files.h"
#include "generators.h"
#include "layout.h"

namespace assets {

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

void write_pairs(const std::string& relative, const Pairs& pairs) {
  std::vector<std::string> lines;
  for (const auto& [key, value] : pairs) {
    lines.push_back(key);
    lines.push_back(value);
  }
  write_lines(relative, lines);
}

std::string num(int32_t v) { return std::to_string(v); }

void write_content(const TileKind& k) {
  Pairs pairs = {{"INTERNALNAME", k.kind},
                 {"GFXNAME", k.gfx},
                 {"TRANSPARENCY", num(k.transparency)},
                 {"USECOLLISION", num(k.collision)},
                 {"USEENEMY", num(k.use_enemy)},
                 {"VALUE1", num(k.value1)}};
  for (int s = 0; s < kChildSlots; ++s)
    pairs.push_back({"CHILD" + num(s + 1), k.children[size_t(s)]});
  write_pairs(std::string(layout::kLevels) + layout::kMapSet + "\\" + k.kind, pairs);
}

// The hand-made map, one character a cell: the game's name in fixed blue floor over a walled
// garden with ponds, treats and hourglasses, 40 x 23 cells so that it fills a 1920 x 1080 screen.
// A loaded map places the player at the screen's top-left cell, so that corner is open floor
// with an hourglass: map mode starts its clock at 0, and the hourglass, collected at once, gives
// ten units (half a minute) to look around. The stars, being goodies, count as tiles left.
const std::vector<std::string> kMapRows = {
    "h....*............................*.....",
    ".###################.##################.",
    ".#,h,,,,,,*,,,,,,,,,*,,,,,,,,,*,,,,,h,#.",
    ".#,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,#.",
    ".######################################.",
    ".##..................................##.",
    ".##FFFF..FF..FFF..F..F..FF..F..F.FFFF##.",
    ".##...F.F..F.F..F.F..F.F..F.FF.F.F...##.",
    ".#...F..F..F.FFF..F..F.FFFF.F.FF.FFF..#.",
    ".##.F...F..F.F.F...FF..F..F.F..F.F...##.",
    ".##FFFF..FF..F..F..FF..F..F.F..F.FFFF##.",
    "h##..................................##h",
    ".###################.##################.",
    ".#,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,#.",
    ".#,,~~~~~~~~~,,,,,,,,,,,,,,~~~~~~~~~,,#.",
    "..,,~~~~~~~~~,,,h.......,,,~~~~~~~~~,,..",
    ".#,,~~~~,~~~~,,,..,,,,..,,,~~~~,~~~~,,#.",
    ".#,,~~~~*~~~~,,,..,**,..,,,~~~~*~~~~,,#.",
    ".#,,~~~~~~~~~,,,..,,,,..,,,~~~~~~~~~,,#.",
    ".#,,~~~~~~~~~,,,.......h,,,~~~~~~~~~,,#.",
    ".#,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,#.",
    ".###################.##################.",
    "....................*...................",
};

// Colour lines of each map character: the joined lines name the cell's content file.
struct MapColour {
  char symbol;
  const char* red;
  const char* green;
  const char* blue;
};
constexpr MapColour kMapColours[] = {
    {'#', "40", "40", "60"},    {'.', "200", "190", "160"}, {',', "60", "160", "60"},
    {'~', "40", "90", "200"},   {'*', "255", "255", "0"},   {'h', "255", "128", "0"},
    {'F', "0", "128", "255"},
};

void write_map() {
  const int width = int(kMapRows[0].size()), height = int(kMapRows.size());
  const std::string stem = std::string(layout::kLevels) + layout::kMapSet;
  std::vector<std::string> cells = {"ZORVANE name garden map", num(width - 1), num(height - 1),
                                    "cells by column: red, green and blue lines", "-"};
  std::vector<std::string> alpha = {"ZORVANE garden map alpha", num(width - 1), num(height - 1),
                                    "one alpha line a cell", "-"};
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      const char symbol = kMapRows[size_t(y)][size_t(x)];
      const MapColour* colour = nullptr;
      for (const auto& c : kMapColours)
        if (c.symbol == symbol) colour = &c;
      if (!colour) fail(std::string("map symbol without a colour: ") + symbol);
      cells.insert(cells.end(), {colour->red, colour->green, colour->blue});
      alpha.push_back(symbol == '#' ? "225" : "255");
    }
  write_lines(stem + ".ai42", cells);
  write_lines(stem + ".red", alpha);
}

}  // namespace

std::vector<std::string> map_rows() { return kMapRows; }

void write_configuration() {
  const Balance& b = balance();
  const Pairs pairs = {
      {"APPNAME", "ZORVANE"},
      {"WINDOWMODE", "1"},
      {"USESPRITE3D", "1"},
      {"MULTITASK", "0"},
      {"MULTICORE", "1"},
      {"RESOLUTION", num(b.resolution)},
      {"RESBASEW", "15360"},
      {"RESBASEH", "1440"},
      {"FULLSCREENZOOM", "1.0"},
      {"SMOOTH", "0"},
      {"USESCALER", "0"},
      {"VIEW", "TOPDOWN"},
      {"GFXPATH", "DATA\\GFX\\"},
      {"GFXCODEC", ".png"},
      {"TOPOGFX", layout::kTiles},
      {"WORLDGFX", layout::kObjects},
      {"CURSOR", layout::kPlayer},
      {"EGFXPATH", layout::kWorldFloaters},
      {"EGFXMAX", "2"},
      {"SCREGFXPATH", layout::kTitleFloaters},
      {"SCREGFXMAX", "3"},
      {"LOADSCREEN", std::string(layout::kScreens) + "intro#.png"},
      {"LOADINTROSCREEN", std::string(layout::kScreens) + "title.png"},
      {"LOADANIM", "none"},
      {"SAVEGFX", "0"},
      {"SAVEEVOLUTION", "0"},
      {"TOPO", "DATA\\LEVELS\\"},
      {"BASICGFX", "DATA\\GFX\\"},
      {"SYSTEMCORE", "DATA\\"},
      {"CORENAME", "TESSERA"},
      {"FONTPATH", layout::kFont},
      {"FONTSYSTEM", layout::kFontDefinition},
      {"SOUNDFXPATH", layout::kSounds},
      {"INGAMEMUSIC", layout::kMusic},
      {"MENUMUSIC", "menu.ogg"},
      {"DEFTILESOUND", layout::kStepSound},
      {"FIXEDTILESOUND", layout::kFixedSound},
      {"PINKTILEFIXEDSOUND", layout::kPinkFixedSound},
      {"EXPLOSIONSOUND", layout::kExplosionSound},
      {"BOMBPICKUPSOUND", "bombpickup.ogg"},
      {"TIMERSOUND", layout::kTimerSound},
      {"ENDTIMERSOUND", layout::kTimerSound},
      {"VOXTAMBER1", layout::kVoice1Sound},
      {"VOXTAMBER", layout::kVoice2Sound},
      {"LOGPATH", "DATA\\"},
      {"LOGFILE", "errors.log"},
      {"USELOGFILE", "1"},
      {"RGBCODEPATH", layout::kLevels},
      {"APPSTART", layout::kMapSet},
      {"APPENTRY", layout::kLevels},
      {"SELFCREATEBASE", layout::kBaseLevel},
      {"USESELFCREATEBASE", "1"},
      {"USEEXTENDEDTOPO", num(b.extended_topo)},
      {"USEFULLMATRIX", "0"},
      {"WORLDRANDOM", num(b.world_random)},
      {"LABSWITCH", num(b.labswitch)},
      {"MAPSIZE", num(b.mapsize)},
      {"MAXFOE", num(b.maxfoe)},
      {"VEGIDENSE", "100"},
      {"WORLDTEMPERATURE", "15.0"},
      {"WORLDREFRESH", num(b.world_refresh)},
      {"CURSORSPEED", num(b.cursor_speed)},
      {"GAMEMODE", "DEFAULT"},
  };
  write_pairs("DATA\\ini.txt", pairs);
}

void write_contents() {
  for (const auto& k : tile_kinds()) write_content(k);
  for (const auto& k : map_kinds()) write_content(k);
}

void write_object_definitions() {
  for (const auto& d : object_defs()) {
    const std::string stem = d.file.substr(0, d.file.find(".png"));
    const Pairs pairs = {
        {"DGFXNAME", d.name},
        {"DGFXTRANSPARENCY", num(d.alpha)},
        {"DDENSITY", num(d.density)},
        {"DFITTOMATRIX", num(d.fit)},
        {"DCOLLISION", num(d.collision)},
        {"DHOTSPOT", d.hotspot},
        {"DCENTERFIELD", "0"},
        {"DXMODE1", "0"},
        {"DXMODE2", "0"},
        {"DGFXSHOW", num(d.show)},
        {"DKILLONCOLLISION", num(d.kill)},
        {"DSCORE", num(d.score)},
        {"DCOUNTTOSCORE", num(d.count_to_score)},
        {"DCOUNTSOUND", d.sound.empty() ? "#" : d.sound},
        {"DUSECOUNTSOUND", d.sound.empty() ? "0" : "1"},
        {"DEXTRATIME", num(d.extra_time)},
        {"DISGOODY", num(d.goody)},
        {"DISPLAYER", "0"},
        {"DISENEMY", num(d.is_enemy)},
        {"DAILEVEL", num(d.ai_level)},
        {"DDMOVE", num(d.dmove)},
        {"DRANDOMMOVE", num(d.random_move)},
        {"DCHANGEDIRECTION", num(d.change_direction)},
        {"DVELOX", num(d.velo)},
        {"DVELOY", num(d.velo)},
        {"DMOVEX", "0"},
        {"DMOVEY", "0"},
        {"DROTATE", num(d.rotate)},
        {"DLIFETIME", "0"},
        {"DPOWERUP", "0"},
    };
    write_pairs(std::string(layout::kObjects) + stem + ".dll", pairs);
  }
}

void write_levels() {
  const Balance& b = balance();
  write_lines(layout::kBaseLevel, {"ZORVANE base level", num(b.base_width), num(b.base_height),
                                   "generated levels grow from this size", "-"});
  write_map();
}

}  // namespace assets
