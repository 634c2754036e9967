// The modding tools as modders run them: the real program on a copy of the default data set,
// broken one way at a time for the checker, and the level picture's build against the levels play
// builds.
#include "game/modding_tools.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "game/default_game.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/child_process.h"
#include "support/test_files.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"

using namespace tessera;
namespace fs = std::filesystem;

namespace {

// A copy of the default data set that a test may break.
struct DataCopy {
  testfiles::TempDir dir;
  DataCopy() { fs::copy(fs::path(ZORVANE_SOURCE_DIR) / "game", dir.path, fs::copy_options::recursive); }
};

std::vector<std::string> read_lines(const std::string& path) {
  std::vector<std::string> lines;
  const int32_t file = file_open_read(-1, path);
  while (file != 0 && file_eof(file) == 0) lines.push_back(file_read_line(file));
  file_close(file);
  return lines;
}

// Gives the key of a line-pair file another value, or drops the pair; the value's line number.
int32_t set_pair(const std::string& path, const std::string& key, std::optional<std::string> value) {
  std::vector<std::string> lines = read_lines(path);
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    if (lines[i] != key) continue;
    if (value) {
      lines[i + 1] = *value;
    } else {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i), lines.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    testfiles::write_lines(path, lines);
    return static_cast<int32_t>(i) + 2;
  }
  ADD_FAILURE() << key << " not in " << path;
  return -1;
}

// Line n (from 1) becomes text; lines after `keep` are dropped (0: all kept).
void set_line(const std::string& path, size_t n, const std::string& text, size_t keep = 0) {
  std::vector<std::string> lines = read_lines(path);
  if (n > 0) lines.at(n - 1) = text;
  if (keep > 0) lines.resize(keep);
  testfiles::write_lines(path, lines);
}

// "@" in an expected line stands for the line the break changed.
std::string at_line(std::string text, int32_t line) {
  const size_t at = text.find('@');
  if (at != std::string::npos) text.replace(at, 1, std::to_string(line));
  return text;
}

// One break per kind of problem: the checker prints exactly its line, and the status says whether
// play loses something (1), only differs from the text (0) or has nothing to read (2). Each row
// is a test of its own, so the rows run side by side.
struct BreakCase {
  const char* name;
  std::function<int32_t(const std::string& dir)> apply;  // the line it changed, for "@"
  const char* expected;                                 // empty: no line at all
  int status;
};

// Test listings and failures name the row, not its bytes.
void PrintTo(const BreakCase& c, std::ostream* os) { *os << c.name; }

