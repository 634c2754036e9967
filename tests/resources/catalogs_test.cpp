// Catalogs read from directory listings: tile graphics, floaters, the player figure, object types
// (one image and one definition file each), sound effects and music tracks.
#include "resources/catalogs.h"

#include <filesystem>
#include <set>

#include "resources/object_types.h"
#include "resources/resource_fixture.h"
#include "resources/sound_control.h"

using testfiles::write_lines;
using testfiles::write_png;

namespace {

using CatalogsTest = ResourceTest;
using ObjectTypesTest = ResourceTest;

TEST_F(CatalogsTest, TileGraphicsKeepFailedLoadsInListingOrderAndAreNeverEmptied) {
  write_png(TOPOGFX + "b_wall.png", 8, 6, rgb(50, 50, 50));
  write_png(TOPOGFX + "a_floor.png", 4, 2, rgb(50, 50, 50));
  testfiles::write_text(TOPOGFX + "c_broken.png", "no picture here");
  write_png(TOPOGFX + "d_other.jpg", 4, 4, rgb(50, 50, 50));
  load_tile_graphics();
  ASSERT_EQ(tile_graphics.size(), 3);
  const TileGraphic& floor = tile_graphics.at(0);
  EXPECT_EQ(std::pair(floor.path, floor.file_name.str()), std::pair(TOPOGFX + "a_floor.png", std::string("a_floor.png")));
  EXPECT_EQ(std::pair(floor.width, floor.height), std::pair(4.0f, 2.0f));
  EXPECT_EQ(std::pair(tile_graphics.at(2).file_name.str(), tile_graphics.at(2).sprite), std::pair(std::string("c_broken.png"), 0));
  // They take the key in force (start-up sets magenta).
  sprite_transparent_color(-1, rgb(255, 0, 255));
  write_png(TOPOGFX + "e_magenta.png", 4, 4, rgb(255, 0, 255));
  load_tile_graphics();
  ASSERT_EQ(tile_graphics.size(), 7);
  EXPECT_EQ(drawn_colour(sprite3d_create(-1, tile_graphics.at(6).sprite)), rgb(0, 0, 255));
}

// Every file is loaded once a pass, count + 1 passes, each floater with its own Sprite3D, a place
// on the visible area (y drawn first) and a speed of 1 to 6.
TEST_F(CatalogsTest, FloatersLoadEveryFileOncePerPassWithTheirOwnSpritesAndDraws) {
  write_png(EGFXPATH + "one.png", 4, 4, rgb(0, 0, 0));
  write_png(EGFXPATH + "two.png", 4, 4, rgb(200, 100, 0));
  EGFXMAX = 9;
  visible_columns = 3.0f;
  visible_rows = 2.0f;
  screen_width = 100.0f;
  screen_height = 20.5f;  // 2 x 20.5 = 41
  load_world_floaters();
  ASSERT_EQ(world_floaters.size(), 20);
  std::set<int32_t> sprites;
  float widest = 0;
  for (const Floater& f : world_floaters.items) {
    EXPECT_TRUE(f.y >= 0 && f.y <= 41 && f.x >= 0 && f.x <= 300) << f.x << ", " << f.y;
    EXPECT_TRUE(f.vx >= 1 && f.vx <= 6 && f.vy >= 1 && f.vy <= 6) << f.vx << ", " << f.vy;
    widest = std::max(widest, f.x);
    sprites.insert(f.sprite);
  }
  EXPECT_GT(widest, 41);
  EXPECT_EQ(sprites.size(), 20u);
  // Black is keyed out; the other file shows.
  EXPECT_EQ(drawn_colour(world_floaters.at(0).sprite), rgb(0, 0, 255));
  EXPECT_EQ(drawn_colour(world_floaters.at(1).sprite), rgb(200, 100, 0));

  // The largest count: passes end at the limit, or at once when a pass finds nothing.
  write_png(SCREGFXPATH + "t.png", 4, 4, rgb(9, 9, 9));
  SCREGFXMAX = INT32_MAX;
  load_title_floaters();
  EXPECT_EQ(title_floaters.size(), FLOATER_LIMIT);
  SCREGFXPATH = dir.path + "GFX/NONE/";
  load_title_floaters();
  EXPECT_EQ(title_floaters.size(), 0);
}

// White is the key of the player figure and of object images, and stays in force after them.
TEST_F(CatalogsTest, PlayerAndObjectImagesUseTheWhiteKeyAndAreReplaced) {
  CURSOR = dir.path + "GFX/player.png";
  load_player_graphic();
  EXPECT_EQ(player.player_sprite, 0);  // no image yet
  write_png(CURSOR, 6, 6, rgb(255, 255, 255));
  load_player_graphic();
  EXPECT_EQ(drawn_colour(player.player_sprite), rgb(0, 0, 255));
  write_png(CURSOR, 6, 6, rgb(10, 200, 10));
  load_player_graphic();
  EXPECT_EQ(drawn_colour(player.player_sprite), rgb(10, 200, 10));

  std::vector<uint8_t> rgba;  // left half white, right half red
  for (int i = 0; i < 16; ++i) rgba.insert(rgba.end(), {255, uint8_t(i % 4 < 2 ? 255 : 0), uint8_t(i % 4 < 2 ? 255 : 0), 255});
  testfiles::write_png_pixels(obj + "half.png", 4, 4, rgba);
  write_png(obj + "other.png", 4, 4, rgb(0, 200, 0));
  sprite_transparent_color(-1, rgb(255, 0, 255));
  load_object_types();
  ASSERT_EQ(object_types.size(), 2);
  const int32_t later = sprite_load(-1, obj + "half.png");
  for (const int32_t sprite : {object_types.at(0).type_sprite, later}) {
    EXPECT_EQ(drawn_colour(sprite3d_create(-1, sprite)), rgb(0, 0, 255));  // white is keyed out
    EXPECT_EQ(testing_read_pixel(3, 1), rgb(255, 0, 0));
  }
  // A reload frees every earlier sprite.
  const int32_t first = object_types.at(0).type_sprite;
  const int32_t second = object_types.at(1).type_sprite;
  std::filesystem::remove_all(obj);
  load_object_types();
  EXPECT_EQ(object_types.size(), 0);
  EXPECT_EQ(sprite_exists(first) + sprite_exists(second), 0);
}

TEST_F(ObjectTypesTest, DefinitionKeysAreMatchedExactlyAndParsedByWidth) {
  write_png(obj + "gem.png", 8, 8, rgb(0, 255, 0));
  write_lines(obj + "gem.dll", {"DGFXNAME ", "TRAILING BLANK", "dgfxname", "LOWER CASE", "DGFXNAME", "GEM",
                                "DSCORE", "  -15abc", "DEXTRATIME", "letters", "DAILEVEL", "300", "DISENEMY", "\t+1",
                                "DLIFETIME", "DROTATE",  // consumed with its value line
                                "DHOTSPOT", "CENTER ", "DDENSITY", "7", "DDENSITY", "3", "DROTATE"});
  load_object_types();
  ASSERT_EQ(object_types.size(), 1);
  const ObjectType& t = object_types.at(0);
  EXPECT_EQ(std::pair(t.path, t.file_name), std::pair(obj + "gem.png", std::string("gem.png")));
  EXPECT_EQ(std::pair(t.DGFXNAME.str(), t.DHOTSPOT), std::pair(std::string("GEM"), std::string("CENTER ")));
  EXPECT_EQ(std::vector<int32_t>({t.DSCORE, t.DEXTRATIME, t.DAILEVEL, t.DISENEMY, t.DROTATE, t.DDENSITY}),
            std::vector<int32_t>({-15, 0, 44, 1, 0, 3}));  // DAILEVEL keeps 8 bits; the last DDENSITY wins
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

// The definition sits beside the image: the extension is cut in the file name, at its last place.
TEST_F(ObjectTypesTest, DefinitionFileNameIsCutInTheFileNameAtTheLastExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"/data/GFX/OBJ/bomb.png", "/data/GFX/OBJ/bomb.dll"},
      {"/home/me/art.png.backup/bomb.png", "/home/me/art.png.backup/bomb.dll"},
      {"C:\\a.png\\b.png.png", "C:\\a.png\\b.png.dll"},
      {"/data/a.png/bomb", ".dll"},
      {"/data/GFX/OBJ/bomb.PNG", ".dll"}};  // case-sensitive search
  for (const auto& [image, definition] : cases) EXPECT_EQ(definition_file_name(image), definition);
  GFXCODEC = "";
  EXPECT_EQ(definition_file_name("/data/GFX/OBJ/bomb.png"), ".dll");
}

