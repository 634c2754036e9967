// The default data set with one file broken (missing, empty, binary, truncated, a directory in its
// place) or every number at an extreme, loaded and played on the real loaders in a child process:
// each ends as the formats say (plays on, or a fatal message) and never crashes, hangs or draws a
// sanitizer report. The configuration, whose faults end start-up, is tried on the real binary
// (zorvane_e2e_test.cpp).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <string>

#include "core/config.h"
#include "game/default_game.h"
#include "game/screens.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/map_files.h"
#include "resources/sound_control.h"
#include "support/child_process.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using namespace tessera;
using testchild::contains;

enum Variant { MISSING, EMPTY, BINARY, TRUNCATED, DIRECTORY };
const char* const VARIANT_NAMES[] = {"missing", "empty", "binary", "truncated", "directory"};

void break_file(const std::string& path, Variant variant) {
  const std::string bytes = testfiles::read_all(path);
  fs::remove(path);
  if (variant == EMPTY) testfiles::write_text(path, "");
  if (variant == TRUNCATED) testfiles::write_text(path, bytes.substr(0, bytes.size() / 2));
  if (variant == DIRECTORY) fs::create_directories(path);
  if (variant == BINARY) {
    std::string noise(4096, '\0');
    uint32_t state = 2463534242u;
    for (char& c : noise) c = static_cast<char>((state = state * 1664525u + 1013904223u) >> 24);
    testfiles::write_text(path, noise);
  }
}

// Loads what start-up loads (building the first level), the pictures and the start map too, then
// plays a second on the map with a player walking; prints "played" at the end.
void load_and_play(const std::function<void(const std::string&)>& alter) {
  alarm(60);  // instead of the child's 20 s: under the sanitizers all this takes a while
  defaultgame::DefaultGame game(320, 240, alter);
  enter_intro();
  enter_title();
  play_music("");
  load_map(APPENTRY + APPSTART + ".ai42");  // and play on the map, as map mode does
  current_map = map_number;
  for (int32_t frame = 0; frame < 60; ++frame) defaultgame::run_frame({defaultgame::BOT}, false);
  std::fprintf(stderr, "played\n");
}

struct DataFile {
  const char* path;        // in the default data set
  unsigned named_lines;    // variants (bits) for which stderr must name the file
  bool fatal_when_absent;  // a missing file (or a directory instead) ends start-up with a message
};

void PrintTo(const DataFile& file, std::ostream* out) { *out << file.path; }

constexpr unsigned bits(std::initializer_list<Variant> variants) {
  unsigned b = 0;
  for (Variant v : variants) b |= 1u << v;
  return b;
}
// Images and sounds found by listing a directory are not there when missing (a directory in their
// place is not listed either); those loaded by name are named whenever they fail.
constexpr unsigned LISTED_IMAGE = bits({EMPTY, BINARY, TRUNCATED});
constexpr unsigned NAMED_IMAGE = bits({MISSING, EMPTY, BINARY, TRUNCATED, DIRECTORY});
constexpr unsigned LISTED_SOUND = bits({EMPTY, BINARY});  // half a Vorbis stream may still play

class BrokenFile : public ::testing::TestWithParam<DataFile> {};

TEST_P(BrokenFile, EachVariantEndsAsTheFormatsSay) {
  const DataFile& file = GetParam();
  for (const Variant variant : {MISSING, EMPTY, BINARY, TRUNCATED, DIRECTORY}) {
    SCOPED_TRACE(VARIANT_NAMES[variant]);
    const testchild::ChildResult child = testchild::run_child(
        [&] { load_and_play([&](const std::string& dir) { break_file(dir + file.path, variant); }); });
    EXPECT_FALSE(contains(child.output, "runtime error")) << child.output;
    const bool fatal = file.fatal_when_absent && (variant == MISSING || variant == DIRECTORY);
    if (fatal) {
      EXPECT_TRUE(testchild::ended_with_failure_status(child.status)) << child.status << child.output;
      EXPECT_TRUE(contains(child.output, " Could not open")) << child.output;
    } else {
      EXPECT_TRUE(testchild::ended_normally(child.status) && contains(child.output, "played"))
          << child.status << child.output;
    }
    if ((file.named_lines & (1u << variant)) != 0) {
      EXPECT_TRUE(contains(child.output, std::string(file.path) + ": ")) << child.output;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    DefaultDataSet, BrokenFile,
    ::testing::Values(DataFile{"DATA/LEVELS/base.txt", 0, true}, DataFile{"DATA/LEVELS/DEFAULT/LAB_FLOOR", 0, false},
                      DataFile{"DATA/LEVELS/DEFAULT.ai42", 0, true}, DataFile{"DATA/LEVELS/DEFAULT.red", 0, false},
                      DataFile{"DATA/GFX/OBJECTS/gem.dll", 0, false},
                      DataFile{"DATA/GFX/OBJECTS/gem.png", LISTED_IMAGE, false},
                      DataFile{"DATA/GFX/TILES/floor.png", LISTED_IMAGE, false},
                      DataFile{"DATA/GFX/FLOATERS/glow_amber.png", LISTED_IMAGE, false},
                      DataFile{"DATA/GFX/player.png", NAMED_IMAGE, false},
                      DataFile{"DATA/GFX/SCREENS/title.png", NAMED_IMAGE, false},
                      DataFile{"DATA/FONT/charset.txt", 0, false}, DataFile{"DATA/FONT/A.png", NAMED_IMAGE, false},
                      DataFile{"DATA/SFX/step.ogg", LISTED_SOUND, false},
                      DataFile{"DATA/MUSIC/labyrinth.ogg", LISTED_SOUND, false}),
    [](const ::testing::TestParamInfo<DataFile>& info) {
      return std::regex_replace(info.param.path, std::regex("[^A-Za-z0-9]"), "_");
    });

// Every number of the configuration, the base level, the content and the definition files set
// to one extreme at once (a value line is a number when it is nothing else).
void set_every_number(const std::string& dir, const std::string& value) {
  const std::regex number("(^|\n)-?[0-9]+(\\.[0-9]+)?(?=\r)");
  for (const auto& entry : fs::recursive_directory_iterator(dir + "DATA")) {
    const std::string path = entry.path().string();
    const bool text = entry.path().filename() == "ini.txt" || entry.path().filename() == "base.txt" ||
                      entry.path().extension() == ".dll" || path.find("/LEVELS/DEFAULT/") != std::string::npos;
    if (entry.is_regular_file() && text) {
      testfiles::write_text(path, std::regex_replace(testfiles::read_all(path), number, "$1" + value));
    }
  }
}

class ExtremeNumbers : public ::testing::TestWithParam<const char*> {};

TEST_P(ExtremeNumbers, EveryNumberAtOnePlaysOn) {
  const testchild::ChildResult child =
      testchild::run_child([&] { load_and_play([&](const std::string& dir) { set_every_number(dir, GetParam()); }); });
  EXPECT_TRUE(testchild::ended_normally(child.status) && contains(child.output, "played"))
      << child.status << child.output;
  EXPECT_FALSE(contains(child.output, "runtime error")) << child.output;
}

INSTANTIATE_TEST_SUITE_P(Extremes, ExtremeNumbers,
                         ::testing::Values("-1", "0", "2147483647", "1099511627776", "-2147483648", "many"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return "value" + std::to_string(info.index); });

}  // namespace
