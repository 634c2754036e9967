#include "resources/map_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/test_files.h"

using namespace tessera;
using testfiles::write_lines;

namespace {

class MapFilesTest : public ::testing::Test {
 protected:
  testfiles::TempDir dir;
  std::string map_path;

  void SetUp() override {
    ASSERT_NE(testing_open_screen(320, 240), 0);
    world_state_set_defaults();
    declare_world_model();
    screen_width = 320.0f;
    screen_height = 240.0f;
    RESOLUTION = cell_width = cell_height = 30.0f;
    RGBCODEPATH = dir.path + "DATA/RGB/";
    APPSTART = "map";
    USESPRITE3D = 1;
    map_path = dir.path + "MAPS/map.ai42";
  }
  void TearDown() override { testing_reset_platform(); }

  static std::vector<std::string> header(const std::string& width, const std::string& height) {
    return {"topographic data", width, height, "-", "-"};
  }
  // One three-line colour record per entry, in column order.
  void write_map(const std::vector<std::string>& head, const std::vector<std::vector<std::string>>& records) {
    std::vector<std::string> lines = head;
    for (const auto& r : records) lines.insert(lines.end(), r.begin(), r.end());
    write_lines(map_path, lines);
  }
  void write_alpha(const std::vector<std::string>& alphas) {
    std::vector<std::string> lines = header("ignored", "ignored");
    lines.insert(lines.end(), alphas.begin(), alphas.end());
    write_lines(dir.path + "MAPS/map.red", lines);
  }
};

TEST_F(MapFilesTest, MapAndAlphaFilesFillTheCellsColumnByColumn) {
  write_lines(dir.path + "DATA/RGB/map/25500", {"TRANSPARENCY", "0", "VALUE1", "4"});
  write_lines(dir.path + "DATA/RGB/map/00255", {"TRANSPARENCY", "0", "USECOLLISION", "1"});
  std::vector<std::vector<std::string>> records;
  for (int i = 0; i < 12; ++i) {
    if (i == 1) records.push_back({"25", "50", "0"});
    else if (i % 2 == 0) records.push_back({"255", "0", "0"});
    else records.push_back({"0", "0", "255"});
  }
  write_map(header("3", "2"), records);
  write_alpha({"255", "0", "abc", "128", "  77x", "255", "255", "255", "255", "255", "255", "9"});

  load_map(map_path);
  EXPECT_EQ(level_width, 3);
  EXPECT_EQ(level_height, 2);
  // Record i lands at x = i / 3, y = i % 3.
  EXPECT_EQ(world_cell(0, 0).tile_kind, "25500");
  EXPECT_EQ(world_cell(0, 1).tile_kind, "25500");  // 25, 50, 0 joined
  EXPECT_EQ(world_cell(0, 2).tile_kind, "25500");
  EXPECT_EQ(world_cell(1, 0).tile_kind, "00255");
  EXPECT_EQ(world_cell(3, 2).tile_kind, "00255");
  EXPECT_EQ(world_cell(0, 0).value1, 4);
  EXPECT_EQ(world_cell(1, 0).use_collision, 1);
  EXPECT_EQ(world_cell(3, 2).in_level, 1);
  EXPECT_EQ(world_cell(4, 0).in_level, 0);
  EXPECT_EQ(world_cell(0, 3).in_level, 0);
  // Alphas replace the content files' values.
  EXPECT_EQ(world_cell(0, 0).alpha, 255);
  EXPECT_EQ(world_cell(0, 1).alpha, 0);
  EXPECT_EQ(world_cell(0, 2).alpha, 0);
  EXPECT_EQ(world_cell(1, 0).alpha, 128);
  EXPECT_EQ(world_cell(1, 1).alpha, 77);
  EXPECT_EQ(world_cell(3, 2).alpha, 9);
  EXPECT_FLOAT_EQ(visible_columns, 11.0f);  // ceil(320 / 30)
  EXPECT_FLOAT_EQ(visible_rows, 8.0f);
}

TEST_F(MapFilesTest, ShortAndLongFilesAndBareCellsWithoutTheSprite3dSwitch) {
  USESPRITE3D = 0;
  write_lines(dir.path + "DATA/RGB/map/111", {"TRANSPARENCY", "0"});
  world_cell(1, 1).tile_kind = "OLD";
  world_cell(5, 0).tile_kind = "OLD";
  // Width 1, height 1 announces four cells; five records are given, then a short run.
  write_map(header("1", "1"), {{"1", "1", "1"}, {"1", "1", "1"}, {"1", "1", "1"}, {"2", "2", "2"}, {"3", "3", "3"}});
  load_map(map_path);
  EXPECT_EQ(world_cell(1, 1).tile_kind, "222");
  EXPECT_EQ(world_cell(2, 0).tile_kind, "");  // the fifth record is past the last column
  EXPECT_EQ(world_cell(0, 0).alpha, 0);       // content is not applied with the switch off
  EXPECT_EQ(world_cell(0, 0).in_level, 1);

  write_map(header("5", "1"), {{"7", "7", "7"}, {"8", "8", "8"}, {"9", "9", "9"}});
  load_map(map_path);  // three records: the cells after them keep what they had
  EXPECT_EQ(world_cell(1, 0).tile_kind, "999");
  EXPECT_EQ(world_cell(1, 1).tile_kind, "222");
  EXPECT_EQ(world_cell(5, 0).tile_kind, "OLD");
  EXPECT_EQ(level_width, 5);
}

TEST_F(MapFilesTest, MissingAlphaFileKeepsTheContentAlphas) {
  write_lines(dir.path + "DATA/RGB/map/000", {"TRANSPARENCY", "55"});
  write_map(header("0", "0"), {{"0", "0", "0"}});
  load_map(map_path);
  EXPECT_EQ(world_cell(0, 0).alpha, 200);
}

TEST_F(MapFilesTest, OversizeAndNegativeSizesAreClippedAndTheFileStaysInStep) {
  USESPRITE3D = 0;
  // Height 600: every column has 601 records, of which rows 513..600 fall outside the matrix.
  std::vector<std::vector<std::string>> records;
  for (int x = 0; x < 2; ++x) {
    for (int y = 0; y <= 600; ++y) records.push_back({std::to_string(x), "_", std::to_string(y)});
  }
  write_map(header("1", "600"), records);
  std::vector<std::string> alphas;
  for (int x = 0; x < 2; ++x) {
    for (int y = 0; y <= 600; ++y) alphas.push_back(std::to_string((x * 7 + y) % 256));
  }
  write_alpha(alphas);
  load_map(map_path);
  EXPECT_EQ(level_width, 1);
  EXPECT_EQ(level_height, 512);
  EXPECT_EQ(world_cell(0, 512).tile_kind, "0_512");
  EXPECT_EQ(world_cell(1, 0).tile_kind, "1_0");
  EXPECT_EQ(world_cell(1, 512).tile_kind, "1_512");
  EXPECT_EQ(world_cell(1, 3).alpha, 10);
  EXPECT_EQ(world_cell(1, 300).alpha, (7 + 300) % 256);

  // Width 700, height 0: columns past 512 are dropped.
  records.clear();
  for (int x = 0; x <= 700; ++x) records.push_back({"w", "_", std::to_string(x)});
  write_map(header("700", "0"), records);
  write_alpha({});
  load_map(map_path);
  EXPECT_EQ(level_width, 512);
  EXPECT_EQ(level_height, 0);
  EXPECT_EQ(world_cell(512, 0).tile_kind, "w_512");

  // A negative height counts as a single row.
  write_map(header("2", "-4"), {{"n", "_", "0"}, {"n", "_", "1"}, {"n", "_", "2"}});
  load_map(map_path);
  EXPECT_EQ(level_height, 0);
  EXPECT_EQ(world_cell(2, 0).tile_kind, "n_2");
  EXPECT_EQ(world_cell(0, 1).tile_kind, "0_1");  // from the first map, untouched
}

bool failed_exit(int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; }

TEST_F(MapFilesTest, MissingMapFileEndsTheProgramWithErrorKindFive) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(load_map(dir.path + "MAPS/none.ai42"), failed_exit, "Could not open topographic data");
}

}  // namespace
