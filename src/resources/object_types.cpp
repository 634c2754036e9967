#include "resources/object_types.h"

#include <cstdint>

#include "core/config.h"
#include "core/line_pairs.h"
#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"

namespace tessera {

namespace {

std::string file_part(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

void set_definition_key(ObjectType& type, const std::string& key, const std::string& value) {
  // Keys that take a 32-bit number, and those that keep only the low 8 bits.
  struct IntKey {
    const char* key;
    int32_t ObjectType::*field;
  };
  struct ByteKey {
    const char* key;
    int8_t ObjectType::*field;
  };
  static const IntKey int_keys[] = {
      {"DGFXTRANSPARENCY", &ObjectType::DGFXTRANSPARENCY},
      {"DDENSITY", &ObjectType::DDENSITY},
      {"DXMODE1", &ObjectType::DXMODE1},
      {"DXMODE2", &ObjectType::DXMODE2},
      {"DSCORE", &ObjectType::DSCORE},
      {"DRANDOMMOVE", &ObjectType::DRANDOMMOVE},
      {"DMOVEX", &ObjectType::DMOVEX},
      {"DMOVEY", &ObjectType::DMOVEY},
      {"DVELOX", &ObjectType::DVELOX},
      {"DVELOY", &ObjectType::DVELOY},
      {"DDMOVE", &ObjectType::DDMOVE},
      {"DCHANGEDIRECTION", &ObjectType::DCHANGEDIRECTION},
      {"DEXTRATIME", &ObjectType::DEXTRATIME},
      {"DROTATE", &ObjectType::DROTATE},
  };
  static const ByteKey byte_keys[] = {
      {"DFITTOMATRIX", &ObjectType::DFITTOMATRIX},
      {"DCOLLISION", &ObjectType::DCOLLISION},
      {"DGFXSHOW", &ObjectType::DGFXSHOW},
      {"DCENTERFIELD", &ObjectType::DCENTERFIELD},
      {"DKILLONCOLLISION", &ObjectType::DKILLONCOLLISION},
      {"DCOUNTTOSCORE", &ObjectType::DCOUNTTOSCORE},
      {"DUSECOUNTSOUND", &ObjectType::DUSECOUNTSOUND},
      {"DISPLAYER", &ObjectType::DISPLAYER},
      {"DISENEMY", &ObjectType::DISENEMY},
      {"DAILEVEL", &ObjectType::DAILEVEL},
      {"DISGOODY", &ObjectType::DISGOODY},
  };

  if (key == "DGFXNAME") {
    type.DGFXNAME = (value.empty() || value == "#") ? "NOPE" : value;
    return;
  }
  if (key == "DHOTSPOT") {
    type.DHOTSPOT = value;
    return;
  }
  if (key == "DCOUNTSOUND") {
    type.DCOUNTSOUND = value;
    return;
  }
  for (const IntKey& k : int_keys) {
    if (key == k.key) {
      type.*k.field = parse_leading_int(value);
      return;
    }
  }
  for (const ByteKey& k : byte_keys) {
    if (key == k.key) {
      type.*k.field = low8_signed(parse_leading_int(value));
      return;
    }
  }
  // DLIFETIME and DPOWERUP are accepted but store nothing, like every unknown key.
}

void free_type_sprites() {
  for (ObjectType& type : object_types.items) {
    if (sprite_exists(type.type_sprite) != 0) sprite_free(type.type_sprite);
  }
  object_types.clear();
}

void add_object_type(const std::string& entry_name) {
  ObjectType& type = object_types.add();
  type.path = WORLDGFX + entry_name;
  type.file_name = file_part(type.path);
  type.type_sprite = sprite_load(-1, type.path, SPRITE_TEXTURE);
  const int32_t index = object_types.size() - 1;
  read_line_pairs(definition_file_name(type.path), [index](const std::string& key, const std::string& value) {
    set_definition_key(object_types.at(index), key, value);
  });
}

}  // namespace

std::string definition_file_name(const std::string& image_path) {
  // Only the file name is cut: a folder such as "art.png.backup" on the way must not move the
  // definition. An extension missing from the name (or empty) leaves nothing before the cut.
  const size_t separator = image_path.find_last_of("\\/");
  const size_t name_start = separator == std::string::npos ? 0 : separator + 1;
  const size_t cut = GFXCODEC.empty() ? std::string::npos : image_path.rfind(GFXCODEC);
  if (cut == std::string::npos || cut < name_start) return ".dll";
  return image_path.substr(0, cut) + ".dll";
}

void load_object_types() {
  free_type_sprites();
  sprite_transparent_color(-1, rgb(255, 255, 255));
  const int32_t dir = dir_examine(-1, WORLDGFX, "*" + GFXCODEC);
  if (dir == 0) return;
  while (dir_next_entry(dir) != 0) {
    window_events_when_due();  // a long load still answers a request to close
    if (dir_entry_type(dir) != ENTRY_FILE) continue;
    add_object_type(dir_entry_name(dir));
  }
  dir_finish(dir);
}

void clear_object_lists() {
  sound_effects.clear();
  edge_placements.clear();
  object_instances.clear();
  object_types.clear();
}

}  // namespace tessera
