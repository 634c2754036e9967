// The player's settings at work: input through bound keys and pad buttons, the texts that name
// them, the window leaving the player's attention, F11 and Alt+Enter with the layout unchanged, the
// volumes and M, and the settings screen worked by the logical controls from the title.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "actors/dialogs.h"
#include "actors/player_input.h"
#include "core/player_settings.h"
#include "core/runtime.h"
#include "game/default_game.h"
#include "game/flow.h"
#include "game/screens.h"
#include "game/settings_screen.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_internal.h"  // letterbox
#include "platform/platform_testing.h"
#include "presentation/overlays.h"
#include "support/test_files.h"

using namespace tessera;

namespace {

Controls hold(int32_t key) {
  testing_release_all_keys();
  if (key != 0) testing_set_key(key, true);
  return read_controls();
}

Controls with(int32_t action = ACTION_NONE, int8_t direction = DIRECTION_NONE) {
  Controls controls;
  controls.action = action;
  controls.direction = direction;
  controls.fire_held = action == ACTION_FIRE;
  return controls;
}

void passes(int32_t count, const Controls& controls = {}) {
  for (int32_t n = 0; n < count; ++n) loop_pass(controls, false);
}

void tap(const Controls& controls) {
  loop_pass(controls, false);
  loop_pass(Controls{}, false);
}

std::string settings_file() { return testfiles::read_all(settings_path()); }

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

}  // namespace

// Keys and pad buttons give the controls the player bound to them, and only those; with the
// defaults, keys nobody bound keep what they always did (D and Y hide the bomb behind them).
TEST(Bindings, InputArrivesThroughRemappedKeysAndAVirtualPad) {
  input_device = INPUT_KEYBOARD;
  player_settings = PlayerSettings();
  EXPECT_EQ(hold(KEY_P).action, ACTION_PAUSE);
  EXPECT_TRUE(hold(KEY_P).start);
  EXPECT_TRUE(hold(KEY_S).settings);
  testing_set_key(KEY_D, true);
  EXPECT_EQ(read_controls().action, ACTION_Y);  // Space and D held

  bind_key(player_settings, Control::up, 0, key_code("W"));
  bind_key(player_settings, Control::bomb, 0, KEY_ENTER);
  bind_key(player_settings, Control::right, 0, KEY_D);
  bind_key(player_settings, Control::next_map, 0, key_code("N"));
  EXPECT_EQ(hold(key_code("W")).direction, DIRECTION_UP);
  EXPECT_EQ(hold(KEY_UP).direction, DIRECTION_NONE);
  const Controls enter = hold(KEY_ENTER);
  EXPECT_EQ(std::make_tuple(enter.action, enter.fire_held, enter.pressed_key), std::make_tuple(ACTION_FIRE, true, KEY_ENTER));
  EXPECT_EQ(read_controls().pressed_key, 0);  // held, not pressed again
  EXPECT_EQ(hold(KEY_SPACE).action, ACTION_NONE);
  testing_set_key(KEY_ENTER, true);
  testing_set_key(KEY_D, true);
  const Controls both = read_controls();  // D is now a direction, not the Y that hid the bomb
  EXPECT_EQ(std::make_pair(both.action, both.direction), std::make_pair(ACTION_FIRE, DIRECTION_RIGHT));
  hold(key_code("N"));
  EXPECT_TRUE(hold(0).next_map);  // on its release, as Page Up was
  EXPECT_FALSE(hold(KEY_PAGE_UP).next_map || hold(0).next_map);

  // A virtual pad: the bomb on LB (button 5); A (button 2) then gives nothing.
  input_device = INPUT_JOYSTICK;
  bind_button(player_settings, Control::bomb, 5);
  testing_release_all_keys();
  testing_set_joystick(true, 0, -1, 1u << 4);
  Controls pad = read_controls();
  EXPECT_EQ(std::make_tuple(pad.action, pad.fire_held, pad.direction, pad.pressed_button),
            std::make_tuple(ACTION_FIRE, true, DIRECTION_UP, 5));
  testing_set_joystick(true, 0, 0, 1u << 1);
  pad = read_controls();
  EXPECT_EQ(std::make_tuple(pad.action, pad.fire_held, pad.pressed_button), std::make_tuple(ACTION_NONE, false, 2));
  bind_button(player_settings, Control::start, 1);  // X: the title's start, and still continue
  testing_set_joystick(true, 0, 0, 1u << 0);
  pad = read_controls();
  EXPECT_EQ(std::make_pair(pad.start, pad.action), std::make_pair(true, ACTION_X));
  player_settings = PlayerSettings();
  input_device = INPUT_KEYBOARD;
}

