// Sounds by file name, collection sounds and the looping music track.
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

// Plays the first loaded sound effect whose file name equals name exactly; otherwise nothing.
void play_sound(const std::string& name, int32_t flags);
// The collection sound of the instance at that position of object_instances, when it has one.
void play_collect_sound(int32_t position);
// Stops and frees the running track, then loops the named track, or a random one for "".
void play_music(const std::string& name);

// List positions of the first sound effect and the first music track whose file name is exactly
// name (the lookups of play_sound and play_music); -1 when there is none.
int32_t sound_effect_named(const std::string& name);
int32_t music_track_named(const std::string& name);
// What keeps a sound name from playing: "" when a sound effect of that exact name exists (its
// decoding is checked with the catalog), else a short text saying so.
std::string sound_name_problem(const std::string& name);
// The checker, after load_sound_effects: every sound key of the configuration that an event
// plays names a sound effect.
void check_sound_names();

}  // namespace tessera
