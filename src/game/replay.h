// Replays: every game kept as the logical controls of its passes, with what else decides play, so
// that it can be watched, verified headless and taken over. The file is plain text, one record a
// line (the README describes it for people who write tools).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "actors/player_input.h"

namespace tessera {

constexpr int32_t REPLAY_FORMAT = 1;
// A state digest is written after every this many passes.
constexpr int64_t REPLAY_CHECKPOINT_PASSES = 60;
// The longest replay read: about 100 days of play at 60 passes a second.
constexpr int64_t REPLAY_MAX_PASSES = 1LL << 29;

// Everything besides input that decides play from the game's first pass on.
struct ReplayStart {
  std::string game_version;
  std::string data_digest;  // data_set_digest() of the start directory
  int32_t screen_width = 0;
  int32_t screen_height = 0;
  float resolution = 0.0f;       // RESOLUTION
  bool start_up_map = true;      // map 1 is the start-up map, not a rebuilt one
  // A later game of a data set without generated levels plays on in the level the game before
  // left: nothing short of that whole level could replay it.
  bool continued = false;
  int32_t map_number = 1;
  int32_t current_map = -1;
  int32_t score = 0;
  int32_t score_target = 0;
  int32_t level_start_score = 0;
  int32_t level_start_target = 0;
  int32_t bombs = 1;
  // The base size later maps grow from: the configuration's, or the start-up map's base level.
  int32_t base_width = 0;
  int32_t base_height = 0;
  // What lives longer than a game: the clock's frame count and the controls' latches.
  int32_t time_tick = 0;
  int32_t fire_latch = 0;
  int32_t bomb_armed = 0;
  int32_t step_timer = 0;
  std::vector<uint32_t> random;  // random_state()
  std::string player;            // the player's name
  int64_t date = 0;              // seconds since 1970
  std::string taken_over_from;   // the replay this game continues, by file name
};

// Passes with equal controls.
struct ReplayRun {
  int64_t count = 0;
  Controls controls;
};

struct ReplayCheckpoint {
  int64_t pass = 0;  // passes played when the digest was taken
  uint64_t digest = 0;
};

struct ReplayEnd {
  int64_t passes = 0;
  int32_t map = 0;
  int32_t score = 0;
  uint64_t digest = 0;
};

struct Replay {
  ReplayStart start;
  std::vector<ReplayRun> runs;
  std::vector<ReplayCheckpoint> checkpoints;
  int64_t passes = 0;  // the runs' sum
  bool ended = false;  // false: the file stops before its end record
  ReplayEnd end;
};

// Reads a replay. Empty on success, else what is wrong, naming the line. A last line without its
// line end (the writer was stopped in it) is ignored, so a cut-off file reads up to there.
std::string parse_replay(const std::string& bytes, Replay& replay);
// The file's pieces, each ending with "\n".
std::string replay_header_text(const ReplayStart& start);
std::string replay_run_text(const ReplayRun& run);
std::string replay_checkpoint_text(const ReplayCheckpoint& checkpoint);
std::string replay_end_text(const ReplayEnd& end);

// FNV-1a over every file under the start directory, sorted by path (each path, size and content),
// except what the game writes there (its error log, "*.log"). 16 hexadecimal digits.
std::string data_set_digest();
std::string game_version();

// The state a game starts from: what the title leaves when play begins.
ReplayStart capture_replay_start(bool start_up_map);
// Puts it back (the data set already loaded, the layout already set). False when the random state
// is not one the generator can have.
bool restore_replay_start(const ReplayStart& start);

// ---- Recording ---------------------------------------------------------------------------------

// Where replays go (player_data_directory() + "replays/"); an empty string turns recording off.
// Opening it fails with one line on stderr, and the game plays on without recording.
void recording_set_directory(const std::string& directory);
// A game began: opens its file and writes the header. A game taken over from a replay after
// `passes` of its passes begins with those passes and their checkpoints, so it verifies from its start.
void recording_begin(const ReplayStart& start, const Replay* taken_over = nullptr, int64_t passes = 0);
bool recording_active();
// One pass of the game, after its step; a checkpoint after every REPLAY_CHECKPOINT_PASSES, and the
// file reaches the disk at each one.
void recording_pass(const Controls& controls);
// The game ended: the end record, and the file renamed to show the score. Returns the file's name
// (empty when nothing was recorded).
std::string recording_end();
int64_t recording_passes();

// ---- Verifying ---------------------------------------------------------------------------------

// --verify-replay: runs the replay headless and prints its one line. 0 ok, 1 diverges, 2 the file
// cannot be verified here (missing, malformed, cut off, another data set or game version).
int32_t verify_replay(const std::string& path);
// Reads a replay file. Empty on success, else what is wrong with it.
std::string load_replay(const std::string& path, Replay& replay);

}  // namespace tessera
