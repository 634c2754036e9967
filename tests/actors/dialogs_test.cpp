#include "actors/dialogs.h"

#include <gtest/gtest.h>

#include <tuple>
#include <cstdlib>

#include "actors/player_input.h"
#include "core/config.h"
#include "core/runtime.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "presentation/glyph_fixture.h"
#include "support/input_script.h"
#include "world/level_fixture.h"

using namespace tessera;
using inputscript::tap;
using levelfixture::LevelData;

namespace {

// Keyboard play with `keys` held.
void prepare(std::initializer_list<int32_t> keys) {
  menu_active = 0;
  input_device = 0;
  player_input_set_defaults();
  testing_release_all_keys();
  for (int32_t key : keys) testing_set_key(key, true);
}

}  // namespace

// P in play opens the pause dialog; a key held then answers it in its first frame: B sends the loop
// back to a fresh build of the map (current_map -1) with the score it began with; X and C go on.
// (The script only bounds the frames, should no answer come.)
TEST(Dialogs, PauseAnswers) {
  LevelData data(levelfixture::BARE);
  inputscript::InputScript runaway_guard({});
  levelfixture::fill_level(10, 10, "LAB_FLOOR");
  for (const auto& [key, map, points] : {std::tuple{KEY_B, -1, 700}, {KEY_X, 3, 940}, {KEY_C, 3, 940}}) {
    prepare({key});
    map_number = 3;
    current_map = 3;
    score = 940;
    level_start_score = 700;
    const int64_t flips = testing_flip_count();
    tap(KEY_P);
    read_play_input();
    EXPECT_EQ(current_map, map) << key;
    EXPECT_EQ(score, points) << key;
    EXPECT_EQ(map_number, 3);
    EXPECT_EQ(testing_flip_count() - flips, 1) << key;
  }
}

// Escape opens the quit dialog; X there returns to play with the fire control spent: a fire key
// held on leaving does not bomb until it has been read as released once.
TEST(Dialogs, QuitContinueSpendsTheFireControl) {
  LevelData data(levelfixture::BARE);
  inputscript::InputScript runaway_guard({});
  levelfixture::fill_level(10, 10, "LAB_FLOOR");
  prepare({KEY_X});
  bombs = "&&";
  tap(KEY_ESCAPE);
  read_play_input();
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_EQ(quit_requested, 0);
  for (const auto& [keys, left] : {std::pair{std::vector<int32_t>{KEY_SPACE}, "&&"}, {{KEY_SPACE}, "&&"}, {{}, "&&"},
                                   {{KEY_SPACE}, "&"}}) {
    testing_release_all_keys();
    for (int32_t key : keys) testing_set_key(key, true);
    read_play_input();
    EXPECT_EQ(bombs, left);
  }
}

// Both dialogs' texts in drawing order, the first line two blanks (two widths of "I") right of its
// place (0.4 W or 0.3 W, 0.2 H).
TEST(Dialogs, Texts) {
  glyphtest::FontScene scene(400, 300, glyphtest::uniform("ABCDEGIMNOPQRSTUX?", 8, 10), "ABCDEGIMNOPQRSTUX?");
  inputscript::InputScript runaway_guard({});
  font_init();
  screen_width = 400.0f;
  screen_height = 300.0f;
  prepare({KEY_X});
  testing_record_draws(true);
  for (const auto& [dialog, text, x] : {std::tuple{&pause_dialog, "GAMEPAUSEDPRESSXTOCONTINUEPRESSBTORESTART", 176},
                                        {&quit_dialog, "QUITGAME?PRESSBTOQUITPRESSXTOCONTINUE", 136}}) {
    testing_clear_recorded_draws();
    dialog();
    EXPECT_EQ(glyphtest::drawn_text(testing_recorded_draws()), text);
    EXPECT_EQ(glyphtest::glyph_draws()[0].x, x) << text;
    EXPECT_EQ(glyphtest::glyph_draws()[0].y, 60) << text;
  }
}
