#include "resources/sound_control.h"

#include "model/world_model.h"
#include "platform/platform.h"

namespace tessera {

namespace {

// First effect of that exact name, or nullptr.
const SoundEffect* find_effect(const std::string& name) {
  for (const SoundEffect& effect : sound_effects.items) {
    if (effect.file_name == name) return &effect;
  }
  return nullptr;
}

void stop_all_music() {
  for (MusicTrack& track : music_tracks.items) {
    if (sound_exists(track.sound) == 0) continue;
    sound_stop(track.sound);
    sound_free(track.sound);
    // A stale handle could later name another sound once the platform reuses it.
    track.sound = 0;
  }
}

// Walks round the list, each step ending with chance 1/11; -1 for an empty list.
int32_t random_track() {
  if (music_tracks.empty()) return -1;
  int32_t index = -1;
  do {
    index = (index + 1) % music_tracks.size();
  } while (random_int(10) != 0);
  return index;
}

int32_t named_track(const std::string& name) {
  for (int32_t i = 0; i < music_tracks.size(); ++i) {
    if (music_tracks.at(i).file_name == name) return i;
  }
  return -1;
}

}  // namespace

void play_sound(const std::string& name, int32_t flags) {
  if (sound_effects.empty()) return;
  const SoundEffect* effect = find_effect(name);
  if (effect != nullptr && effect->loaded != 0) sound_play(effect->sound, flags);
}

void play_collect_sound(int32_t position) {
  if (sound_effects.empty()) return;
  if (!object_instances.select(position)) return;
  const ObjectInstance& instance = object_instances.current();
  if (instance.DUSECOUNTSOUND == 0) return;
  const SoundEffect* effect = find_effect(instance.DCOUNTSOUND);
  if (effect != nullptr && effect->loaded != 0) sound_play(effect->sound, 0);
}

void play_music(const std::string& name) {
  stop_all_music();
  const int32_t index = name.empty() ? random_track() : named_track(name);
  if (index < 0) return;
  MusicTrack& track = music_tracks.at(index);
  track.sound = sound_load_streamed(-1, track.path);
  if (sound_exists(track.sound) != 0) sound_play(track.sound, SOUND_LOOP);
}

}  // namespace tessera