class SoundControlTest : public ResourceTest {
 protected:
  // Index of the one track playing, -1 for silence, -2 for more than one.
  int32_t playing_track() {
    int32_t found = -1;
    for (int32_t i = 0; i < music_tracks.size(); ++i) {
      if (music_tracks.at(i).sound != 0 && testing_sound_playing(music_tracks.at(i).sound)) found = found == -1 ? i : -2;
    }
    return found;
  }
};

TEST_F(SoundControlTest, EffectsArePlayedByExactNameOnlyWhenLoaded) {
  testfiles::write_ogg(SOUNDFXPATH + "tile.ogg");
  testfiles::write_ogg(SOUNDFXPATH + "Tile.ogg");
  testfiles::write_text(SOUNDFXPATH + "broken.ogg", "not a sound at all");
  load_sound_effects();
  ASSERT_EQ(sound_effects.size(), 3);  // sorted: Tile.ogg, broken.ogg, tile.ogg
  EXPECT_EQ(sound_effects.at(1).loaded, 0);
  const int32_t upper = sound_effects.at(0).sound;
  const int32_t lower = sound_effects.at(2).sound;
  for (const char* name : {"tile.ogg", "tile.ogg", "TILE.OGG", "broken.ogg", ""}) play_sound(name, 0);
  EXPECT_EQ(std::pair(testing_sound_play_count(lower), testing_sound_play_count(upper)), std::pair(2, 0));

  // Collection sounds go through the instance's own switch and name.
  for (const auto& [use, name] : {std::pair{1, "Tile.ogg"}, std::pair{0, "Tile.ogg"}, std::pair{1, "gone.ogg"}}) {
    ObjectInstance& instance = object_instances.add();
    instance.DUSECOUNTSOUND = static_cast<int8_t>(use);
    instance.DCOUNTSOUND = name;
  }
  for (int32_t position : {0, 1, 2, 3, -1}) play_collect_sound(position);
  EXPECT_EQ(std::pair(testing_sound_play_count(lower), testing_sound_play_count(upper)), std::pair(2, 1));
}

