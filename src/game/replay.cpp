#include "game/replay.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

#include "actors/play_clock.h"
#include "game/flow.h"
#include "core/config.h"
#include "core/numeric.h"
#include "model/state_digest.h"
#include "model/vocabulary.h"
#include "model/world_model.h"
#include "platform/platform.h"

#ifndef ZORVANE_VERSION
#define ZORVANE_VERSION "unknown"
#endif

namespace tessera {

namespace {

namespace fs = std::filesystem;

const char* const MAGIC = "ZORVANE REPLAY";

// ---- Controls as text: a direction letter, the action's code and a flag number ----------------

constexpr int32_t FLAG_FIRE_HELD = 1;
constexpr int32_t FLAG_PREVIOUS_MAP = 2;
constexpr int32_t FLAG_NEXT_MAP = 4;
constexpr int32_t FLAG_AWAY = 8;
constexpr int32_t FLAGS_ALL = 15;

char direction_letter(int8_t direction) {
  switch (direction) {
    case DIRECTION_UP: return 'U';
    case DIRECTION_DOWN: return 'D';
    case DIRECTION_LEFT: return 'L';
    case DIRECTION_RIGHT: return 'R';
    default: return '-';
  }
}

bool direction_of(const std::string& letter, int8_t& direction) {
  static const std::map<std::string, int8_t> letters = {{"U", DIRECTION_UP},   {"D", DIRECTION_DOWN},
                                                        {"L", DIRECTION_LEFT}, {"R", DIRECTION_RIGHT},
                                                        {"-", DIRECTION_NONE}};
  const auto found = letters.find(letter);
  if (found == letters.end()) return false;
  direction = found->second;
  return true;
}

bool known_action(int64_t action) {
  static const int32_t actions[] = {ACTION_FIRE,          ACTION_B,           ACTION_X,
                                    ACTION_Y,             ACTION_LEFT_TRIGGER, ACTION_RIGHT_TRIGGER,
                                    ACTION_LEFT_SHOULDER, ACTION_RIGHT_SHOULDER, ACTION_PAUSE,
                                    ACTION_QUIT,          ACTION_NONE};
  return std::find(std::begin(actions), std::end(actions), action) != std::end(actions);
}

bool same_controls(const Controls& a, const Controls& b) {
  return a.direction == b.direction && a.action == b.action && a.fire_held == b.fire_held &&
         a.previous_map == b.previous_map && a.next_map == b.next_map && a.away == b.away;
}

std::string hex64(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, value);
  return text;
}

// ---- Reading ------------------------------------------------------------------------------------

std::vector<std::string> words_of(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool int32_of(const std::string& text, int32_t& value) {
  int64_t v = 0;
  if (!parse_whole_number(text, INT32_MIN, INT32_MAX, v)) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool hex_of(const std::string& text, size_t digits, uint64_t& value) {
  if (text.empty() || text.size() > digits) return false;
  uint64_t v = 0;
  for (const char c : text) {
    const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (d < 0) return false;
    v = v * 16 + static_cast<uint64_t>(d);
  }
  value = v;
  return true;
}

// The value after a header key, with the key's own rules.
struct HeaderReader {
  Replay& replay;
  std::string problem;

  bool ints(const std::vector<std::string>& w, size_t n, std::vector<int32_t*> out) {
    if (w.size() != n + 1) return false;
    for (size_t i = 0; i < n; ++i) {
      if (!int32_of(w[i + 1], *out[i])) return false;
    }
    return true;
  }

  // False with problem set for a line that is not what its key promises.
  bool read(const std::vector<std::string>& w, const std::string& line) {
    ReplayStart& s = replay.start;
    const std::string& key = w[0];
    bool good = true;
    if (key == "game") {
      good = w.size() == 2;
      if (good) s.game_version = w[1];
    } else if (key == "data") {
      uint64_t ignored = 0;
      good = w.size() == 2 && w[1].size() == 16 && hex_of(w[1], 16, ignored);
      if (good) s.data_digest = w[1];
    } else if (key == "layout") {
      good = w.size() == 4 && int32_of(w[1], s.screen_width) && int32_of(w[2], s.screen_height) &&
             s.screen_width > 0 && s.screen_height > 0 && s.screen_width <= 16384 && s.screen_height <= 16384;
      if (good) {
        char* end = nullptr;
        s.resolution = std::strtof(w[3].c_str(), &end);
        good = end != nullptr && *end == '\0' && s.resolution == s.resolution;
      }
    } else if (key == "start") {
      good = w.size() == 2 && (w[1] == "start-up" || w[1] == "rebuilt" || w[1] == "continued");
      if (good) s.start_up_map = w[1] == "start-up";
      if (good) s.continued = w[1] == "continued";
    } else if (key == "map") {
      good = ints(w, 2, {&s.map_number, &s.current_map});
    } else if (key == "score") {
      good = ints(w, 4, {&s.score, &s.score_target, &s.level_start_score, &s.level_start_target});
    } else if (key == "bombs") {
      good = ints(w, 1, {&s.bombs}) && s.bombs >= 0 && s.bombs <= static_cast<int32_t>(BOMBS_HELD_MAX);
    } else if (key == "base") {
      good = ints(w, 2, {&s.base_width, &s.base_height});
    } else if (key == "carry") {
      good = ints(w, 4, {&s.time_tick, &s.fire_latch, &s.bomb_armed, &s.step_timer}) && s.fire_latch >= 0 &&
             s.fire_latch <= 255 && s.bomb_armed >= 0 && s.bomb_armed <= 255;
    } else if (key == "random") {
      s.random.clear();
      for (size_t i = 1; good && i < w.size(); ++i) {
        uint64_t word = 0;
        good = hex_of(w[i], 8, word);
        s.random.push_back(static_cast<uint32_t>(word));
      }
      good = good && s.random.size() == random_state().size();
    } else if (key == "player") {
      s.player = line.size() > 7 ? line.substr(7) : std::string();
    } else if (key == "date") {
      int64_t date = 0;
      good = w.size() == 2 && parse_whole_number(w[1], 0, INT64_MAX / 2, date);
      s.date = date;
    } else if (key == "from") {
      s.taken_over_from = line.size() > 5 ? line.substr(5) : std::string();
    } else {
      problem = "unknown record \"" + key + "\"";
      return false;
    }
    if (!good) problem = "a bad \"" + key + "\" record";
    return good;
  }
};

const char* const REQUIRED_HEADER[] = {"game", "data", "layout", "start", "map", "score",
                                       "bombs", "base", "carry", "random", "player", "date"};

// One record of the passes part: a run, a checkpoint or the end.
std::string read_pass_record(const std::vector<std::string>& w, Replay& replay) {
  if (replay.ended) return "a record after the end record";
  if (w[0] == "c") {
    ReplayCheckpoint checkpoint;
    uint64_t digest = 0;
    if (w.size() != 3 || !parse_whole_number(w[1], 0, REPLAY_MAX_PASSES, checkpoint.pass) || !hex_of(w[2], 16, digest)) {
      return "a bad checkpoint";
    }
    if (checkpoint.pass != replay.passes) return "a checkpoint at pass " + w[1] + " after " + std::to_string(replay.passes) + " passes";
    checkpoint.digest = digest;
    replay.checkpoints.push_back(checkpoint);
    return {};
  }
  if (w[0] == "end") {
    uint64_t digest = 0;
    ReplayEnd& end = replay.end;
    if (w.size() != 5 || !parse_whole_number(w[1], 0, REPLAY_MAX_PASSES, end.passes) || !int32_of(w[2], end.map) ||
        !int32_of(w[3], end.score) || !hex_of(w[4], 16, digest)) {
      return "a bad end record";
    }
    if (end.passes != replay.passes) return "an end record of " + w[1] + " passes after " + std::to_string(replay.passes);
    end.digest = digest;
    replay.ended = true;
    return {};
  }
  ReplayRun run;
  int64_t action = 0;
  int64_t flags = 0;
  if (w.size() != 4 || !parse_whole_number(w[0], 1, REPLAY_MAX_PASSES, run.count) || !direction_of(w[1], run.controls.direction) ||
      !parse_whole_number(w[2], 0, 99, action) || !known_action(action) || !parse_whole_number(w[3], 0, FLAGS_ALL, flags)) {
    return "a bad run of passes";
  }
  if (replay.passes + run.count > REPLAY_MAX_PASSES) return "more passes than a replay may have";
  run.controls.action = static_cast<int32_t>(action);
  run.controls.fire_held = (flags & FLAG_FIRE_HELD) != 0;
  run.controls.previous_map = (flags & FLAG_PREVIOUS_MAP) != 0;
  run.controls.next_map = (flags & FLAG_NEXT_MAP) != 0;
  run.controls.away = (flags & FLAG_AWAY) != 0;
  replay.passes += run.count;
  replay.runs.push_back(run);
  return {};
}

}  // namespace

std::string parse_replay(const std::string& bytes, Replay& replay) {
  replay = Replay{};
  HeaderReader header{replay, {}};
  std::vector<std::string> seen;
  bool in_passes = false;
  size_t line_number = 0;
  for (size_t at = 0; at < bytes.size();) {
    const size_t line_end = bytes.find('\n', at);
    if (line_end == std::string::npos) break;  // cut off while it was written
    const std::string line = bytes.substr(at, line_end - at);
    at = line_end + 1;
    ++line_number;
    const std::string where = "line " + std::to_string(line_number) + ": ";
    if (line_number == 1) {
      int64_t format = 0;
      const std::vector<std::string> w = words_of(line);
      if (w.size() != 3 || w[0] + " " + w[1] != MAGIC) return "not a replay (no \"" + std::string(MAGIC) + "\" line)";
      if (!parse_whole_number(w[2], 1, 1000000, format) || format != REPLAY_FORMAT) {
        return "replay format " + w[2] + ", this game reads format " + std::to_string(REPLAY_FORMAT);
      }
      continue;
    }
    if (line.find('\0') != std::string::npos || line.find('\r') != std::string::npos) return where + "not text";
    const std::vector<std::string> w = words_of(line);
    if (w.empty()) return where + "an empty line";
    if (!in_passes) {
      if (w[0] == "passes" && w.size() == 1) {
        for (const char* key : REQUIRED_HEADER) {
          if (std::find(seen.begin(), seen.end(), key) == seen.end()) return where + "the header has no \"" + key + "\" record";
        }
        in_passes = true;
        continue;
      }
      if (std::find(seen.begin(), seen.end(), w[0]) != seen.end()) return where + "a second \"" + w[0] + "\" record";
      if (!header.read(w, line)) return where + header.problem;
      seen.push_back(w[0]);
      continue;
    }
    const std::string problem = read_pass_record(w, replay);
    if (!problem.empty()) return where + problem;
  }
  if (line_number == 0) return bytes.empty() ? "empty" : "not a replay (no \"" + std::string(MAGIC) + "\" line)";
  if (!in_passes) return "the header is cut off";
  return {};
}

std::string replay_header_text(const ReplayStart& s) {
  std::string text = std::string(MAGIC) + " " + std::to_string(REPLAY_FORMAT) + "\n";
  char resolution[32];
  std::snprintf(resolution, sizeof resolution, "%.9g", static_cast<double>(s.resolution));
  text += "game " + s.game_version + "\n";
  text += "data " + s.data_digest + "\n";
  text += "layout " + std::to_string(s.screen_width) + " " + std::to_string(s.screen_height) + " " + resolution + "\n";
  text += std::string("start ") + (s.start_up_map ? "start-up" : s.continued ? "continued" : "rebuilt") + "\n";
  text += "map " + std::to_string(s.map_number) + " " + std::to_string(s.current_map) + "\n";
  text += "score " + std::to_string(s.score) + " " + std::to_string(s.score_target) + " " +
          std::to_string(s.level_start_score) + " " + std::to_string(s.level_start_target) + "\n";
  text += "bombs " + std::to_string(s.bombs) + "\n";
  text += "base " + std::to_string(s.base_width) + " " + std::to_string(s.base_height) + "\n";
  text += "carry " + std::to_string(s.time_tick) + " " + std::to_string(s.fire_latch) + " " +
          std::to_string(s.bomb_armed) + " " + std::to_string(s.step_timer) + "\n";
  text += "random";
  for (const uint32_t word : s.random) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08" PRIx32, word);
    text += std::string(" ") + hex;
  }
  text += "\n";
  // Names come from a folder name; a line end in one must not end the record.
  std::string player = s.player;
  std::replace(player.begin(), player.end(), '\n', ' ');
  std::replace(player.begin(), player.end(), '\r', ' ');
  text += "player " + player + "\n";
  text += "date " + std::to_string(s.date) + "\n";
  if (!s.taken_over_from.empty()) text += "from " + s.taken_over_from + "\n";
  return text + "passes\n";
}

std::string replay_run_text(const ReplayRun& run) {
  const Controls& c = run.controls;
  const int32_t flags = (c.fire_held ? FLAG_FIRE_HELD : 0) | (c.previous_map ? FLAG_PREVIOUS_MAP : 0) |
                        (c.next_map ? FLAG_NEXT_MAP : 0) | (c.away ? FLAG_AWAY : 0);
  return std::to_string(run.count) + " " + direction_letter(c.direction) + " " + std::to_string(c.action) + " " +
         std::to_string(flags) + "\n";
}

std::string replay_checkpoint_text(const ReplayCheckpoint& checkpoint) {
  return "c " + std::to_string(checkpoint.pass) + " " + hex64(checkpoint.digest) + "\n";
}

std::string replay_end_text(const ReplayEnd& end) {
  return "end " + std::to_string(end.passes) + " " + std::to_string(end.map) + " " + std::to_string(end.score) + " " +
         hex64(end.digest) + "\n";
}

std::string data_set_digest() {
  std::vector<std::string> paths;
  std::error_code error;
  for (fs::recursive_directory_iterator it(".", fs::directory_options::skip_permission_denied, error), end;
       !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::string path = it->path().lexically_relative(".").generic_string();
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".log") == 0) continue;
    paths.push_back(path);
  }
  std::sort(paths.begin(), paths.end());
  StateHash h;
  std::vector<char> buffer(1 << 16);
  for (const std::string& path : paths) {
    h.add(path);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) continue;
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) h.bytes(buffer.data(), n);
    std::fclose(file);
  }
  return hex64(h.value);
}

