#include "actors/dialogs.h"

#include <gtest/gtest.h>

#include "actors/player_input.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "world/level_fixture.h"
#include "world/world_model.h"

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

TEST(Dialogs, QuitAnswers) {
  LevelData data(levelfixture::Options{false, false, false});
  prepare({KEY_X});
  quit_dialog();
  EXPECT_EQ(fire_latch, FIRE_SPENT);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_EQ(quit_requested, 0);

  prepare({KEY_B});
  quit_dialog();
  EXPECT_EQ(game_mode, GAME_MODE_GAME_OVER);
  EXPECT_EQ(quit_requested, 1);
}
