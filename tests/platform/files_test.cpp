// Text files, paths without regard to case, directory listings and handles (writing and
// appending are tested with the error log, re-reading an edited file with the level builder).
#include "platform/platform_fixture.h"
#include "platform/platform_internal.h"

namespace {

using Lines = std::vector<std::string>;

Lines read_all_lines(const std::string& path) {
  Lines lines;
  const int32_t file = file_open_read(-1, path);
  EXPECT_NE(file, 0) << path;
  while (file_eof(file) == 0) lines.push_back(file_read_line(file));
  file_close(file);
  return lines;
}

std::vector<std::string> list(const std::string& directory, const std::string& pattern) {
  std::vector<std::string> entries;
  const int32_t dir = dir_examine(-1, directory, pattern);
  while (dir_next_entry(dir) != 0) entries.push_back(dir_entry_name(dir) + (dir_entry_type(dir) == ENTRY_DIRECTORY ? "/" : ""));
  dir_finish(dir);
  return entries;
}

TEST(TextFiles, LineEndsOfEveryKind) {
  testfiles::TempDir temp;
  const std::string long_line(100000, 'x');
  const std::pair<std::string, Lines> cases[] = {
      {"one\r\ntwo\nthree\rfour\r\n\r\n" + long_line + "\nlast\xF6", {"one", "two", "three", "four", "", long_line, "last\xF6"}},
      {"a\r", {"a"}},  // a CR as the very last byte swallows nothing
      {"a\n\rb", {"a", "", "b"}},
      {"", {}},
      // A UTF-8 byte-order mark is skipped at the start of a file only, as some editors write one.
      {"\xEF\xBB\xBF" "APPNAME\r\n\xEF\xBB\xBF" "x\r\n", {"APPNAME", "\xEF\xBB\xBF" "x"}},
  };
  for (const auto& [bytes, lines] : cases) {
    testfiles::write_text(temp.file("t.txt"), bytes);
    EXPECT_EQ(read_all_lines(temp.path + "t.txt"), lines);
  }
}

TEST(Paths, CaseInsensitiveFallbackPerComponent) {
  testfiles::TempDir temp;
  testfiles::write_text(temp.file("Zone/Gfx/Tile.PNG"), "bytes\n");
  // Every component in the wrong case (Z included), backslashes and a doubled separator.
  EXPECT_EQ(read_all_lines(temp.path + "zONE\\gfx\\\\tile.png"), Lines{"bytes"});
  // A new file in an existing directory written in the wrong case lands in that directory.
  file_close(file_open(-1, temp.path + "ZONE/GFX/new.txt"));
  EXPECT_EQ(list(temp.path + "Zone/Gfx", "*.txt"), Lines{"new.txt"});
  EXPECT_EQ(file_open_read(-1, temp.path + "zone/gfx/missing.png"), 0);
  EXPECT_EQ(file_open_read(-1, temp.path + "zone\\gfx\\"), 0);  // a directory is no file
}

// Catalogs rely on listings sorted by name with patterns matched without case and no dot entries.
TEST(Listings, SortedMatchedWithoutCaseAndWithoutDots) {
  testfiles::TempDir temp;
  for (const char* name : {"b.png", "A.PNG", "c.Png", "notes.txt", "png", "x.png.bak"}) testfiles::write_text(temp.file(name), "");
  testfiles::make_dirs(temp.path + "sub.png");
  EXPECT_EQ(list(temp.path, "*.png"), (Lines{"A.PNG", "b.png", "c.Png", "sub.png/"}));
  EXPECT_EQ(list(temp.path, "*").size(), 7u);
  EXPECT_EQ(dir_examine(-1, temp.path + "missing", "*"), 0);
}

// The count wraps to 1 past the largest handle and skips live ones; a closed or unknown handle
// does nothing; a fixed one is taken as given until the reset.
TEST(Handles, CountWrapsSkipsLiveHandlesAndDeadOnesDoNothing) {
  HandleTable<int> table;
  table.next = 2147483647;
  EXPECT_EQ(handle_claim(table, -1), 2147483647);
  handle_store(table, 1, 10);
  handle_store(table, 2, 20);
  EXPECT_EQ(std::vector<int32_t>({handle_claim(table, -1), handle_claim(table, 0), handle_claim(table, -5)}),
            std::vector<int32_t>({3, 0, 0}));
  testfiles::TempDir temp;
  testfiles::write_text(temp.file("a.txt"), "alpha\n");
  const int32_t a = file_open_read(-1, temp.path + "a.txt");
  file_close(a);
  file_close(a);
  EXPECT_EQ(std::pair(file_read_line(a), file_eof(a)), std::pair(std::string(), 0));
  EXPECT_EQ(file_open_read(-7, temp.path + "a.txt"), 0);
  EXPECT_EQ(file_open_read(40, temp.path + "a.txt"), 40);
  EXPECT_EQ(file_read_line(40), "alpha");
  EXPECT_EQ(dir_next_entry(12345) + sprite_width(99) + sound_exists(99), 0);
  sprite3d_draw(99, 0, 0);
  sound_play(99, 0);
  testing_reset_platform();
  EXPECT_EQ(file_read_line(40), "");  // closed by the reset
}


TEST(PlayerFiles, ReplacedWholeInTheirXdgPlaces) {
  testfiles::TempDir temp;
  setenv("XDG_CONFIG_HOME", (temp.path + "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (temp.path + "data").c_str(), 1);
  EXPECT_EQ(player_config_directory(), temp.path + "config/zorvane/");
  EXPECT_EQ(player_data_directory(), temp.path + "data/zorvane/");
  // A relative XDG_CONFIG_HOME does not count: the fallback under HOME is taken.
  setenv("HOME", (temp.path + "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(player_config_directory(), temp.path + "home/.config/zorvane/");

  const std::string path = temp.path + "scores";
  EXPECT_EQ(write_file_replacing(path, "first"), "");
  EXPECT_EQ(write_file_replacing(path, "second, longer"), "");
  EXPECT_EQ(testfiles::read_all(path), "second, longer");
  // A place that cannot be written leaves the old file whole and says where.
  const std::string missing = temp.path + "no/such/dir/scores";
  EXPECT_NE(write_file_replacing(missing, "x").find(temp.path + "no/such/dir/scores.new"), std::string::npos);
  EXPECT_EQ(list(temp.path, "*"), (std::vector<std::string>{"config/", "data/", "home/", "scores"}));
}

}  // namespace
