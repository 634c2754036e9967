#include "actors/player_input.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "core/runtime.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;
using levelfixture::set_kind;

namespace {

// An open 30 x 30 floor with a wall ring, the player's figure at screen cell (sx, sy).
void open_field(int32_t sx, int32_t sy) {
  levelfixture::fill_level(30, 30, "LAB_FLOOR");
  for (int32_t i = 0; i <= 30; ++i) {
    set_kind(i, 0, "LAB_WALL");
    set_kind(i, 30, "LAB_WALL");
    set_kind(0, i, "LAB_WALL");
    set_kind(30, i, "LAB_WALL");
  }
  player.x = static_cast<float>(sx) * levelfixture::CELL;
  player.y = static_cast<float>(sy) * levelfixture::CELL;
  player.step_timer = 0;
  menu_active = 0;
  input_device = 0;
  player_input_set_defaults();
}

int32_t player_cell_x() { return static_cast<int32_t>(player.x / levelfixture::CELL) + static_cast<int32_t>(scroll_x); }
int32_t player_cell_y() { return static_cast<int32_t>(player.y / levelfixture::CELL) + static_cast<int32_t>(scroll_y); }

void hold(std::initializer_list<int32_t> keys) {
  testing_release_all_keys();
  for (int32_t key : keys) testing_set_key(key, true);
}

}  // namespace

TEST(PlayerInput, ArrowKeysCancelDiagonalsAndLaterKeysWin) {
  LevelData data(levelfixture::Options{false, false, true});
  open_field(3, 3);
  struct Case {
    std::initializer_list<int32_t> keys;
    int32_t dx;
    int32_t dy;
  };
  const Case cases[] = {
      {{KEY_UP, KEY_LEFT}, 0, 0},  {{KEY_DOWN, KEY_RIGHT}, 0, 0}, {{KEY_UP, KEY_DOWN}, 0, 1},
      {{KEY_LEFT, KEY_RIGHT}, 1, 0}, {{KEY_RIGHT}, 1, 0},          {{KEY_UP}, 0, -1},
  };
  for (const Case& c : cases) {
    const int32_t x0 = player_cell_x();
    const int32_t y0 = player_cell_y();
    hold(c.keys);
    read_play_input();
    EXPECT_EQ(player_cell_x() - x0, c.dx);
    EXPECT_EQ(player_cell_y() - y0, c.dy);
    EXPECT_EQ(player.motion, MOTION_IDLE);
  }
  // One step sound per step that was not blocked.
  EXPECT_EQ(testing_sound_play_count(LevelData::sound_handle("step.ogg")), 4);
}

TEST(PlayerInput, CursorSpeedPacesTheSteps) {
  LevelData data(levelfixture::Options{false, false, false});
  for (auto [delay, frames, steps] : {std::tuple{0, 6, 6}, std::tuple{1, 6, 3}, std::tuple{255, 512, 2}}) {
    open_field(2, 3);
    move_delay = delay;
    hold({KEY_DOWN});
    const int32_t y0 = player_cell_y();
    for (int32_t f = 0; f < frames; ++f) read_play_input();
    EXPECT_EQ(player_cell_y() - y0, steps) << "move_delay " << delay;
  }
}

TEST(PlayerInput, ViewScrollsPastTheCentreAndNotSymmetrically) {
  LevelData data(levelfixture::Options{false, false, false});
  // Screen 320 x 240: centre at x 160 (cell 5) and y 120 (between rows 3 and 4).
  open_field(4, 3);
  scroll_x = 5.0f;
  scroll_y = 5.0f;
  hold({KEY_RIGHT});
  read_play_input();  // 128 + 32 = 160: not past the centre, the figure moves
  EXPECT_FLOAT_EQ(player.x, 160.0f);
  read_play_input();  // 192 > 160: the view scrolls, the figure stays
  EXPECT_FLOAT_EQ(player.x, 160.0f);
  EXPECT_FLOAT_EQ(scroll_x, 6.0f);
  EXPECT_EQ(player_cell_x(), 11);
  hold({KEY_LEFT});
  read_play_input();  // from exactly the centre column the figure moves
  EXPECT_FLOAT_EQ(player.x, 128.0f);
  EXPECT_FLOAT_EQ(scroll_x, 6.0f);
  read_play_input();  // left of the centre the view scrolls back
  EXPECT_FLOAT_EQ(player.x, 128.0f);
  EXPECT_FLOAT_EQ(scroll_x, 5.0f);

  player.y = 120.0f;  // exactly the centre row
  hold({KEY_UP});
  read_play_input();
  EXPECT_FLOAT_EQ(player.y, 120.0f);
  EXPECT_FLOAT_EQ(scroll_y, 4.0f);

  // Scrolling never takes an offset below 1: the step that would moves the figure and sets 1.
  open_field(2, 2);
  hold({KEY_LEFT});
  read_play_input();
  EXPECT_FLOAT_EQ(scroll_x, 1.0f);
  EXPECT_FLOAT_EQ(player.x, 32.0f);
  EXPECT_EQ(player_cell_x(), 2);
  read_play_input();
  EXPECT_FLOAT_EQ(scroll_x, 1.0f);
  EXPECT_EQ(player_cell_x(), 1);
}

