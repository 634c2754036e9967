// The one frame loop, headless and at full speed on the default data set: passes fed with logical
// controls, as a player would give them, through every screen.
#include "game/flow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

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

// As P gives them by default: the pause action is also the title's start control.
Controls with_action(int32_t action) {
  Controls controls;
  controls.action = action;
  controls.start = action == ACTION_PAUSE;
  return controls;
}

// Every control at once but the one that closes the screen at hand.
Controls everything_but(int32_t action) {
  Controls controls;
  controls.direction = DIRECTION_LEFT;
  controls.action = action;
  controls.start = action == ACTION_PAUSE;
  controls.fire_held = action == ACTION_FIRE;
  controls.next_map = controls.previous_map = true;
  return controls;
}

void passes(int32_t count, const Controls& controls = {}) {
  for (int32_t n = 0; n < count; ++n) loop_pass(controls, false);
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
// meets them. The title listens only to its start control, and a dialog only to its answers: held
// arrows, fire, the map keys and the other dialog's key do nothing (the figure, the view, the clock,
// the map and the bombs stand still), and an answer closes only its own dialog.
TEST(FrameLoop, FromTheIntroToTheEndAsAPlayerMeetsIt) {
  defaultgame::DefaultGame game(640, 360);
  frame_loop_reset();
  enter_intro();
  screen = Screen::intro;
  EXPECT_EQ(passes_until_not(Screen::intro), 660);
  ASSERT_EQ(screen, Screen::title);
  for (const int32_t action : {ACTION_QUIT, ACTION_B, ACTION_X, ACTION_FIRE}) passes(3, everything_but(action));
  EXPECT_EQ(std::make_tuple(screen, map_number, quit_requested), std::make_tuple(Screen::title, 1, uint8_t{0}));
  tap(ACTION_PAUSE);  // the release builds the start-up map and plays its first frame
  ASSERT_EQ(screen, Screen::play);
  EXPECT_EQ(std::make_tuple(current_map, banner_due), std::make_tuple(1, uint8_t{0}));  // no banner for it

  for (const auto& [opens, other, answer] : {std::tuple{ACTION_PAUSE, ACTION_QUIT, ACTION_X}, {ACTION_QUIT, ACTION_PAUSE, ACTION_X}}) {
    passes(40, everything_but(ACTION_NONE));
    tap(opens);
    ASSERT_EQ(screen, opens == ACTION_PAUSE ? Screen::pause : Screen::quit);
    const auto before = std::make_tuple(player.x, scroll_x, time_left, map_number, bombs);
    for (const int32_t action : {ACTION_NONE, ACTION_FIRE, other}) passes(60, everything_but(action));
    EXPECT_EQ(std::make_tuple(player.x, scroll_x, time_left, map_number, bombs), before);
    EXPECT_EQ(screen, opens == ACTION_PAUSE ? Screen::pause : Screen::quit);
    tap(answer);
    EXPECT_EQ(screen, Screen::play);
  }
  tap(ACTION_QUIT);
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

// A game ends with the clock below 0: the game over (its first frame the last of play, then the
// sweep of "GAME OVER") hands back to the title, and the next game starts fresh on a rebuilt map 1.
// A player walled in with "HARDCORE" skips the sweep.
TEST(FrameLoop, AGameOverGivesAFreshGameAfterTheTitle) {
  defaultgame::DefaultGame game(640, 360);
  WORLDREFRESH = 0;  // a clock unit a frame
  time_left = 0;
  score = 70;
  bombs = "&&&";
  loop_pass(Controls{}, true);
  ASSERT_EQ(screen, Screen::game_over);
  EXPECT_EQ(passes_until_not(Screen::game_over), 1 + sweep_frames());
  ASSERT_EQ(screen, Screen::title);
  EXPECT_EQ(std::make_tuple(score, bombs, current_map), std::make_tuple(0, std::string("&"), -1));
  tap(ACTION_PAUSE);
  EXPECT_EQ(std::make_tuple(screen, current_map, banner_due), std::make_tuple(Screen::banner, 1, uint8_t{1}));

  GAMEMODE = "HARDCORE";
  passes_until_not(Screen::banner);
  const int32_t c = player_column();
  const int32_t r = static_cast<int32_t>(std::floor(player.y / cell_height) + scroll_y);
  for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) retile_cell(c + dx, r + dy, "LAB_WALL");
  retile_cell(c, r, "LAB_FLOOR");
  loop_pass(Controls{}, false);
  EXPECT_EQ(std::make_tuple(screen, current_map, player_trapped), std::make_tuple(Screen::title, -1, uint8_t{0}));
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
