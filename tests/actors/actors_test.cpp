#include <gtest/gtest.h>

#include <tuple>

#include "actors/dialogs.h"
#include "actors/enemy_ai.h"
#include "actors/play_clock.h"
#include "actors/player_input.h"
#include "core/config.h"
#include "core/runtime.h"
#include "model/world_model.h"
#include "platform/platform_testing.h"
#include "presentation/glyph_fixture.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::board;
using levelfixture::CELL;
using levelfixture::draw_board;
using levelfixture::LevelData;

namespace {

constexpr levelfixture::Options SOUNDS{false, false, true};

// Keyboard play with `keys` held and nothing else.
void hold(const std::vector<int32_t>& keys) {
  testing_release_all_keys();
  for (int32_t key : keys) testing_set_key(key, true);
}

// The figure at screen pixel (x, y) of the level drawn last, keyboard play, nothing held.
void place_player(float x, float y) {
  player.x = x;
  player.y = y;
  player.step_timer = 0;
  menu_active = 0;
  input_device = 0;
  player_input_set_defaults();
  hold({});
}

void play_input() { read_play_input(read_controls()); }

int32_t cell_x() { return static_cast<int32_t>(player.x / CELL + scroll_x); }
int32_t cell_y() { return static_cast<int32_t>(player.y / CELL + scroll_y); }

// A foe at cell (c, r) whose every chance is certain unless changed.
Foe& add_foe(int32_t c, int32_t r) {
  Foe& foe = foes.add();
  foe.x = c * 32;
  foe.y = r * 32;
  foe.DVELOX = 1;
  foe.DVELOY = 1;
  foe.DAILEVEL = 1;
  return foe;
}

void think(int32_t frames) {
  for (int32_t f = 0; f < frames; ++f) {
    foes.select(0);
    foe_think(foes.current().DAILEVEL);
  }
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
    play_input();
    EXPECT_FLOAT_EQ(player.x, c.x_after);
    EXPECT_FLOAT_EQ(player.y, c.y_after);
    EXPECT_FLOAT_EQ(scroll_x, c.view_x_after);
    EXPECT_FLOAT_EQ(scroll_y, c.view_y_after);
  }
}

// Water (collision 1) stops a step as a wall does, and so does the edge of the matrix.
TEST(PlayerInput, BlockedStepsAndTheMatrixBorderStopThePlayer) {
  LevelData data(SOUNDS);
  draw_board({".~", ".."});
  for (const int32_t key : {KEY_RIGHT, KEY_LEFT, KEY_UP}) {
    place_player(0, 0);
    hold({key});
    play_input();
    EXPECT_EQ(cell_x(), 0);
    EXPECT_EQ(cell_y(), 0);
  }
  EXPECT_EQ(LevelData::plays("step.ogg"), 0);
}

// The four rays from the player's cell turn fixed floor (blue or pink) back to floor; they pass
// water (collision 1) and stop at a wall (collision 2). Only the upward ray plays the blast.
TEST(PlayerInput, BombRaysUnfixUntilAHardStop) {
  LevelData data(SOUNDS);
  draw_board({"#############", "#....P......#", "#....F......#", "#..F.FF~P#F.#", "#....F......#", "#....b......#",
              "#############"});
  place_player(5 * CELL, 3 * CELL);
  tiles_left = 0;
  bombs = "&";
  use_bomb();
  EXPECT_EQ(bombs, "");
  EXPECT_EQ(board(), (std::vector<std::string>{"#############", "#...........#", "#...........#", "#......~.#F.#",
                                               "#...........#", "#....b......#", "#############"}));
  EXPECT_EQ(tiles_left, 7);  // the player's own cell counted once
  EXPECT_EQ(LevelData::plays("boom.ogg"), 2);
  levelfixture::set_kind(6, 3, "LAB_FIXED_FLOOR");
  use_bomb();  // no bomb held
  EXPECT_EQ(world_cell(6, 3).tile_kind, "LAB_FIXED_FLOOR");
}

