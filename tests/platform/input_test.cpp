#include "platform/platform.h"
#include "platform/platform_testing.h"

#include <gtest/gtest.h>

#include <csignal>

namespace tessera {
namespace {

TEST(Keyboard, ReleasedFiresOnceAfterTheKeyGoesUp) {
  testing_set_key(KEY_SPACE, true);
  keyboard_examine();
  EXPECT_EQ(key_pushed(KEY_SPACE), 1);
  EXPECT_EQ(key_released(KEY_SPACE), 0);
  keyboard_examine();
  EXPECT_EQ(key_released(KEY_SPACE), 0);
  testing_set_key(KEY_SPACE, false);
  keyboard_examine();
  EXPECT_EQ(key_pushed(KEY_SPACE), 0);
  EXPECT_EQ(key_released(KEY_SPACE), 1);
  keyboard_examine();
  EXPECT_EQ(key_released(KEY_SPACE), 0);
  // Each key remembers its own previous query.
  testing_set_key(KEY_P, true);
  testing_set_key(KEY_ESCAPE, true);
  keyboard_examine();
  EXPECT_EQ(key_released(KEY_P), 0);
  testing_release_all_keys();
  keyboard_examine();
  EXPECT_EQ(key_released(KEY_P), 1);
  EXPECT_EQ(key_released(KEY_ESCAPE), 0);  // never queried while down
  EXPECT_EQ(key_released(300), 0);
  EXPECT_EQ(key_released(-1), 0);
}

// The game takes two snapshots a frame; a tap shorter than a frame must reach both of them and
// read as released once a frame has been presented.
TEST(Keyboard, TapBetweenSnapshotsReadsAsHeldForOneFrame) {
  testing_set_frame_pacing(false);
  keyboard_examine();
  EXPECT_EQ(key_pushed(-1), 0);
  testing_set_key(KEY_UP, true);
  testing_set_key(KEY_UP, false);
  screen_flip();  // a frame presented before any snapshot saw the tap keeps it
  keyboard_examine();
  EXPECT_EQ(key_pushed(KEY_UP), 1);
  EXPECT_EQ(key_pushed(-1), 1);
  EXPECT_EQ(key_pushed(KEY_DOWN), 0);
  keyboard_examine();
  EXPECT_EQ(key_pushed(KEY_UP), 1);
  screen_flip();
  keyboard_examine();
  EXPECT_EQ(key_pushed(KEY_UP), 0);
  EXPECT_EQ(key_pushed(-1), 0);
}

TEST(Joystick, InjectedPadAxesAndButtons) {
  EXPECT_EQ(joystick_examine(), 0);
  testing_set_joystick(true, -1, 800, (1u << 0) | (1u << 9));
  EXPECT_EQ(joystick_init(), 1);
  EXPECT_EQ(joystick_examine(), 1);
  EXPECT_EQ(joystick_axis_x(), -1);
  EXPECT_EQ(joystick_axis_y(), 1);
  EXPECT_EQ(joystick_button(1), 1);
  EXPECT_EQ(joystick_button(2), 0);
  EXPECT_EQ(joystick_button(10), 1);
  EXPECT_EQ(joystick_button(0), 0);
  EXPECT_EQ(joystick_button(11), 0);
  testing_set_joystick(true, 400, -501, 0);
  joystick_examine();
  EXPECT_EQ(joystick_axis_x(), 0);
  EXPECT_EQ(joystick_axis_y(), -1);
  EXPECT_EQ(joystick_button(10), 0);
}

int quit_calls = 0;
void count_quit() { ++quit_calls; }

TEST(Quit, SignalReachesTheHandlerThroughTheNextSnapshot) {
  testing_set_frame_pacing(false);
  ASSERT_NE(testing_open_screen(32, 32), 0);
  quit_handler_register(count_quit);
  std::raise(SIGTERM);
  EXPECT_EQ(quit_calls, 0);  // nothing happens inside the signal itself
  keyboard_examine();
  EXPECT_EQ(quit_calls, 1);
  joystick_examine();
  EXPECT_EQ(quit_calls, 1);  // delivered once
  std::raise(SIGINT);
  window_event(0);
  EXPECT_EQ(quit_calls, 2);
  testing_reset_platform();
}

TEST(MessageBox, HeadlessBoxesAnswerTheDefaultAndAreLogged) {
  ASSERT_NE(testing_open_screen(32, 32), 0);  // dummy video: still no real display
  EXPECT_NE(message_box("ERROR ", "Something failed", MESSAGE_OK), 0);
  EXPECT_EQ(message_box("Question", "Continue?", MESSAGE_YES_NO), ANSWER_YES);
  testing_set_message_answer(ANSWER_NO);
  EXPECT_EQ(message_box("Question", "Again?", MESSAGE_YES_NO), ANSWER_NO);
  ASSERT_EQ(testing_message_log().size(), 3u);
  EXPECT_NE(testing_message_log()[0].find("ERROR "), std::string::npos);
  EXPECT_NE(testing_message_log()[0].find("Something failed"), std::string::npos);
  EXPECT_NE(testing_message_log()[2].find("Again?"), std::string::npos);
  testing_reset_platform();
  EXPECT_TRUE(testing_message_log().empty());
  EXPECT_EQ(message_box("Question", "Before any screen", MESSAGE_YES_NO), ANSWER_YES);
}

}  // namespace
}  // namespace tessera
