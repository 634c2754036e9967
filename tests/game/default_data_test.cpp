// The default data set under game/: every name it refers to must resolve to a real file, the
// pictures must survive their colour keys, the sounds must decode, and the committed files must
// be what the generator makes.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

const std::string kGame = std::string(ZORVANE_SOURCE_DIR) + "/game/";

// A "\" path of the data set as a path of this system, under the start directory.
std::string native(const std::string& relative) {
  std::string p = kGame + relative;
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

std::vector<std::string> read_lines(const std::string& path, bool* crlf = nullptr) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  bool all_crlf = true;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    else all_crlf = false;
    lines.push_back(line);
  }
  if (crlf) *crlf = all_crlf;
  return lines;
}

using Pairs = std::map<std::string, std::string>;

Pairs read_pairs(const std::string& path, std::vector<std::string>* order = nullptr) {
  const auto lines = read_lines(path);
  Pairs pairs;
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    pairs[lines[i]] = lines[i + 1];
    if (order) order->push_back(lines[i]);
  }
  return pairs;
}

const Pairs& ini() {
  static const Pairs pairs = read_pairs(kGame + "DATA/ini.txt");
  return pairs;
}

std::vector<std::string> list(const std::string& dir, const std::string& extension) {
  std::vector<std::string> names;
  if (!fs::is_directory(dir)) return names;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file() && e.path().extension() == extension) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string content_dir() { return native(ini().at("RGBCODEPATH") + ini().at("APPSTART") + "\\"); }

// Object types by DGFXNAME, read from the definitions beside the images.
std::map<std::string, Pairs> object_types() {
  std::map<std::string, Pairs> types;
  const std::string dir = native(ini().at("WORLDGFX"));
  for (const auto& image : list(dir, ".png")) {
    const Pairs def = read_pairs(dir + image.substr(0, image.find(".png")) + ".dll");
    types[image] = def;
  }
  return types;
}

struct Pixels {
  SDL_Surface* s = nullptr;
  explicit Pixels(const std::string& path) {
    SDL_Surface* raw = IMG_Load(path.c_str());
    if (raw) s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
  }
  ~Pixels() { SDL_FreeSurface(s); }
  const uint8_t* at(int x, int y) const {
    return static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * 4;
  }
  // Pixels that should show but carry the colour key exactly.
  int keyed_visible(uint8_t r, uint8_t g, uint8_t b) const {
    int count = 0;
    for (int y = 0; y < s->h; ++y)
      for (int x = 0; x < s->w; ++x) {
        const uint8_t* p = at(x, y);
        count += p[3] > 0 && p[0] == r && p[1] == g && p[2] == b;
      }
    return count;
  }
};

std::string glyph_image(unsigned char c) {
  static const std::map<unsigned char, std::string> named = {
      {'.', "POINT"},  {'?', "ASK"},     {'[', "FLOPPY"},     {']', "FLOPPYB"}, {'-', "MINUS"},
      {'"', "FUEL"},   {'(', "LEFT"},    {')', "RIGHT"},      {':', "POINTPOINT"},
      {'*', "STERN"},  {'+', "PLUS"},    {'&', "BOMB"},       {0xF6, "NOBOMB"}, {0xD6, "NOBOMB"},
      {0xC4, "HERZ"},  {0xE4, "HERZ"},   {'@', "LIFE"},       {0xDC, "_u"},     {0xDF, "S"}};
  if (named.count(c)) return named.at(c);
  if (c >= 'a' && c <= 'z') return std::string("_") + char(c);
  return std::string(1, char(c));
}

const char* kTileKinds[] = {"LAB_WALL",       "LAB_FLOOR",       "LAB_GREEN",
                            "LAB_WATER",      "LAB_BLUE_FLOOR",  "LAB_FIXED_FLOOR",
                            "LAB_PINK_FLOOR", "LAB_FIXED_PINK_FLOOR", "LAB_WALL_E",
                            "LAB_GREEN_E",    "LAB_WATER_E",     "LAB_WALL_S",
                            "LAB_GREEN_S",    "LAB_WATER_S"};

}  // namespace

