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

}  // namespace tessera
