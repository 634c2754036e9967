// Sounds on the dummy audio driver: replays, channels, music beside effects and stopping (music
// tracks replacing one another are tested with the sound control).
#include "platform/platform_fixture.h"

#include <chrono>
#include <thread>

namespace {

void wait_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sound_decoders_register();
    ASSERT_EQ(sound_init(), 1);
    testfiles::write_ogg(temp.file("a.ogg"), 0.5, 440);
    testfiles::write_ogg(temp.file("B.OGG"), 0.5, 660);
    testfiles::write_text(temp.file("bad.ogg"), "not a sound");
  }
  void TearDown() override { testing_reset_platform(); }
  testfiles::TempDir temp;
};

TEST_F(SoundTest, EffectsReplayInsteadOfMixingACopyAndAllGetAChannel) {
  const int32_t a = sound_load(-1, temp.path + "a.ogg");
  const int32_t b = sound_load(-1, temp.path + "b.ogg");  // found without regard to case
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  EXPECT_EQ(sound_load(-1, temp.path + "missing.ogg") + sound_load(-1, temp.path + "bad.ogg"), 0);
  // A looping copy is replaced by a single play: a second copy would keep looping.
  sound_play(a, SOUND_LOOP);
  sound_play(b, SOUND_LOOP);
  wait_ms(700);
  EXPECT_TRUE(testing_sound_playing(a));
  sound_play(a, 0);
  EXPECT_EQ(testing_sound_play_count(a), 2);
  wait_ms(700);
  EXPECT_FALSE(testing_sound_playing(a));
  EXPECT_TRUE(testing_sound_playing(b));
  sound_stop(b);
  EXPECT_FALSE(testing_sound_playing(b));

  // Many sounds at once all get a channel, and stopping all stops them all.
  std::vector<int32_t> many;
  for (int i = 0; i < 40; ++i) {
    many.push_back(sound_load(-1, temp.path + "a.ogg"));
    sound_play(many.back(), 0);
  }
  for (int32_t s : many) EXPECT_TRUE(testing_sound_playing(s));
  // Music streams beside the effects, and stopping all stops both.
  const int32_t music = sound_load_streamed(-1, temp.path + "A.OGG");
  sound_play(music, SOUND_LOOP);
  EXPECT_TRUE(testing_sound_playing(music) && testing_sound_playing(many.back()));
  sound_stop(-1);
  for (int32_t s : many) EXPECT_FALSE(testing_sound_playing(s));
  EXPECT_FALSE(testing_sound_playing(music));
  EXPECT_EQ(sound_load_streamed(-1, temp.path + "bad.ogg"), 0);
  sound_free(a);
  EXPECT_EQ(sound_exists(a), 0);
}

}  // namespace