TEST(DefaultData, ConfigurationHasEveryKeyOnceWithWorkingPaths) {
  bool crlf = false;
  const auto lines = read_lines(kGame + "DATA/ini.txt", &crlf);
  EXPECT_TRUE(crlf) << "every line ends with CR LF";
  ASSERT_EQ(lines.size(), 126u) << "63 key lines, each followed by its value";
  std::vector<std::string> keys;
  read_pairs(kGame + "DATA/ini.txt", &keys);
  EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), 63u) << "no key twice";

  // Prefixed keys are joined to the start directory as written; the others are used as written
  // from the start directory, where the game runs. Either way they name real files here.
  for (const char* dir : {"SOUNDFXPATH", "EGFXPATH", "TOPOGFX", "WORLDGFX", "LOGPATH", "INGAMEMUSIC",
                          "SCREGFXPATH", "RGBCODEPATH"}) {
    const std::string value = ini().at(dir);
    EXPECT_NE(value.front(), '\\') << dir;
    EXPECT_EQ(value.back(), '\\') << dir << " is joined directly with file names";
    EXPECT_TRUE(fs::is_directory(native(value))) << dir << " " << value;
  }
  EXPECT_NE(ini().at("FONTPATH").back(), '\\') << "the font engine adds the separator itself";
  for (const char* file : {"FONTSYSTEM", "CURSOR", "SELFCREATEBASE", "LOADINTROSCREEN"})
    EXPECT_TRUE(fs::is_regular_file(native(ini().at(file)))) << file;
  const std::string intro = ini().at("LOADSCREEN");
  ASSERT_NE(intro.find('#'), std::string::npos);
  for (char digit : {'0', '1'}) {
    std::string picture = intro;
    picture[picture.find('#')] = digit;
    EXPECT_TRUE(fs::is_regular_file(native(picture))) << picture;
  }
  const std::string map_stem = ini().at("APPENTRY") + ini().at("APPSTART");
  EXPECT_TRUE(fs::is_regular_file(native(map_stem + ".ai42")));
  EXPECT_TRUE(fs::is_regular_file(native(map_stem + ".red")));

  EXPECT_EQ(ini().at("USESPRITE3D"), "1");
  EXPECT_EQ(ini().at("USESELFCREATEBASE"), "1");
  const int cell = std::atoi(ini().at("RESOLUTION").c_str());
  EXPECT_GT(cell, 0);
  EXPECT_LE(cell, 127) << "a player step is stored in a signed byte";
  EXPECT_LE(std::atoi(ini().at("MAPSIZE").c_str()), 255) << "levels must fit the level matrix";
}

