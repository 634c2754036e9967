// Sounds on the dummy audio driver: replays, channels, music beside effects and stopping (music
// tracks replacing one another are tested with the sound control). Images and sounds that cannot
// be loaded: each is named once on standard error with its reason, and the load gives 0 as ever.
#include "platform/platform_fixture.h"

#include <chrono>
#include <thread>

namespace {

using testfiles::read_all;
using testfiles::write_text;

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


// Bytes of a real file with a 32-bit value written over them at `at` (big-endian for PNG).
std::function<void(const std::string&)> patched(const std::string& from, size_t at, uint32_t value, bool big) {
  return [=](const std::string& path) {
    std::string bytes = read_all(from);
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (big ? 24 - 8 * i : 8 * i));
    write_text(path, bytes);
  };
}

// Images whose header claims too much are not decoded at all.
using LoadReports = SoundTest;
TEST_F(LoadReports, EachUnloadableFileIsNamedOnceWithItsReason) {
  ASSERT_NE(testing_open_screen(32, 32), 0);
  const std::string png = temp.file("good.png"), ogg = temp.file("good.ogg"), bmp = temp.file("base.bmp");
  testfiles::write_png(png, 64, 64, rgb(9, 9, 9));
  testfiles::write_ogg(ogg, 0.5);
  write_text(bmp, std::string("BM") + std::string(12, '\0') + "\x28" + std::string(39, '\0'));  // 40-byte header
  auto cut = [](const std::string& from, size_t keep) {
    return [=](const std::string& path) { write_text(path, read_all(from).substr(0, keep)); };
  };
  auto noise = [](const std::string& path) { write_text(path, std::string(700, '\x9d')); };
  auto folder = [](const std::string& path) { testfiles::make_dirs(path); };
  struct Unloadable {
    std::string name;
    std::function<void(const std::string&)> make;
    std::string reason;  // after "<path>: "; "" for whatever the decoder says
  };
  const std::vector<Unloadable> files = {
      {"huge.png", patched(png, 16, 100000, true), "image too large (100000 x 64), not loaded"},
      {"tall.bmp", patched(bmp, 22, static_cast<uint32_t>(-20000), false), "image too large (0 x 20000), not loaded"},
      {"missing.png", [](const std::string&) {}, "no such file"},
      {"folder.png", folder, "a directory, not a file"},
      {"empty.png", [](const std::string& p) { write_text(p, ""); }, ""},
      {"noise.png", noise, ""},
      {"cut.png", cut(png, read_all(png).size() - 20), ""},  // inside the image data
      {"missing.ogg", [](const std::string&) {}, "no such file"},
      {"folder.ogg", folder, "a directory, not a file"},
      {"noise.ogg", noise, ""},
      {"cut.ogg", cut(ogg, 200), ""},  // inside the stream's headers
  };
  for (const Unloadable& file : files) {
    SCOPED_TRACE(file.name);
    const std::string path = temp.path + file.name;
    file.make(path);
    ::testing::internal::CaptureStderr();
    // Twice each, and streamed too for sounds: the file is named once in all.
    for (int time = 0; time < 2; ++time) {
      if (file.name.ends_with(".ogg")) {
        EXPECT_EQ(sound_load(-1, path), 0);
        EXPECT_EQ(sound_load_streamed(-1, path), 0);
      } else {
        EXPECT_EQ(sprite_load(-1, path), 0);
      }
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind(path + ": " + file.reason, 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_GT(said.size(), path.size() + 3) << said;
  }
  // What loads says nothing.
  ::testing::internal::CaptureStderr();
  EXPECT_NE(sprite_load(-1, png), 0);
  EXPECT_NE(sound_load(-1, ogg), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
