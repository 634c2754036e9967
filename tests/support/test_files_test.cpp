#include "support/test_files.h"

#include <gtest/gtest.h>

#include <SDL_image.h>

// The fixtures other tests rely on must really produce decodable files.
TEST(TestFiles, WritesDecodablePngAndOgg) {
  testfiles::TempDir dir;
  const std::string png = dir.file("a/b/tile.png");
  testfiles::write_png(png, 8, 6, 0x00FF00);
  SDL_Surface* s = IMG_Load(png.c_str());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->w, 8);
  EXPECT_EQ(s->h, 6);
  SDL_FreeSurface(s);

  const std::string ogg = dir.file("snd/beep.ogg");
  testfiles::write_ogg(ogg, 0.1);
  const std::string bytes = testfiles::read_all(ogg);
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(bytes.substr(0, 4), "OggS");
}