// With the defaults every text reads as before; bound otherwise, each names the bound key.
TEST(Bindings, PromptsNameTheBoundKeys) {
  player_settings = PlayerSettings();
  input_device = INPUT_KEYBOARD;
  const std::vector<std::string> before = {"  QUIT GAME ? |", "  PRESS B TO QUIT     |", "  PRESS X TO CONTINUE |",
                                           "  GAME PAUSED |", "  PRESS X TO CONTINUE |", "  PRESS B TO RESTART  |"};
  EXPECT_EQ(dialog_texts(), before);
  const std::vector<std::string> title = title_screen_texts();
  for (const char* prompt : {"  PRESS  P  ON KEYBOARD TO CONTINUE|", "  PRESS START ON JOYPAD CONTINUE|",
                             "  PRESS START ON JOYPAD OR  P  ON KEYBOARD TO CONTINUE|"})
    EXPECT_TRUE(contains(title, prompt)) << prompt;
  EXPECT_EQ(hud_credit_line(), "  PAINT 2X2 BLOCKS BLUE TO FIX TILES - ONE-WIDE LANES NEVER FIX * SPACE: BOMB|");

  bind_key(player_settings, Control::start, 0, KEY_ENTER);
  bind_key(player_settings, Control::dialog_restart_quit, 0, key_code("Q"));
  bind_key(player_settings, Control::bomb, 0, KEY_X);  // continue gets Space in its place
  bind_button(player_settings, Control::start, 2);
  EXPECT_TRUE(contains(title_screen_texts(), "  PRESS  ENTER  ON KEYBOARD TO CONTINUE|"));
  EXPECT_TRUE(contains(title_screen_texts(), "  PRESS A ON JOYPAD OR  ENTER  ON KEYBOARD TO CONTINUE|"));
  EXPECT_EQ(dialog_texts()[1], "  PRESS Q TO QUIT     |");
  EXPECT_EQ(dialog_texts()[2], "  PRESS SPACE TO CONTINUE |");
  EXPECT_EQ(hud_credit_line(), "  PAINT 2X2 BLOCKS BLUE TO FIX TILES - ONE-WIDE LANES NEVER FIX * X: BOMB|");
  input_device = INPUT_JOYSTICK;
  EXPECT_EQ(dialog_texts()[5], "  PRESS B TO RESTART  |");  // the pad names its button
  input_device = INPUT_KEYBOARD;
  player_settings = PlayerSettings();
}

// The window losing its focus, or minimised, opens the pause dialog in play, and the clock stands
// still while it shows; on the title nothing happens.
TEST(Away, FocusLossOrMinimisingOpensThePauseDialogInPlayOnly) {
  defaultgame::DefaultGame game(640, 360);
  start_play();
  for (const bool minimised : {false, true}) {
    passes(5);
    testing_queue_window_away(minimised);
    window_event(0);
    const Controls away = read_controls();
    EXPECT_TRUE(away.away);
    EXPECT_FALSE(read_controls().away);  // only the first snapshot after it
    loop_pass(away, false);
    ASSERT_EQ(screen, Screen::pause) << minimised;
    const int32_t clock = time_left;
    passes(400);
    EXPECT_EQ(std::make_pair(screen, time_left), std::make_pair(Screen::pause, clock));
    tap(with(ACTION_X));
    EXPECT_EQ(screen, Screen::play);
  }
  enter_title();
  screen = Screen::title;
  Controls away;
  away.away = true;
  passes(3, away);
  EXPECT_EQ(screen, Screen::title);
}

// F11 and Alt+Enter switch the window between fullscreen and a window, on any screen, and the
// settings remember it; the screen keeps its size, draws the same frame, and no control sees
// the keys.
TEST(Window, F11AndAltEnterSwitchWithTheLayoutUnchanged) {
  defaultgame::DefaultGame game(640, 360);
  start_play();
  passes(30);
  draw_world_frame(true);
  screen_flip();
  draw_world_frame(true);  // the second frame keeps the first one's tiles
  screen_flip();
  const std::vector<int32_t> frame = testing_read_screen();
  EXPECT_TRUE(window_fullscreen());
  const int32_t display_width = desktop_width(0);
  const int32_t display_height = desktop_height(0);

  testing_queue_key_event(SDL_SCANCODE_F11, true);
  testing_queue_key_event(SDL_SCANCODE_F11, false);
  window_event(0);
  const Controls controls = read_controls();
  EXPECT_EQ(std::make_tuple(controls.action, controls.pressed_key, key_pushed(-1)), std::make_tuple(ACTION_NONE, 0, 0));
  EXPECT_FALSE(window_fullscreen());
  EXPECT_EQ(testing_window_size(), std::make_pair(display_width * 3 / 4, display_height * 3 / 4));
  EXPECT_EQ(testing_screen_size(), std::make_pair(640, 360));
  EXPECT_EQ(std::make_pair(screen_width, screen_height), std::make_pair(640.0f, 360.0f));
  EXPECT_EQ(testing_read_screen(), frame);  // the frame survives the switch
  EXPECT_NE(settings_file().find("fullscreen = off\n"), std::string::npos);
  for (int32_t n = 0; n < 2; ++n) {  // the same world, drawn again into the new back buffer
    draw_world_frame(true);
    screen_flip();
  }
  EXPECT_EQ(testing_read_screen(), frame);

  testing_queue_key_event(SDL_SCANCODE_RETURN, true, true);
  testing_queue_key_event(SDL_SCANCODE_RETURN, false, true);
  window_event(0);
  EXPECT_EQ(read_controls().pressed_key, 0);
  EXPECT_TRUE(window_fullscreen());
  EXPECT_EQ(testing_window_size(), std::make_pair(display_width, display_height));
  EXPECT_EQ(testing_screen_size(), std::make_pair(640, 360));
  EXPECT_NE(settings_file().find("fullscreen = on\n"), std::string::npos);

  // Shown scaled to the window, centred between black bars.
  EXPECT_EQ(std::make_tuple(letterbox(1024, 768, 1920, 1080).x, letterbox(1024, 768, 1920, 1080).w),
            std::make_tuple(240, 1440));
  EXPECT_EQ(std::make_tuple(letterbox(640, 360, 768, 576).y, letterbox(640, 360, 768, 576).h), std::make_tuple(72, 432));
  EXPECT_EQ(letterbox(640, 360, 1280, 720).w, 1280);
}

