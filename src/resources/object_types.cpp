#include "resources/object_types.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "core/config.h"
#include "core/diagnostics.h"
#include "core/line_pairs.h"
#include "core/numeric.h"
#include "model/vocabulary.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/sound_control.h"

namespace tessera {

namespace {

std::string file_part(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Keys that take a 32-bit number, and those that keep only the low 8 bits.
struct IntKey {
  const char* key;
  int32_t ObjectType::*field;
};
struct ByteKey {
  const char* key;
  int8_t ObjectType::*field;
};
const IntKey int_keys[] = {
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
const ByteKey byte_keys[] = {
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
// Text keys, and the keys that are accepted but store nothing.
const char* const text_keys[] = {"DGFXNAME", "DHOTSPOT", "DCOUNTSOUND"};
const char* const ignored_keys[] = {"DLIFETIME", "DPOWERUP"};

void set_definition_key(ObjectType& type, const std::string& key, const std::string& value) {
  if (key == "DGFXNAME") {
    type.DGFXNAME = (value.empty() || value == NO_NAME) ? NO_OBJECT_NAME : value;
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
    if (sprite3d_exists(type.quad) != 0) sprite3d_free(type.quad);
    if (sprite_exists(type.type_sprite) != 0) sprite_free(type.type_sprite);
  }
  object_types.clear();
}

void add_object_type(const std::string& entry_name) {
  ObjectType& type = object_types.add();
  type.path = WORLDGFX + entry_name;
  type.file_name = file_part(type.path);
  type.type_sprite = sprite_load(-1, type.path);
  read_object_definition(object_types.size() - 1, definition_file_name(type.path));
}

}  // namespace

bool read_object_definition(int32_t index, const std::string& path) {
  return read_line_pairs(path, [index](const std::string& key, const std::string& value) {
    set_definition_key(object_types.at(index), key, value);
  });
}

std::string definition_file_name(const std::string& image_path) {
  // Only the file name is cut: a folder such as "art.png.backup" on the way must not move the
  // definition. An extension missing from the name (or empty) leaves nothing before the cut.
  const size_t separator = image_path.find_last_of("\\/");
  const size_t name_start = separator == std::string::npos ? 0 : separator + 1;
  const size_t cut = GFXCODEC.empty() ? std::string::npos : image_path.rfind(GFXCODEC);
  if (cut == std::string::npos || cut < name_start) return ".dll";
  return image_path.substr(0, cut) + ".dll";
}

int32_t object_type_quad(int32_t type, int32_t width, int32_t height) {
  if (type < 0 || type >= object_types.size()) return 0;
  ObjectType& object_type = object_types.at(type);
  if (sprite3d_exists(object_type.quad) == 0) {
    object_type.quad = sprite3d_create(-1, object_type.type_sprite);
    object_type.quad_width = -1;
  }
  if (object_type.quad != 0 && (object_type.quad_width != width || object_type.quad_height != height)) {
    sprite3d_zoom(object_type.quad, width, height);
    object_type.quad_width = width;
    object_type.quad_height = height;
  }
  return object_type.quad;
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

namespace {

const char* const HOTSPOTS[] = {HOTSPOT_CENTER, HOTSPOT_RIGHT, HOTSPOT_BOTTOM_LEFT, HOTSPOT_BOTTOM_RIGHT};
constexpr int32_t ALPHA_MAX = 255;

std::vector<std::string> definition_keys() {
  std::vector<std::string> keys(std::begin(text_keys), std::end(text_keys));
  for (const IntKey& k : int_keys) keys.emplace_back(k.key);
  for (const ByteKey& k : byte_keys) keys.emplace_back(k.key);
  keys.insert(keys.end(), std::begin(ignored_keys), std::end(ignored_keys));
  return keys;
}

bool is_int_key(const std::string& key) {
  for (const IntKey& k : int_keys) {
    if (key == k.key) return true;
  }
  return false;
}

bool is_byte_key(const std::string& key) {
  for (const ByteKey& k : byte_keys) {
    if (key == k.key) return true;
  }
  return false;
}

// What the game makes of a number of the definition that is not what it says.
std::string number_key_note(const std::string& key, const std::string& value) {
  const NumberReading reading = read_leading_int(value);
  const int32_t stored = is_byte_key(key) ? low8_signed(reading.value) : reading.value;
  const std::string note = integer_field_note(reading, stored);
  if (!note.empty()) return note;
  if (key == "DGFXTRANSPARENCY" && (stored < 0 || stored > ALPHA_MAX)) return "outside the alpha range 0..255";
  if (key == "DDENSITY" && stored < 0) return "negative: the chance never comes up, so nothing of this type appears";
  return "";
}

// What a type loses when a value holds no number and the game reads 0 instead.
const char* definition_lost_at_zero(const std::string& key) {
  if (key == "DGFXSHOW") return "the objects it places in cells are not drawn";
  if (key == "DCOLLISION") return "walking onto its objects does nothing";
  if (key == "DSCORE") return "its objects give no points";
  if (key == "DEXTRATIME") return "its objects give no time";
  if (key == "DISENEMY") return "it never appears as a foe";
  if (key == "DUSECOUNTSOUND") return "collecting it is silent";
  return nullptr;
}

// Any other text means no offset, which data sets say as they like ("TOPLEFT", "NONE"); only a
// near miss of an anchor is surely meant as that anchor.
std::string hotspot_note(const std::string& value) {
  const std::vector<std::string> hotspots(std::begin(HOTSPOTS), std::end(HOTSPOTS));
  const std::string near = nearest_name(value, hotspots);
  if (near.empty() || near == value) return "";
  return "is not exactly " + near + ": the image gets no offset";
}

// Reports the definition's pairs; returns the value line of its last DCOUNTSOUND (0: none).
int32_t check_definition_pairs(const std::string& file, const std::vector<std::string>& keys, bool& found) {
  int32_t sound_line = 0;
  found = read_numbered_line_pairs(file, [&](const LinePair& pair) {
    const int32_t value_line = pair.line + 1;
    std::string note;
    if (is_int_key(pair.key) || is_byte_key(pair.key)) {
      note = number_key_note(pair.key, pair.value);
    } else if (pair.key == "DHOTSPOT") {
      note = hotspot_note(pair.value);
    } else if (pair.key == "DCOUNTSOUND") {
      sound_line = value_line;
    } else if (std::find(keys.begin(), keys.end(), pair.key) == keys.end()) {
      if (!pair.key.empty() || pair.has_value_line) diagnostic_warning(file, pair.line, unknown_key_message(pair.key, keys));
    }
    report_value_note(file, value_line, pair.key, pair.value, note, read_leading_int(pair.value).has_number,
                      definition_lost_at_zero(pair.key));
  });
  return sound_line;
}

void check_object_type(const ObjectType& type, const std::vector<std::string>& keys) {
  if (type.type_sprite == 0) diagnostic_error(type.path, 0, "does not decode as an image: its objects are invisible");
  const std::string definition = definition_file_name(type.path);
  bool found = false;
  const int32_t sound_line = check_definition_pairs(definition, keys, found);
  if (!found) {
    diagnostic_warning(type.path, 0, "has no definition file " + quoted(diagnostic_path(definition)) +
                                         ": the type has no name and never shows");
    return;
  }
  if (type.DUSECOUNTSOUND != 0) {
    const std::string problem = sound_name_problem(type.DCOUNTSOUND);
    if (!problem.empty()) {
      diagnostic_error(definition, sound_line,
                       "DCOUNTSOUND " + quoted(type.DCOUNTSOUND) + ": " + problem + ": collecting it is silent");
    }
  }
  const int32_t width = sprite_width(type.type_sprite);
  const int32_t height = sprite_height(type.type_sprite);
  if (type.DISENEMY != 0 && type.DROTATE != 0 && type.type_sprite != 0 && width != height) {
    diagnostic_error(type.path, 0,
                     "is " + decimal(width) + " x " + decimal(height) +
                         " pixels: its foes turn (DROTATE), and only a square image keeps its shape while turning");
  }
}

}  // namespace

void check_object_types() {
  if (!check_configured_path("WORLDGFX", WORLDGFX, ENTRY_DIRECTORY, Severity::error,
                             "there are no objects and no foes")) {
    return;
  }
  const std::vector<std::string> keys = definition_keys();
  for (const ObjectType& type : object_types.items) check_object_type(type, keys);
}

}  // namespace tessera
