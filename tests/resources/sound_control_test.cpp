#include "resources/sound_control.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "resources/catalogs.h"
#include "resources/resource_fixture.h"

using namespace tessera;

namespace {

class SoundControlTest : public ResourceTest {
 protected:

  int32_t effect(const std::string& name) {
    for (const SoundEffect& e : sound_effects.items) {
      if (e.file_name == name) return e.sound;
    }
    return 0;
  }
  // Index of the one track playing, -1 for silence, -2 for more than one.
  int32_t playing_track() {
    int32_t found = -1;
    for (int32_t i = 0; i < music_tracks.size(); ++i) {
      if (music_tracks.at(i).sound != 0 && testing_sound_playing(music_tracks.at(i).sound)) {
        found = found == -1 ? i : -2;
      }
    }
    return found;
  }
};

TEST_F(SoundControlTest, EffectsArePlayedByExactNameOnlyWhenLoaded) {
  testfiles::write_ogg(SOUNDFXPATH + "tile.ogg");
  testfiles::write_ogg(SOUNDFXPATH + "Tile.ogg");
  testfiles::write_text(SOUNDFXPATH + "broken.ogg", "not a sound at all");
  load_sound_effects();
  ASSERT_EQ(sound_effects.size(), 3);
  EXPECT_EQ(sound_effects.at(0).file_name, "Tile.ogg");  // sorted listing
  EXPECT_EQ(sound_effects.at(1).file_name, "broken.ogg");
  EXPECT_EQ(sound_effects.at(1).loaded, 0);
  const int32_t lower = effect("tile.ogg");
  const int32_t upper = effect("Tile.ogg");
  ASSERT_NE(lower, 0);
  ASSERT_NE(upper, 0);

  play_sound("tile.ogg", 0);
  play_sound("tile.ogg", 0);
  play_sound("TILE.OGG", 0);
  play_sound("broken.ogg", 0);
  play_sound("", 0);
  EXPECT_EQ(testing_sound_play_count(lower), 2);
  EXPECT_EQ(testing_sound_play_count(upper), 0);

  // Collection sounds go through the instance's own switch and name.
  ObjectInstance& loud = object_instances.add();
  loud.DUSECOUNTSOUND = 1;
  loud.DCOUNTSOUND = "Tile.ogg";
  ObjectInstance& quiet = object_instances.add();
  quiet.DUSECOUNTSOUND = 0;
  quiet.DCOUNTSOUND = "Tile.ogg";
  ObjectInstance& unknown = object_instances.add();
  unknown.DUSECOUNTSOUND = 1;
  unknown.DCOUNTSOUND = "gone.ogg";
  for (int32_t position : {0, 1, 2, 3, -1}) play_collect_sound(position);
  EXPECT_EQ(testing_sound_play_count(upper), 1);
  EXPECT_EQ(testing_sound_play_count(lower), 2);
}

TEST_F(SoundControlTest, RandomMusicFollowsTheSeededWalkOverTwoTracks) {
  testfiles::write_ogg(INGAMEMUSIC + "a.ogg");
  testfiles::write_ogg(INGAMEMUSIC + "b.ogg");
  load_music_tracks();
  ASSERT_EQ(music_tracks.size(), 2);
  EXPECT_EQ(music_tracks.at(0).sound, 0);  // nothing is loaded before it is played

  bool seen[2] = {false, false};
  for (int32_t seed = 0; seed < 12; ++seed) {
    // Where the walk must land: one draw per step, the first step on track 0.
    random_seed(seed);
    int32_t expected = 0;
    while (random_int(10) != 0) expected = 1 - expected;
    const int32_t after = random_int(1000000);

    random_seed(seed);
    play_music("");
    SCOPED_TRACE(seed);
    EXPECT_EQ(playing_track(), expected);
    EXPECT_EQ(random_int(1000000), after);  // no draw more or less than the walk
    seen[expected] = true;
  }
  EXPECT_TRUE(seen[0] && seen[1]);
}

TEST_F(SoundControlTest, NamedMusicLoopsAndAMissingNameLeavesSilence) {
  testfiles::write_ogg(INGAMEMUSIC + "menu.ogg");
  testfiles::write_ogg(INGAMEMUSIC + "level.ogg");
  load_music_tracks();
  play_music("menu.ogg");
  const int32_t menu = playing_track();
  ASSERT_GE(menu, 0);
  EXPECT_EQ(music_tracks.at(menu).file_name, "menu.ogg");
  const int32_t first_handle = music_tracks.at(menu).sound;

  play_music("level.ogg");
  const int32_t level = playing_track();
  ASSERT_GE(level, 0);
  EXPECT_EQ(music_tracks.at(level).file_name, "level.ogg");
  EXPECT_EQ(music_tracks.at(menu).sound, 0);  // the previous track is freed
  if (music_tracks.at(level).sound != first_handle) {
    EXPECT_EQ(sound_exists(first_handle), 0);
  }

  play_music("Menu.ogg");
  EXPECT_EQ(playing_track(), -1);

  music_tracks.clear();
  play_music("");
  EXPECT_EQ(playing_track(), -1);
}

}  // namespace
