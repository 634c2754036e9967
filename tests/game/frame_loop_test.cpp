// The one frame loop, headless and at full speed on the default data set: passes fed with logical
// controls, as a player would give them, through every screen.
#include "game/flow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "actors/player_input.h"
#include "core/config.h"
#include "game/default_game.h"
#include "game/screens.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "presentation/overlays.h"
#include "resources/cell_content.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"

using namespace tessera;

namespace {

Controls with_action(int32_t action) {
  Controls controls;
  controls.action = action;
  return controls;
}

Controls with_direction(int8_t direction) {
  Controls controls;
  controls.direction = direction;
  return controls;
}

// Runs `count` passes with the same controls, undrawn unless asked.
void passes(int32_t count, const Controls& controls = {}, bool drawn = false) {
  for (int32_t n = 0; n < count; ++n) loop_pass(controls, drawn);
}

// Passes with no control until the screen is another than `on`; how many it took.
int32_t passes_until_not(Screen on) {
  int32_t n = 0;
  for (; screen == on && n < 5000; ++n) loop_pass(Controls{}, false);
  return n;
}

// A press of one control: one pass with it, one without.
void tap(int32_t action) {
  loop_pass(with_action(action), false);
  loop_pass(Controls{}, false);
}

int32_t player_column() { return static_cast<int32_t>(std::floor(player.x / cell_width) + scroll_x); }

}  // namespace

// Intro, title, play, the pause dialog, the quit dialog, the game over and the end, as a player
// meets them. Under a dialog only its answers count: a held arrow, fire and the map keys do
// nothing, and the other dialog's key does not open it; an answer closes only its own dialog.
TEST(FrameLoop, FromTheIntroToTheEndAsAPlayerMeetsIt) {
  defaultgame::DefaultGame game(640, 360);
  frame_loop_reset();
  enter_intro();
  screen = Screen::intro;
  EXPECT_EQ(passes_until_not(Screen::intro), 660);
  ASSERT_EQ(screen, Screen::title);
  passes(30, with_direction(DIRECTION_RIGHT));
  EXPECT_EQ(screen, Screen::title);
  tap(ACTION_PAUSE);  // the release builds the start-up map and plays its first frame
  ASSERT_EQ(screen, Screen::play);
  EXPECT_EQ(current_map, 1);
  EXPECT_EQ(banner_due, 0);  // the start-up map has no banner

  passes(40, with_direction(DIRECTION_RIGHT));
  tap(ACTION_PAUSE);
  ASSERT_EQ(screen, Screen::pause);
  const float x = player.x, view = scroll_x;
  const int32_t time = time_left, map = map_number;
  const std::string held = bombs;
  passes(120, with_direction(DIRECTION_LEFT));
  passes(3, with_action(ACTION_FIRE));
  Controls map_keys;
  map_keys.next_map = map_keys.previous_map = true;
  passes(2, map_keys);
  tap(ACTION_QUIT);
  EXPECT_EQ(screen, Screen::pause);
  EXPECT_EQ(std::make_tuple(player.x, scroll_x, time_left, map_number, bombs), std::make_tuple(x, view, time, map, held));
  tap(ACTION_X);
  EXPECT_EQ(screen, Screen::play);

  tap(ACTION_QUIT);
  ASSERT_EQ(screen, Screen::quit);
  tap(ACTION_PAUSE);
  EXPECT_EQ(screen, Screen::quit);
  loop_pass(with_action(ACTION_B), true);
  ASSERT_EQ(screen, Screen::game_over);
  EXPECT_EQ(passes_until_not(Screen::game_over), 1 + sweep_frames());
  EXPECT_EQ(screen, Screen::end);
}

// Restarting from the pause dialog gives back the score the map began with for good: a gem's
// points still counting up do not count up again afterwards.
TEST(FrameLoop, RestartGivesBackTheMapsScoreForGood) {
  defaultgame::DefaultGame game(640, 360);
  score = score_target = level_start_score = level_start_target = 0;
  score_target += 100;  // what collecting a gem that counts to the score does
  passes(40);
  EXPECT_EQ(score, 40);
  tap(ACTION_PAUSE);
  loop_pass(with_action(ACTION_B), false);
  EXPECT_EQ(current_map, -1);
  passes(300);
  EXPECT_EQ(current_map, 1);
  EXPECT_EQ(screen, Screen::play);
  EXPECT_EQ(score, 0);
}

// A player walled in with "HARDCORE" goes straight to the title screen (no game-over sweep), and
// the next game is fresh.
TEST(FrameLoop, HardcoreTrapEndsTheGameAtTheTitle) {
  defaultgame::DefaultGame game(640, 360);
  GAMEMODE = "HARDCORE";
  const int32_t c = player_column();
  const int32_t r = static_cast<int32_t>(std::floor(player.y / cell_height) + scroll_y);
  for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) retile_cell(c + dx, r + dy, "LAB_WALL");
  retile_cell(c, r, "LAB_FLOOR");
  score = 70;
  loop_pass(Controls{}, false);
  EXPECT_EQ(screen, Screen::title);
  EXPECT_EQ(std::make_tuple(score, current_map, player_trapped), std::make_tuple(0, -1, uint8_t{0}));
}

// A pass abandoned by a fault leaves its screen whole: a build begins again and gives the same
// level, and first frame, as one never interrupted; an open dialog still answers.
TEST(FrameLoop, AnAbandonedPassLeavesNothingStuck) {
  defaultgame::DefaultGame game(640, 360);
  map_number = 2;
  loop_pass(Controls{}, false);  // builds map 2 and plays its first frame
  const uint64_t clean = levelfixture::level_digest();

  begin_level();
  level_build_step();
  level_build_step();
  screen = Screen::build;
  recover_from_fault();  // as the loop does after the jump back: the question is answered Yes
  loop_pass(Controls{}, false);
  EXPECT_EQ(current_map, 2);
  ASSERT_EQ(screen, Screen::banner);
  EXPECT_EQ(levelfixture::level_digest(), clean);

  screen = Screen::pause;
  recover_from_fault();
  loop_pass(with_action(ACTION_X), false);
  EXPECT_EQ(screen, Screen::play);
  EXPECT_NE(testing_message_log().back().find("continue engine?"), std::string::npos);
}
