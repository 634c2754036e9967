// The score table of a data set: its ten best games, kept beside the replays, one file a data set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

constexpr size_t SCORE_TABLE_SIZE = 10;

struct ScoreEntry {
  int32_t score = 0;
  int32_t map = 0;      // the last map played
  int64_t passes = 0;
  int64_t date = 0;     // seconds since 1970
  std::string replay;   // the game's replay file name; empty when it was not recorded
  std::string name;
};

// Reads a table of the data set with this digest. Empty on success, else what is wrong.
std::string parse_score_table(const std::string& bytes, const std::string& data_digest, std::vector<ScoreEntry>& entries);
std::string score_table_text(const std::string& data_digest, const std::vector<ScoreEntry>& entries);
// Puts the entry in its place (after older entries of the same score) and keeps the best ten.
// Returns its place from 1, or 0 when it does not enter (a score of 0 or less, or below the tenth).
int32_t score_table_insert(std::vector<ScoreEntry>& entries, const ScoreEntry& entry);

// The table file of a data set in the directory (ending in "/").
std::string score_table_path(const std::string& directory, const std::string& data_digest);
// The table as it stands; a file that does not read is moved aside (one line on stderr) and the
// table starts empty.
std::vector<ScoreEntry> load_score_table(const std::string& directory, const std::string& data_digest);
// Enters a finished game while holding the table's lock, so that games ending at once all count.
// Returns its place (0: not entered, or the table could not be written, said on stderr).
int32_t enter_score(const std::string& directory, const std::string& data_digest, const ScoreEntry& entry);
// The table as --scores prints it.
std::string score_table_report(const std::vector<ScoreEntry>& entries);

}  // namespace tessera