TEST(DefaultData, EveryTileKindHasContentThatPlays) {
  const std::string dir = content_dir();
  const auto types = object_types();
  std::set<std::string> type_names;
  for (const auto& [image, def] : types) type_names.insert(def.at("DGFXNAME"));
  const auto graphic_files = list(native(ini().at("TOPOGFX")), ".png");
  const std::set<std::string> graphics(graphic_files.begin(), graphic_files.end());

  std::vector<std::string> kinds(std::begin(kTileKinds), std::end(kTileKinds));
  for (const auto& kind : list(dir, "")) kinds.push_back(kind);  // the map's colour codes
  size_t slots = 0;
  for (const auto& kind : kinds) {
    ASSERT_TRUE(fs::is_regular_file(dir + kind)) << kind;
    const Pairs c = read_pairs(dir + kind);
    EXPECT_TRUE(graphics.count(c.at("GFXNAME"))) << kind << " names " << c.at("GFXNAME");
    const int transparency = std::atoi(c.at("TRANSPARENCY").c_str());
    EXPECT_LT(transparency, 200) << kind << " must show";
    // A re-tiled cell keeps the children of slots its new file leaves out, so every file
    // names the same slots.
    size_t named = 0;
    for (int n = 1; n <= 8; ++n) {
      auto child = c.find("CHILD" + std::to_string(n));
      if (child == c.end()) continue;
      ++named;
      if (child->second != "#") {
        EXPECT_TRUE(type_names.count(child->second)) << kind << " " << child->second;
      }
    }
    if (slots == 0) slots = named;
    EXPECT_EQ(named, slots) << kind;
  }
  EXPECT_GT(slots, 0u);

  auto value = [&](const char* kind, const char* key) {
    return std::atoi(read_pairs(dir + kind).at(key).c_str());
  };
  EXPECT_EQ(value("LAB_WALL", "USECOLLISION"), 2) << "walls stop bomb rays";
  EXPECT_EQ(value("LAB_WATER", "USECOLLISION"), 1) << "bomb rays cross water";
  for (const char* open : {"LAB_FLOOR", "LAB_GREEN", "LAB_BLUE_FLOOR", "LAB_FIXED_FLOOR",
                           "LAB_PINK_FLOOR", "LAB_FIXED_PINK_FLOOR"})
    EXPECT_EQ(value(open, "USECOLLISION"), 0) << open << " must be walkable";
  EXPECT_EQ(value("LAB_FLOOR", "USEENEMY"), 1);
  EXPECT_GT(value("LAB_FIXED_FLOOR", "VALUE1"), 0);
}

TEST(DefaultData, ObjectTypesArePlayableAndTheirNamesResolve) {
  const auto types = object_types();
  const std::set<std::string> sounds = [] {
    auto l = list(native(ini().at("SOUNDFXPATH")), ".ogg");
    return std::set<std::string>(l.begin(), l.end());
  }();
  std::set<std::string> names;
  std::set<std::pair<std::string, std::string>> enemy_speeds;
  bool goody = false, extra_time = false;
  for (const auto& [image, def] : types) {
    ASSERT_EQ(def.size(), 30u) << image << " lists every definition key";
    names.insert(def.at("DGFXNAME"));
    if (def.at("DUSECOUNTSOUND") != "0") {
      EXPECT_TRUE(sounds.count(def.at("DCOUNTSOUND"))) << image;
    }
    goody = goody || (def.at("DISGOODY") == "1" && def.at("DCOLLISION") != "0");
    extra_time = extra_time || std::atoi(def.at("DEXTRATIME").c_str()) > 0;
    Pixels pixels(native(ini().at("WORLDGFX")) + image);
    ASSERT_NE(pixels.s, nullptr) << image;
    EXPECT_EQ(pixels.keyed_visible(255, 255, 255), 0) << image << " has pure white pixels";
    if (def.at("DISENEMY") != "0") {
      EXPECT_EQ(def.at("DGFXNAME"), "NOPE") << image << " must never spawn from a cell";
      EXPECT_NE(def.at("DVELOX"), "0");
      EXPECT_EQ(pixels.s->w, pixels.s->h) << image << " turns, so it is square";
      EXPECT_EQ(pixels.s->w, std::atoi(ini().at("RESOLUTION").c_str())) << "foes are drawn unscaled";
      enemy_speeds.insert({def.at("DVELOX"), def.at("DDMOVE")});
    }
  }
  EXPECT_TRUE(names.count("BOMB"));
  EXPECT_TRUE(goody);
  EXPECT_TRUE(extra_time);
  EXPECT_GE(enemy_speeds.size(), 2u) << "two enemy types that move differently";
}

