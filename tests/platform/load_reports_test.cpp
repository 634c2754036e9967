// Images and sounds that cannot be loaded: each is named once on standard error with its reason,
// and the load gives 0 as ever. Images whose header claims too much are not decoded at all.
#include "platform/platform.h"
#include "platform/platform_testing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace tessera {
namespace {

using testfiles::read_all;
using testfiles::write_text;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A real 8 x 8 PNG whose header then claims width x height (its checksum no longer matches, which
// only a decoder would notice).
void write_png_claiming(const std::string& path, uint32_t width, uint32_t height) {
  testfiles::write_png(path, 8, 8, rgb(1, 2, 3));
  std::string bytes = read_all(path);
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<size_t>(16 + i)] = static_cast<char>(width >> (24 - 8 * i));
    bytes[static_cast<size_t>(20 + i)] = static_cast<char>(height >> (24 - 8 * i));
  }
  write_text(path, bytes);
}

// A BMP header of 54 bytes claiming width x height, 32 bits a pixel, and no pixels.
void write_bmp_claiming(const std::string& path, int32_t width, int32_t height) {
  std::string bytes(54, '\0');
  auto put32 = [&bytes](size_t at, int32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  bytes[26] = 1;
  bytes[28] = 32;
  write_text(path, bytes);
}

struct Unloadable {
  std::string name;
  std::function<void(const std::string& path)> make;
  std::string reason;  // what the line says after "<path>: "; "" for any reason the decoder gives
};

class LoadReportsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(testing_open_screen(32, 32), 0); }
  void TearDown() override { testing_reset_platform(); }
  testfiles::TempDir temp;
};

TEST_F(LoadReportsTest, EachUnloadableFileIsNamedOnceWithItsReason) {
  sound_decoders_register();
  ASSERT_EQ(sound_init(), 1);
  const std::string good_png = temp.file("good.png");
  testfiles::write_png(good_png, 64, 64, rgb(9, 9, 9));
  const std::string good_ogg = temp.file("good.ogg");
  testfiles::write_ogg(good_ogg, 0.5);
  // Cut inside the image data, and inside the sound's headers.
  auto cut = [](const std::string& from, size_t keep) {
    return [from, keep](const std::string& path) { write_text(path, read_all(from).substr(0, keep)); };
  };
  const std::vector<Unloadable> images = {
      {"huge.png", [](const std::string& p) { write_png_claiming(p, 100000, 100000); },
       "image too large (100000 x 100000), not loaded"},
      {"wide.png", [](const std::string& p) { write_png_claiming(p, 20000, 1); }, "image too large (20000 x 1), not loaded"},
      {"huge.bmp", [](const std::string& p) { write_bmp_claiming(p, 9000, -9000); },
       "image too large (9000 x 9000), not loaded"},
      {"missing.png", [](const std::string&) {}, "no such file"},
      {"folder.png", [](const std::string& p) { testfiles::make_dirs(p); }, "a directory, not a file"},
      {"empty.png", [](const std::string& p) { write_text(p, ""); }, ""},
      {"noise.png", [](const std::string& p) { write_text(p, std::string(700, '\x9d')); }, ""},
      {"cut.png", cut(good_png, read_all(good_png).size() - 20), ""},
  };
  const std::vector<Unloadable> sounds = {
      {"missing.ogg", [](const std::string&) {}, "no such file"},
      {"folder.ogg", [](const std::string& p) { testfiles::make_dirs(p); }, "a directory, not a file"},
      {"noise.ogg", [](const std::string& p) { write_text(p, std::string(700, '\x9d')); }, ""},
      {"cut.ogg", cut(good_ogg, 200), ""},
  };
  auto check = [&](const Unloadable& file, const std::function<int32_t(const std::string&)>& load) {
    SCOPED_TRACE(file.name);
    const std::string path = temp.path + file.name;
    file.make(path);
    ::testing::internal::CaptureStderr();
    const int32_t first = load(path);
    const int32_t again = load(path);
    const std::vector<std::string> said = lines_of(::testing::internal::GetCapturedStderr());
    EXPECT_EQ(first, 0);
    EXPECT_EQ(again, 0);
    ASSERT_EQ(said.size(), 1u) << ::testing::PrintToString(said);
    if (file.reason.empty()) {
      EXPECT_GT(said[0].size(), path.size() + 2) << said[0];
      EXPECT_EQ(said[0].rfind(path + ": ", 0), 0u) << said[0];
    } else {
      EXPECT_EQ(said[0], path + ": " + file.reason);
    }
  };
  for (const Unloadable& image : images) check(image, [](const std::string& p) { return sprite_load(-1, p, SPRITE_TEXTURE); });
  for (const Unloadable& sound : sounds) {
    check(sound, [](const std::string& p) { return sound_load(-1, p); });
    // Streamed music names the same file once in all.
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(sound_load_streamed(-1, temp.path + sound.name), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
  // What loads says nothing.
  ::testing::internal::CaptureStderr();
  EXPECT_NE(sprite_load(-1, good_png, SPRITE_TEXTURE), 0);
  EXPECT_NE(sound_load(-1, good_ogg), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace tessera
