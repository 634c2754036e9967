// Map files: three-line colour records column by column, the alpha file beside them, and sizes
// the matrix cannot hold; the progress bars shown while a level is built or a map is read.
#include "resources/map_files.h"

#include <sys/wait.h>

#include <cstdio>

#include "core/numeric.h"
#include "resources/progress_bars.h"
#include "resources/resource_fixture.h"

namespace {

class MapFilesTest : public ResourceTest {
 protected:
  const std::string map_path = dir.path + "MAPS/map.ai42";

  void SetUp() override {
    ResourceTest::SetUp();
    screen_width = 320.0f;
    screen_height = 240.0f;
    APPSTART = "map";
    USESPRITE3D = 1;
  }
  // The header, then one three-line record per entry ("a_b_c" gives a, _b, _c).
  void write_map(const std::string& width, const std::string& height, const std::vector<std::string>& records) {
    std::vector<std::string> lines = {"topographic data", width, height, "-", "-"};
    for (const std::string& r : records) lines.insert(lines.end(), {r.substr(0, r.find('_')), "_", r.substr(r.find('_') + 1)});
    testfiles::write_lines(map_path, lines);
  }
  // The tile kinds and alphas of the given cells.
  static std::vector<std::string> kinds(std::initializer_list<std::pair<int32_t, int32_t>> cells) {
    std::vector<std::string> out;
    for (const auto& [x, y] : cells) out.push_back(world_cell(x, y).tile_kind);
    return out;
  }
  static std::vector<int32_t> alphas(std::initializer_list<std::pair<int32_t, int32_t>> cells) {
    std::vector<int32_t> out;
    for (const auto& [x, y] : cells) out.push_back(world_cell(x, y).alpha);
    return out;
  }
  void write_alpha(std::vector<std::string> alphas) {
    alphas.insert(alphas.begin(), {"ignored", "header", "lines", "of the", "alpha file"});
    testfiles::write_lines(dir.path + "MAPS/map.red", alphas);
  }
};

TEST_F(MapFilesTest, MapAndAlphaFilesFillTheCellsColumnByColumn) {
  content("a_1", {"TRANSPARENCY", "0", "VALUE1", "4"});
  content("b_2", {"TRANSPARENCY", "0", "USECOLLISION", "1"});
  write_map("3", "2", {"a_1", "b_2", "a_1", "b_2", "a_1", "b_2", "a_1", "b_2", "a_1", "b_2", "a_1", "b_2"});
  write_alpha({"255", "0", "abc", "128", "  77x", "255", "255", "255", "255", "255", "255", "9"});
  load_map(map_path);
  EXPECT_EQ(std::pair(level_width, level_height), std::pair(3, 2));
  // Record i lands at x = i / 3, y = i % 3: the file's height counts one row more than it says.
  EXPECT_EQ(kinds({{0, 2}, {1, 0}, {3, 2}}), (std::vector<std::string>{"a_1", "b_2", "b_2"}));
  EXPECT_EQ(world_cell(0, 0).value1, 4);
  EXPECT_EQ(world_cell(1, 0).use_collision, 1);
  EXPECT_EQ(world_cell(3, 2).in_level, 1);
  EXPECT_EQ(world_cell(4, 0).in_level + world_cell(0, 3).in_level, 0);
  // Alphas replace the content files' values.
  EXPECT_EQ(alphas({{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {3, 2}}), (std::vector<int32_t>{255, 0, 0, 128, 77, 9}));
  EXPECT_EQ(std::pair(visible_columns, visible_rows), std::pair(11.0f, 8.0f));  // ceil(320 / 30), ceil(240 / 30)

  // Without an alpha file the cells keep the alphas of their content files.
  std::remove((dir.path + "MAPS/map.red").c_str());
  content("a_1", {"TRANSPARENCY", "55"});
  load_map(map_path);
  EXPECT_EQ(world_cell(0, 0).alpha, 200);
}

TEST_F(MapFilesTest, ShortLongAndOversizeFilesStayInStepWithoutTheSprite3dSwitch) {
  USESPRITE3D = 0;
  content("c_c", {"TRANSPARENCY", "0"});
  world_cell(5, 0).tile_kind = "OLD";
  // Width 1, height 1 announces four cells; five records are given.
  write_map("1", "1", {"c_c", "c_c", "c_c", "d_d", "e_e"});
  load_map(map_path);
  EXPECT_EQ(kinds({{1, 1}, {2, 0}}), (std::vector<std::string>{"d_d", ""}));  // the fifth is past the last column
  EXPECT_EQ(world_cell(0, 0).alpha, 0);  // content is not applied with the switch off
  EXPECT_EQ(world_cell(0, 0).in_level, 1);
  write_map("5", "1", {"f_f", "g_g", "h_h"});
  load_map(map_path);  // three records: the cells after them keep what they had
  EXPECT_EQ(kinds({{1, 0}, {1, 1}, {5, 0}}), (std::vector<std::string>{"h_h", "d_d", "OLD"}));

  // Height 600: every column has 601 records, of which rows 513..600 fall outside the matrix.
  std::vector<std::string> records, alpha_lines;
  for (int x = 0; x < 2; ++x) {
    for (int y = 0; y <= 600; ++y) {
      records.push_back(std::to_string(x) + "_" + std::to_string(y));
      alpha_lines.push_back(std::to_string((x * 7 + y) % 256));
    }
  }
  write_map("1", "600", records);
  write_alpha(alpha_lines);
  load_map(map_path);
  EXPECT_EQ(std::pair(level_width, level_height), std::pair(1, 512));
  EXPECT_EQ(kinds({{0, 512}, {1, 512}}), (std::vector<std::string>{"0_512", "1_512"}));
  EXPECT_EQ(alphas({{1, 3}, {1, 300}}), (std::vector<int32_t>{10, (7 + 300) % 256}));
  // Width 700: columns past 512 are dropped; a negative height counts as a single row.
  records.clear();
  for (int x = 0; x <= 700; ++x) records.push_back("w_" + std::to_string(x));
  write_map("700", "-4", records);
  write_alpha({});
  load_map(map_path);
  EXPECT_EQ(std::pair(level_width, level_height), std::pair(512, 0));
  EXPECT_EQ(kinds({{512, 0}, {0, 1}}), (std::vector<std::string>{"w_512", "0_1"}));  // (0, 1) from the map before
}

// Start-up checks the map files first; the reader must end the program by itself all the same.
TEST_F(MapFilesTest, MissingMapFileEndsTheProgramWithErrorKindFive) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(load_map(dir.path + "MAPS/none.ai42"), [](int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; },
              "Could not open topographic data");
}

// A 10 x 10 level: the bar grows by W / 100 a call, leaves current_map alone (a level counts as
// built only when its build has finished), and is drawn red over a black strip at 0.85 H. A level
// without area fills the bar at once instead of dividing by zero.
TEST_F(ResourceTest, LevelBuildingBar) {
  screen_width = 400.0f;
  screen_height = 200.0f;
  level_width = level_height = 10;
  map_number = 4;
  current_map = 3;
  build_progress = 1.0f;
  for (int32_t call = 1; call <= 42; ++call) level_build_progress();
  EXPECT_EQ(current_map, 3);
  EXPECT_NEAR(build_progress, 1.0f + 42 * 4.0f, 0.01f);
  testing_record_draws(true);
  draw_progress_bar(build_progress);
  const DrawRecord& bar = testing_recorded_draws().back();
  EXPECT_EQ(std::vector<int32_t>({bar.y, bar.width, bar.height, bar.colour}),
            std::vector<int32_t>({170, round_to_int(1.0f + 42 * 4.0f), 8, rgb(255, 0, 0)}));
  level_width = 0;
  level_build_progress();
  EXPECT_NEAR(build_progress, 569.0f, 0.01f);
}

}  // namespace