std::string game_version() { return ZORVANE_VERSION; }

ReplayStart capture_replay_start(bool start_up_map) {
  ReplayStart s;
  s.game_version = game_version();
  s.screen_width = static_cast<int32_t>(screen_width);
  s.screen_height = static_cast<int32_t>(screen_height);
  s.resolution = RESOLUTION;
  s.start_up_map = start_up_map;
  s.continued = !start_up_map && USESELFCREATEBASE != 1;
  s.map_number = map_number;
  s.current_map = current_map;
  s.score = score;
  s.score_target = score_target;
  s.level_start_score = level_start_score;
  s.level_start_target = level_start_target;
  s.bombs = static_cast<int32_t>(bombs.size());
  s.base_width = base_width;
  s.base_height = base_height;
  s.time_tick = time_tick;
  s.fire_latch = fire_latch;
  s.bomb_armed = bomb_armed;
  s.step_timer = player.step_timer;
  s.random = random_state();
  s.player = player_name;
  s.date = date_now();
  return s;
}

bool restore_replay_start(const ReplayStart& s) {
  if (!random_state_restore(s.random)) return false;
  map_number = s.map_number;
  current_map = s.current_map;
  score = s.score;
  score_target = s.score_target;
  level_start_score = s.level_start_score;
  level_start_target = s.level_start_target;
  bombs.assign(static_cast<size_t>(std::clamp(s.bombs, 0, static_cast<int32_t>(BOMBS_HELD_MAX))), BOMB_SIGN);
  base_width = s.base_width;
  base_height = s.base_height;
  time_tick = s.time_tick;
  fire_latch = static_cast<uint8_t>(s.fire_latch);
  bomb_armed = static_cast<uint8_t>(s.bomb_armed);
  player.step_timer = s.step_timer;
  menu_active = 0;
  game_mode = GAME_MODE_PLAY;
  return true;
}

