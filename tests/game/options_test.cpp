#include "game/options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

using namespace tessera;

namespace {

bool one_line(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

}  // namespace

// Help (which ends the reading of the line) and the version end at once with status 0 on standard
// output; every mistake with status 2 and one line that names what was wrong.
TEST(Options, HelpVersionAndMistakesEndAtOnce) {
  const struct {
    std::vector<std::string> arguments;
    const char* named;
    int32_t status = 2;
  } cases[] = {
      {{"--help", "--bogus"}, "--data DIR", 0},
      {{"--help", "--bogus"}, "--window WxH", 0},
      {{"--help", "--bogus"}, "  --help", 0},
      {{"--help", "--bogus"}, "--version", 0},
      {{"--help"}, "--reset-settings", 0},
      {{"--help"}, "zorvane/settings.ini\n", 0},
      {{"--reset-settings", "--window", "640x480"}, "--reset-settings goes alone"},
      {{"--version"}, "zorvane ", 0},
      {{"--bogus"}, "unknown option --bogus"},
      {{"-w"}, "unknown option -w"},
      {{"level.txt"}, "unexpected argument level.txt"},
      {{"--window"}, "--window needs a value"},
      {{"--window", "1280"}, "not 1280"},
      {{"--window", "12a0x720"}, "not 12a0x720"},
      {{"--window", "-1280x720"}, "not -1280x720"},
      {{"--window", "99999999999x720"}, "not 99999999999x720"},
      {{"--window", "100x720"}, "not 100x720"},
      {{"--window", "1280x20000"}, "not 1280x20000"},
      {{"--data"}, "--data needs a value"},
      {{"--data", "/no/such/directory"}, "not a directory: /no/such/directory"},
      {{"--data="}, "not a directory"},
      {{"--help=yes"}, "--help takes no value"},
      {{"--window", "800x600", "--bogus"}, "unknown option --bogus"},
      {{"--render-level", "1"}, "--render-level needs --out FILE.png"},
      {{"--render-level", "one", "--out", "a.png"}, "expected a map number (0 or more), not one"},
      {{"--check", "--render-level", "1", "--out", "a.png"}, "cannot be combined"},
      {{"--replay", "a.zvreplay", "--scores"}, "cannot be combined"},
      {{"--verify-replay"}, "--verify-replay needs a value FILE"},
      {{"--scores", "/tmp"}, "unexpected argument /tmp"},
      {{"--verify-replay", "a.zvreplay", "--window", "800x600"}, "--window goes with play alone"},
      {{"--replay", "a.zvreplay", "--window", "800x600"}, "--window goes with play alone"},
      {{"--check", "--out", "a.png"}, "--out, --rebuilt and --cell go with --render-level"},
      {{"--render-level", "1", "--out", "a.png", "--cell", "0"}, "expected pixels a cell from 1 to 1024, not 0"},
      {{"--check", "/tmp", "/tmp"}, "unexpected argument /tmp"},
      {{"--check", "--data", "/tmp", "/tmp"}, "give the start directory once"},
      {{"--check", "/no/such/directory"}, "not a directory: /no/such/directory"},
      {{"--check", "--window", "800x600"}, "--window goes with play"},
  };
  for (const auto& c : cases) {
    const LaunchOptions options = parse_launch_options(c.arguments);
    EXPECT_EQ(options.exit_status, c.status) << c.named;
    EXPECT_EQ(one_line(options.message), c.arguments[0] != "--help") << options.message;
    EXPECT_NE(options.message.find(c.named), std::string::npos) << options.message;
    EXPECT_EQ(options.window_width, 0) << c.named;
  }
}

// Values in both spellings; the tools take the start directory as their last argument, or use the
// current one. Entering the start directory is seen working by the installed game's test; a
// directory that cannot be entered leaves the current one.
TEST(Options, AcceptedLinesSetTheirValues) {
  testfiles::TempDir dir;
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--window", "1280x720", "--data", dir.path},
        std::vector<std::string>{"--data=" + dir.path, "--window=1280x720"}}) {
    const LaunchOptions options = parse_launch_options(arguments);
    EXPECT_EQ(options.exit_status, -1) << options.message;
    EXPECT_EQ(options.window_width, 1280);
    EXPECT_EQ(options.window_height, 720);
    EXPECT_EQ(options.data_directory, dir.path);
  }
  const LaunchOptions check = parse_launch_options({"--check"});
  EXPECT_EQ(check.exit_status, -1) << check.message;
  EXPECT_EQ(check.mode, LaunchMode::check);
  EXPECT_EQ(check.data_directory, "");
  EXPECT_EQ(parse_launch_options({"--check", dir.path}).data_directory, dir.path);

  const LaunchOptions render =
      parse_launch_options({"--render-level", "20", dir.path, "--out=map.png", "--rebuilt", "--cell", "16"});
  EXPECT_EQ(render.exit_status, -1) << render.message;
  EXPECT_EQ(render.mode, LaunchMode::render_level);
  EXPECT_EQ(render.render_map, 20);
  EXPECT_TRUE(render.render_rebuilt);
  EXPECT_EQ(render.render_cell, 16);
  EXPECT_EQ(render.render_out, "map.png");
  EXPECT_EQ(render.data_directory, dir.path);

  const LaunchOptions verify = parse_launch_options({"--verify-replay=a.zvreplay", "--data", dir.path});
  EXPECT_EQ(verify.mode, LaunchMode::verify_replay);
  EXPECT_EQ(verify.replay_file, "a.zvreplay");
  EXPECT_EQ(verify.data_directory, dir.path);

  const std::filesystem::path before = std::filesystem::current_path();
  LaunchOptions gone = render;
  gone.data_directory = dir.path + "removed";
  EXPECT_TRUE(one_line(enter_data_directory(gone)));
  EXPECT_EQ(std::filesystem::current_path(), before);
}