TEST(PlayerInput, ViewStopsScrollingWhereTheWindowWouldLeaveTheMatrix) {
  LevelData data(levelfixture::Options{false, false, false});
  open_field(5, 4);
  // The window reads columns scroll_x .. scroll_x + 10 and rows scroll_y .. scroll_y + 7 of 257.
  scroll_x = 245.0f;
  scroll_y = 248.0f;
  hold({KEY_RIGHT});
  read_play_input();
  EXPECT_FLOAT_EQ(scroll_x, 246.0f);
  EXPECT_FLOAT_EQ(player.x, 160.0f);
  read_play_input();  // one more scroll would read column 257: the figure moves instead
  EXPECT_FLOAT_EQ(scroll_x, 246.0f);
  EXPECT_FLOAT_EQ(player.x, 192.0f);
  hold({KEY_DOWN});
  read_play_input();
  EXPECT_FLOAT_EQ(scroll_y, 249.0f);
  read_play_input();
  EXPECT_FLOAT_EQ(scroll_y, 249.0f);
  EXPECT_FLOAT_EQ(player.y, 160.0f);
}

TEST(PlayerInput, BlockedStepsAndTheMatrixBorderStopThePlayer) {
  LevelData data(levelfixture::Options{false, false, true});
  open_field(3, 3);
  set_kind(4, 3, "LAB_WATER");  // use_collision 1 stops as well as 2
  hold({KEY_RIGHT});
  read_play_input();
  EXPECT_EQ(player_cell_x(), 3);
  EXPECT_EQ(testing_sound_play_count(LevelData::sound_handle("step.ogg")), 0);

  // A map without a wall ring: the player still cannot leave the matrix.
  levelfixture::fill_level(5, 5, "LAB_FLOOR");
  player.x = 0.0f;
  player.y = 32.0f;
  hold({KEY_LEFT});
  read_play_input();
  EXPECT_EQ(player_cell_x(), 0);
}

TEST(PlayerInput, OneBombPerPressOfFire) {
  LevelData data(levelfixture::Options{false, false, false});
  open_field(3, 3);
  bombs = "&&&";
  hold({});
  read_play_input();
  hold({KEY_SPACE});
  for (int f = 0; f < 5; ++f) read_play_input();
  EXPECT_EQ(bombs, "&&");
  hold({});
  read_play_input();
  hold({KEY_A});
  read_play_input();
  read_play_input();
  EXPECT_EQ(bombs, "&");
  // Another key (not fire) in between also re-arms.
  hold({KEY_D});
  read_play_input();
  hold({KEY_SPACE});
  read_play_input();
  EXPECT_EQ(bombs, "");
  hold({});
  read_play_input();
  hold({KEY_SPACE});
  read_play_input();
  EXPECT_EQ(bombs, "");

  // While the title screen runs nothing is dispatched.
  bombs = "&";
  menu_active = 1;
  hold({});
  read_play_input();
  hold({KEY_SPACE});
  read_play_input();
  EXPECT_EQ(bombs, "&");
}