// ---- Recording ---------------------------------------------------------------------------------

namespace {

struct Recording {
  std::string directory;
  std::string path;  // the file being written; empty when not recording
  int fd = -1;
  off_t written = 0;  // bytes known to be whole in the file
  std::string pending;
  ReplayRun run;
  int64_t passes = 0;
  std::string stamp;  // the start's date and time, as the file name begins
};
Recording recording;

void stop_writing(const std::string& why) {
  std::fprintf(stderr, "Replay %s: %s; the game plays on without recording.\n", recording.path.c_str(), why.c_str());
  file_sync_finish(recording.fd);
  // Whatever part of a record reached the disk goes: the file ends at its last whole record.
  if (ftruncate(recording.fd, recording.written) != 0) {
    std::fprintf(stderr, "Replay %s: %s\n", recording.path.c_str(), std::strerror(errno));
  }
  ::close(recording.fd);
  recording.fd = -1;
  recording.pending.clear();
}

void flush_recording() {
  if (recording.fd < 0 || recording.pending.empty()) return;
  size_t done = 0;
  while (done < recording.pending.size()) {
    const ssize_t n = ::write(recording.fd, recording.pending.data() + done, recording.pending.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      stop_writing(std::strerror(n < 0 ? errno : ENOSPC));
      return;
    }
    done += static_cast<size_t>(n);
  }
  if (!file_sync_later(recording.fd)) {
    stop_writing("the disk does not take it");
    return;
  }
  recording.written += static_cast<off_t>(done);
  recording.pending.clear();
}

void close_run() {
  if (recording.run.count == 0) return;
  recording.pending += replay_run_text(recording.run);
  recording.run.count = 0;
}

// Renames without ever replacing another file: a second game of the same second and score gets
// a number of its own.
std::string rename_apart(const std::string& from, const std::string& base) {
  for (int32_t n = 1; n < 1000; ++n) {
    const std::string name = base + (n == 1 ? "" : "-" + std::to_string(n)) + ".zvreplay";
    const std::string to = recording.directory + name;
    if (::link(from.c_str(), to.c_str()) == 0) {
      ::unlink(from.c_str());
      return name;
    }
    if (errno == EEXIST) continue;
    // File systems without hard links: a plain rename, after looking first.
    std::error_code error;
    if (!fs::exists(to, error) && ::rename(from.c_str(), to.c_str()) == 0) return name;
    break;
  }
  return fs::path(from).filename().string();
}

void record_pass(const Controls& controls, uint64_t digest) {
  if (recording.fd < 0) return;
  if (recording.run.count > 0 && !same_controls(recording.run.controls, controls)) close_run();
  recording.run.controls = controls;
  ++recording.run.count;
  ++recording.passes;
  if (recording.passes % REPLAY_CHECKPOINT_PASSES == 0) {
    close_run();
    recording.pending += replay_checkpoint_text({recording.passes, digest});
    flush_recording();
  }
}

}  // namespace

