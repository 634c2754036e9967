#include "core/errors.h"

#include <cstdio>
#include <vector>

#include "core/config.h"
#include "core/diagnostics.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "platform/platform.h"

namespace tessera {

namespace {

constexpr int32_t FATAL_EXIT_STATUS = 1;
const char* const ERROR_TITLE = "ERROR ";

std::vector<std::string> log_record(int32_t map_id) {
  return {"TESSERA ENGINE ERROR AND WARNING LOG:",
          "MAP_ID:" + decimal(map_id),
          "ERROR TYPE:" + error_message(),
          "MODULE:" + error_file(),
          "AT LINE:" + decimal(error_line()),
          " ",
          "DATESTAMP:" + format_date("%dd/%mm/%yyyy", date_now())};
}

// The box keeps its text; standard error says in the system's own spelling where the game looked
// and what to do, for whoever started the game from a shell in the wrong directory.
void explain_missing_configuration() {
  std::string found;
  int32_t type = 0;
  const bool exists = path_examine(configuration_path, found, type) != PATH_MISSING;
  const std::string problem = !exists ? " does not exist" : type == ENTRY_DIRECTORY ? " is a directory" : " cannot be read";
  std::fprintf(stderr,
               "zorvane: no data set here: %s%s. Start the game in a data set's directory (the one that holds "
               "DATA/ini.txt) or give --data DIR.\n",
               found.c_str(), problem.c_str());
  std::fflush(stderr);
}

}  // namespace

std::string error_text(int32_t kind) {
  switch (kind) {
    case ERROR_CONFIGURATION:
      return " Could not open " + configuration_path;
    case ERROR_SCREEN:
      return " Could not open screen";
    case ERROR_WINDOW:
      return " Could not open window";
    case ERROR_DIVISION_QUESTION:
      return " division by zero. please read logfile:" + LOGPATH + LOGFILE +
             "\n for more information\n continue engine?";
    case ERROR_MAP_FILE:
      return " Could not open topographic data";
    case ERROR_BASE_LEVEL:
      return " Could not open:" + SELFCREATEBASE;
    default:
      return "";
  }
}

void report_error(int32_t kind) {
  const std::string text = error_text(kind);
  if (text.empty()) return;
  if (kind == ERROR_DIVISION_QUESTION) {
    if (message_box(ERROR_TITLE, text, MESSAGE_YES_NO) == ANSWER_NO) end_program(FATAL_EXIT_STATUS);
    return;
  }
  message_box(ERROR_TITLE, text, MESSAGE_OK);
  if (kind == ERROR_CONFIGURATION) explain_missing_configuration();
  end_program(FATAL_EXIT_STATUS);
}

// Runs inside the fault signal handler. It uses the ordinary file operations rather than raw
// system calls: the faults it serves come from game arithmetic and memory accesses, not from
// inside the allocator or the file layer, and the platform ends the process on a second fault
// while this runs, so a corrupted heap cannot make it loop.
void report_runtime_error(int32_t map_id) {
  const std::vector<std::string> record = log_record(map_id);
  // Standard error always gets the record: it is the only trace when the log cannot be written.
  for (const std::string& line : record) std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  // Appended without reading what is there: a large log must not keep a failing game busy.
  const int32_t file = file_open_append(-1, LOGPATH + LOGFILE);
  if (file != 0) {
    for (const std::string& line : record) file_write_line(file, line);
    file_close(file);
  }
}

void check_error_log() {
  check_configured_path("LOGPATH", LOGPATH, ENTRY_DIRECTORY, Severity::warning, "run-time faults cannot be logged");
}

}  // namespace tessera
