#include "actors/player_input.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "core/runtime.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::CELL;
using levelfixture::LevelData;

namespace {

// The figure at screen pixel (x, y) of the level drawn last, keyboard play, nothing held.
void place_player(float x, float y) {
  player.x = x;
  player.y = y;
  player.step_timer = 0;
  menu_active = 0;
  input_device = 0;
  player_input_set_defaults();
  testing_release_all_keys();
}

int32_t cell_x() { return static_cast<int32_t>(player.x / CELL + scroll_x); }
int32_t cell_y() { return static_cast<int32_t>(player.y / CELL + scroll_y); }

void hold(const std::vector<int32_t>& keys) {
  testing_release_all_keys();
  for (int32_t key : keys) testing_set_key(key, true);
}

}  // namespace

// One step from a place and a view: past the screen's centre (x 160, y 120 on 320 x 240) the view
// scrolls, but never to an offset below 1 nor to a window beyond the 257-cell matrix: the figure
// moves instead.
TEST(PlayerInput, ViewScrollsOnlyWithinTheMatrix) {
  LevelData data(levelfixture::BARE);
  struct Case {
    float x, y, view_x, view_y;
    int32_t key;
    float x_after, y_after, view_x_after, view_y_after;
  };
  const Case cases[] = {
      {64, 64, 0, 0, KEY_LEFT, 32, 64, 1, 0},                // the scroll would go below 1
      {160, 128, 245, 248, KEY_RIGHT, 160, 128, 246, 248},  // scrolls
      {160, 128, 245, 248, KEY_DOWN, 160, 128, 245, 249},   // scrolls
      {160, 128, 246, 248, KEY_RIGHT, 192, 128, 246, 248},  // a scroll would read column 257
      {160, 128, 246, 249, KEY_DOWN, 160, 160, 246, 249},   // a scroll would read row 257
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " view " << c.view_x << "," << c.view_y);
    levelfixture::fill_level(30, 30, "LAB_FLOOR");
    place_player(c.x, c.y);
    scroll_x = c.view_x;
    scroll_y = c.view_y;
    hold({c.key});
    read_play_input();
    EXPECT_FLOAT_EQ(player.x, c.x_after);
    EXPECT_FLOAT_EQ(player.y, c.y_after);
    EXPECT_FLOAT_EQ(scroll_x, c.view_x_after);
    EXPECT_FLOAT_EQ(scroll_y, c.view_y_after);
  }
}

// Water (collision 1) stops a step as a wall does, and so does the edge of the matrix.
TEST(PlayerInput, BlockedStepsAndTheMatrixBorderStopThePlayer) {
  LevelData data(levelfixture::Options{false, false, true});
  levelfixture::draw_board({".~", ".."});
  for (const int32_t key : {KEY_RIGHT, KEY_LEFT, KEY_UP}) {
    place_player(0, 0);
    hold({key});
    read_play_input();
    EXPECT_EQ(cell_x(), 0);
    EXPECT_EQ(cell_y(), 0);
  }
  EXPECT_EQ(LevelData::plays("step.ogg"), 0);
}

// The four rays from the player's cell turn fixed floor (blue or pink) back to floor; they pass
// water (collision 1) and stop at a wall (collision 2). Only the upward ray plays the blast.
TEST(PlayerInput, BombRaysUnfixUntilAHardStop) {
  LevelData data(levelfixture::Options{false, false, true});
  levelfixture::draw_board({"#############", "#...........#", "#....P......#", "#...........#",
                            "#....F......#", "#..F.FF~P#F.#", "#...........#", "#....F......#",
                            "#....b......#", "#...........#", "#############"});
  place_player(5 * CELL, 5 * CELL);
  tiles_left = 0;
  bombs = "&";
  use_bomb();
  EXPECT_EQ(bombs, "");
  EXPECT_EQ(levelfixture::board(),
            (std::vector<std::string>{"#############", "#...........#", "#...........#", "#...........#",
                                      "#...........#", "#......~.#F.#", "#...........#", "#...........#",
                                      "#....b......#", "#...........#", "#############"}));
  EXPECT_EQ(tiles_left, 7);  // the player's own cell counted once
  EXPECT_EQ(LevelData::plays("boom.ogg"), 2);
  levelfixture::set_kind(6, 5, "LAB_FIXED_FLOOR");
  use_bomb();  // no bomb held
  EXPECT_EQ(world_cell(6, 5).tile_kind, "LAB_FIXED_FLOOR");
}

TEST(PlayerInput, JoystickReplacesTheKeyboard) {
  LevelData data(levelfixture::BARE);
  levelfixture::fill_level(30, 30, "LAB_FLOOR");
  place_player(3 * CELL, 3 * CELL);
  input_device = 1;
  // Arrow keys are not read, and a vertical deflection overrides a horizontal one.
  hold({KEY_LEFT});
  testing_set_joystick(true, 1, 1, 0);
  read_play_input();
  EXPECT_EQ(cell_x(), 3);
  EXPECT_EQ(cell_y(), 4);
  // The first held button decides: 1 (X) before 9 (quit), 2 (fire) before 3 (B).
  for (auto [buttons, action] : {std::pair{(1u << 0) | (1u << 8), int32_t{ACTION_X}},
                                 {(1u << 1) | (1u << 2), int32_t{ACTION_FIRE}}, {1u << 6, 10}}) {
    testing_set_joystick(true, 0, 0, buttons);
    read_play_input();
    EXPECT_EQ(action_code, action) << buttons;
  }
}