void recording_set_directory(const std::string& directory) {
  recording.directory.clear();
  if (directory.empty()) return;
  std::error_code error;
  fs::create_directories(directory, error);
  if (!fs::is_directory(directory, error)) {
    std::fprintf(stderr, "Replays: cannot make %s; the game plays without recording.\n", directory.c_str());
    return;
  }
  recording.directory = directory.back() == '/' ? directory : directory + "/";
}

void recording_begin(const ReplayStart& start, const Replay* taken_over, int64_t passes) {
  if (recording.fd >= 0) recording_end();
  if (recording.directory.empty()) return;
  recording.stamp = format_local_time("%Y-%m-%d_%H-%M-%S", start.date, "0000-00-00_00-00-00");
  recording.path = recording.directory + recording.stamp + "_playing-" + std::to_string(static_cast<long>(getpid())) + ".zvreplay";
  recording.fd = ::open(recording.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (recording.fd < 0) {
    std::fprintf(stderr, "Replay %s: %s; the game plays on without recording.\n", recording.path.c_str(), std::strerror(errno));
    return;
  }
  recording.written = 0;
  recording.passes = 0;
  recording.run = {};
  recording.pending = replay_header_text(start);
  if (taken_over != nullptr) {
    size_t checkpoint = 0;
    for (const ReplayRun& run : taken_over->runs) {
      for (int64_t i = 0; i < run.count && recording.passes < passes; ++i) {
        // The recorded digests: the state now is that of the last pass only.
        while (checkpoint < taken_over->checkpoints.size() && taken_over->checkpoints[checkpoint].pass <= recording.passes) {
          ++checkpoint;
        }
        const bool known = checkpoint < taken_over->checkpoints.size() &&
                           taken_over->checkpoints[checkpoint].pass == recording.passes + 1;
        record_pass(run.controls, known ? taken_over->checkpoints[checkpoint].digest : play_state_digest());
      }
    }
  }
  flush_recording();
}

bool recording_active() { return recording.fd >= 0; }

int64_t recording_passes() { return recording.passes; }

void recording_pass(const Controls& controls) {
  if (recording.fd < 0) return;
  const bool checkpoint = (recording.passes + 1) % REPLAY_CHECKPOINT_PASSES == 0;
  record_pass(controls, checkpoint ? play_state_digest() : 0);
}

std::string recording_end() {
  if (recording.fd < 0) return {};
  close_run();
  recording.pending += replay_end_text({recording.passes, map_number, score, play_state_digest()});
  flush_recording();
  if (recording.fd < 0) return fs::path(recording.path).filename().string();
  file_sync_finish(recording.fd);
  ::fdatasync(recording.fd);
  ::close(recording.fd);
  recording.fd = -1;
  char score_text[32];
  std::snprintf(score_text, sizeof score_text, "%07d", std::max(score, 0));
  const std::string name = rename_apart(recording.path, recording.stamp + "_score-" + score_text);
  player_files_written();
  return name;
}

// ---- Verifying ---------------------------------------------------------------------------------

namespace {

// Larger than any replay of a game a person could play; the rest is not read.
constexpr std::streamoff REPLAY_MAX_BYTES = 256LL << 20;

int32_t say(const std::string& path, const std::string& text, int32_t status) {
  std::fprintf(status == 0 ? stdout : stderr, "%s: %s\n", path.c_str(), text.c_str());
  return status;
}

std::string read_replay_file(const std::string& path, std::string& bytes) {
  std::error_code error;
  if (fs::is_directory(path, error)) return "is a directory";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::string("cannot be read: ") + std::strerror(errno);
  std::vector<char> buffer(1 << 16);
  for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) {
    bytes.append(buffer.data(), n);
    if (static_cast<std::streamoff>(bytes.size()) > REPLAY_MAX_BYTES) {
      std::fclose(file);
      return "larger than any replay (" + std::to_string(REPLAY_MAX_BYTES >> 20) + " MB)";
    }
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? "cannot be read" : "";
}

int32_t figure_column() { return static_cast<int32_t>(std::floor(player.x / cell_width) + scroll_x); }
int32_t figure_row() { return static_cast<int32_t>(std::floor(player.y / cell_height) + scroll_y); }

}  // namespace

std::string load_replay(const std::string& path, Replay& replay) {
  std::string bytes;
  const std::string problem = read_replay_file(path, bytes);
  if (!problem.empty()) return problem;
  const std::string malformed = parse_replay(bytes, replay);
  return malformed.empty() ? "" : "not a replay this game reads: " + malformed;
}

int32_t verify_replay(const std::string& path) {
  Replay replay;
  const std::string problem = load_replay(path, replay);
  if (!problem.empty()) return say(path, problem, 2);
  const ReplayStart& start = replay.start;
  if (start.game_version != game_version()) {
    return say(path, "recorded by zorvane " + start.game_version + ", this is zorvane " + game_version(), 2);
  }
  const std::string digest = data_set_digest();
  if (start.data_digest != digest) {
    return say(path, "recorded on another data set (digest " + start.data_digest + ", this one is " + digest + ")", 2);
  }
  if (replay.runs.empty()) return say(path, "holds no passes", 2);
  if (start.continued) {
    return say(path, "a later game on a data set of map files: it goes on in the level the game before it "
                     "left, which no replay holds",
               2);
  }
  start_headless(start.screen_width, start.screen_height);
  if (RESOLUTION != start.resolution) return say(path, "recorded with another RESOLUTION", 2);
  if (!restore_replay_start(start)) return say(path, "not a replay this game reads: a random state no game has", 2);
  int64_t pass = 0;
  size_t checkpoint = 0;
  for (const ReplayRun& run : replay.runs) {
    for (int64_t i = 0; i < run.count; ++i) {
      if (pass > 0 && !game_in_progress()) {
        return say(path, "diverges at pass " + std::to_string(pass + 1) + " (map " + std::to_string(map_number) + "): the game is over", 1);
      }
      replay_pass(start, run.controls, pass == 0);
      ++pass;
      if (checkpoint < replay.checkpoints.size() && replay.checkpoints[checkpoint].pass == pass) {
        if (replay.checkpoints[checkpoint].digest != play_state_digest()) {
          return say(path, "diverges at pass " + std::to_string(pass) + " (map " + std::to_string(map_number) + ")", 1);
        }
        ++checkpoint;
      }
    }
  }
  const uint64_t final_digest = play_state_digest();
  if (!replay.ended) {
    return say(path, "cut off after pass " + std::to_string(pass) + " (no end record); its " +
                         std::to_string(replay.checkpoints.size()) + " checkpoints agree",
               2);
  }
  if (replay.end.digest != final_digest || replay.end.map != map_number || replay.end.score != score) {
    return say(path, "diverges at pass " + std::to_string(pass) + " (map " + std::to_string(map_number) + ")", 1);
  }
  return say(path,
             "ok: " + std::to_string(pass) + " passes, map " + std::to_string(map_number) + ", score " +
                 std::to_string(score) + ", figure at " + std::to_string(figure_column()) + "," +
                 std::to_string(figure_row()) + ", digest " + hex64(final_digest),
             0);
}

}  // namespace tessera