TEST(PlayerInput, JoystickReplacesTheKeyboard) {
  LevelData data(levelfixture::BARE);
  levelfixture::fill_level(30, 30, "LAB_FLOOR");
  place_player(3 * CELL, 3 * CELL);
  input_device = 1;
  // Arrow keys are not read, and a vertical deflection overrides a horizontal one.
  hold({KEY_LEFT});
  testing_set_joystick(true, 1, 1, 0);
  play_input();
  EXPECT_EQ(cell_x(), 3);
  EXPECT_EQ(cell_y(), 4);
  // The first held button decides: 1 (X) before 9 (quit), 2 (fire) before 3 (B).
  for (auto [buttons, action] : {std::pair{(1u << 0) | (1u << 8), int32_t{ACTION_X}},
                                 {(1u << 1) | (1u << 2), int32_t{ACTION_FIRE}}, {1u << 6, int32_t{ACTION_LEFT_TRIGGER}}}) {
    testing_set_joystick(true, 0, 0, buttons);
    play_input();
    EXPECT_EQ(action_code, action) << buttons;
  }
}

// Both dialogs' texts in drawing order, the first line two blanks (two widths of "I") right of its
// place (0.4 W or 0.3 W, 0.2 H).
TEST(Dialogs, Texts) {
  glyphtest::FontScene scene(400, 300, glyphtest::uniform("ABCDEGIMNOPQRSTUX?", 8, 10), "ABCDEGIMNOPQRSTUX?");
  testing_record_draws(true);
  for (const auto& [dialog, text, x] : {std::tuple{&draw_pause_dialog, "GAMEPAUSEDPRESSXTOCONTINUEPRESSBTORESTART", 176},
                                        {&draw_quit_dialog, "QUITGAME?PRESSBTOQUITPRESSXTOCONTINUE", 136}}) {
    testing_clear_recorded_draws();
    dialog();
    EXPECT_EQ(glyphtest::drawn_text(testing_recorded_draws()), text);
    EXPECT_EQ(glyphtest::glyph_draws()[0].x, x) << text;
    EXPECT_EQ(glyphtest::glyph_draws()[0].y, 60) << text;
  }
}

