#include "core/config.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "core/diagnostics.h"
#include "core/errors.h"
#include "core/line_pairs.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "platform/platform.h"

namespace tessera {

std::string start_directory;
std::string configuration_path;

std::string SOUNDFXPATH;
std::string INGAMEMUSIC;
std::string EGFXPATH;
int32_t EGFXMAX = 50;
std::string FONTPATH;
std::string FONTSYSTEM;
int32_t MULTITASK = 0;
std::string SAVEGFX;
std::string SAVEEVOLUTION;
std::string APPNAME;
std::string GFXPATH;
float RESOLUTION = -1.0f;
float cell_width = -1.0f;
float cell_height = -1.0f;
std::string TOPO;
std::string BASICGFX;
uint8_t USEEXTENDEDTOPO = 0;
std::string APPENTRY;
std::string APPSTART;
std::string TOPOGFX;
std::string GFXCODEC;
std::string SYSTEMCORE;
std::string CORENAME;
uint8_t USESPRITE3D = 0;
int32_t MAXFOE = 0;
std::string LOGPATH;
std::string LOGFILE;
std::string RGBCODEPATH;
std::string WORLDGFX;
uint8_t USELOGFILE = 0;
std::string LOADSCREEN;
std::string LOADANIM;
float FULLSCREENZOOM = 1.0f;
int32_t RESBASEW = 1;
int32_t RESBASEH = 1;
std::string CURSOR;
int32_t CURSORSPEED = 0;
int32_t move_delay = 0;
int32_t VEGIDENSE = 100;
uint8_t USEFULLMATRIX = 0;
int32_t WORLDRANDOM = 0;
uint8_t MULTICORE = 1;
int32_t MAPSIZE = 1;
float WORLDTEMPERATURE = 15.0f;
int32_t WORLDREFRESH = 60;
std::string SELFCREATEBASE;
uint8_t USESELFCREATEBASE = 0;
int32_t LABSWITCH = 0;
uint8_t SMOOTH = 1;
std::string GAMEMODE = "DEFAULT";
int32_t view_mode = -1;
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
int32_t SCREGFXMAX = 50;
std::string LOADINTROSCREEN;
int32_t USESCALER = 0;

namespace {

constexpr float SANE_RESOLUTION = 32.0f;
constexpr int32_t MAPSIZE_LIMIT = 1024;
constexpr int32_t MAPSIZE_FOR_NEGATIVE = 32;
const char* const HARDCORE = "HARDCORE";

// A setter stores the value of its key and returns how the game's reading differs from the text
// as written: empty when the value is taken as it stands, else a short note for the checker. The
// note is made where the value is made, so the checker can never disagree with the game.
using Setter = std::string (*)(const std::string& value);

std::string joined(const std::string& first, const std::string& second) {
  return first.empty() ? second : first + "; " + second;
}

template <std::string* target>
std::string text_value(const std::string& value) {
  *target = value;
  return "";
}

// Prefixed paths are relative to the start directory; no separator is put in between.
template <std::string* target>
std::string prefixed_value(const std::string& value) {
  *target = start_directory + value;
  return "";
}

template <int32_t* target>
std::string integer_value(const std::string& value) {
  const NumberReading reading = read_leading_int(value);
  *target = reading.value;
  return number_note(reading, decimal(reading.value));
}

template <uint8_t* target>
std::string flag_value(const std::string& value) {
  const NumberReading reading = read_leading_int(value);
  *target = low8(reading.value);
  return integer_field_note(reading, *target);
}

// A switch that only the value 1 turns on.
template <uint8_t* target>
std::string switch_value(const std::string& value) {
  const std::string note = flag_value<target>(value);
  if (!note.empty() || *target <= 1) return note;
  return "only 1 switches it on: the game reads it as off";
}

std::string float_text(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

template <float* target>
std::string float_value(const std::string& value) {
  const NumberReading reading = read_float(value);
  *target = reading.float_value;
  return number_note(reading, float_text(reading.float_value));
}

// A count the game bounds where it uses it: the value stays as written, the checker says so.
template <int32_t* target, int32_t limit>
std::string bounded_value(const std::string& value) {
  const std::string note = integer_value<target>(value);
  if (*target <= limit) return note;
  return joined(note, "above " + decimal(limit) + ": the game " +
                          (target == &MULTITASK ? "waits at most " + decimal(limit) + " ms a frame"
                                                : "loads at most " + decimal(FLOATER_LIMIT) + " floaters"));
}

std::string resolution_value(const std::string& value) {
  const std::string note = float_value<&RESOLUTION>(value);
  cell_width = RESOLUTION;
  cell_height = RESOLUTION;
  return note;
}

std::string cursor_speed_value(const std::string& value) {
  const std::string note = integer_value<&CURSORSPEED>(value);
  const int32_t written = CURSORSPEED;
  CURSORSPEED = std::clamp(written, 0, 255);
  move_delay = 255 - CURSORSPEED;
  if (written == CURSORSPEED) return note;
  return joined(note, "outside 0..255: the game clamps it to " + decimal(CURSORSPEED));
}

// Every occurrence reseeds at once, so the generator is in the state of the last one read.
std::string world_random_value(const std::string& value) {
  const std::string note = integer_value<&WORLDRANDOM>(value);
  random_seed(WORLDRANDOM);
  return note;
}

std::string map_size_value(const std::string& value) {
  const std::string note = integer_value<&MAPSIZE>(value);
  const int32_t written = MAPSIZE;
  if (MAPSIZE > MAPSIZE_LIMIT) MAPSIZE = MAPSIZE_LIMIT;
  if (MAPSIZE < 0) MAPSIZE = MAPSIZE_FOR_NEGATIVE;
  if (written == MAPSIZE) return note;
  return joined(note, written < 0 ? "negative: the game uses " + decimal(MAPSIZE)
                                  : "above " + decimal(MAPSIZE_LIMIT) + ": the game uses " + decimal(MAPSIZE));
}

std::string view_value(const std::string& value) {
  if (value == "ISO") view_mode = 4;
  return "";
}

// Any text but the exact word leaves the mode off; a near miss is surely meant as the word.
std::string game_mode_value(const std::string& value) {
  GAMEMODE = value;
  if (value != HARDCORE && nearest_name(value, {HARDCORE}) == HARDCORE) {
    return "is not exactly " + std::string(HARDCORE) + ": hardcore mode stays off";
  }
  return "";
}

struct KeyEntry {
  const char* key;
  Setter set;
};

// In the order the keys are compared; keys match the whole line exactly.
const KeyEntry key_table[] = {
    {"SOUNDFXPATH", prefixed_value<&SOUNDFXPATH>},
    {"INGAMEMUSIC", text_value<&INGAMEMUSIC>},
    {"EGFXPATH", prefixed_value<&EGFXPATH>},
    {"EGFXMAX", bounded_value<&EGFXMAX, FLOATER_LIMIT - 1>},
    {"FONTPATH", prefixed_value<&FONTPATH>},
    {"FONTSYSTEM", prefixed_value<&FONTSYSTEM>},
    {"WINDOWMODE", switch_value<&USESPRITE3D>},
    {"MULTITASK", bounded_value<&MULTITASK, MULTITASK_LIMIT_MS>},
    {"SAVEGFX", text_value<&SAVEGFX>},
    {"SAVEEVOLUTION", text_value<&SAVEEVOLUTION>},
    {"APPNAME", text_value<&APPNAME>},
    {"GFXPATH", prefixed_value<&GFXPATH>},
    {"RESOLUTION", resolution_value},
    {"TOPO", prefixed_value<&TOPO>},
    {"BASICGFX", prefixed_value<&BASICGFX>},
    {"USEEXTENDEDTOPO", switch_value<&USEEXTENDEDTOPO>},
    {"APPENTRY", text_value<&APPENTRY>},
    {"APPSTART", text_value<&APPSTART>},
    {"TOPOGFX", prefixed_value<&TOPOGFX>},
    {"GFXCODEC", text_value<&GFXCODEC>},
    {"SYSTEMCORE", prefixed_value<&SYSTEMCORE>},
    {"CORENAME", text_value<&CORENAME>},
    {"USESPRITE3D", switch_value<&USESPRITE3D>},
    {"MAXFOE", integer_value<&MAXFOE>},
    {"LOGPATH", prefixed_value<&LOGPATH>},
    {"LOGFILE", text_value<&LOGFILE>},
    {"RGBCODEPATH", text_value<&RGBCODEPATH>},
    {"WORLDGFX", prefixed_value<&WORLDGFX>},
    {"USELOGFILE", flag_value<&USELOGFILE>},
    {"LOADSCREEN", text_value<&LOADSCREEN>},
    {"LOADANIM", text_value<&LOADANIM>},
    {"FULLSCREENZOOM", float_value<&FULLSCREENZOOM>},
    {"RESBASEW", integer_value<&RESBASEW>},
    {"RESBASEH", integer_value<&RESBASEH>},
    {"CURSOR", prefixed_value<&CURSOR>},
    {"CURSORSPEED", cursor_speed_value},
    {"VEGIDENSE", integer_value<&VEGIDENSE>},
    {"USEFULLMATRIX", flag_value<&USEFULLMATRIX>},
    {"WORLDRANDOM", world_random_value},
    {"MULTICORE", flag_value<&MULTICORE>},
    {"MAPSIZE", map_size_value},
    {"WORLDTEMPERATURE", float_value<&WORLDTEMPERATURE>},
    {"WORLDREFRESH", integer_value<&WORLDREFRESH>},
    {"SELFCREATEBASE", prefixed_value<&SELFCREATEBASE>},
    {"USESELFCREATEBASE", switch_value<&USESELFCREATEBASE>},
    {"LABSWITCH", integer_value<&LABSWITCH>},
    {"SMOOTH", flag_value<&SMOOTH>},
    {"GAMEMODE", game_mode_value},
    {"VIEW", view_value},
    {"TIMERSOUND", text_value<&TIMERSOUND>},
    {"ENDTIMERSOUND", text_value<&ENDTIMERSOUND>},
    {"DEFTILESOUND", text_value<&DEFTILESOUND>},
    {"FIXEDTILESOUND", text_value<&FIXEDTILESOUND>},
    {"PINKTILEFIXEDSOUND", text_value<&PINKTILEFIXEDSOUND>},
    {"BOMBPICKUPSOUND", text_value<&BOMBPICKUPSOUND>},
    {"EXPLOSIONSOUND", text_value<&EXPLOSIONSOUND>},
    {"VOXTAMBER1", text_value<&VOXTAMBER1>},
    {"VOXTAMBER", text_value<&VOXTAMBER>},
    {"MENUMUSIC", text_value<&MENUMUSIC>},
    {"SCREGFXPATH", text_value<&SCREGFXPATH>},
    {"SCREGFXMAX", bounded_value<&SCREGFXMAX, FLOATER_LIMIT - 1>},
    {"LOADINTROSCREEN", text_value<&LOADINTROSCREEN>},
    {"USESCALER", integer_value<&USESCALER>},
};

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

const KeyEntry* find_key(const std::string& key) {
  for (const KeyEntry& entry : key_table) {
    if (key == entry.key) return &entry;
  }
  return nullptr;
}

std::vector<std::string> key_names() {
  std::vector<std::string> names;
  for (const KeyEntry& entry : key_table) names.emplace_back(entry.key);
  return names;
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
  const KeyEntry* entry = find_key(pair.key);
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
  const std::string note = entry->set(pair.value);
  if (!note.empty()) diagnostic_warning(configuration_path, value_line, pair.key + " " + quoted(pair.value) + ": " + note);
}

void initialise_services() {
  if (screen_init() != 0) sprite_transparent_color(-1, rgb(255, 0, 255));
  sound_init();
  mouse_init();
  input_device = joystick_init() != 0 ? 1 : 0;
}

}  // namespace

void config_set_defaults() {
  start_directory = current_directory();
  configuration_path = start_directory + "DATA\\ini.txt";
  SOUNDFXPATH.clear();
  INGAMEMUSIC.clear();
  EGFXPATH.clear();
  EGFXMAX = 50;
  FONTPATH.clear();
  FONTSYSTEM.clear();
  MULTITASK = 0;
  SAVEGFX.clear();
  SAVEEVOLUTION.clear();
  APPNAME.clear();
  GFXPATH.clear();
  RESOLUTION = -1.0f;
  cell_width = -1.0f;
  cell_height = -1.0f;
  TOPO.clear();
  BASICGFX.clear();
  USEEXTENDEDTOPO = 0;
  APPENTRY.clear();
  APPSTART.clear();
  TOPOGFX.clear();
  GFXCODEC.clear();
  SYSTEMCORE.clear();
  CORENAME.clear();
  USESPRITE3D = 0;
  MAXFOE = 0;
  LOGPATH.clear();
  LOGFILE.clear();
  RGBCODEPATH.clear();
  WORLDGFX.clear();
  USELOGFILE = 0;
  LOADSCREEN.clear();
  LOADANIM.clear();
  FULLSCREENZOOM = 1.0f;
  RESBASEW = 1;
  RESBASEH = 1;
  CURSOR.clear();
  CURSORSPEED = 0;
  move_delay = 0;
  VEGIDENSE = 100;
  USEFULLMATRIX = 0;
  WORLDRANDOM = 0;
  MULTICORE = 1;
  MAPSIZE = 1;
  WORLDTEMPERATURE = 15.0f;
  WORLDREFRESH = 60;
  SELFCREATEBASE.clear();
  USESELFCREATEBASE = 0;
  LABSWITCH = 0;
  SMOOTH = 1;
  GAMEMODE = "DEFAULT";
  view_mode = -1;
  TIMERSOUND.clear();
  ENDTIMERSOUND.clear();
  DEFTILESOUND.clear();
  FIXEDTILESOUND.clear();
  PINKTILEFIXEDSOUND.clear();
  BOMBPICKUPSOUND.clear();
  EXPLOSIONSOUND.clear();
  VOXTAMBER1.clear();
  VOXTAMBER.clear();
  MENUMUSIC.clear();
  SCREGFXPATH.clear();
  SCREGFXMAX = 50;
  LOADINTROSCREEN.clear();
  USESCALER = 0;
}

void apply_configuration_pair(const std::string& key, const std::string& value) {
  for (const KeyEntry& entry : key_table) {
    if (key == entry.key) {
      entry.set(value);
      return;
    }
  }
}

void read_configuration() {
  if (!read_line_pairs(configuration_path, apply_configuration_pair)) report_error(ERROR_CONFIGURATION);
  for (const SaneRule& rule : sane_rules) rule.make_sane();
  initialise_services();
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
  for (const KeyEntry& entry : key_table) {
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
