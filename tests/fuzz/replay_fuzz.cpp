// The replay reader on any bytes: it answers or refuses, and what it reads writes back the same.
#include <cstdlib>
#include <string>

#include "game/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  tessera::Replay replay;
  if (!tessera::parse_replay(bytes, replay).empty()) return 0;
  int64_t passes = 0;
  for (const tessera::ReplayRun& run : replay.runs) passes += run.count;
  if (passes != replay.passes || passes > tessera::REPLAY_MAX_PASSES) std::abort();
  std::string text = tessera::replay_header_text(replay.start);
  for (const tessera::ReplayRun& run : replay.runs) text += tessera::replay_run_text(run);
  tessera::Replay again;
  if (!tessera::parse_replay(text, again).empty() || again.passes != replay.passes) std::abort();
  return 0;
}