TEST(DefaultData, PicturesSurviveTheirColourKeys) {
  for (const auto& tile : list(native(ini().at("TOPOGFX")), ".png")) {
    Pixels p(native(ini().at("TOPOGFX")) + tile);
    ASSERT_NE(p.s, nullptr) << tile;
    EXPECT_EQ(p.keyed_visible(255, 0, 255), 0) << tile;
    EXPECT_EQ(p.s->w, std::atoi(ini().at("RESOLUTION").c_str())) << tile;
  }
  for (const char* dir : {"EGFXPATH", "SCREGFXPATH"})
    for (const auto& floater : list(native(ini().at(dir)), ".png")) {
      Pixels p(native(ini().at(dir)) + floater);
      ASSERT_NE(p.s, nullptr) << floater;
      // Drawn additively: an opaque, never exactly black ground adds nothing and cuts no hole.
      EXPECT_EQ(p.keyed_visible(0, 0, 0), 0) << floater;
      EXPECT_EQ(p.at(0, 0)[3], 255) << floater;
    }
  Pixels player(native(ini().at("CURSOR")));
  ASSERT_NE(player.s, nullptr);
  EXPECT_EQ(player.s->w, player.s->h) << "the player turns every frame";
  EXPECT_EQ(player.keyed_visible(255, 255, 255), 0);
  // Pictures are stretched to the screen: none may need enlarging up to 2560 x 1440.
  for (const std::string& picture : {ini().at("LOADINTROSCREEN"), std::string("DATA\\GFX\\SCREENS\\intro0.png"),
                                     std::string("DATA\\GFX\\SCREENS\\intro1.png")}) {
    Pixels p(native(picture));
    ASSERT_NE(p.s, nullptr) << picture;
    EXPECT_EQ(p.keyed_visible(255, 0, 255), 0) << picture;
    EXPECT_GE(p.s->w, 2560) << picture;
    EXPECT_GE(p.s->h, 1440) << picture;
  }
}

TEST(DefaultData, FontCoversEveryCharacterTheGameDraws) {
  const std::string line = read_lines(native(ini().at("FONTSYSTEM"))).at(0);
  const std::set<unsigned char> listed(line.begin(), line.end());
  std::string needed = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789:.-!?,'()&\xF6";
  for (unsigned char c : needed) EXPECT_TRUE(listed.count(c)) << "missing character " << int(c);
  for (unsigned char c : {' ', '|', '\\', '/'}) EXPECT_FALSE(listed.count(c)) << int(c);

  const int bomb_width = Pixels(native(ini().at("FONTPATH")) + "/BOMB.png").s->w;
  for (unsigned char c : listed) {
    const std::string path = native(ini().at("FONTPATH") + "\\" + glyph_image(c) + ".png");
    Pixels p(path);
    ASSERT_NE(p.s, nullptr) << path;
    EXPECT_EQ(p.keyed_visible(255, 255, 255), 0) << path;
    EXPECT_EQ(p.s->h, Pixels(native(ini().at("FONTPATH")) + "/A.png").s->h) << path;
  }
  EXPECT_EQ(Pixels(native(ini().at("FONTPATH")) + "/NOBOMB.png").s->w, bomb_width)
      << "bombs are drawn over the empty slots and must line up";

  // Glyphs grow with the screen width; the title draws them six times larger still. Up to a
  // screen 2560 pixels wide no glyph may be enlarged beyond its image.
  const double zoom = 1.0 / std::atof(ini().at("RESBASEW").c_str());  // per pixel of width
  EXPECT_LE(6.0 * 2560 * zoom, 1.0);
  // The title at scale 6 from a tenth of the width must end inside the screen: one check covers
  // every resolution.
  double width = 0.1 + 2 * Pixels(native(ini().at("FONTPATH")) + "/I.png").s->w * zoom;
  for (char c : std::string("ZORVANE"))
    width += 6 * Pixels(native(ini().at("FONTPATH")) + "/" + c + ".png").s->w * zoom;
  EXPECT_LT(width, 1.0);
}

