#include "platform/platform.h"
#include "platform/platform_internal.h"
#include "platform/platform_testing.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

#include <string>
#include <vector>

namespace tessera {
namespace {

std::vector<std::string> read_all_lines(int32_t file) {
  std::vector<std::string> lines;
  while (file_eof(file) == 0) lines.push_back(file_read_line(file));
  return lines;
}

struct Entry {
  std::string name;
  int32_t type;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> list(const std::string& directory, const std::string& pattern) {
  std::vector<Entry> entries;
  const int32_t dir = dir_examine(-1, directory, pattern);
  if (dir == 0) return entries;
  while (dir_next_entry(dir) != 0) entries.push_back({dir_entry_name(dir), dir_entry_type(dir)});
  dir_finish(dir);
  return entries;
}

TEST(TextFiles, LineEndsOfEveryKindAndLongLines) {
  testfiles::TempDir temp;
  const std::string long_line(100000, 'x');
  // CR LF, a lone LF, a lone CR, an empty CR LF line, the long line, no final line end.
  testfiles::write_text(temp.file("mixed.txt"), "one\r\ntwo\nthree\rfour\r\n\r\n" + long_line + "\nlast\xF6");
  const int32_t file = file_open_read(-1, temp.path + "mixed.txt");
  ASSERT_NE(file, 0);
  EXPECT_EQ(read_all_lines(file),
            (std::vector<std::string>{"one", "two", "three", "four", "", long_line, "last\xF6"}));
  EXPECT_EQ(file_eof(file), 1);
  EXPECT_EQ(file_read_line(file), "");  // past the end: empty, no failure
  file_close(file);

  // A UTF-8 byte-order mark is skipped at the start of a file only, as some editors write one.
  testfiles::write_text(temp.file("bom.txt"), "\xEF\xBB\xBF" "APPNAME\r\n\xEF\xBB\xBF" "x\r\n");
  const int32_t bom = file_open_read(-1, temp.path + "bom.txt");
  EXPECT_EQ(read_all_lines(bom), (std::vector<std::string>{"APPNAME", "\xEF\xBB\xBF" "x"}));
  file_close(bom);

  // A CR as the very last byte ends the line without swallowing anything.
  testfiles::write_text(temp.file("cr.txt"), "a\r");
  const int32_t cr = file_open_read(-1, temp.path + "cr.txt");
  EXPECT_EQ(read_all_lines(cr), (std::vector<std::string>{"a"}));
  file_close(cr);
}

TEST(TextFiles, OpenCreatesAndWritesCrLf) {
  testfiles::TempDir temp;
  const std::string path = temp.path + "log\\errors.txt";  // backslash separators as configured
  testfiles::make_dirs(temp.path + "log");
  EXPECT_EQ(file_open_read(-1, path), 0);  // reading never creates

  const int32_t file = file_open(-1, path);
  ASSERT_NE(file, 0);
  EXPECT_EQ(file_eof(file), 1);
  file_write_line(file, "first");
  file_write_line(file, "");
  file_close(file);
  EXPECT_EQ(testfiles::read_all(temp.path + "log/errors.txt"), "first\r\n\r\n");

  // Opening again starts at the beginning: reading finds the old lines, then writing appends.
  const int32_t again = file_open(-1, path);
  EXPECT_EQ(file_read_line(again), "first");
  EXPECT_EQ(file_read_line(again), "");
  EXPECT_EQ(file_eof(again), 1);
  file_write_line(again, "second");
  file_close(again);
  EXPECT_EQ(testfiles::read_all(temp.path + "log/errors.txt"), "first\r\n\r\nsecond\r\n");

  // A missing directory is a failure, not a crash.
  EXPECT_EQ(file_open(-1, temp.path + "nowhere/x.txt"), 0);
}

// Files are read whole when opened; each open must see what is on disk at that moment, and a
// directory is no file.
TEST(TextFiles, EveryOpenReadsTheFileAsItIsNow) {
  testfiles::TempDir temp;
  const std::string path = temp.file("RGB/LAB/LAB_FLOOR");
  testfiles::write_text(path, "GFXNAME\r\nfloor.png\r\n");
  const int32_t first = file_open_read(-1, temp.path + "RGB\\LAB\\LAB_FLOOR");
  ASSERT_NE(first, 0);
  testfiles::write_text(path, "GFXNAME\r\nedited.png\r\nVALUE1\r\n7\r\n");
  // The file already open keeps the content it was opened with.
  EXPECT_EQ(read_all_lines(first), (std::vector<std::string>{"GFXNAME", "floor.png"}));
  file_close(first);

  const int32_t second = file_open_read(-1, temp.path + "RGB\\LAB\\LAB_FLOOR");
  EXPECT_EQ(read_all_lines(second), (std::vector<std::string>{"GFXNAME", "edited.png", "VALUE1", "7"}));
  file_close(second);

  testfiles::write_text(path, "");
  const int32_t emptied = file_open_read(-1, path);
  ASSERT_NE(emptied, 0);
  EXPECT_EQ(file_eof(emptied), 1);
  EXPECT_EQ(file_read_line(emptied), "");
  file_write_line(emptied, "ignored");  // opened for reading only
  file_close(emptied);
  EXPECT_EQ(testfiles::read_all(path), "");

  EXPECT_EQ(file_open_read(-1, temp.path + "RGB/LAB"), 0);
  EXPECT_EQ(file_open_read(-1, temp.path + "rgb\\lab\\"), 0);
}

TEST(Handles, CountWrapsToOneAndSkipsLiveHandles) {
  HandleTable<int> table;
  table.next = 2147483647;
  EXPECT_EQ(handle_claim(table, -1), 2147483647);
  handle_store(table, 1, 10);
  handle_store(table, 2, 20);
  EXPECT_EQ(handle_claim(table, -1), 3);  // 1 and 2 are alive
  EXPECT_EQ(handle_claim(table, -1), 4);
  EXPECT_EQ(handle_claim(table, 0), 0);
  EXPECT_EQ(handle_claim(table, -5), 0);
  EXPECT_EQ(handle_claim(table, 2), 2);  // a fixed handle replaces what is there
}

TEST(Paths, CaseInsensitiveFallbackPerComponent) {
  testfiles::TempDir temp;
  testfiles::write_text(temp.file("Data/Gfx/Tile.PNG"), "bytes\n");
  // Every component in the wrong case, backslashes, and a doubled separator.
  const int32_t file = file_open_read(-1, temp.path + "DATA\\gfx\\\\tile.png");
  ASSERT_NE(file, 0);
  EXPECT_EQ(file_read_line(file), "bytes");
  file_close(file);
  // A new file in an existing directory written in the wrong case lands in that directory.
  const int32_t created = file_open(-1, temp.path + "data/GFX/new.txt");
  ASSERT_NE(created, 0);
  file_close(created);
  EXPECT_EQ(list(temp.path + "Data/Gfx", "*.txt"), (std::vector<Entry>{{"new.txt", ENTRY_FILE}}));
  EXPECT_EQ(file_open_read(-1, temp.path + "data/gfx/missing.png"), 0);
}

TEST(Listings, SortedCaseInsensitiveAndWithoutDots) {
  testfiles::TempDir temp;
  for (const char* name : {"b.png", "A.PNG", "c.Png", "a.png", "notes.txt", "png", "x.png.bak"}) {
    testfiles::write_text(temp.file(name), "");
  }
  testfiles::make_dirs(temp.path + "sub.png");
  EXPECT_EQ(list(temp.path, "*.png"), (std::vector<Entry>{{"A.PNG", ENTRY_FILE},
                                                           {"a.png", ENTRY_FILE},
                                                           {"b.png", ENTRY_FILE},
                                                           {"c.Png", ENTRY_FILE},
                                                           {"sub.png", ENTRY_DIRECTORY}}));
  const std::vector<Entry> all = list(temp.path, "*");
  ASSERT_EQ(all.size(), 8u);
  for (const Entry& entry : all) {
    EXPECT_NE(entry.name, ".");
    EXPECT_NE(entry.name, "..");
  }
  EXPECT_EQ(list(temp.path + "SUB.PNG", "*"), std::vector<Entry>{});  // exists, but empty
  EXPECT_EQ(dir_examine(-1, temp.path + "missing", "*"), 0);

  // Before the first dir_next_entry and after the last, there is no entry.
  const int32_t dir = dir_examine(-1, temp.path, "*.txt");
  EXPECT_EQ(dir_entry_name(dir), "");
  EXPECT_NE(dir_next_entry(dir), 0);
  EXPECT_EQ(dir_entry_name(dir), "notes.txt");
  EXPECT_EQ(dir_next_entry(dir), 0);
  EXPECT_EQ(dir_entry_name(dir), "");
  EXPECT_EQ(dir_next_entry(dir), 0);
  dir_finish(dir);
}

TEST(Handles, DeadHandlesDoNothingAndFixedHandlesWork) {
  testfiles::TempDir temp;
  testfiles::write_text(temp.file("a.txt"), "alpha\n");
  testfiles::write_text(temp.file("b.txt"), "beta\n");
  const int32_t a = file_open_read(-1, temp.path + "a.txt");
  const int32_t b = file_open_read(-1, temp.path + "b.txt");
  EXPECT_GT(a, 0);
  EXPECT_GT(b, 0);
  EXPECT_NE(a, b);
  file_close(a);
  EXPECT_EQ(file_read_line(a), "");
  EXPECT_EQ(file_eof(a), 0);
  file_close(a);  // twice: nothing happens
  EXPECT_EQ(file_read_line(b), "beta");

  EXPECT_EQ(file_open_read(0, temp.path + "a.txt"), 0);
  EXPECT_EQ(file_open_read(-7, temp.path + "a.txt"), 0);
  EXPECT_EQ(file_open_read(40, temp.path + "a.txt"), 40);
  EXPECT_EQ(file_read_line(40), "alpha");
  EXPECT_EQ(dir_next_entry(12345), 0);
  EXPECT_EQ(dir_entry_type(12345), 0);
  EXPECT_EQ(sprite_exists(99), 0);
  EXPECT_EQ(sprite_width(99), 0);
  EXPECT_EQ(sprite3d_exists(99), 0);
  sprite3d_draw(99, 0, 0);
  sprite_free(99);
  EXPECT_EQ(sound_exists(99), 0);
  sound_play(99, 0);
  sound_stop(99);
  EXPECT_EQ(testing_sound_play_count(99), 0);
  testing_reset_platform();
  EXPECT_EQ(file_read_line(40), "");  // closed by the reset
}

TEST(Directories, EndWithSeparator) {
  EXPECT_EQ(current_directory().back(), '/');
  EXPECT_EQ(home_directory().back(), '/');
  EXPECT_EQ(current_directory().front(), '/');
}

}  // namespace
}  // namespace tessera
