// Object types: each image of the WORLDGFX directory with its ".dll" definition file beside it.
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

// Frees the sprites of the previous table, then loads every "*" + GFXCODEC image of WORLDGFX
// (sorted by name) with its definition file into object_types. Leaves white as the default key.
void load_object_types();
// The quad that draws objects of the type at width x height, made at its first use and shared by
// every object of the type; 0 for a type that is not there or has no image.
int32_t object_type_quad(int32_t type, int32_t width, int32_t height);
// Reads a definition file into the type at list position index as load_object_types does: each
// key it names sets its field, the others keep theirs. False when the file cannot be opened.
bool read_object_definition(int32_t index, const std::string& path);
// Empties sound_effects, edge_placements, object_instances and object_types (frees nothing).
void clear_object_lists();
// The definition file of an image: the path cut before the last GFXCODEC occurrence in the file
// name (after the last separator), + ".dll"; just ".dll" when the name holds no GFXCODEC.
std::string definition_file_name(const std::string& image_path);

// The checker, after load_object_types and load_sound_effects: the WORLDGFX directory, every
// object image (decodes; square where a foe turns) and its definition file (unknown keys, numbers
// the game reads other than written, hotspots it does not know, a collection sound that no sound
// effect answers).
void check_object_types();

}  // namespace tessera
