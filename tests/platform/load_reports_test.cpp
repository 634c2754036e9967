// Images and sounds that cannot be loaded: each is named once on standard error with its reason,
// and the load gives 0 as ever. Images whose header claims too much are not decoded at all.
#include "platform/platform.h"
#include "platform/platform_testing.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace tessera {
namespace {

using testfiles::read_all;
using testfiles::write_text;

// Bytes of a real file with a 32-bit value written over them at `at` (big-endian for PNG).
std::function<void(const std::string&)> patched(const std::string& from, size_t at, uint32_t value, bool big) {
  return [=](const std::string& path) {
    std::string bytes = read_all(from);
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (big ? 24 - 8 * i : 8 * i));
    write_text(path, bytes);
  };
}

TEST(LoadReports, EachUnloadableFileIsNamedOnceWithItsReason) {
  ASSERT_NE(testing_open_screen(32, 32), 0);
  sound_decoders_register();
  ASSERT_EQ(sound_init(), 1);
  testfiles::TempDir temp;
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
        EXPECT_EQ(sprite_load(-1, path, SPRITE_TEXTURE), 0);
      }
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind(path + ": " + file.reason, 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_GT(said.size(), path.size() + 3) << said;
  }
  // What loads says nothing.
  ::testing::internal::CaptureStderr();
  EXPECT_NE(sprite_load(-1, png, SPRITE_TEXTURE), 0);
  EXPECT_NE(sound_load(-1, ogg), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  testing_reset_platform();
}

}  // namespace
}  // namespace tessera
