// Telling the user about failures: fatal message boxes and the run-time error log.
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

constexpr int32_t ERROR_CONFIGURATION = 0;  // " Could not open " + configuration path
constexpr int32_t ERROR_SCREEN = 1;
constexpr int32_t ERROR_WINDOW = 2;
constexpr int32_t ERROR_DIVISION_QUESTION = 4;
constexpr int32_t ERROR_MAP_FILE = 5;
constexpr int32_t ERROR_BASE_LEVEL = 6;

// Shows the message of the kind in a box titled "ERROR ". Every listed kind but 4 ends the
// program with a non-zero status; kind 4 returns when answered Yes; unknown kinds do nothing.
void report_error(int32_t kind);
// The message text of a kind ("" for kinds without one).
std::string error_text(int32_t kind);
// The work of the registered run-time error handler: writes the seven-line record, naming the map
// map_id, to standard error and appends it to LOGPATH + LOGFILE (without reading the log). The
// question whether to continue after an integer division by zero (kind 4) is the frame loop's,
// asked once the faulting pass has been abandoned.
// The handler itself belongs to the game (it passes map_number).
void report_runtime_error(int32_t map_id);
// The checker: the directory of the error log exists.
void check_error_log();

}  // namespace tessera