// With no name, the walk round the tracks stops with chance 1/11 a step: recorded tracks per seed.
TEST_F(SoundControlTest, RandomMusicWalksRoundTheTracks) {
  for (const char* name : {"a.ogg", "b.ogg", "c.ogg"}) testfiles::write_ogg(INGAMEMUSIC + name);
  load_music_tracks();
  ASSERT_EQ(music_tracks.size(), 3);
  EXPECT_EQ(music_tracks.at(0).sound, 0);  // nothing is loaded before it is played
  std::vector<int32_t> chosen;
  for (int32_t seed = 0; seed < 12; ++seed) {
    random_seed(seed);
    play_music("");
    chosen.push_back(playing_track());
    chosen.push_back(random_int(9));  // the draw after the walk: no draw more or less
  }
  // Track and next draw for seeds 0 to 11, as recorded.
  EXPECT_EQ(chosen, (std::vector<int32_t>{0, 0, 1, 1, 2, 6, 0, 9, 0, 6, 0, 9, 1, 3, 0, 4, 1, 0, 1, 4, 0, 1, 2, 1}));
}

TEST_F(SoundControlTest, NamedMusicLoopsAndAMissingNameLeavesSilence) {
  testfiles::write_ogg(INGAMEMUSIC + "menu.ogg");
  testfiles::write_ogg(INGAMEMUSIC + "level.ogg");
  load_music_tracks();  // level.ogg, menu.ogg
  play_music("menu.ogg");
  EXPECT_EQ(playing_track(), 1);
  play_music("level.ogg");
  EXPECT_EQ(std::pair(playing_track(), music_tracks.at(1).sound), std::pair(0, 0));  // the previous track is freed
  play_music("Menu.ogg");
  EXPECT_EQ(playing_track(), -1);
  music_tracks.clear();
  play_music("");
  EXPECT_EQ(playing_track(), -1);
}

}  // namespace
