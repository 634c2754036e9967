// Sound effects played by name and the music tracks chosen by name or by chance.
#include "resources/sound_control.h"

#include "resources/catalogs.h"
#include "resources/resource_fixture.h"

namespace {

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
  EXPECT_EQ(testing_sound_play_count(lower), 2);
  EXPECT_EQ(testing_sound_play_count(upper), 0);

  // Collection sounds go through the instance's own switch and name.
  for (const auto& [use, name] : {std::pair{1, "Tile.ogg"}, std::pair{0, "Tile.ogg"}, std::pair{1, "gone.ogg"}}) {
    ObjectInstance& instance = object_instances.add();
    instance.DUSECOUNTSOUND = static_cast<int8_t>(use);
    instance.DCOUNTSOUND = name;
  }
  for (int32_t position : {0, 1, 2, 3, -1}) play_collect_sound(position);
  EXPECT_EQ(testing_sound_play_count(upper), 1);
  EXPECT_EQ(testing_sound_play_count(lower), 2);
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
  EXPECT_EQ(playing_track(), 0);
  EXPECT_EQ(music_tracks.at(1).sound, 0);  // the previous track is freed
  play_music("Menu.ogg");
  EXPECT_EQ(playing_track(), -1);
  music_tracks.clear();
  play_music("");
  EXPECT_EQ(playing_track(), -1);
}

}  // namespace
