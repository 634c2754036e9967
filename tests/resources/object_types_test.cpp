#include "resources/object_types.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "resources/resource_fixture.h"

using namespace tessera;
using testfiles::write_lines;
using testfiles::write_png;

namespace {

class ObjectTypesTest : public ResourceTest {
 protected:
  const ObjectType* type_named_file(const std::string& file_name) {
    for (const ObjectType& t : object_types.items) {
      if (t.file_name == file_name) return &t;
    }
    return nullptr;
  }
};

TEST_F(ObjectTypesTest, DefinitionKeysAreMatchedExactlyAndParsedByWidth) {
  write_png(obj + "gem.png", 8, 8, rgb(0, 255, 0));
  write_lines(obj + "gem.dll", {
                                   "DGFXNAME ", "SHOULD_NOT_BE_READ",  // trailing blank: not a key
                                   "dgfxname", "lower",                // other case: not a key
                                   "DGFXNAME", "GEM",
                                   "DSCORE", "  -15abc",
                                   "DEXTRATIME", "letters",
                                   "DAILEVEL", "300",
                                   "DISENEMY", "\t+1",
                                   "DLIFETIME", "DROTATE",  // consumed with its value line
                                   "DHOTSPOT", "CENTER ",
                                   "DCOUNTSOUND", "pick.ogg",
                                   "DDENSITY", "7",
                                   "DDENSITY", "3",  // the last value wins
                                   "DPOWERUP", "1",
                                   "DROTATE",  // odd line count: the value reads as empty
                               });
  load_object_types();
  ASSERT_EQ(object_types.size(), 1);
  const ObjectType& t = object_types.at(0);
  EXPECT_EQ(t.path, obj + "gem.png");
  EXPECT_EQ(t.file_name, "gem.png");
  EXPECT_NE(sprite_exists(t.type_sprite), 0);
  EXPECT_EQ(t.DGFXNAME, "GEM");
  EXPECT_EQ(t.DSCORE, -15);
  EXPECT_EQ(t.DEXTRATIME, 0);
  EXPECT_EQ(t.DAILEVEL, 44);
  EXPECT_EQ(t.DISENEMY, 1);
  EXPECT_EQ(t.DROTATE, 0);
  EXPECT_EQ(t.DHOTSPOT, "CENTER ");
  EXPECT_EQ(t.DCOUNTSOUND, "pick.ogg");
  EXPECT_EQ(t.DDENSITY, 3);
}

TEST_F(ObjectTypesTest, NamesNopeAndMissingDefinitionsInSortedListingOrder) {
  for (const char* name : {"d_none.png", "b_hash.png", "a_empty.png", "c_nodef.png", "e_noname.png"}) {
    write_png(obj + name, 4, 4, rgb(10, 20, 30));
  }
  write_lines(obj + "b_hash.dll", {"DGFXNAME", "#"});
  write_lines(obj + "a_empty.dll", {"DGFXNAME", ""});
  write_lines(obj + "e_noname.dll", {"DSCORE", "5"});
  testfiles::make_dirs(obj + "folder.png");  // a directory matching the pattern is skipped
  testfiles::write_text(obj + "notes.txt", "DGFXNAME\r\nX\r\n");
  load_object_types();

  ASSERT_EQ(object_types.size(), 5);
  EXPECT_EQ(object_types.at(0).file_name, "a_empty.png");
  EXPECT_EQ(object_types.at(1).file_name, "b_hash.png");
  EXPECT_EQ(object_types.at(2).file_name, "c_nodef.png");
  EXPECT_EQ(object_types.at(3).file_name, "d_none.png");
  EXPECT_EQ(object_types.at(4).file_name, "e_noname.png");
  EXPECT_EQ(object_types.at(0).DGFXNAME, "NOPE");
  EXPECT_EQ(object_types.at(1).DGFXNAME, "NOPE");
  EXPECT_EQ(object_types.at(2).DGFXNAME, "");  // no definition file at all
  EXPECT_EQ(object_types.at(4).DGFXNAME, "");  // a definition without DGFXNAME
  EXPECT_EQ(object_types.at(4).DSCORE, 5);
}

TEST_F(ObjectTypesTest, DefinitionFileNameIsCutInTheFileNameAtTheLastExtension) {
  EXPECT_EQ(definition_file_name("/data/GFX/OBJ/bomb.png"), "/data/GFX/OBJ/bomb.dll");
  EXPECT_EQ(definition_file_name("/home/me/art.png.backup/bomb.png"), "/home/me/art.png.backup/bomb.dll");
  EXPECT_EQ(definition_file_name("C:\\a.png\\b.png.png"), "C:\\a.png\\b.png.dll");
  EXPECT_EQ(definition_file_name("/data/a.png/bomb"), ".dll");
  EXPECT_EQ(definition_file_name("/data/GFX/OBJ/bomb.PNG"), ".dll");  // case-sensitive search
  GFXCODEC = "";
  EXPECT_EQ(definition_file_name("/data/GFX/OBJ/bomb.png"), ".dll");

  // The same rule reaches the loader: a directory holding the extension changes nothing.
  GFXCODEC = ".png";
  WORLDGFX = dir.path + "set.png.d/";
  write_png(WORLDGFX + "bomb.png", 4, 4, rgb(1, 2, 3));
  write_lines(WORLDGFX + "bomb.dll", {"DGFXNAME", "BESIDE"});
  write_lines(dir.path + "set.dll", {"DGFXNAME", "CUT"});
  load_object_types();
  ASSERT_EQ(object_types.size(), 1);
  EXPECT_EQ(object_types.at(0).DGFXNAME, "BESIDE");
}

TEST_F(ObjectTypesTest, ReloadFreesEverySpriteOfThePreviousTable) {
  write_png(obj + "a.png", 4, 4, rgb(200, 0, 0));
  write_png(obj + "b.png", 4, 4, rgb(0, 200, 0));
  load_object_types();
  ASSERT_EQ(object_types.size(), 2);
  const int32_t first = object_types.at(0).type_sprite;
  const int32_t second = object_types.at(1).type_sprite;
  ASSERT_NE(sprite_exists(first), 0);
  ASSERT_NE(sprite_exists(second), 0);

  std::filesystem::remove_all(obj);
  load_object_types();
  EXPECT_EQ(object_types.size(), 0);
  EXPECT_EQ(sprite_exists(first), 0);
  EXPECT_EQ(sprite_exists(second), 0);
}

TEST_F(ObjectTypesTest, ImagesLoadWithWhiteAsTheColourKeyAndItStaysInForce) {
  // Left half white, right half red.
  std::vector<uint8_t> rgba;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool white = x < 2;
      rgba.insert(rgba.end(), {255, static_cast<uint8_t>(white ? 255 : 0), static_cast<uint8_t>(white ? 255 : 0), 255});
    }
  }
  testfiles::write_png_pixels(obj + "half.png", 4, 4, rgba);
  load_object_types();
  ASSERT_EQ(object_types.size(), 1);
  // A sprite loaded afterwards takes the same key.
  const int32_t later = sprite_load(-1, obj + "half.png", SPRITE_TEXTURE);

  for (const int32_t sprite : {object_types.at(0).type_sprite, later}) {
    const int32_t quad = sprite3d_create(-1, sprite);
    ASSERT_NE(quad, 0);
    screen_clear(rgb(0, 0, 255));
    sprite3d_begin();
    sprite3d_blend_mode(5, 6);
    sprite3d_draw(quad, 10, 10, 255);
    sprite3d_end();
    EXPECT_EQ(testing_read_pixel(10, 10), rgb(0, 0, 255));  // white is keyed out
    EXPECT_EQ(testing_read_pixel(13, 10), rgb(255, 0, 0));
  }
}

}  // namespace
