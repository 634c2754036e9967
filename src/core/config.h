// The engine configuration: one global per key of DATA\ini.txt, named as the key. Each key's
// kind, default, bound and what reads it are in the key table of config.cpp.
// Lifetime: the whole run. The globals hold their defaults from the start of the process, and
// config_set_defaults sets them again before the file is read.
#pragma once

#include <cstdint>
#include <string>

#include "core/diagnostics.h"

namespace tessera {

// Each floater list holds at most this many floaters, whatever EGFXMAX or SCREGFXMAX ask for.
constexpr int32_t FLOATER_LIMIT = 256;

// The GAMEMODE that adds the hardcore tile rule; any other text, however close, leaves it off.
constexpr const char* GAMEMODE_HARDCORE = "HARDCORE";

// Start directory (current directory at start-up, ending in a separator) and the file read.
extern std::string start_directory;
extern std::string configuration_path;

// Paths of the prefixed kind hold start_directory + the value text.
extern std::string SOUNDFXPATH;
extern std::string INGAMEMUSIC;
extern std::string EGFXPATH;
extern int32_t EGFXMAX;
extern std::string FONTPATH;
extern std::string FONTSYSTEM;
extern int32_t MULTITASK;
extern std::string SAVEGFX;
extern std::string SAVEEVOLUTION;
extern std::string APPNAME;
extern std::string GFXPATH;
extern float RESOLUTION;
extern float cell_width;             // both follow RESOLUTION
extern float cell_height;
extern std::string TOPO;
extern std::string BASICGFX;
extern uint8_t USEEXTENDEDTOPO;
extern std::string APPENTRY;
extern std::string APPSTART;
extern std::string TOPOGFX;
extern std::string GFXCODEC;
extern std::string SYSTEMCORE;
extern std::string CORENAME;
extern uint8_t USESPRITE3D;
extern int32_t MAXFOE;
extern std::string LOGPATH;
extern std::string LOGFILE;
extern std::string RGBCODEPATH;
extern std::string WORLDGFX;
extern uint8_t USELOGFILE;
extern std::string LOADSCREEN;
extern std::string LOADANIM;
extern float FULLSCREENZOOM;
extern int32_t RESBASEW;
extern int32_t RESBASEH;
extern std::string CURSOR;
extern int32_t CURSORSPEED;
extern int32_t move_delay;           // 255 - CURSORSPEED; 0 when the key is absent
extern int32_t VEGIDENSE;
extern uint8_t USEFULLMATRIX;
extern int32_t WORLDRANDOM;
extern uint8_t MULTICORE;
extern int32_t MAPSIZE;
extern float WORLDTEMPERATURE;
extern int32_t WORLDREFRESH;
extern std::string SELFCREATEBASE;
extern uint8_t USESELFCREATEBASE;
extern int32_t LABSWITCH;
extern uint8_t SMOOTH;
extern std::string GAMEMODE;
extern int32_t view_mode;            // set by VIEW
extern std::string TIMERSOUND;
extern std::string ENDTIMERSOUND;
extern std::string DEFTILESOUND;
extern std::string FIXEDTILESOUND;
extern std::string PINKTILEFIXEDSOUND;
extern std::string BOMBPICKUPSOUND;
extern std::string EXPLOSIONSOUND;
extern std::string VOXTAMBER1;
extern std::string VOXTAMBER;
extern std::string MENUMUSIC;
extern std::string SCREGFXPATH;
extern int32_t SCREGFXMAX;
extern std::string LOADINTROSCREEN;
extern int32_t USESCALER;

// Sets every key's default and the start directory (from current_directory).
void config_set_defaults();
// Sets the global of a matching key from the value text; other keys are ignored.
void apply_configuration_pair(const std::string& key, const std::string& value);
// Reads configuration_path line pair by line pair (fatal error kind 0 when it cannot be opened).
// Settings that would break arithmetic are made sane afterwards. Starts no service: start-up
// calls start_platform_services (core/runtime.h) next.
void read_configuration();

// The checker's reading of the configuration: the same reading and the same settings made sane as
// read_configuration, reporting every key that is missing, given twice, unknown, or whose value
// the game reads other than written. False (an error reported) when the file cannot be read.
bool check_configuration();
// The value line of the key's last occurrence in the file check_configuration read; 0 when absent.
int32_t configuration_line(const std::string& key);
// Reports, at the key's line, a path the configuration names: missing or of the wrong type (with
// the given severity and consequence), or found only in a spelling of another letter case (a
// warning naming that spelling). type is ENTRY_FILE or ENTRY_DIRECTORY. True when it is usable.
bool check_configured_path(const std::string& key, const std::string& path, int32_t type, Severity if_missing,
                           const std::string& consequence);

}  // namespace tessera
