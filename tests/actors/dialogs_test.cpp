#include "actors/dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "actors/player_input.h"
#include "core/config.h"
#include "core/runtime.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "presentation/glyph_fixture.h"
#include "presentation/overlays.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::LevelData;

namespace {

void prepare(std::initializer_list<int32_t> keys) {
  levelfixture::fill_level(10, 10, "LAB_FLOOR");
  player.x = 64.0f;
  player.y = 64.0f;
  menu_active = 0;
  input_device = 0;
  player_input_set_defaults();
  testing_release_all_keys();
  for (int32_t key : keys) testing_set_key(key, true);
}

// A key pressed and let go before the next frame: the platform keeps it for that frame only.
void tap(int32_t key) {
  testing_set_key(key, true);
  testing_set_key(key, false);
}

}  // namespace

TEST(Dialogs, PauseAnswers) {
  LevelData data(levelfixture::Options{false, false, false});
  prepare({KEY_B});
  current_map = 3;
  map_number = 3;
  score = 940;
  level_start_score = 700;
  const int64_t flips = testing_flip_count();
  pause_dialog();
  EXPECT_EQ(current_map, -1);
  EXPECT_EQ(score, 700);
  EXPECT_EQ(map_number, 3);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_EQ(testing_flip_count() - flips, 1);  // held when it opened: answered in its first frame

  prepare({KEY_C});
  current_map = 3;
  score = 940;
  pause_dialog();
  EXPECT_EQ(current_map, 3);
  EXPECT_EQ(score, 940);
}

// P in play opens the pause dialog; B there sends the loop back to a fresh build of the same map,
// with the score the map began with.
TEST(Dialogs, PauseRestartFromPlayRebuildsTheSameMap) {
  LevelData data(levelfixture::Options{true, true, false});
  map_number = 3;
  current_map = 0;
  build_level();
  current_map = map_number;
  const uint64_t fresh = levelfixture::level_digest();

  world_cell(1, 1).tile_kind = "LAB_FIXED_FLOOR";
  tiles_left -= 1;
  score = 940;
  level_start_score = 700;
  menu_active = 0;
  input_device = 0;
  player_input_set_defaults();
  testing_release_all_keys();
  tap(KEY_P);
  testing_set_key(KEY_B, true);
  read_play_input();
  EXPECT_EQ(score, 700);
  ASSERT_EQ(current_map, -1);
  EXPECT_EQ(map_number, 3);

  // What the frame loop does when the built map differs from map_number.
  testing_release_all_keys();
  build_level();
  EXPECT_EQ(levelfixture::level_digest(), fresh);
  EXPECT_EQ(score, 700);
}

// Escape in play opens the quit dialog; X there returns to play with the fire control spent: a fire
// key held on leaving does not bomb until it has been read as released once.
TEST(Dialogs, QuitContinueSpendsTheFireControl) {
  LevelData data(levelfixture::Options{false, false, false});
  prepare({KEY_X});
  bombs = "&&";
  tap(KEY_ESCAPE);
  read_play_input();
  EXPECT_EQ(fire_latch, FIRE_SPENT);
  EXPECT_EQ(bomb_armed, 0);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_EQ(quit_requested, 0);

  testing_release_all_keys();
  testing_set_key(KEY_SPACE, true);
  read_play_input();
  read_play_input();
  EXPECT_EQ(bombs, "&&");
  testing_release_all_keys();
  read_play_input();
  EXPECT_EQ(fire_latch, FIRE_READY);
  testing_set_key(KEY_SPACE, true);
  read_play_input();
  EXPECT_EQ(bombs, "&");
}

// The rest of that frame runs the game-over sequence, after which the program ends normally
// instead of showing the title screen (which would wait for P for ever here).
TEST(DialogsDeathTest, QuitWithBEndsTheProgramAfterTheGameOverSequence) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        LevelData data(levelfixture::Options{false, false, false});
        prepare({KEY_B});
        tap(KEY_ESCAPE);
        read_play_input();
        if (game_mode != GAME_MODE_GAME_OVER || quit_requested != 1) std::exit(2);
        frame_driver();
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

// The texts of both dialogs, in drawing order and at their places.
TEST(Dialogs, TextsAndPlaces) {
  glyphtest::FontScene scene(400, 300, glyphtest::uniform("ABCDEGIMNOPQRSTUX?", 8, 10), "ABCDEGIMNOPQRSTUX?");
  font_init();
  screen_width = 400.0f;
  screen_height = 300.0f;
  menu_active = 0;
  input_device = 0;
  player_input_set_defaults();
  testing_release_all_keys();
  testing_set_key(KEY_X, true);
  testing_record_draws(true);

  pause_dialog();
  EXPECT_EQ(glyphtest::drawn_text(testing_recorded_draws()), "GAMEPAUSEDPRESSXTOCONTINUEPRESSBTORESTART");
  auto draws = glyphtest::glyph_draws();
  // Each line begins two blanks (two widths of "I") right of its place.
  EXPECT_EQ(draws[0].x, 176);
  EXPECT_EQ(draws[0].y, 60);
  EXPECT_EQ(draws[10].x, 136);
  EXPECT_EQ(draws[10].y, 90);
  EXPECT_EQ(draws[26].y, 120);
  for (const DrawRecord& r : draws) EXPECT_EQ(r.alpha, 255);

  testing_clear_recorded_draws();
  quit_dialog();
  EXPECT_EQ(glyphtest::drawn_text(testing_recorded_draws()), "QUITGAME?PRESSBTOQUITPRESSXTOCONTINUE");
  draws = glyphtest::glyph_draws();
  EXPECT_EQ(draws[0].x, 136);
  EXPECT_EQ(draws[0].y, 60);
  EXPECT_EQ(draws[9].x, 136);
  EXPECT_EQ(draws[9].y, 120);
  EXPECT_EQ(draws[21].y, 150);
}
