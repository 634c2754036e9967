#include "resources/sound_control.h"

#include <vector>

#include "core/config.h"
#include "core/diagnostics.h"
#include "model/world_model.h"
#include "platform/platform.h"

namespace tessera {

namespace {

// First effect of that exact name, or nullptr.
const SoundEffect* find_effect(const std::string& name) {
  const int32_t index = sound_effect_named(name);
  return index < 0 ? nullptr : &sound_effects.at(index);
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
  if (effect != nullptr && effect->loaded != 0) sound_play(effect->sound, SOUND_ONCE);
}

void play_music(const std::string& name) {
  stop_all_music();
  const int32_t index = name.empty() ? random_track() : music_track_named(name);
  if (index < 0) return;
  MusicTrack& track = music_tracks.at(index);
  track.sound = sound_load_streamed(-1, track.path);
  if (sound_exists(track.sound) != 0) sound_play(track.sound, SOUND_LOOP);
}

int32_t sound_effect_named(const std::string& name) {
  for (int32_t i = 0; i < sound_effects.size(); ++i) {
    if (sound_effects.at(i).file_name == name) return i;
  }
  return -1;
}

int32_t music_track_named(const std::string& name) {
  for (int32_t i = 0; i < music_tracks.size(); ++i) {
    if (music_tracks.at(i).file_name == name) return i;
  }
  return -1;
}

std::string sound_name_problem(const std::string& name) {
  if (sound_effect_named(name) >= 0) return "";
  std::vector<std::string> names;
  for (const SoundEffect& effect : sound_effects.items) names.push_back(effect.file_name);
  const std::string near = nearest_name(name, names);
  return "no sound effect of SOUNDFXPATH has this name" + (near.empty() ? "" : " (there is " + quoted(near) + ")");
}

namespace {

struct SoundKey {
  const char* key;
  const std::string* name;
  const char* event;
};

// The keys whose sounds an event plays; the others are read but never played.
const SoundKey played_sound_keys[] = {
    {"TIMERSOUND", &TIMERSOUND, "the clock's last ten units are silent"},
    {"DEFTILESOUND", &DEFTILESOUND, "painting a tile is silent"},
    {"FIXEDTILESOUND", &FIXEDTILESOUND, "fixing a tile is silent"},
    {"PINKTILEFIXEDSOUND", &PINKTILEFIXEDSOUND, "locking pink floor is silent"},
    {"EXPLOSIONSOUND", &EXPLOSIONSOUND, "bomb blasts are silent"},
    {"VOXTAMBER1", &VOXTAMBER1, "the intro's first jingle is silent"},
    {"VOXTAMBER", &VOXTAMBER, "the intro's second jingle is silent"},
};

}  // namespace

void check_sound_names() {
  for (const SoundKey& sound : played_sound_keys) {
    // An empty name plays nothing, which a data set may well want.
    if (sound.name->empty()) continue;
    const std::string problem = sound_name_problem(*sound.name);
    if (problem.empty()) continue;
    diagnostic_error(configuration_path, configuration_line(sound.key),
                     std::string(sound.key) + " " + quoted(*sound.name) + ": " + problem + ": " + sound.event);
  }
}

}  // namespace tessera