// The volumes go to the mixer; M mutes and unmutes every sound from any screen, remembered.
TEST(Sound, VolumesAndMute) {
  defaultgame::DefaultGame game(640, 360);
  if (testing_mixer_volumes().first < 0) GTEST_SKIP() << "no sound output";
  EXPECT_EQ(testing_mixer_volumes(), std::make_pair(128, 128));
  sound_set_volumes(50, 20);
  EXPECT_EQ(testing_mixer_volumes(), std::make_pair(64, 25));
  testing_queue_key_event(SDL_SCANCODE_M, true);
  window_event(0);
  EXPECT_EQ(read_controls().pressed_key, 0);
  EXPECT_EQ(testing_mixer_volumes(), std::make_pair(0, 0));
  EXPECT_NE(settings_file().find("muted = on\n"), std::string::npos);
  testing_queue_key_event(SDL_SCANCODE_M, false);
  testing_queue_key_event(SDL_SCANCODE_M, true);
  window_event(0);
  read_controls();
  EXPECT_EQ(testing_mixer_volumes(), std::make_pair(64, 25));
  EXPECT_NE(settings_file().find("muted = off\n"), std::string::npos);
}

// From the title by its settings control; worked by the controls alone: the bomb's first key
// chosen and pressed anew, the music a step quieter; the quit control goes back and writes the file.
TEST(SettingsScreen, ReachedFromTheTitleAndWorkedByTheControls) {
  defaultgame::DefaultGame game(640, 360);
  player_settings = PlayerSettings();
  enter_title();
  screen = Screen::title;
  Controls settings;
  settings.settings = true;
  passes(2, settings);
  EXPECT_EQ(screen, Screen::title);
  loop_pass(Controls{}, true);  // its release opens the screen
  ASSERT_EQ(screen, Screen::settings);
  passes(1);
  for (int32_t n = 0; n < 4; ++n) tap(with(ACTION_NONE, DIRECTION_DOWN));
  tap(with(ACTION_FIRE));
  Controls key;
  key.pressed_key = KEY_ENTER;
  loop_pass(key, true);
  EXPECT_EQ(player_settings[Control::bomb].keys, (std::array<int32_t, 2>{KEY_ENTER, KEY_A}));
  passes(1);
  for (int32_t n = 0; n < 9; ++n) tap(with(ACTION_NONE, DIRECTION_DOWN));
  tap(with(ACTION_NONE, DIRECTION_LEFT));
  EXPECT_EQ(player_settings.music_volume, 90);
  if (testing_mixer_volumes().first >= 0) {
    EXPECT_EQ(testing_mixer_volumes().first, 115);
  }
  loop_pass(Controls{}, true);
  tap(with(ACTION_QUIT));
  EXPECT_EQ(screen, Screen::title);
  const std::string file = settings_file();
  EXPECT_NE(file.find("bomb = ENTER, A\n"), std::string::npos) << file;
  EXPECT_NE(file.find("music_volume = 90\n"), std::string::npos);

  // Left by the start control on BACK (above the first row): its release does not start a game.
  tap(settings);
  ASSERT_EQ(screen, Screen::settings);
  passes(1);
  tap(with(ACTION_NONE, DIRECTION_UP));
  Controls start;
  start.start = true;
  loop_pass(start, false);
  EXPECT_EQ(screen, Screen::title);
  passes(3);
  EXPECT_EQ(screen, Screen::title);
  player_settings = PlayerSettings();
}
