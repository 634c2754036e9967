// The engine configuration: one global per key of DATA\ini.txt, named as the key.
// Lifetime: the whole run. Defaults are set by config_set_defaults before the file is read.
#pragma once

#include <cstdint>
#include <string>

#include "core/diagnostics.h"

namespace tessera {

// Each floater list holds at most this many floaters, whatever EGFXMAX or SCREGFXMAX ask for.
constexpr int32_t FLOATER_LIMIT = 256;

// Start directory (current directory at start-up, ending in a separator) and the file read.
extern std::string start_directory;
extern std::string configuration_path;

// Paths marked "prefixed" hold start_directory + the value text.
extern std::string SOUNDFXPATH;      // prefixed
extern std::string INGAMEMUSIC;
extern std::string EGFXPATH;         // prefixed
extern int32_t EGFXMAX;
extern std::string FONTPATH;         // prefixed
extern std::string FONTSYSTEM;       // prefixed
extern int32_t MULTITASK;
extern std::string SAVEGFX;
extern std::string SAVEEVOLUTION;
extern std::string APPNAME;
extern std::string GFXPATH;          // prefixed
extern float RESOLUTION;             // cell size in pixels; also cell_width and cell_height
extern float cell_width;
extern float cell_height;
extern std::string TOPO;             // prefixed
extern std::string BASICGFX;         // prefixed
extern uint8_t USEEXTENDEDTOPO;
extern std::string APPENTRY;
extern std::string APPSTART;
extern std::string TOPOGFX;          // prefixed
extern std::string GFXCODEC;
extern std::string SYSTEMCORE;       // prefixed
extern std::string CORENAME;
extern uint8_t USESPRITE3D;          // WINDOWMODE sets the same switch
extern int32_t MAXFOE;
extern std::string LOGPATH;          // prefixed
extern std::string LOGFILE;
extern std::string RGBCODEPATH;
extern std::string WORLDGFX;         // prefixed
extern uint8_t USELOGFILE;
extern std::string LOADSCREEN;
extern std::string LOADANIM;
extern float FULLSCREENZOOM;
extern int32_t RESBASEW;
extern int32_t RESBASEH;
extern std::string CURSOR;           // prefixed
extern int32_t CURSORSPEED;          // clamped to 0..255
extern int32_t move_delay;           // 255 - CURSORSPEED; 0 when the key is absent
extern int32_t VEGIDENSE;
extern uint8_t USEFULLMATRIX;
extern int32_t WORLDRANDOM;
extern uint8_t MULTICORE;
extern int32_t MAPSIZE;              // bound of level width and height
extern float WORLDTEMPERATURE;
extern int32_t WORLDREFRESH;
extern std::string SELFCREATEBASE;   // prefixed
extern uint8_t USESELFCREATEBASE;
extern int32_t LABSWITCH;
extern uint8_t SMOOTH;
extern std::string GAMEMODE;
extern int32_t view_mode;            // VIEW "ISO" sets 4; no effect
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
