// Problems found in a data set, for the checker: each names a file, a line in it (0: the file as a
// whole), how bad it is and what is wrong. Collected by the modules whose files they concern,
// printed together, sorted by file and line.
// Lifetime: from diagnostics_begin until the next diagnostics_begin.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/numeric.h"

namespace tessera {

// A warning: the game runs, but not quite as the data set is written. An error: something the
// data set asks for is lost in play (an invisible cell, a missing letter, a silent pick-up, ...).
enum class Severity : uint8_t { warning, error };

struct Diagnostic {
  std::string path;  // relative to the base directory when under it, "/" as separator
  int32_t line = 0;
  Severity severity = Severity::warning;
  std::string message;
};

// Forgets earlier problems; paths under base_directory are shown relative to it.
void diagnostics_begin(const std::string& base_directory);
void diagnostic_warning(const std::string& path, int32_t line, const std::string& message);
void diagnostic_error(const std::string& path, int32_t line, const std::string& message);
void diagnostic_report(Severity severity, const std::string& path, int32_t line, const std::string& message);

// Sorted by path, then line; problems of one line keep the order they were reported in.
std::vector<Diagnostic> diagnostics_sorted();
// "path:line: error: message" (or "warning:").
std::string diagnostic_text(const Diagnostic& diagnostic);
int32_t diagnostics_count(Severity severity);
// A path as the problems show it (relative to the base directory, "/" as separator).
std::string diagnostic_path(const std::string& path);

// Quotes a data text for a message; bytes outside printable ASCII as \xNN.
std::string quoted(const std::string& text);
// The name of `names` that `word` most likely meant: equal without regard to case or surrounding
// blanks, or at most two letters off. Empty when none is that close.
std::string nearest_name(const std::string& word, const std::vector<std::string>& names);

// How the game's reading of a number differs from the text: not a number, wrapped round, text
// after it ignored; "" when it is read as written. read_as is the value the game uses.
std::string number_note(const NumberReading& reading, const std::string& read_as);
// The same for an integer field that keeps `stored` of the reading (8-bit fields keep the low 8
// bits; other fields keep the reading's value).
std::string integer_field_note(const NumberReading& reading, int32_t stored);

// Reports a key's note (nothing when it is empty) as "KEY "value": note": a warning, but an error
// when the value holds no number and the 0 the game reads instead loses what lost_at_zero says
// (nullptr: reading 0 loses nothing).
void report_value_note(const std::string& path, int32_t line, const std::string& key, const std::string& value,
                       const std::string& note, bool has_number, const char* lost_at_zero);

// "unknown key "X" (probably a typo of Y): the game skips it and its value line", naming the
// nearest of the known keys when one is close.
std::string unknown_key_message(const std::string& key, const std::vector<std::string>& known);

}  // namespace tessera