// AI levels 2 to 4 stand still, a negative DDMOVE never acts, and a new foe whose turn chance never
// succeeds never starts.
TEST(EnemyAi, FoesThatNeverAct) {
  LevelData data(levelfixture::BARE);
  levelfixture::fill_level(12, 12, "LAB_FLOOR");
  random_seed(5);
  for (const auto& [level, move, turn] : {std::tuple{2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {1, -1, 0}, {1, 0, -1}}) {
    foes.clear();
    Foe& foe = add_foe(5, 5);
    foe.DAILEVEL = static_cast<int8_t>(level);
    foe.DDMOVE = move;
    foe.DCHANGEDIRECTION = turn;
    think(50);
    EXPECT_EQ(foes.at(0).x, 160) << level << " " << move << " " << turn;
    EXPECT_EQ(foes.at(0).y, 160);
  }
  EXPECT_EQ(world_cell(5, 5).tile_kind, "LAB_FLOOR");
}

// Right while free, then (right blocked) left is the first free try; floor, green and blue turn
// pink, fixed floor stays. Any AI level but 2 to 4 wanders.
TEST(EnemyAi, CertainFoeRunsRightAndPaintsWhatItCrosses) {
  LevelData data(SOUNDS);
  draw_board({"##########", "#..gFb.#.#", "##########"});
  add_foe(2, 1);
  for (int32_t level : {1, 0, 9}) {
    foes.at(0).DAILEVEL = static_cast<int8_t>(level);
    think(1);
  }
  think(10);
  EXPECT_EQ(board()[1], "#..pFpp#.#");
  EXPECT_EQ(foes.at(0).direction, MOTION_LEFT);
  EXPECT_LT(foes.at(0).x, 6 * 32);
  EXPECT_GE(LevelData::plays("step.ogg"), 11);

  // The last column of the matrix blocks like a wall: the foe never steps off it.
  levelfixture::fill_level(world_matrix.columns - 1, 2, "LAB_FLOOR");
  foes.clear();
  add_foe(world_matrix.columns - 1, 1);
  think(1);
  EXPECT_EQ(foes.at(0).direction, MOTION_LEFT);
}

// A closed pink block locks its upper cells (with the lock sound); the marks of the four tests
// carry from one to the next; column and row 0 are examined as 1; a lone pink cell stays.
TEST(EnemyAi, PinkBlocksLock) {
  LevelData data(SOUNDS);
  draw_board({"......", ".pp...", ".pp...", "......"});
  for (int32_t frame = 0; frame < 2; ++frame) {
    for (int32_t y = 0; y <= level_height; ++y) {
      for (int32_t x = 0; x <= level_width; ++x) lock_pink_cell(x, y);
    }
  }
  EXPECT_EQ(board(), (std::vector<std::string>{"......", ".PP...", ".pp...", "......"}));
  EXPECT_EQ(LevelData::plays("pink.ogg"), 2);

  // (c, r), (c-1, r), (c, r+1), (c+1, r+1): no single test has all four, tests 1 and 2 together do.
  draw_board({"......", ".pp...", "..pp..", "....p."});
  lock_pink_cell(2, 1);
  lock_pink_cell(4, 3);
  EXPECT_EQ(board(), (std::vector<std::string>{"......", ".pP...", "..pp..", "....p."}));
  draw_board({"......", ".pp...", ".pp...", "......"});
  lock_pink_cell(0, 0);
  EXPECT_EQ(world_cell(1, 1).tile_kind, "LAB_FIXED_PINK_FLOOR");
}

// A unit every WORLDREFRESH + 1 frames; the warning sounds on reaching 10 down to 1 (and counting
// up); the game ends once the time is below 0, also at the bottom of the range, but never under the
// title screen's menu. WORLDREFRESH 0 ticks every frame; directions other than -1 and 1 do nothing.
TEST(PlayClock, CountsWarnsAndEndsTheGameBelowZero) {
  LevelData data(SOUNDS);
  TIMERSOUND = "step.ogg";  // the data set's step sound stands in for the warning
  time_tick = 0;
  menu_active = 0;
  game_mode = GAME_MODE_PLAY;
  WORLDREFRESH = 2;
  time_left = 12;
  for (int32_t frame = 1; frame <= 39; ++frame) {
    clock_frame(-1);
    ASSERT_EQ(time_left, 12 - frame / 3) << "frame " << frame;
    ASSERT_EQ(LevelData::plays("step.ogg"), std::clamp(11 - time_left, 0, 10)) << "at " << time_left;
    ASSERT_EQ(game_mode, time_left < 0 ? GAME_MODE_GAME_OVER : GAME_MODE_PLAY) << "at " << time_left;
  }
  game_mode = GAME_MODE_PLAY;
  time_left = INT32_MIN;
  clock_step(-1);
  EXPECT_EQ(time_left, INT32_MIN);
  EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);

  game_mode = GAME_MODE_PLAY;
  time_left = 0;
  menu_active = 1;
  clock_step(-1);
  EXPECT_EQ(time_left, -1);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  time_left = 4;
  clock_step(1);
  EXPECT_EQ(time_left, 5);
  EXPECT_EQ(LevelData::plays("step.ogg"), 11);

  WORLDREFRESH = 9;  // odd directions must not even count frames
  time_left = 30;
  for (const int8_t d : {int8_t{0}, int8_t{2}, int8_t{-2}, int8_t{127}}) clock_frame(d);
  EXPECT_EQ(time_tick, 0);
  EXPECT_EQ(time_left, 30);
  WORLDREFRESH = 0;
  for (int f = 0; f < 7; ++f) clock_frame(-1);
  EXPECT_EQ(time_left, 23);
  clock_frame(1);
  EXPECT_EQ(time_left, 24);
}
