#include "platform/platform.h"
#include "platform/platform_testing.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

#include <chrono>
#include <thread>

namespace tessera {
namespace {

void wait_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sound_decoders_register();
    ASSERT_EQ(sound_init(), 1);  // the dummy audio driver of the test harness
  }
  void TearDown() override { testing_reset_platform(); }
  testfiles::TempDir temp;
};

TEST_F(SoundTest, ReplayRestartsInsteadOfMixingACopy) {
  testfiles::write_ogg(temp.file("tone.ogg"), 0.3);
  const int32_t tone = sound_load(-1, temp.path + "tone.ogg");
  ASSERT_NE(tone, 0);
  EXPECT_FALSE(testing_sound_playing(tone));

  // A looping copy is replaced by a single play: a second copy would keep looping.
  sound_play(tone, SOUND_LOOP);
  wait_ms(600);
  EXPECT_TRUE(testing_sound_playing(tone));
  sound_play(tone, 0);
  EXPECT_EQ(testing_sound_play_count(tone), 2);
  wait_ms(800);
  EXPECT_FALSE(testing_sound_playing(tone));
}

TEST_F(SoundTest, SeveralAtOnceAndStopAll) {
  testfiles::write_ogg(temp.file("a.ogg"), 2.0, 440);
  testfiles::write_ogg(temp.file("B.OGG"), 2.0, 660);
  const int32_t a = sound_load(-1, temp.path + "a.ogg");
  const int32_t b = sound_load(-1, temp.path + "b.ogg");  // found without regard to case
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  sound_play(a, 0);
  sound_play(b, SOUND_LOOP);
  EXPECT_TRUE(testing_sound_playing(a));
  EXPECT_TRUE(testing_sound_playing(b));
  sound_stop(a);
  EXPECT_FALSE(testing_sound_playing(a));
  EXPECT_TRUE(testing_sound_playing(b));
  sound_play(a, 2);  // an extra copy
  sound_play(a, 2);
  sound_stop(-1);
  EXPECT_FALSE(testing_sound_playing(a));
  EXPECT_FALSE(testing_sound_playing(b));

  // Many sounds at once all get a channel.
  std::vector<int32_t> many;
  for (int i = 0; i < 40; ++i) {
    many.push_back(sound_load(-1, temp.path + "a.ogg"));
    sound_play(many.back(), 0);
  }
  for (int32_t s : many) EXPECT_TRUE(testing_sound_playing(s));

  sound_free(a);
  EXPECT_EQ(sound_exists(a), 0);
  EXPECT_EQ(sound_load(-1, temp.path + "missing.ogg"), 0);
  testfiles::write_text(temp.file("bad.ogg"), "not a sound");
  EXPECT_EQ(sound_load(-1, temp.path + "bad.ogg"), 0);
}

// Streamed sounds (music) share one stream: a second one takes it over, and the first may start
// again. Effects play beside it.
TEST_F(SoundTest, StreamedSoundsShareOneStreamBesideTheEffects) {
  testfiles::write_ogg(temp.file("one.ogg"), 0.5, 440);
  testfiles::write_ogg(temp.file("two.ogg"), 0.5, 550);
  const int32_t one = sound_load_streamed(-1, temp.path + "one.ogg");
  const int32_t two = sound_load_streamed(-1, temp.path + "TWO.ogg");
  const int32_t effect = sound_load(-1, temp.path + "one.ogg");
  ASSERT_NE(one, 0);
  ASSERT_NE(two, 0);
  EXPECT_FALSE(testing_sound_playing(one));

  sound_play(one, SOUND_LOOP);
  sound_play(effect, 0);
  EXPECT_TRUE(testing_sound_playing(one));
  EXPECT_TRUE(testing_sound_playing(effect));
  wait_ms(700);
  EXPECT_TRUE(testing_sound_playing(one));  // looping past its end
  sound_play(two, 0);
  EXPECT_FALSE(testing_sound_playing(one));
  EXPECT_TRUE(testing_sound_playing(two));
  sound_stop(one);  // not the one playing: nothing changes
  EXPECT_TRUE(testing_sound_playing(two));
  sound_play(one, SOUND_LOOP);
  sound_free(two);
  EXPECT_TRUE(testing_sound_playing(one));
  EXPECT_EQ(sound_exists(two), 0);
  sound_stop(-1);
  EXPECT_FALSE(testing_sound_playing(one));
  EXPECT_EQ(testing_sound_play_count(one), 2);
  sound_free(one);
  EXPECT_EQ(sound_exists(one), 0);

  EXPECT_EQ(sound_load_streamed(-1, temp.path + "missing.ogg"), 0);
  testfiles::write_text(temp.file("bad.ogg"), "not a sound either");
  EXPECT_EQ(sound_load_streamed(-1, temp.path + "bad.ogg"), 0);
}

}  // namespace
}  // namespace tessera
