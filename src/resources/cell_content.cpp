#include "resources/cell_content.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/config.h"
#include "core/diagnostics.h"
#include "core/line_pairs.h"
#include "core/numeric.h"
#include "model/vocabulary.h"
#include "model/world_model.h"
#include "platform/platform.h"

namespace tessera {

namespace {

// Slot index of a "CHILD1" .. "CHILD8" key, -1 for any other key.
int32_t child_slot(const std::string& key) {
  if (key.size() != 6 || key.compare(0, 5, "CHILD") != 0) return -1;
  const char digit = key[5];
  if (digit < '1' || digit > '8') return -1;
  return digit - '1';
}

// Every key a content file may hold; store_content_pair keeps those that change a cell.
const char* const CONTENT_KEYS[] = {"GFXNAME",      "CHILD1",   "CHILD2",       "CHILD3",      "CHILD4",
                                    "CHILD5",       "CHILD6",   "CHILD7",       "CHILD8",      "VALUE1",
                                    "USECOLLISION", "TRANSPARENCY", "USEENEMY", "RANDOMSEED", "USEDIRECTION",
                                    "INTERNALNAME"};

enum class ContentKey : uint8_t { child, gfx_name, value1, use_collision, transparency, use_enemy };

// One line pair of a content file that changes a cell, already parsed.
struct ContentPair {
  ContentKey key = ContentKey::child;
  int8_t slot = 0;      // CHILDn: slot n-1
  bool names_child = false;  // CHILDn with a value other than NO_NAME ("#")
  int32_t number = 0;   // VALUE1, USECOLLISION, TRANSPARENCY, USEENEMY
  CellText text;        // GFXNAME (DUMMY_GRAPHIC for an empty value), CHILDn
};

// A content file as read once for the current level. A file that could not be opened stays
// unopened until the store is emptied.
struct StoredContent {
  bool found = false;
  std::vector<ContentPair> pairs;
  // Child names this file turns a tuple into, for the tuples met so far (from, to).
  std::vector<std::pair<uint32_t, uint32_t>> names_after;
};

constexpr size_t NAMES_REMEMBERED = 16;

std::unordered_map<std::string, StoredContent> stored_contents;
// Shortcut from a tile kind to its entry (entries of an unordered_map never move), valid for
// the path prefix it was made with.
std::vector<StoredContent*> content_of_kind;
std::string kind_prefix_path;
std::string kind_prefix_start;

// RANDOMSEED, USEDIRECTION and INTERNALNAME change nothing in the game and are not kept.
void store_content_pair(StoredContent& content, const std::string& key, const std::string& value) {
  ContentPair pair;
  if (const int32_t slot = child_slot(key); slot >= 0) {
    pair.key = ContentKey::child;
    pair.slot = static_cast<int8_t>(slot);
    pair.text = value;
    pair.names_child = value != NO_NAME;
  } else if (key == "GFXNAME") {
    pair.key = ContentKey::gfx_name;
    pair.text = value.empty() ? DUMMY_GRAPHIC : value;
  } else if (key == "VALUE1") {
    pair.key = ContentKey::value1;
  } else if (key == "USECOLLISION") {
    pair.key = ContentKey::use_collision;
  } else if (key == "TRANSPARENCY") {
    pair.key = ContentKey::transparency;
  } else if (key == "USEENEMY") {
    pair.key = ContentKey::use_enemy;
  } else {
    return;
  }
  pair.number = parse_leading_int(value);
  content.pairs.push_back(pair);
}

StoredContent& stored_content(const std::string& path) {
  auto [it, added] = stored_contents.try_emplace(path);
  StoredContent& content = it->second;
  if (added) {
    content.found = read_line_pairs(path, [&content](const std::string& key, const std::string& value) {
      store_content_pair(content, key, value);
    });
  }
  return content;
}

StoredContent& stored_content_of_kind(const CellText& kind) {
  if (kind_prefix_path != RGBCODEPATH || kind_prefix_start != APPSTART) {
    content_of_kind.clear();
    kind_prefix_path = RGBCODEPATH;
    kind_prefix_start = APPSTART;
  }
  if (kind.id() >= content_of_kind.size()) content_of_kind.resize(kind.id() + 1, nullptr);
  StoredContent*& known = content_of_kind[kind.id()];
  if (known == nullptr) known = &stored_content(cell_content_path(kind));
  return *known;
}

// The child names the file's CHILD lines leave on a cell that had `from`, in file order.
uint32_t child_names_after(StoredContent& content, const ChildNames& from) {
  for (const auto& [before, after] : content.names_after) {
    if (before == from.id()) return after;
  }
  ChildNames::Names names = from.names();
  for (const ContentPair& pair : content.pairs) {
    if (pair.key == ContentKey::child) names[static_cast<size_t>(pair.slot)] = pair.text;
  }
  ChildNames to;
  to.assign(names);
  if (content.names_after.size() < NAMES_REMEMBERED) content.names_after.emplace_back(from.id(), to.id());
  return to.id();
}

void apply_content_pair(WorldCell& cell, const ContentPair& pair) {
  switch (pair.key) {
    case ContentKey::child:
      cell.child_object[static_cast<size_t>(pair.slot)] = -1;
      if (pair.names_child) cell.last_child_name = pair.slot;
      break;
    case ContentKey::gfx_name:
      cell.gfx_name = pair.text;
      break;
    case ContentKey::value1:
      cell.value1 = pair.number;
      break;
    case ContentKey::use_collision:
      cell.use_collision = low8_signed(pair.number);
      break;
    case ContentKey::transparency:
      cell.transparency = pair.number;
      cell.alpha = static_cast<int32_t>(255u - static_cast<uint32_t>(pair.number));
      break;
    case ContentKey::use_enemy:
      cell.use_enemy = low8_signed(pair.number);
      break;
  }
}

// What reading the file does to the cell; a file that was not there leaves the cell as it was.
void apply_content(WorldCell& cell, StoredContent& content) {
  if (!content.found) return;
  cell.last_child_name = 0;
  for (const ContentPair& pair : content.pairs) apply_content_pair(cell, pair);
  cell.child_name.set_id(child_names_after(content, cell.child_name));
  if (cell.gfx_name.empty()) cell.gfx_name = DUMMY_GRAPHIC;
  cell.blocked = -1;
}

// Draw offset of an image inside its cell, shared by instances and foes.
void anchor_sprite(const ObjectType& type, float width, float height, float& offset_x, float& offset_y) {
  if (!type.DHOTSPOT.empty()) {
    if (type.DHOTSPOT == HOTSPOT_CENTER) {
      offset_x = width / 2.0f;
      offset_y = height / 2.0f;
    } else if (type.DHOTSPOT == HOTSPOT_RIGHT) {
      offset_x = width;
      offset_y = 0.0f;
    } else if (type.DHOTSPOT == HOTSPOT_BOTTOM_LEFT) {
      offset_x = 0.0f;
      offset_y = height;
    } else if (type.DHOTSPOT == HOTSPOT_BOTTOM_RIGHT) {
      offset_x = width;
      offset_y = height;
    }
  }
  if (type.DCENTERFIELD == 1) {
    offset_x += cell_width / 2.0f;
    offset_y += cell_height / 2.0f;
  }
}

int32_t spawn_instance(int32_t type_index) {
  const ObjectType& type = object_types.at(type_index);
  ObjectInstance& instance = object_instances.add();
  instance.type = type_index;
  instance.instance_size_x = static_cast<float>(sprite_width(type.type_sprite));
  instance.instance_size_y = static_cast<float>(sprite_height(type.type_sprite));
  instance.DGFXTRANSPARENCY = type.DGFXTRANSPARENCY;
  instance.DXMODE1 = type.DXMODE1;
  instance.DXMODE2 = type.DXMODE2;
  instance.DGFXSHOW = type.DGFXSHOW;
  instance.DCOLLISION = type.DCOLLISION;
  instance.DKILLONCOLLISION = type.DKILLONCOLLISION;
  instance.DSCORE = type.DSCORE;
  instance.DCOUNTTOSCORE = type.DCOUNTTOSCORE;
  instance.DCOUNTSOUND = type.DCOUNTSOUND;
  instance.DUSECOUNTSOUND = type.DUSECOUNTSOUND;
  instance.DISPLAYER = type.DISPLAYER;
  instance.DISGOODY = type.DISGOODY;
  instance.DEXTRATIME = type.DEXTRATIME;
  return object_instances.size() - 1;
}

void spawn_foe(int32_t type_index, int32_t x, int32_t y) {
  const ObjectType& type = object_types.at(type_index);
  Foe& foe = foes.add();
  foe.instance_sprite = sprite3d_create(-1, type.type_sprite);
  foe.instance_size_x = static_cast<float>(sprite_width(type.type_sprite));
  foe.instance_size_y = static_cast<float>(sprite_height(type.type_sprite));
  sprite3d_zoom(foe.instance_sprite, round_to_int(foe.instance_size_x), round_to_int(foe.instance_size_y));
  foe.DGFXTRANSPARENCY = type.DGFXTRANSPARENCY;
  foe.DXMODE1 = type.DXMODE1;
  foe.DXMODE2 = type.DXMODE2;
  foe.DGFXSHOW = type.DGFXSHOW;
  foe.DCOLLISION = type.DCOLLISION;
  foe.DRANDOMMOVE = type.DRANDOMMOVE;
  foe.DAILEVEL = type.DAILEVEL;
  foe.DMOVEX = type.DMOVEX;
  foe.DMOVEY = type.DMOVEY;
  foe.DDMOVE = type.DDMOVE;
  foe.DVELOX = type.DVELOX;
  foe.DVELOY = type.DVELOY;
  foe.DCHANGEDIRECTION = type.DCHANGEDIRECTION;
  foe.DROTATE = type.DROTATE;
  foe.x = round_to_int(static_cast<float>(x) * cell_width);
  foe.y = round_to_int(static_cast<float>(y) * cell_height);
  place_foe_sprite(foes.size() - 1, type_index);
}

}  // namespace

std::string cell_content_path(const std::string& kind) { return RGBCODEPATH + APPSTART + "\\" + kind; }

void retile_cell(int32_t x, int32_t y, const std::string& kind) { retile_cell(x, y, CellText(kind)); }
void retile_cell(int32_t x, int32_t y, const char* kind) { retile_cell(x, y, CellText(kind)); }

void retile_cell(int32_t x, int32_t y, const CellText& kind) {
  if (!cell_inside(x, y)) return;
  WorldCell& cell = world_cell(x, y);
  cell.tile_kind = kind;
  // The same as load_cell_content with the kind's path, without building the path each time.
  apply_content(cell, stored_content_of_kind(cell.tile_kind));
  load_cell_graphic(x, y, cell.gfx_name);
  spawn_cell_objects(x, y);
}

void load_cell_content(int32_t x, int32_t y, const std::string& path) {
  if (!cell_inside(x, y)) return;
  apply_content(world_cell(x, y), stored_content(path));
}

void forget_cell_contents() {
  stored_contents.clear();
  content_of_kind.clear();
}

void load_cell_graphic(int32_t x, int32_t y, const std::string& name) { load_cell_graphic(x, y, CellText(name)); }
void load_cell_graphic(int32_t x, int32_t y, const char* name) { load_cell_graphic(x, y, CellText(name)); }

void load_cell_graphic(int32_t x, int32_t y, const CellText& name) {
  if (!cell_inside(x, y)) return;
  for (int32_t i = 0; i < tile_graphics.size(); ++i) {
    if (tile_graphics.at(i).file_name != name) continue;
    world_cell(x, y).tile_graphic = i + 1;
    return;
  }
}

void preload_cell_contents(std::initializer_list<const char*> kinds) {
  for (const char* kind : kinds) stored_content_of_kind(CellText(kind));
}

void spawn_cell_objects(int32_t x, int32_t y) {
  if (!cell_inside(x, y)) return;
  WorldCell& cell = world_cell(x, y);
  cell.blocked = 0;
  cell.last_child = -1;
  // Whatever a caller stored, the walk never leaves the eight slots.
  const int32_t last_slot = std::min<int32_t>(cell.last_child_name, CHILD_SLOTS - 1);
  static const CellText nope = NO_OBJECT_NAME;
  for (int32_t slot = 0; slot <= last_slot; ++slot) {
    const CellText name = std::as_const(cell.child_name)[static_cast<size_t>(slot)];
    for (int32_t t = 0; t < object_types.size(); ++t) {
      const ObjectType& type = object_types.at(t);
      if (type.DGFXNAME == nope || type.DGFXNAME != name) continue;
      // The draw is made for every matching type, spawned or not: levels depend on it.
      if (random_int(type.DDENSITY) != 0) continue;
      const int32_t instance = spawn_instance(t);
      cell.child_object[static_cast<size_t>(slot)] = instance;
      cell.last_child = slot;
      if (object_instances.at(instance).DISGOODY == 1) tiles_left += 1;
      place_object_sprite(instance, t);
    }
  }
}

void place_object_sprite(int32_t instance, int32_t type) {
  if (instance < 0 || instance >= object_instances.size() || type < 0 || type >= object_types.size()) return;
  ObjectInstance& object = object_instances.at(instance);
  const ObjectType& object_type = object_types.at(type);
  if (sprite_exists(object_type.type_sprite) == 0) return;
  if (object_type.DFITTOMATRIX == 1) {
    object.instance_size_x = cell_width;
    object.instance_size_y = cell_height;
  }
  anchor_sprite(object_type, object.instance_size_x, object.instance_size_y, object.offset_x, object.offset_y);
}

void populate_foes(int32_t width, int32_t height) {
  // Cells outside the matrix read as empty and would add nothing.
  const int32_t last_x = std::min(width, world_matrix.columns - 1);
  const int32_t last_y = std::min(height, world_matrix.rows - 1);
  for (int32_t x = 0; x <= last_x; ++x) {
    for (int32_t y = 0; y <= last_y; ++y) {
      if (world_cell(x, y).use_enemy != 1) continue;
      for (int32_t t = 0; t < object_types.size() && foes.size() < MAXFOE; ++t) {
        const ObjectType& type = object_types.at(t);
        if (type.DISENEMY == 0) continue;
        if (random_int(type.DDENSITY) != 0) continue;
        spawn_foe(t, x, y);
      }
    }
  }
}

void place_foe_sprite(int32_t foe, int32_t type) {
  if (foe < 0 || foe >= foes.size() || type < 0 || type >= object_types.size()) return;
  Foe& f = foes.at(foe);
  anchor_sprite(object_types.at(type), f.instance_size_x, f.instance_size_y, f.offset_x, f.offset_y);
}

void clear_foes() {
  for (Foe& foe : foes.items) {
    if (sprite3d_exists(foe.instance_sprite) != 0) sprite3d_free(foe.instance_sprite);
  }
  foes.clear();
}

void reset_world() {
  scroll_x = 0.0f;
  scroll_y = 0.0f;
  edge_placements.clear();
  object_instances.clear();
  forget_cell_contents();
  world_matrix_create(LEVEL_MATRIX_SIZE, LEVEL_MATRIX_SIZE);
}

int32_t tile_graphic_named(const std::string& name) {
  for (int32_t i = 0; i < tile_graphics.size(); ++i) {
    if (tile_graphics.at(i).file_name == name) return i;
  }
  return -1;
}

int32_t object_types_answering(const std::string& child_name) {
  int32_t count = 0;
  for (const ObjectType& type : object_types.items) {
    if (type.DGFXNAME != NO_OBJECT_NAME && type.DGFXNAME == child_name) ++count;
  }
  return count;
}

namespace {

constexpr int32_t INVISIBLE = 255;

std::string there_is(const std::string& name, const std::vector<std::string>& names) {
  const std::string near = nearest_name(name, names);
  return near.empty() ? "" : " (there is " + quoted(near) + ")";
}

std::vector<std::string> tile_graphic_names() {
  std::vector<std::string> names;
  for (const TileGraphic& graphic : tile_graphics.items) names.emplace_back(graphic.file_name);
  return names;
}

std::vector<std::string> object_type_names() {
  std::vector<std::string> names;
  for (const ObjectType& type : object_types.items) names.emplace_back(type.DGFXNAME.str());
  return names;
}

// What a content file leaves to be checked once it is read whole (the last value of a key wins).
struct ContentSeen {
  bool has_gfx_name = false;
  std::string gfx_name;
  int32_t gfx_line = 0;
  bool invisible = false;  // TRANSPARENCY 255: the cell is never drawn, its graphic does not matter
};

std::string content_number_note(const std::string& key, const std::string& value) {
  const NumberReading reading = read_leading_int(value);
  const bool byte_field = key == "USECOLLISION" || key == "USEENEMY";
  const std::string note = integer_field_note(reading, byte_field ? low8_signed(reading.value) : reading.value);
  if (!note.empty()) return note;
  if (key == "TRANSPARENCY" && (reading.value < 0 || reading.value > INVISIBLE)) return "outside 0..255";
  return "";
}

// What a cell loses when a value holds no number and the game reads 0 instead.
const char* content_lost_at_zero(const std::string& key) {
  if (key == "USECOLLISION") return "the cell is walkable";
  if (key == "USEENEMY") return "no foe starts on such cells";
  return nullptr;
}

void check_content_pair(const std::string& file, const LinePair& pair, ContentSeen& seen) {
  static const std::vector<std::string> keys(std::begin(CONTENT_KEYS), std::end(CONTENT_KEYS));
  const int32_t value_line = pair.line + 1;
  std::string note;
  if (const int32_t slot = child_slot(pair.key); slot >= 0) {
    if (pair.value != NO_NAME && object_types_answering(pair.value) == 0) {
      diagnostic_error(file, value_line,
                       pair.key + " " + quoted(pair.value) + ": no object type has this DGFXNAME" +
                           there_is(pair.value, object_type_names()) + ": nothing spawns in this slot");
    }
  } else if (pair.key == "GFXNAME") {
    seen.has_gfx_name = true;
    seen.gfx_name = pair.value.empty() ? DUMMY_GRAPHIC : pair.value;
    seen.gfx_line = value_line;
  } else if (pair.key == "VALUE1" || pair.key == "USECOLLISION" || pair.key == "TRANSPARENCY" ||
             pair.key == "USEENEMY" || pair.key == "RANDOMSEED") {
    note = content_number_note(pair.key, pair.value);
    if (pair.key == "TRANSPARENCY") seen.invisible = parse_leading_int(pair.value) == INVISIBLE;
  } else if (std::find(keys.begin(), keys.end(), pair.key) == keys.end()) {
    if (!pair.key.empty() || pair.has_value_line) diagnostic_warning(file, pair.line, unknown_key_message(pair.key, keys));
  }
  report_value_note(file, value_line, pair.key, pair.value, note, read_leading_int(pair.value).has_number,
                    content_lost_at_zero(pair.key));
}

// graphics_readable: TOPOGFX is a directory (else that alone is reported, not every GFXNAME).
void check_content_file(const std::string& file, bool graphics_readable) {
  ContentSeen seen;
  read_numbered_line_pairs(file, [&file, &seen](const LinePair& pair) { check_content_pair(file, pair, seen); });
  if (!graphics_readable || !seen.has_gfx_name || seen.invisible || tile_graphic_named(seen.gfx_name) >= 0) return;
  diagnostic_error(file, seen.gfx_line,
                   "GFXNAME " + quoted(seen.gfx_name) + ": no tile graphic of TOPOGFX has this name" +
                       there_is(seen.gfx_name, tile_graphic_names()) + ": the cell keeps the graphic it had");
}

bool is_directory(const std::string& path) {
  std::string found;
  int32_t type = 0;
  return path_examine(path, found, type) != PATH_MISSING && type == ENTRY_DIRECTORY;
}

}  // namespace

void check_cell_contents() {
  const std::string directory = RGBCODEPATH + APPSTART + "\\";
  if (!check_configured_path("RGBCODEPATH", directory, ENTRY_DIRECTORY, Severity::error,
                             "no cell gets any content")) {
    return;
  }
  // The game reads only the kinds it meets there; every file is read here, so only inside the
  // data set (an empty or absolute RGBCODEPATH could name "/" itself).
  if (directory.front() == '\\' || directory.front() == '/' || directory.find(':') != std::string::npos) {
    diagnostic_warning(configuration_path, configuration_line("RGBCODEPATH"),
                       "the content directory " + quoted(directory) +
                           " is not inside the data set: the data set works only where it is, and its files are not checked");
    return;
  }
  const bool graphics_readable = is_directory(TOPOGFX);
  const int32_t dir = dir_examine(-1, directory, "*");
  while (dir_next_entry(dir) != 0) {
    if (dir_entry_type(dir) == ENTRY_FILE) check_content_file(directory + dir_entry_name(dir), graphics_readable);
  }
  dir_finish(dir);
}

bool check_tile_kind(const std::string& kind, const std::string& file, int32_t line, Severity if_missing,
                     const std::string& consequence) {
  const std::string path = cell_content_path(kind);
  std::string found;
  int32_t type = 0;
  const int32_t match = path_examine(path, found, type);
  if (match == PATH_MISSING || type != ENTRY_FILE) {
    diagnostic_report(if_missing, file, line,
                      "tile kind " + quoted(kind) + " has no content file " + quoted(diagnostic_path(path)) + ": " +
                          consequence);
    return false;
  }
  if (match == PATH_WITHOUT_CASE) {
    diagnostic_warning(file, line,
                       "the content file of tile kind " + quoted(kind) + " is found only as " +
                           quoted(diagnostic_path(found)) + " (another letter case: the game finds it, other programs may not)");
  }
  return true;
}

}  // namespace tessera