TEST(DefaultData, SoundsAndMusicDecode) {
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 1, 1024), 0) << Mix_GetError();
  const std::string sfx = native(ini().at("SOUNDFXPATH"));
  for (const char* key : {"DEFTILESOUND", "FIXEDTILESOUND", "PINKTILEFIXEDSOUND", "EXPLOSIONSOUND",
                          "TIMERSOUND", "VOXTAMBER1", "VOXTAMBER"}) {
    Mix_Chunk* chunk = Mix_LoadWAV((sfx + ini().at(key)).c_str());
    EXPECT_NE(chunk, nullptr) << key << ": " << Mix_GetError();
    if (chunk && std::string(key) == "DEFTILESOUND") {
      EXPECT_LT(chunk->alen, 22050u * 2 / 10) << "the step sound plays constantly: keep it short";
    }
    Mix_FreeChunk(chunk);
  }
  const auto tracks = list(native(ini().at("INGAMEMUSIC")), ".ogg");
  EXPECT_GE(tracks.size(), 3u);
  EXPECT_TRUE(std::count(tracks.begin(), tracks.end(), "menu.ogg")) << "the title plays it by name";
  for (const auto& track : tracks) {
    Mix_Chunk* chunk = Mix_LoadWAV((native(ini().at("INGAMEMUSIC")) + track).c_str());
    ASSERT_NE(chunk, nullptr) << track;
    EXPECT_LE(chunk->alen, 22050u * 2 * 65) << track << " stays about a minute or less";
    Mix_FreeChunk(chunk);
  }
  Mix_CloseAudio();
  SDL_Quit();
}

TEST(DefaultData, MapFilesMatchTheirHeader) {
  const std::string stem = ini().at("APPENTRY") + ini().at("APPSTART");
  const auto cells = read_lines(native(stem + ".ai42"));
  const auto alpha = read_lines(native(stem + ".red"));
  const size_t count = size_t(std::atoi(cells.at(1).c_str()) + 1) * size_t(std::atoi(cells.at(2).c_str()) + 1);
  ASSERT_EQ(cells.size(), 5 + 3 * count);
  // Shown from its top-left corner, the map fills a 1920 x 1080 screen of its cells.
  const int cell = std::atoi(ini().at("RESOLUTION").c_str());
  EXPECT_GE((std::atoi(cells.at(1).c_str()) + 1) * cell, 1920);
  EXPECT_GE((std::atoi(cells.at(2).c_str()) + 1) * cell, 1080);
  ASSERT_EQ(alpha.size(), 5 + count);
  for (size_t i = 5; i < cells.size(); i += 3) {
    const std::string kind = cells[i] + cells[i + 1] + cells[i + 2];
    ASSERT_TRUE(fs::is_regular_file(content_dir() + kind)) << kind;
  }
}

// The committed text files must be what the generator writes; pictures and sounds must at least
// be the same set of files (their bytes depend on the library versions).
TEST(DefaultData, CommittedFilesMatchTheGenerator) {
  const fs::path tool = fs::path(ZORVANE_BINARY).parent_path() / "tools" / "make_assets";
  if (!fs::exists(tool)) GTEST_SKIP() << "make_assets is not built";
  testfiles::TempDir out;
  const std::string command = tool.string() + " " + out.path + " > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::set<std::string> made, committed;
  for (const auto& e : fs::recursive_directory_iterator(out.path))
    if (e.is_regular_file()) made.insert(fs::relative(e.path(), out.path).string());
  for (const auto& e : fs::recursive_directory_iterator(kGame))
    if (e.is_regular_file() && e.path().extension() != ".log")
      committed.insert(fs::relative(e.path(), kGame).string());
  EXPECT_EQ(made, committed);
  for (const auto& file : made) {
    const std::string ext = fs::path(file).extension().string();
    if (ext == ".png" || ext == ".ogg") continue;
    EXPECT_EQ(testfiles::read_all(out.path + file), testfiles::read_all(kGame + file)) << file;
  }
}
