#include "game/score_table.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/numeric.h"
#include "platform/platform.h"

namespace tessera {

namespace {

const char* const MAGIC = "ZORVANE SCORES 1";

std::vector<std::string> fields_of(const std::string& line) {
  std::vector<std::string> fields;
  size_t at = 0;
  for (size_t tab; (tab = line.find('\t', at)) != std::string::npos; at = tab + 1) fields.push_back(line.substr(at, tab - at));
  fields.push_back(line.substr(at));
  return fields;
}

// Tabs and line ends would break the record; anything else in a name is kept.
std::string one_field(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

std::string read_file(const std::string& path, bool& exists) {
  std::ifstream in(path, std::ios::binary);
  exists = static_cast<bool>(in);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

std::string parse_score_table(const std::string& bytes, const std::string& data_digest, std::vector<ScoreEntry>& entries) {
  entries.clear();
  std::istringstream in(bytes);
  std::string line;
  if (!std::getline(in, line) || line != MAGIC) return "not a score table of this game version";
  if (!std::getline(in, line) || line != "data " + data_digest) return "not the table of this data set";
  for (int32_t number = 3; std::getline(in, line); ++number) {
    const std::vector<std::string> f = fields_of(line);
    ScoreEntry entry;
    int64_t score = 0;
    int64_t map = 0;
    if (f.size() != 6 || !parse_whole_number(f[0], 1, INT32_MAX, score) || !parse_whole_number(f[1], INT32_MIN, INT32_MAX, map) ||
        !parse_whole_number(f[2], 0, INT64_MAX / 2, entry.passes) || !parse_whole_number(f[3], 0, INT64_MAX / 2, entry.date)) {
      return "line " + std::to_string(number) + " is not an entry";
    }
    if (entries.size() == SCORE_TABLE_SIZE) return "more than " + std::to_string(SCORE_TABLE_SIZE) + " entries";
    entry.score = static_cast<int32_t>(score);
    entry.map = static_cast<int32_t>(map);
    entry.replay = f[4];
    entry.name = f[5];
    if (!entries.empty() && entries.back().score < entry.score) return "line " + std::to_string(number) + " is out of order";
    entries.push_back(entry);
  }
  if (!in.eof()) return "cannot be read";
  return {};
}

std::string score_table_text(const std::string& data_digest, const std::vector<ScoreEntry>& entries) {
  std::string text = std::string(MAGIC) + "\ndata " + data_digest + "\n";
  for (const ScoreEntry& e : entries) {
    text += std::to_string(e.score) + "\t" + std::to_string(e.map) + "\t" + std::to_string(e.passes) + "\t" +
            std::to_string(e.date) + "\t" + one_field(e.replay) + "\t" + one_field(e.name) + "\n";
  }
  return text;
}

int32_t score_table_insert(std::vector<ScoreEntry>& entries, const ScoreEntry& entry) {
  if (entry.score <= 0) return 0;
  const auto place = std::find_if(entries.begin(), entries.end(), [&](const ScoreEntry& e) { return e.score < entry.score; });
  const auto index = place - entries.begin();
  if (static_cast<size_t>(index) >= SCORE_TABLE_SIZE) return 0;
  entries.insert(place, entry);
  if (entries.size() > SCORE_TABLE_SIZE) entries.resize(SCORE_TABLE_SIZE);
  return static_cast<int32_t>(index) + 1;
}

std::string score_table_path(const std::string& directory, const std::string& data_digest) {
  return directory + "scores-" + data_digest + ".txt";
}

std::vector<ScoreEntry> load_score_table(const std::string& directory, const std::string& data_digest) {
  const std::string path = score_table_path(directory, data_digest);
  bool exists = false;
  const std::string bytes = read_file(path, exists);
  std::vector<ScoreEntry> entries;
  if (!exists) return entries;
  const std::string problem = parse_score_table(bytes, data_digest, entries);
  if (problem.empty()) return entries;
  // Nothing is overwritten: the unreadable table stays beside the new one.
  entries.clear();
  const std::string aside = path + ".unreadable-" + std::to_string(date_now());
  if (std::rename(path.c_str(), aside.c_str()) == 0) {
    std::fprintf(stderr, "Score table %s: %s; moved to %s and a new table started.\n", path.c_str(), problem.c_str(), aside.c_str());
  } else {
    std::fprintf(stderr, "Score table %s: %s, and it cannot be moved aside; scores are not kept.\n", path.c_str(), problem.c_str());
  }
  return entries;
}

int32_t enter_score(const std::string& directory, const std::string& data_digest, const ScoreEntry& entry) {
  if (directory.empty() || entry.score <= 0) return 0;
  const std::string path = score_table_path(directory, data_digest);
  const int lock = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (lock >= 0) ::flock(lock, LOCK_EX);
  std::vector<ScoreEntry> entries = load_score_table(directory, data_digest);
  int32_t place = score_table_insert(entries, entry);
  if (place > 0) {
    const std::string problem = write_file_replacing(path, score_table_text(data_digest, entries));
    if (!problem.empty()) {
      std::fprintf(stderr, "Score table: %s; this game's score is not kept.\n", problem.c_str());
      place = 0;
    }
  }
  if (lock >= 0) ::close(lock);  // closing lets go of the lock
  return place;
}

std::string score_table_report(const std::vector<ScoreEntry>& entries) {
  if (entries.empty()) return "No scores yet.\n";
  std::string text = "Place  Score    Map  Passes  Date              Player  Replay\n";
  int32_t place = 1;
  for (const ScoreEntry& e : entries) {
    char line[160];
    std::snprintf(line, sizeof line, "%5d  %7d  %3d  %6lld  %s  ", place++, e.score, e.map,
                  static_cast<long long>(e.passes), format_local_time("%Y-%m-%d %H:%M", e.date, "?").c_str());
    text += line + e.name + "  " + (e.replay.empty() ? "-" : e.replay) + "\n";
  }
  return text;
}

}  // namespace tessera