const BreakCase BREAKS[] = {
    {"not a number that turns a feature off",
     [](const std::string& d) { return set_pair(d + "DATA/ini.txt", "MAXFOE", "twelve"); },
     "DATA/ini.txt:@: error: MAXFOE \"twelve\": not a number: the game reads 0: no foe ever appears", 1},
    {"value clamped", [](const std::string& d) { return set_pair(d + "DATA/ini.txt", "CURSORSPEED", "300"); },
     "DATA/ini.txt:@: warning: CURSORSPEED \"300\": outside 0..255: the game clamps it to 255", 0},
    {"key missing", [](const std::string& d) { return set_pair(d + "DATA/ini.txt", "WORLDREFRESH", std::nullopt), 0; },
     "DATA/ini.txt:0: warning: key WORLDREFRESH is missing: the game uses its default", 0},
    {"path in another case",
     [](const std::string& d) {
       fs::rename(d + "DATA/SFX", d + "DATA/sfx");
       return set_pair(d + "DATA/ini.txt", "SOUNDFXPATH", "DATA\\SFX\\");
     },
     "DATA/ini.txt:@: warning: SOUNDFXPATH names \"DATA/SFX/\", found only as \"DATA/sfx/\" (another letter case: "
     "the game finds it, other programs may not)",
     0},
    {"tile graphic name",
     [](const std::string& d) { return set_pair(d + "DATA/LEVELS/DEFAULT/LAB_FLOOR", "GFXNAME", "flor.png"); },
     "DATA/LEVELS/DEFAULT/LAB_FLOOR:@: error: GFXNAME \"flor.png\": no tile graphic of TOPOGFX has this name "
     "(there is \"floor.png\"): the cell keeps the graphic it had",
     1},
    {"child name", [](const std::string& d) { return set_pair(d + "DATA/LEVELS/DEFAULT/LAB_FLOOR", "CHILD1", "GEMS"); },
     "DATA/LEVELS/DEFAULT/LAB_FLOOR:@: error: CHILD1 \"GEMS\": no object type has this DGFXNAME (there is \"GEM\"): "
     "nothing spawns in this slot",
     1},
    {"sound name",
     [](const std::string& d) { return set_pair(d + "DATA/GFX/OBJECTS/gem.dll", "DCOUNTSOUND", "pickups.ogg"); },
     "DATA/GFX/OBJECTS/gem.dll:@: error: DCOUNTSOUND \"pickups.ogg\": no sound effect of SOUNDFXPATH has this name "
     "(there is \"pickup.ogg\"): collecting it is silent",
     1},
    {"glyph", [](const std::string& d) { return fs::remove(d + "DATA/FONT/Z.png"), 0; },
     "DATA/FONT/charset.txt:1: error: character \"Z\": its image \"DATA/FONT/Z.png\" is missing, and 5 screen "
     "texts use it, such as \"ZORVANE (C) 2026 THE ZORVANE TEAM. ALL RIGHTS RESERVED.\"",
     1},
    {"glyph of a number", [](const std::string& d) { return fs::remove(d + "DATA/FONT/7.png"), 0; },
     "DATA/FONT/charset.txt:1: error: character \"7\": its image \"DATA/FONT/7.png\" is missing, and 4 screen "
     "texts use it, such as \"SCORE <number>\"",
     1},
    {"glyph two characters share", [](const std::string& d) { return fs::remove(d + "DATA/FONT/S.png"), 0; },
     "DATA/FONT/charset.txt:1: error: characters \"S\" and \"\\xDF\": their image \"DATA/FONT/S.png\" is missing, "
     "and 44 screen texts use them, such as \"SCORE <number>\"",
     1},
    {"image", [](const std::string& d) { return testfiles::write_text(d + "DATA/GFX/TILES/water.png", "not a png"), 0; },
     "DATA/GFX/TILES/water.png:0: error: does not decode as an image: cells that name it are not drawn", 1},
    {"sound", [](const std::string& d) { return testfiles::write_text(d + "DATA/SFX/timer.ogg", "not a sound"), 0; },
     "DATA/SFX/timer.ogg:0: error: does not decode as OGG Vorbis: it never plays", 1},
    {"music", [](const std::string& d) { return testfiles::write_text(d + "DATA/MUSIC/menu.ogg", "not music"), 0; },
     "DATA/MUSIC/menu.ogg:0: error: does not decode as OGG Vorbis: when it is chosen, no music plays", 1},
    {"turning image", [](const std::string& d) { return testfiles::write_png(d + "DATA/GFX/player.png", 48, 32, 0xFF), 0; },
     "DATA/GFX/player.png:0: error: is 48 x 32 pixels: the figure turns all the time, and only a square image keeps "
     "its shape while turning",
     1},
    {"colour code", [](const std::string& d) { return fs::remove(d + "DATA/LEVELS/DEFAULT/404060"), 0; },
     "DATA/LEVELS/DEFAULT.ai42:78: error: tile kind \"404060\" has no content file \"DATA/LEVELS/DEFAULT/404060\": "
     "such cells keep what they had",
     1},
    {"record count", [](const std::string& d) { return set_line(d + "DATA/LEVELS/DEFAULT.ai42", 0, "", 100), 0; },
     "DATA/LEVELS/DEFAULT.ai42:100: error: ends after 31 of the 920 cells the header announces: the rest keep what "
     "they had",
     1},
    {"alpha", [](const std::string& d) { return set_line(d + "DATA/LEVELS/DEFAULT.red", 10, "300"), 10; },
     "DATA/LEVELS/DEFAULT.red:@: warning: \"300\" is not an alpha from 0 to 255: the game reads 300", 0},
    {"map header", [](const std::string& d) { return set_line(d + "DATA/LEVELS/DEFAULT.ai42", 2, "2147483647"), 0; },
     "DATA/LEVELS/DEFAULT.ai42:2: warning: 2147483647 is above 512: cells beyond that index are read and dropped\n"
     "DATA/LEVELS/DEFAULT.ai42:2765: error: ends after 920 of the 49392123904 cells the header announces: the rest "
     "keep what they had\n"
     "DATA/LEVELS/DEFAULT.red:925: error: ends after 920 of the 49392123904 cells the header announces: the rest "
     "keep what they had",
     1},
    {"base header", [](const std::string& d) { return set_line(d + "DATA/LEVELS/base.txt", 2, "wide"), 0; },
     "DATA/LEVELS/base.txt:2: error: \"wide\" is not a number: the game reads 0, so the first level is a single "
     "cell wide and later ones grow only with the map number",
     1},
    {"unknown key",
     [](const std::string& d) {
       std::vector<std::string> lines = read_lines(d + "DATA/GFX/OBJECTS/gem.dll");
       lines.insert(lines.end(), {"DSCOR", "100"});
       testfiles::write_lines(d + "DATA/GFX/OBJECTS/gem.dll", lines);
       return static_cast<int32_t>(lines.size()) - 1;
     },
     "DATA/GFX/OBJECTS/gem.dll:@: warning: unknown key \"DSCOR\" (probably a typo of DSCORE): the game skips it and "
     "its value line",
     0},
    {"value too large", [](const std::string& d) { return set_pair(d + "DATA/GFX/OBJECTS/gem.dll", "DCOLLISION", "300"); },
     "DATA/GFX/OBJECTS/gem.dll:@: warning: DCOLLISION \"300\": an 8-bit field keeps the low 8 bits: the game reads 44",
     0},
    {"no configuration", [](const std::string& d) { return fs::remove(d + "DATA/ini.txt"), 0; },
     "DATA/ini.txt:0: error: cannot be read: the directory holds no data set", 2},
    {"nothing broken", [](const std::string&) { return 0; }, "", 0},
};

}  // namespace

