#include "core/config.h"

#include <cmath>

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

using Setter = void (*)(const std::string& value);

template <std::string* target>
void text_value(const std::string& value) {
  *target = value;
}

// Prefixed paths are relative to the start directory; no separator is put in between.
template <std::string* target>
void prefixed_value(const std::string& value) {
  *target = start_directory + value;
}

template <int32_t* target>
void integer_value(const std::string& value) {
  *target = parse_leading_int(value);
}

template <uint8_t* target>
void flag_value(const std::string& value) {
  *target = low8(parse_leading_int(value));
}

template <float* target>
void float_value(const std::string& value) {
  *target = parse_float(value);
}

void resolution_value(const std::string& value) {
  RESOLUTION = parse_float(value);
  cell_width = RESOLUTION;
  cell_height = RESOLUTION;
}

void cursor_speed_value(const std::string& value) {
  int32_t speed = parse_leading_int(value);
  if (speed > 255) speed = 255;
  if (speed < 0) speed = 0;
  CURSORSPEED = speed;
  move_delay = 255 - speed;
}

// Every occurrence reseeds at once, so the generator is in the state of the last one read.
void world_random_value(const std::string& value) {
  WORLDRANDOM = parse_leading_int(value);
  random_seed(WORLDRANDOM);
}

void map_size_value(const std::string& value) {
  int32_t size = parse_leading_int(value);
  if (size > MAPSIZE_LIMIT) size = MAPSIZE_LIMIT;
  if (size < 0) size = MAPSIZE_FOR_NEGATIVE;
  MAPSIZE = size;
}

void view_value(const std::string& value) {
  if (value == "ISO") view_mode = 4;
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
    {"EGFXMAX", integer_value<&EGFXMAX>},
    {"FONTPATH", prefixed_value<&FONTPATH>},
    {"FONTSYSTEM", prefixed_value<&FONTSYSTEM>},
    {"WINDOWMODE", flag_value<&USESPRITE3D>},
    {"MULTITASK", integer_value<&MULTITASK>},
    {"SAVEGFX", text_value<&SAVEGFX>},
    {"SAVEEVOLUTION", text_value<&SAVEEVOLUTION>},
    {"APPNAME", text_value<&APPNAME>},
    {"GFXPATH", prefixed_value<&GFXPATH>},
    {"RESOLUTION", resolution_value},
    {"TOPO", prefixed_value<&TOPO>},
    {"BASICGFX", prefixed_value<&BASICGFX>},
    {"USEEXTENDEDTOPO", flag_value<&USEEXTENDEDTOPO>},
    {"APPENTRY", text_value<&APPENTRY>},
    {"APPSTART", text_value<&APPSTART>},
    {"TOPOGFX", prefixed_value<&TOPOGFX>},
    {"GFXCODEC", text_value<&GFXCODEC>},
    {"SYSTEMCORE", prefixed_value<&SYSTEMCORE>},
    {"CORENAME", text_value<&CORENAME>},
    {"USESPRITE3D", flag_value<&USESPRITE3D>},
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
    {"USESELFCREATEBASE", flag_value<&USESELFCREATEBASE>},
    {"LABSWITCH", integer_value<&LABSWITCH>},
    {"SMOOTH", flag_value<&SMOOTH>},
    {"GAMEMODE", text_value<&GAMEMODE>},
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
    {"SCREGFXMAX", integer_value<&SCREGFXMAX>},
    {"LOADINTROSCREEN", text_value<&LOADINTROSCREEN>},
    {"USESCALER", integer_value<&USESCALER>},
};

// Cell sizes divide world positions everywhere; a zero, negative or non-finite size would turn
// every such division into a fault, so it falls back to the common tile size.
void make_resolution_sane() {
  if (std::isfinite(RESOLUTION) && RESOLUTION > 0.0f) return;
  RESOLUTION = SANE_RESOLUTION;
  cell_width = SANE_RESOLUTION;
  cell_height = SANE_RESOLUTION;
}

void initialise_services() {
  if (screen_init() != 0) sprite_transparent_color(-1, rgb(255, 0, 255));
  sprite3d_init();
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
  make_resolution_sane();
  initialise_services();
}

}  // namespace tessera