TEST(PlayerInput, BombRaysUnfixUntilAHardStop) {
  LevelData data(levelfixture::Options{false, false, true});
  open_field(5, 5);
  data.write_content("LAB_FENCE", {"GFXNAME", "wall.png", "TRANSPARENCY", "0", "USECOLLISION", "1"});
  data.write_content("LAB_ROCK", {"GFXNAME", "wall.png", "TRANSPARENCY", "0", "USECOLLISION", "2"});
  // Right: fixed, fence (passed), fixed pink, rock (stops), fixed behind it untouched.
  set_kind(5, 5, "LAB_FIXED_FLOOR");  // the player's own cell
  set_kind(6, 5, "LAB_FIXED_FLOOR");
  set_kind(7, 5, "LAB_FENCE");
  set_kind(8, 5, "LAB_FIXED_PINK_FLOOR");
  set_kind(9, 5, "LAB_ROCK");
  set_kind(10, 5, "LAB_FIXED_FLOOR");
  // Up: two fixed cells, each with the blast sound; then the wall ring row 0 is never visited.
  set_kind(5, 4, "LAB_FIXED_FLOOR");
  set_kind(5, 2, "LAB_FIXED_PINK_FLOOR");
  // Left and down: a fixed cell each, blue floor left alone.
  set_kind(3, 5, "LAB_FIXED_FLOOR");
  set_kind(5, 7, "LAB_FIXED_FLOOR");
  set_kind(5, 8, "LAB_BLUE_FLOOR");
  tiles_left = 0;
  bombs = "&";
  use_bomb();
  EXPECT_EQ(bombs, "");
  for (auto [x, y] : {std::pair{5, 5}, {6, 5}, {8, 5}, {5, 4}, {5, 2}, {3, 5}, {5, 7}}) {
    EXPECT_EQ(world_cell(x, y).tile_kind, "LAB_FLOOR") << x << "," << y;
  }
  EXPECT_EQ(world_cell(10, 5).tile_kind, "LAB_FIXED_FLOOR");
  EXPECT_EQ(world_cell(5, 8).tile_kind, "LAB_BLUE_FLOOR");
  EXPECT_EQ(world_cell(7, 5).tile_kind, "LAB_FENCE");
  EXPECT_EQ(tiles_left, 7);  // the player's cell counted once
  EXPECT_EQ(testing_sound_play_count(LevelData::sound_handle("boom.ogg")), 2);

  // No bomb held: nothing happens.
  set_kind(6, 5, "LAB_FIXED_FLOOR");
  use_bomb();
  EXPECT_EQ(world_cell(6, 5).tile_kind, "LAB_FIXED_FLOOR");
}

TEST(PlayerInput, JoystickReplacesTheKeyboard) {
  LevelData data(levelfixture::Options{false, false, false});
  open_field(3, 3);
  input_device = 1;
  // Arrow keys and the map keys are not read with a joystick.
  hold({KEY_RIGHT, KEY_PAGE_UP});
  testing_set_joystick(true, 0, 0, 0);
  const int32_t map0 = map_number;
  read_play_input();
  hold({});
  read_play_input();
  EXPECT_EQ(player_cell_x(), 3);
  EXPECT_EQ(map_number, map0);
  // A vertical deflection overrides a horizontal one.
  testing_set_joystick(true, 1, 1, 0);
  read_play_input();
  EXPECT_EQ(player_cell_x(), 3);
  EXPECT_EQ(player_cell_y(), 4);
  // The first held button decides: 1 (X) before 9 (quit), 2 (fire) before 3 (B).
  testing_set_joystick(true, 0, 0, (1u << 0) | (1u << 8));
  read_play_input();
  EXPECT_EQ(action_code, ACTION_X);
  testing_set_joystick(true, 0, 0, (1u << 1) | (1u << 2));
  read_play_input();
  EXPECT_EQ(action_code, ACTION_FIRE);
  testing_set_joystick(true, 0, 0, 1u << 6);
  read_play_input();
  EXPECT_EQ(action_code, 10);
}

TEST(PlayerInput, MapKeysActOnRelease) {
  LevelData data(levelfixture::Options{false, false, false});
  open_field(3, 3);
  map_number = 5;
  hold({KEY_PAGE_UP});
  read_play_input();
  read_play_input();
  EXPECT_EQ(map_number, 5);
  hold({});
  read_play_input();
  EXPECT_EQ(map_number, 6);
  hold({KEY_PAGE_DOWN});
  read_play_input();
  hold({});
  read_play_input();
  read_play_input();
  EXPECT_EQ(map_number, 5);
}
