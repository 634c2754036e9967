#include "core/diagnostics.h"

#include <algorithm>
#include <cstdio>

namespace tessera {

namespace {

std::string base;
std::vector<Diagnostic> problems;

constexpr size_t TYPO_DISTANCE = 2;

std::string with_slashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t");
  std::string out = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  for (char& c : out) c = lower(c);
  return out;
}

// Levenshtein distance, one row at a time.
size_t edit_distance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

void diagnostics_begin(const std::string& base_directory) {
  base = with_slashes(base_directory);
  if (!base.empty() && base.back() != '/') base += '/';
  problems.clear();
}

std::string diagnostic_path(const std::string& path) {
  std::string shown = with_slashes(path);
  if (!base.empty() && shown.rfind(base, 0) == 0) shown.erase(0, base.size());
  return shown.empty() ? "." : shown;
}

void diagnostic_report(Severity severity, const std::string& path, int32_t line, const std::string& message) {
  problems.push_back({diagnostic_path(path), line, severity, message});
}

void diagnostic_warning(const std::string& path, int32_t line, const std::string& message) {
  diagnostic_report(Severity::warning, path, line, message);
}

void diagnostic_error(const std::string& path, int32_t line, const std::string& message) {
  diagnostic_report(Severity::error, path, line, message);
}

std::vector<Diagnostic> diagnostics_sorted() {
  std::vector<Diagnostic> sorted = problems;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Diagnostic& a, const Diagnostic& b) {
    return a.path != b.path ? a.path < b.path : a.line < b.line;
  });
  return sorted;
}

std::string diagnostic_text(const Diagnostic& diagnostic) {
  const std::string path = quoted(diagnostic.path);
  return path.substr(1, path.size() - 2) + ":" + std::to_string(diagnostic.line) + ": " +
         (diagnostic.severity == Severity::error ? "error: " : "warning: ") + diagnostic.message;
}

int32_t diagnostics_count(Severity severity) {
  return static_cast<int32_t>(std::count_if(problems.begin(), problems.end(),
                                            [severity](const Diagnostic& d) { return d.severity == severity; }));
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"') {
      out += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
  }
  return out + "\"";
}

std::string nearest_name(const std::string& word, const std::vector<std::string>& names) {
  std::string best;
  size_t best_distance = TYPO_DISTANCE + 1;
  const std::string folded_word = folded(word);
  for (const std::string& name : names) {
    const size_t distance = folded_word == folded(name) ? 0 : edit_distance(word, name);
    // Short names are a letter or two away from many words; only call them a typo when closer.
    const size_t allowed = std::min(TYPO_DISTANCE, name.size() / 3);
    if (distance <= allowed && distance < best_distance) {
      best = name;
      best_distance = distance;
    }
  }
  return best;
}

std::string number_note(const NumberReading& reading, const std::string& read_as) {
  if (!reading.has_number) return "not a number: the game reads " + read_as;
  if (reading.wrapped) return "does not fit 32 bits: the game reads " + read_as;
  if (!reading.ignored.empty()) return "the game reads " + read_as + " and ignores " + quoted(reading.ignored);
  return "";
}

void report_value_note(const std::string& path, int32_t line, const std::string& key, const std::string& value,
                       const std::string& note, bool has_number, const char* lost_at_zero) {
  if (note.empty()) return;
  const std::string message = key + " " + quoted(value) + ": " + note;
  if (!has_number && lost_at_zero != nullptr) {
    diagnostic_error(path, line, message + ": " + lost_at_zero);
  } else {
    diagnostic_warning(path, line, message);
  }
}

std::string integer_field_note(const NumberReading& reading, int32_t stored) {
  const std::string note = number_note(reading, decimal(stored));
  if (!note.empty() || stored == reading.value) return note;
  return "an 8-bit field keeps the low 8 bits: the game reads " + decimal(stored);
}

std::string unknown_key_message(const std::string& key, const std::vector<std::string>& known) {
  const std::string near = nearest_name(key, known);
  return "unknown key " + quoted(key) + (near.empty() ? " (probably a typo)" : " (probably a typo of " + near + ")") +
         ": the game skips it and its value line";
}

}  // namespace tessera