class DataCheck : public ::testing::TestWithParam<BreakCase> {};

TEST_P(DataCheck, BreakGivesExactlyItsLinesAndStatus) {
  const BreakCase& c = GetParam();
  DataCopy data;
  const int32_t line = c.apply(data.dir.path);
  const testchild::ProgramRun run = testchild::run_zorvane({"--check", data.dir.path});
  const std::string expected = *c.expected == '\0' ? "" : at_line(c.expected, line) + "\n";
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.status, c.status);
  // Nothing else on either stream: the loaders' own lines would repeat the report with other paths.
  EXPECT_TRUE(run.err.starts_with("zorvane --check: ") && run.err.find('\n') + 1 == run.err.size()) << run.err;
}

INSTANTIATE_TEST_SUITE_P(DefaultDataSet, DataCheck, ::testing::ValuesIn(BREAKS),
                         [](const ::testing::TestParamInfo<BreakCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) ch = ch == ' ' ? '_' : ch;
                           return name;
                         });

// The picture is of the level play builds: map 1 as start-up builds it, map 1 as a new game
// builds it, and a later map; the digest is the one the level builder's tests compute.
TEST(LevelPicture, BuildsTheLevelPlayBuildsAndTheSameBytesTwice) {
  const struct {
    int32_t map;
    bool rebuilt;
  } cases[] = {{1, false}, {1, true}, {20, false}};
  std::vector<uint64_t> drawn;
  std::string first_png;
  {
    DataCopy data;
    for (const auto& c : cases) {
      const std::string out = data.dir.path + "map.png";
      const testchild::ChildResult child = testchild::run_child([&] {
        if (chdir(data.dir.path.c_str()) != 0) _exit(3);
        LevelPictureRequest request;
        request.map = c.map;
        request.rebuilt = c.rebuilt;
        request.out = out;
        if (run_level_picture(request) != TOOL_CLEAN) _exit(4);
        std::fprintf(stderr, "digest %" PRIx64 "\n", levelfixture::level_digest());
      });
      ASSERT_TRUE(testchild::ended_normally(child.status)) << child.output;
      uint64_t digest = 0;
      ASSERT_EQ(std::sscanf(child.output.c_str(), "digest %" SCNx64, &digest), 1) << child.output;
      drawn.push_back(digest);
      const std::string png = testfiles::read_all(out);
      EXPECT_EQ(png.rfind("\x89PNG", 0), 0u) << "map " << c.map;
      if (first_png.empty()) {
        first_png = png;
        // The program itself, twice, for the same bytes.
        const std::string again = data.dir.path + "again.png";
        EXPECT_EQ(testchild::run_zorvane({"--render-level", "1", "--out", again, data.dir.path}).status, TOOL_CLEAN);
        EXPECT_EQ(testfiles::read_all(again), first_png);
      }
    }
  }
  defaultgame::DefaultGame game(320, 240);  // map 1 as start-up builds it
  EXPECT_EQ(drawn[0], levelfixture::level_digest());
  for (size_t i = 1; i < std::size(cases); ++i) {
    map_number = cases[i].map;
    build_level();
    EXPECT_EQ(drawn[i], levelfixture::level_digest()) << "map " << cases[i].map;
  }
  EXPECT_NE(drawn[0], drawn[1]);
}

