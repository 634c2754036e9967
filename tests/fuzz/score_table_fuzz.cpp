// The score table reader on any bytes, then a game entered and the table written and read again.
#include <cstdlib>
#include <string>
#include <vector>

#include "game/score_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<tessera::ScoreEntry> entries;
  if (!tessera::parse_score_table(bytes, "0123456789abcdef", entries).empty()) return 0;
  tessera::ScoreEntry entry;
  entry.score = 500;
  entry.name = "fuzz";
  tessera::score_table_insert(entries, entry);
  if (entries.size() > tessera::SCORE_TABLE_SIZE) std::abort();
  std::vector<tessera::ScoreEntry> again;
  if (!tessera::parse_score_table(tessera::score_table_text("0123456789abcdef", entries), "0123456789abcdef", again).empty() ||
      again.size() != entries.size()) {
    std::abort();
  }
  tessera::score_table_report(again);
  return 0;
}
