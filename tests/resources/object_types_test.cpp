// Object types: one image and one definition file each, in listing order.
#include "resources/object_types.h"

#include <filesystem>

#include "resources/resource_fixture.h"

using testfiles::write_lines;
using testfiles::write_png;

namespace {

using ObjectTypesTest = ResourceTest;

TEST_F(ObjectTypesTest, DefinitionKeysAreMatchedExactlyAndParsedByWidth) {
  write_png(obj + "gem.png", 8, 8, rgb(0, 255, 0));
  write_lines(obj + "gem.dll", {"DGFXNAME ", "TRAILING BLANK", "dgfxname", "LOWER CASE", "DGFXNAME", "GEM",
                                "DSCORE", "  -15abc", "DEXTRATIME", "letters", "DAILEVEL", "300", "DISENEMY", "\t+1",
                                "DLIFETIME", "DROTATE",  // consumed with its value line
                                "DHOTSPOT", "CENTER ", "DDENSITY", "7", "DDENSITY", "3", "DROTATE"});
  load_object_types();
  ASSERT_EQ(object_types.size(), 1);
  const ObjectType& t = object_types.at(0);
  EXPECT_EQ(t.path, obj + "gem.png");
  EXPECT_EQ(t.file_name, "gem.png");
  EXPECT_EQ(t.DGFXNAME, "GEM");
  EXPECT_EQ(std::vector<int32_t>({t.DSCORE, t.DEXTRATIME, t.DAILEVEL, t.DISENEMY, t.DROTATE, t.DDENSITY}),
            std::vector<int32_t>({-15, 0, 44, 1, 0, 3}));  // DAILEVEL keeps 8 bits; the last DDENSITY wins
  EXPECT_EQ(t.DHOTSPOT, "CENTER ");
}

TEST_F(ObjectTypesTest, NopeNamesMissingDefinitionsAndSortedListing) {
  for (const char* name : {"d_none.png", "b_hash.png", "a_empty.png", "c_nodef.png", "e_noname.png"}) {
    write_png(obj + name, 4, 4, rgb(10, 20, 30));
  }
  write_lines(obj + "b_hash.dll", {"DGFXNAME", "#"});
  write_lines(obj + "a_empty.dll", {"DGFXNAME", ""});
  write_lines(obj + "e_noname.dll", {"DSCORE", "5"});
  testfiles::make_dirs(obj + "folder.png");  // a directory matching the pattern is skipped
  load_object_types();
  std::vector<std::string> listed;
  for (const ObjectType& t : object_types.items) listed.push_back(t.file_name + ":" + t.DGFXNAME.str());
  EXPECT_EQ(listed, (std::vector<std::string>{"a_empty.png:NOPE", "b_hash.png:NOPE", "c_nodef.png:", "d_none.png:",
                                              "e_noname.png:"}));
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

// White is the key of object images and stays in force; a reload frees every earlier sprite.
TEST_F(ObjectTypesTest, ImagesUseTheWhiteKeyAndAReloadFreesThem) {
  std::vector<uint8_t> rgba;  // left half white, right half red
  for (int i = 0; i < 16; ++i) rgba.insert(rgba.end(), {255, uint8_t(i % 4 < 2 ? 255 : 0), uint8_t(i % 4 < 2 ? 255 : 0), 255});
  testfiles::write_png_pixels(obj + "half.png", 4, 4, rgba);
  write_png(obj + "other.png", 4, 4, rgb(0, 200, 0));
  load_object_types();
  ASSERT_EQ(object_types.size(), 2);
  const int32_t later = sprite_load(-1, obj + "half.png", SPRITE_TEXTURE);
  for (const int32_t sprite : {object_types.at(0).type_sprite, later}) {
    EXPECT_EQ(drawn_colour(sprite3d_create(-1, sprite)), rgb(0, 0, 255));  // white is keyed out
    EXPECT_EQ(testing_read_pixel(3, 1), rgb(255, 0, 0));
  }
  const int32_t first = object_types.at(0).type_sprite;
  const int32_t second = object_types.at(1).type_sprite;
  std::filesystem::remove_all(obj);
  load_object_types();
  EXPECT_EQ(object_types.size(), 0);
  EXPECT_EQ(sprite_exists(first) + sprite_exists(second), 0);
}

}  // namespace
