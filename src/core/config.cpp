#include "core/config.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <map>
#include <variant>
#include <vector>

#include "core/diagnostics.h"
#include "core/errors.h"
#include "core/line_pairs.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "platform/platform.h"

namespace tessera {

// Each key's default is in the key table below.
std::string start_directory;
std::string configuration_path;

std::string SOUNDFXPATH;
std::string INGAMEMUSIC;
std::string EGFXPATH;
int32_t EGFXMAX;
std::string FONTPATH;
std::string FONTSYSTEM;
int32_t MULTITASK;
std::string SAVEGFX;
std::string SAVEEVOLUTION;
std::string APPNAME;
std::string GFXPATH;
float RESOLUTION;
float cell_width;
float cell_height;
std::string TOPO;
std::string BASICGFX;
uint8_t USEEXTENDEDTOPO;
std::string APPENTRY;
std::string APPSTART;
std::string TOPOGFX;
std::string GFXCODEC;
std::string SYSTEMCORE;
std::string CORENAME;
uint8_t USESPRITE3D;
int32_t MAXFOE;
std::string LOGPATH;
std::string LOGFILE;
std::string RGBCODEPATH;
std::string WORLDGFX;
uint8_t USELOGFILE;
std::string LOADSCREEN;
std::string LOADANIM;
float FULLSCREENZOOM;
int32_t RESBASEW;
int32_t RESBASEH;
std::string CURSOR;
int32_t CURSORSPEED;
int32_t move_delay;
int32_t VEGIDENSE;
uint8_t USEFULLMATRIX;
int32_t WORLDRANDOM;
uint8_t MULTICORE;
int32_t MAPSIZE;
float WORLDTEMPERATURE;
int32_t WORLDREFRESH;
std::string SELFCREATEBASE;
uint8_t USESELFCREATEBASE;
int32_t LABSWITCH;
uint8_t SMOOTH;
std::string GAMEMODE;
int32_t view_mode;
std::string TIMERSOUND;
std::string ENDTIMERSOUND;
std::string DEFTILESOUND;
std::string FIXEDTILESOUND;
std::string PINKTILEFIXEDSOUND;
std::string BOMBPICKUPSOUND;
std::string EXPLOSIONSOUND;
std::string VOXTAMBER1;
std::string VOXTAMBER;
std::string MENUMUSIC;
std::string SCREGFXPATH;
int32_t SCREGFXMAX;
std::string LOADINTROSCREEN;
int32_t USESCALER;

namespace {

constexpr float SANE_RESOLUTION = 32.0f;
constexpr int32_t MAPSIZE_LIMIT = 1024;
constexpr int32_t MAPSIZE_FOR_NEGATIVE = 32;
constexpr int32_t CURSORSPEED_LIMIT = 255;
constexpr int32_t VIEW_ISO = 4;
// Read and stored, but nothing in the game looks at the global. Such keys stay in the table so
// that the checker knows them and does not call them unknown.
constexpr const char* NO_EFFECT = "read, no effect";

// How a value line is read; each kind has one setter below.
enum class Kind : uint8_t {
  text,           // the line as written
  prefixed,       // start_directory + the line
  integer,        // the leading decimal integer
  flag,           // the low 8 bits of the leading integer
  on_switch,      // a flag that only 1 turns on
  real,           // a decimal float
  wait_ms,        // an integer the game bounds where it waits
  floater_count,  // an integer the game bounds where it loads floaters
  cell_size,      // a float that is also cell_width and cell_height
  speed,          // an integer clamped to 0..bound that sets move_delay
  seed,           // an integer that reseeds the generator at once
  map_size,       // an integer: above the bound the bound, negative MAPSIZE_FOR_NEGATIVE
  view,           // "ISO" sets VIEW_ISO, any other text leaves it
  game_mode,      // the text; a near miss of GAMEMODE_HARDCORE gets a note
};

using Global = std::variant<std::string*, int32_t*, uint8_t*, float*>;

struct ConfigKey {
  const char* key;
  Kind kind;
  Global global;
  // As the file would write it; nullptr for a key that sets another key's global, whose own
  // entry holds the default.
  const char* default_text;
  const char* use;  // what reads the global, NO_EFFECT when nothing does
  int32_t bound = 0;  // of the kinds that bound or clamp
};

// In the order the keys are compared; keys match the whole line exactly.
constexpr ConfigKey config_keys[] = {
    {"SOUNDFXPATH", Kind::prefixed, &SOUNDFXPATH, "", "sound effects directory (*.ogg)"},
    {"INGAMEMUSIC", Kind::text, &INGAMEMUSIC, "", "music directory (*.ogg)"},
    {"EGFXPATH", Kind::prefixed, &EGFXPATH, "", "world floater images (*.png)"},
    {"EGFXMAX", Kind::floater_count, &EGFXMAX, "50", "passes loading world floaters", FLOATER_LIMIT - 1},
    {"FONTPATH", Kind::prefixed, &FONTPATH, "", "glyph images"},
    {"FONTSYSTEM", Kind::prefixed, &FONTSYSTEM, "", "font description file"},
    {"WINDOWMODE", Kind::on_switch, &USESPRITE3D, nullptr, "the USESPRITE3D switch"},
    {"MULTITASK", Kind::wait_ms, &MULTITASK, "0", "longest wait for window messages a frame", MULTITASK_LIMIT_MS},
    {"SAVEGFX", Kind::text, &SAVEGFX, "", NO_EFFECT},
    {"SAVEEVOLUTION", Kind::text, &SAVEEVOLUTION, "", NO_EFFECT},
    {"APPNAME", Kind::text, &APPNAME, "", "window title"},
    {"GFXPATH", Kind::prefixed, &GFXPATH, "", NO_EFFECT},
    {"RESOLUTION", Kind::cell_size, &RESOLUTION, "-1", "cell size in pixels (made sane after reading)"},
    {"TOPO", Kind::prefixed, &TOPO, "", NO_EFFECT},
    {"BASICGFX", Kind::prefixed, &BASICGFX, "", NO_EFFECT},
    {"USEEXTENDEDTOPO", Kind::on_switch, &USEEXTENDEDTOPO, "0", "extended step of level construction"},
    {"APPENTRY", Kind::text, &APPENTRY, "", "start map path, before APPSTART"},
    {"APPSTART", Kind::text, &APPSTART, "", "map set: start map name, cell content folder"},
    {"TOPOGFX", Kind::prefixed, &TOPOGFX, "", "tile graphics directory"},
    {"GFXCODEC", Kind::text, &GFXCODEC, "", "image file ending in TOPOGFX and WORLDGFX"},
    {"SYSTEMCORE", Kind::prefixed, &SYSTEMCORE, "", NO_EFFECT},
    {"CORENAME", Kind::text, &CORENAME, "", NO_EFFECT},
    {"USESPRITE3D", Kind::on_switch, &USESPRITE3D, "0", "world drawing; cell content of map files"},
    {"MAXFOE", Kind::integer, &MAXFOE, "0", "foes spawn while there are fewer"},
    {"LOGPATH", Kind::prefixed, &LOGPATH, "", "error log directory"},
    {"LOGFILE", Kind::text, &LOGFILE, "", "error log file name"},
    {"RGBCODEPATH", Kind::text, &RGBCODEPATH, "", "root of the cell content files"},
    {"WORLDGFX", Kind::prefixed, &WORLDGFX, "", "object type images and definitions"},
    {"USELOGFILE", Kind::flag, &USELOGFILE, "0", NO_EFFECT},
    {"LOADSCREEN", Kind::text, &LOADSCREEN, "", "intro picture, '#' a random digit"},
    {"LOADANIM", Kind::text, &LOADANIM, "", NO_EFFECT},
    {"FULLSCREENZOOM", Kind::real, &FULLSCREENZOOM, "1", "size of the full-screen grabs"},
    {"RESBASEW", Kind::integer, &RESBASEW, "1", "reference width of font_zoom"},
    {"RESBASEH", Kind::integer, &RESBASEH, "1", NO_EFFECT},
    {"CURSOR", Kind::prefixed, &CURSOR, "", "player image"},
    {"CURSORSPEED", Kind::speed, &CURSORSPEED, "0", "player speed, through move_delay", CURSORSPEED_LIMIT},
    {"VEGIDENSE", Kind::integer, &VEGIDENSE, "100", NO_EFFECT},
    {"USEFULLMATRIX", Kind::flag, &USEFULLMATRIX, "0", NO_EFFECT},
    {"WORLDRANDOM", Kind::seed, &WORLDRANDOM, "0", "base seed of level construction"},
    {"MULTICORE", Kind::flag, &MULTICORE, "1", NO_EFFECT},
    {"MAPSIZE", Kind::map_size, &MAPSIZE, "1", "bound of generated level sizes", MAPSIZE_LIMIT},
    {"WORLDTEMPERATURE", Kind::real, &WORLDTEMPERATURE, "15", NO_EFFECT},
    {"WORLDREFRESH", Kind::integer, &WORLDREFRESH, "60", "play clock: a unit every WORLDREFRESH + 1 frames"},
    {"SELFCREATEBASE", Kind::prefixed, &SELFCREATEBASE, "", "base file of the first generated level"},
    {"USESELFCREATEBASE", Kind::on_switch, &USESELFCREATEBASE, "0", "generated levels, not the start map"},
    {"LABSWITCH", Kind::integer, &LABSWITCH, "0", "how seldom labyrinth builders turn"},
    {"SMOOTH", Kind::flag, &SMOOTH, "1", "filtering of the full-screen grabs"},
    {"GAMEMODE", Kind::game_mode, &GAMEMODE, "DEFAULT", "HARDCORE adds a tile rule"},
    {"VIEW", Kind::view, &view_mode, "-1", NO_EFFECT},
    {"TIMERSOUND", Kind::text, &TIMERSOUND, "", "sound of the clock's last ten units"},
    {"ENDTIMERSOUND", Kind::text, &ENDTIMERSOUND, "", NO_EFFECT},
    {"DEFTILESOUND", Kind::text, &DEFTILESOUND, "", "sound of an ordinary tile change"},
    {"FIXEDTILESOUND", Kind::text, &FIXEDTILESOUND, "", "sound of a tile becoming fixed"},
    {"PINKTILEFIXEDSOUND", Kind::text, &PINKTILEFIXEDSOUND, "", "sound of pink floor becoming fixed"},
    {"BOMBPICKUPSOUND", Kind::text, &BOMBPICKUPSOUND, "", NO_EFFECT},
    {"EXPLOSIONSOUND", Kind::text, &EXPLOSIONSOUND, "", "sound of a bomb blast"},
    {"VOXTAMBER1", Kind::text, &VOXTAMBER1, "", "first jingle of the intro"},
    {"VOXTAMBER", Kind::text, &VOXTAMBER, "", "second jingle of the intro"},
    {"MENUMUSIC", Kind::text, &MENUMUSIC, "", NO_EFFECT},
    {"SCREGFXPATH", Kind::text, &SCREGFXPATH, "", "title floater images (*.png)"},
    {"SCREGFXMAX", Kind::floater_count, &SCREGFXMAX, "50", "passes loading title floaters", FLOATER_LIMIT - 1},
    {"LOADINTROSCREEN", Kind::text, &LOADINTROSCREEN, "", "title screen background"},
    {"USESCALER", Kind::integer, &USESCALER, "0", NO_EFFECT},
};

// What a key loses when its value holds no number and the game reads 0 instead. The checker
// makes that an error: the file surely meant a number that keeps the feature.
struct LostAtZero {
  const char* key;
  const char* lost;
};
constexpr LostAtZero lost_at_zero[] = {
    {"MAXFOE", "no foe ever appears"},
    {"USESELFCREATEBASE", "no level is generated: the game shows the hand-made map"},
    {"USESPRITE3D", "the world is not drawn"},
    {"FULLSCREENZOOM", "the zoom pass grabs nothing: the world stays black"},
    {"CURSORSPEED", "the figure takes 256 frames (over 4 seconds) to cross a cell"},
};

// A kind's setter needs its own type of global; a mismatch in the table fails the build.
constexpr bool global_fits(const ConfigKey& entry) {
  switch (entry.kind) {
    case Kind::text:
    case Kind::prefixed:
    case Kind::game_mode:
      return std::holds_alternative<std::string*>(entry.global);
    case Kind::flag:
    case Kind::on_switch:
      return std::holds_alternative<uint8_t*>(entry.global);
    case Kind::real:
    case Kind::cell_size:
      return std::holds_alternative<float*>(entry.global);
    case Kind::integer:
    case Kind::wait_ms:
    case Kind::floater_count:
    case Kind::speed:
    case Kind::seed:
    case Kind::map_size:
    case Kind::view:
      return std::holds_alternative<int32_t*>(entry.global);
  }
  return false;
}
static_assert(std::all_of(std::begin(config_keys), std::end(config_keys), global_fits));

std::string& text_of(const ConfigKey& entry) { return *std::get<std::string*>(entry.global); }
int32_t& integer_of(const ConfigKey& entry) { return *std::get<int32_t*>(entry.global); }
uint8_t& flag_of(const ConfigKey& entry) { return *std::get<uint8_t*>(entry.global); }
float& real_of(const ConfigKey& entry) { return *std::get<float*>(entry.global); }

void assign_default(const ConfigKey& entry) {
  if (entry.default_text == nullptr) return;
  const std::string text = entry.default_text;
  if (std::holds_alternative<std::string*>(entry.global)) text_of(entry) = text;
  if (std::holds_alternative<int32_t*>(entry.global)) integer_of(entry) = parse_leading_int(text);
  if (std::holds_alternative<uint8_t*>(entry.global)) flag_of(entry) = low8(parse_leading_int(text));
  if (std::holds_alternative<float*>(entry.global)) real_of(entry) = parse_float(text);
}

void assign_defaults() {
  for (const ConfigKey& entry : config_keys) assign_default(entry);
  // The globals that follow a key: the cell sizes are RESOLUTION's; without CURSORSPEED the
  // player steps every frame.
  cell_width = RESOLUTION;
  cell_height = RESOLUTION;
  move_delay = 0;
}

// The globals hold their defaults from the start of the process too: tests and tools read some
// of them without any start-up.
[[maybe_unused]] const bool defaults_at_start = (assign_defaults(), true);

std::string joined(const std::string& first, const std::string& second) {
  return first.empty() ? second : first + "; " + second;
}

std::string float_text(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

// A setter stores the value of its key and returns how the game's reading differs from the text
// as written: empty when the value is taken as it stands, else a short note for the checker. The
// note is made where the value is made, so the checker can never disagree with the game.
std::string set_text(const ConfigKey& entry, const std::string& value) {
  text_of(entry) = value;
  return "";
}

// Prefixed paths are relative to the start directory; no separator is put in between.
std::string set_prefixed(const ConfigKey& entry, const std::string& value) {
  text_of(entry) = start_directory + value;
  return "";
}

std::string set_integer(const ConfigKey& entry, const std::string& value) {
  const NumberReading reading = read_leading_int(value);
  integer_of(entry) = reading.value;
  return number_note(reading, decimal(reading.value));
}

std::string set_flag(const ConfigKey& entry, const std::string& value) {
  const NumberReading reading = read_leading_int(value);
  flag_of(entry) = low8(reading.value);
  return integer_field_note(reading, flag_of(entry));
}

std::string set_switch(const ConfigKey& entry, const std::string& value) {
  const std::string note = set_flag(entry, value);
  if (!note.empty() || flag_of(entry) <= 1) return note;
  return "only 1 switches it on: the game reads it as off";
}

std::string set_real(const ConfigKey& entry, const std::string& value) {
  const NumberReading reading = read_float(value);
  real_of(entry) = reading.float_value;
  return number_note(reading, float_text(reading.float_value));
}

// Counts the game bounds where it uses them: the value stays as written, the checker says so.
std::string set_bounded(const ConfigKey& entry, const std::string& value, const std::string& consequence) {
  const std::string note = set_integer(entry, value);
  if (integer_of(entry) <= entry.bound) return note;
  return joined(note, "above " + decimal(entry.bound) + ": the game " + consequence);
}

std::string set_cell_size(const ConfigKey& entry, const std::string& value) {
  const std::string note = set_real(entry, value);
  cell_width = real_of(entry);
  cell_height = real_of(entry);
  return note;
}

std::string set_speed(const ConfigKey& entry, const std::string& value) {
  const std::string note = set_integer(entry, value);
  const int32_t written = integer_of(entry);
  const int32_t speed = std::clamp(written, 0, entry.bound);
  integer_of(entry) = speed;
  move_delay = entry.bound - speed;
  if (written == speed) return note;
  return joined(note, "outside 0.." + decimal(entry.bound) + ": the game clamps it to " + decimal(speed));
}

// Every occurrence reseeds at once, so the generator is in the state of the last one read.
std::string set_seed(const ConfigKey& entry, const std::string& value) {
  const std::string note = set_integer(entry, value);
  random_seed(integer_of(entry));
  return note;
}

std::string set_map_size(const ConfigKey& entry, const std::string& value) {
  const std::string note = set_integer(entry, value);
  const int32_t written = integer_of(entry);
  int32_t& size = integer_of(entry);
  if (size > entry.bound) size = entry.bound;
  if (size < 0) size = MAPSIZE_FOR_NEGATIVE;
  if (written == size) return note;
  return joined(note, written < 0 ? "negative: the game uses " + decimal(size)
                                  : "above " + decimal(entry.bound) + ": the game uses " + decimal(size));
}

std::string set_view(const ConfigKey& entry, const std::string& value) {
  if (value == "ISO") integer_of(entry) = VIEW_ISO;
  return "";
}

// Any text but the exact word leaves the mode off; a near miss is surely meant as the word.
std::string set_game_mode(const ConfigKey& entry, const std::string& value) {
  text_of(entry) = value;
  if (value != GAMEMODE_HARDCORE && nearest_name(value, {GAMEMODE_HARDCORE}) == GAMEMODE_HARDCORE) {
    return "is not exactly " + std::string(GAMEMODE_HARDCORE) + ": hardcore mode stays off";
  }
  return "";
}

std::string set_value(const ConfigKey& entry, const std::string& value) {
  switch (entry.kind) {
    case Kind::text: return set_text(entry, value);
    case Kind::prefixed: return set_prefixed(entry, value);
    case Kind::integer: return set_integer(entry, value);
    case Kind::flag: return set_flag(entry, value);
    case Kind::on_switch: return set_switch(entry, value);
    case Kind::real: return set_real(entry, value);
    case Kind::wait_ms: return set_bounded(entry, value, "waits at most " + decimal(entry.bound) + " ms a frame");
    case Kind::floater_count:
      return set_bounded(entry, value, "loads at most " + decimal(FLOATER_LIMIT) + " floaters");
    case Kind::cell_size: return set_cell_size(entry, value);
    case Kind::speed: return set_speed(entry, value);
    case Kind::seed: return set_seed(entry, value);
    case Kind::map_size: return set_map_size(entry, value);
    case Kind::view: return set_view(entry, value);
    case Kind::game_mode: return set_game_mode(entry, value);
  }
  return "";
}

// Cell sizes divide world positions everywhere; a zero, negative or non-finite size would turn
// every such division into a fault, so it falls back to the common tile size.
std::string make_resolution_sane() {
  if (std::isfinite(RESOLUTION) && RESOLUTION > 0.0f) return "";
  RESOLUTION = SANE_RESOLUTION;
  cell_width = SANE_RESOLUTION;
  cell_height = SANE_RESOLUTION;
  return "not a positive size: the game uses " + float_text(SANE_RESOLUTION);
}

// Settings made sane once the whole file is read, one entry per key: the rule returns its note
// as the setters do.
struct SaneRule {
  const char* key;
  std::string (*make_sane)();
};

const SaneRule sane_rules[] = {
    {"RESOLUTION", make_resolution_sane},
};

// What the checker's reading saw of each key.
struct KeySeen {
  int32_t first_line = 0;  // value lines
  int32_t last_line = 0;
  std::string last_value;
};
std::map<std::string, KeySeen> keys_seen;

const ConfigKey* find_key(const std::string& key) {
  for (const ConfigKey& entry : config_keys) {
    if (key == entry.key) return &entry;
  }
  return nullptr;
}

std::vector<std::string> key_names() {
  std::vector<std::string> names;
  for (const ConfigKey& entry : config_keys) names.emplace_back(entry.key);
  return names;
}

const char* lost_when_zero(const std::string& key) {
  for (const LostAtZero& entry : lost_at_zero) {
    if (key == entry.key) return entry.lost;
  }
  return nullptr;
}

bool holds_number(const ConfigKey& entry, const std::string& value) {
  const bool real = entry.kind == Kind::real || entry.kind == Kind::cell_size;
  return real ? read_float(value).has_number : read_leading_int(value).has_number;
}

void check_unknown_key(const LinePair& pair) {
  if (pair.key.empty()) {
    // A blank last line is harmless; anywhere else it shifts every pair after it.
    if (pair.has_value_line) {
      diagnostic_warning(configuration_path, pair.line,
                         "empty key line: every key after it is read as a value, and every value as a key");
    }
    return;
  }
  diagnostic_warning(configuration_path, pair.line, unknown_key_message(pair.key, key_names()));
}

void check_pair(const LinePair& pair) {
  const ConfigKey* entry = find_key(pair.key);
  if (entry == nullptr) {
    check_unknown_key(pair);
    return;
  }
  const int32_t value_line = pair.line + 1;
  KeySeen& seen = keys_seen[pair.key];
  if (seen.first_line != 0) {
    diagnostic_warning(configuration_path, pair.line,
                       "key " + pair.key + " is given again (first on line " + decimal(seen.first_line - 1) +
                           "): the game uses the last one");
  } else {
    seen.first_line = value_line;
  }
  seen.last_line = value_line;
  seen.last_value = pair.value;
  if (!pair.has_value_line) {
    diagnostic_warning(configuration_path, pair.line, "key " + pair.key + " has no value line: the game reads it as empty");
  }
  const std::string note = set_value(*entry, pair.value);
  report_value_note(configuration_path, value_line, pair.key, pair.value, note, holds_number(*entry, pair.value),
                    lost_when_zero(pair.key));
}

}  // namespace

void config_set_defaults() {
  start_directory = current_directory();
  configuration_path = start_directory + "DATA\\ini.txt";
  assign_defaults();
}

void apply_configuration_pair(const std::string& key, const std::string& value) {
  const ConfigKey* entry = find_key(key);
  if (entry != nullptr) set_value(*entry, value);
}

void read_configuration() {
  if (!read_line_pairs(configuration_path, apply_configuration_pair)) report_error(ERROR_CONFIGURATION);
  for (const SaneRule& rule : sane_rules) rule.make_sane();
}

bool check_configuration() {
  keys_seen.clear();
  if (!read_numbered_line_pairs(configuration_path, check_pair)) {
    diagnostic_error(configuration_path, 0, "cannot be read: the directory holds no data set");
    return false;
  }
  std::vector<std::string> reported;
  for (const SaneRule& rule : sane_rules) {
    const std::string note = rule.make_sane();
    if (note.empty()) continue;
    const auto seen = keys_seen.find(rule.key);
    if (seen == keys_seen.end()) {
      diagnostic_warning(configuration_path, 0, "key " + std::string(rule.key) + " is missing: " + note);
      reported.emplace_back(rule.key);
    } else {
      diagnostic_warning(configuration_path, seen->second.last_line,
                         std::string(rule.key) + " " + quoted(seen->second.last_value) + ": " + note);
    }
  }
  for (const ConfigKey& entry : config_keys) {
    if (keys_seen.count(entry.key) != 0 || std::find(reported.begin(), reported.end(), entry.key) != reported.end()) {
      continue;
    }
    diagnostic_warning(configuration_path, 0, "key " + std::string(entry.key) + " is missing: the game uses its default");
  }
  return true;
}

int32_t configuration_line(const std::string& key) {
  const auto seen = keys_seen.find(key);
  return seen == keys_seen.end() ? 0 : seen->second.last_line;
}

bool check_configured_path(const std::string& key, const std::string& path, int32_t type, Severity if_missing,
                           const std::string& consequence) {
  std::string found;
  int32_t found_type = 0;
  const int32_t match = path_examine(path, found, found_type);
  const int32_t line = configuration_line(key);
  const std::string named = key + " names " + quoted(diagnostic_path(path));
  if (match == PATH_MISSING) {
    diagnostic_report(if_missing, configuration_path, line, named + ", which does not exist: " + consequence);
    return false;
  }
  if (found_type != type) {
    const char* what = type == ENTRY_FILE ? ", a directory, not a file: " : ", a file, not a directory: ";
    diagnostic_report(if_missing, configuration_path, line, named + what + consequence);
    return false;
  }
  if (match == PATH_WITHOUT_CASE) {
    diagnostic_warning(configuration_path, line,
                       named + ", found only as " + quoted(diagnostic_path(found)) +
                           " (another letter case: the game finds it, other programs may not)");
  }
  return true;
}

}  // namespace tessera