TEST(LevelPicture, TooLargeIsRefusedWithTheCellSizeThatFits) {
  DataCopy data;
  const std::string out = data.dir.path + "big.png";
  const testchild::ProgramRun run = testchild::run_zorvane({"--render-level", "20", "--cell", "300", "--out", out, data.dir.path});
  EXPECT_EQ(run.status, TOOL_FAILED);
  EXPECT_EQ(run.err,
            "zorvane --render-level: map 20 is 66 x 45 cells; at 300 pixels a cell the picture would be 19800 x 13500 "
            "pixels, more than 16384 a side or 8192 x 8192 in all; --cell 150 fits\n");
  EXPECT_FALSE(fs::exists(out));
}

// Objects, foes and the player scale with the cell like the tiles: at 16 pixels a cell every draw
// of the picture is the draw at the data set's 48, a third of the size and at a third of the place.
TEST(LevelPicture, ObjectsFoesAndThePlayerScaleWithTheCell) {
  DataCopy data;
  struct Draw {
    int x, y, width, height;
    std::string image;
  };
  std::vector<std::vector<Draw>> pictures;
  for (const int32_t cell : {48, 16}) {
    const testchild::ChildResult child = testchild::run_child([&] {
      if (chdir(data.dir.path.c_str()) != 0) _exit(3);
      testing_record_draws(true);
      LevelPictureRequest request;
      request.map = 1;
      request.cell = cell;
      request.out = data.dir.path + "map.png";
      if (run_level_picture(request) != TOOL_CLEAN) _exit(4);
      for (const DrawRecord& draw : testing_recorded_draws()) {
        std::string image;
        int32_t key = 0;
        testing_quad_image(draw.s3d, image, key);
        std::fprintf(stderr, "%d %d %d %d %s\n", draw.x, draw.y, draw.width, draw.height, image.c_str());
      }
    });
    ASSERT_TRUE(testchild::ended_normally(child.status)) << child.output;
    std::vector<Draw>& draws = pictures.emplace_back();
    std::istringstream lines(child.output);
    Draw draw;
    while (lines >> draw.x >> draw.y >> draw.width >> draw.height >> draw.image) draws.push_back(draw);
  }
  const std::vector<Draw>& large = pictures[0];
  const std::vector<Draw>& small = pictures[1];
  ASSERT_EQ(large.size(), small.size());
  int objects = 0;
  int players = 0;
  for (size_t i = 0; i < large.size(); ++i) {
    SCOPED_TRACE(small[i].image);
    ASSERT_EQ(small[i].image, large[i].image);
    objects += testchild::contains(large[i].image, "/OBJECTS/") ? 1 : 0;
    players += large[i].image.ends_with("/player.png") ? 1 : 0;
    // Each side is rounded once at each size: a third of the large one, within rounding.
    EXPECT_NEAR(small[i].x * 3, large[i].x, 2);
    EXPECT_NEAR(small[i].y * 3, large[i].y, 2);
    EXPECT_NEAR(small[i].width * 3, large[i].width, 2);
    EXPECT_NEAR(small[i].height * 3, large[i].height, 2);
  }
  EXPECT_GT(objects, 10);  // objects and foes
  EXPECT_EQ(players, 1);
}
