// Replays and the score table: the file format, a game recorded from the title to its end and
// verified by the real program, what verifying says about files it cannot follow, a disk that fills
// up, and tables that are damaged or written by two games at once.
#include "game/replay.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "game/default_game.h"
#include "game/flow.h"
#include "game/score_table.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/child_process.h"
#include "support/test_files.h"

using namespace tessera;
namespace fs = std::filesystem;

namespace {

const std::string GOLDEN = std::string(ZORVANE_SOURCE_DIR) + "/tests/replays/golden.zvreplay";
const std::string GAME = std::string(ZORVANE_SOURCE_DIR) + "/game";

Controls controls_of(int8_t direction, int32_t action, bool next_map = false) {
  Controls c;
  c.direction = direction;
  c.action = action;
  c.fire_held = action == ACTION_FIRE;
  c.next_map = next_map;
  return c;
}

// The default data set started headless in a scratch copy, with games kept under `kept`.
struct KeptGames {
  testfiles::TempDir data;
  testfiles::TempDir kept;
  fs::path previous = fs::current_path();
  KeptGames() {
    fs::copy(GAME, data.path, fs::copy_options::recursive);
    if (chdir(data.path.c_str()) != 0) throw std::runtime_error("cannot enter " + data.path);
    start_headless(640, 360);
    keep_games(kept.path);
  }
  ~KeptGames() {
    testing_reset_platform();
    fs::current_path(previous);
  }
  // Through the intro and the title into the game's first pass.
  void start_game() {
    for (int i = 0; i < 5000 && screen != Screen::title; ++i) loop_pass(Controls{}, false);
    Controls start;
    start.start = true;
    loop_pass(start, false);
    loop_pass(Controls{}, false);
  }
  std::vector<std::string> replays() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kept.path + "replays")) names.push_back(entry.path().string());
    return names;
  }
};

}  // namespace

TEST(ReplayFile, ReadsBackWhatItWritesAndStopsAtACutOffLine) {
  ReplayStart start;
  start.game_version = "1.2.3";
  start.data_digest = "0123456789abcdef";
  start.screen_width = 1920;
  start.screen_height = 1080;
  start.resolution = 48.5f;
  start.start_up_map = false;
  start.map_number = 4;
  start.current_map = -1;
  start.score = 120;
  start.bombs = 3;
  start.base_width = 22;
  start.fire_latch = 17;
  start.random = random_state();
  start.player = "Ana Lopes";
  start.date = 1796660899;
  start.taken_over_from = "2026-12-07_16-28-19_score-0000060.zvreplay";
  Controls away;
  away.away = true;
  std::string text = replay_header_text(start) + replay_run_text({58, controls_of(DIRECTION_LEFT, ACTION_FIRE)}) +
                     replay_run_text({1, away}) +
                     replay_run_text({1, controls_of(DIRECTION_NONE, ACTION_NONE, true)}) +
                     replay_checkpoint_text({60, 0xfedcba9876543210ULL}) + replay_end_text({60, 5, 300, 42});
  Replay replay;
  ASSERT_EQ(parse_replay(text, replay), "");
  EXPECT_EQ(replay.start.resolution, 48.5f);
  EXPECT_EQ(replay.start.player, "Ana Lopes");
  EXPECT_EQ(replay.start.random, start.random);
  EXPECT_EQ(replay.start.taken_over_from, start.taken_over_from);
  EXPECT_FALSE(replay.start.start_up_map);
  EXPECT_EQ(replay.start.fire_latch, 17);
  ASSERT_EQ(replay.runs.size(), 3u);
  EXPECT_EQ(replay.runs[0].controls.direction, DIRECTION_LEFT);
  EXPECT_TRUE(replay.runs[0].controls.fire_held);
  EXPECT_TRUE(replay.runs[1].controls.away);
  EXPECT_TRUE(replay.runs[2].controls.next_map);
  EXPECT_EQ(replay.passes, 60);
  EXPECT_EQ(replay.checkpoints[0].digest, 0xfedcba9876543210ULL);
  EXPECT_TRUE(replay.ended);
  EXPECT_EQ(replay.end.score, 300);

  // A writer stopped within its last record leaves a file that reads up to that record.
  text.pop_back();
  ASSERT_EQ(parse_replay(text, replay), "");
  EXPECT_FALSE(replay.ended);
  EXPECT_EQ(replay.passes, 60);
}

TEST(ReplayFile, NamesWhatIsWrongWithFilesItCannotFollow) {
  std::string good;
  {
    ReplayStart start;
    start.game_version = "1";
    start.data_digest = "0123456789abcdef";
    start.screen_width = start.screen_height = 200;
    start.random = random_state();
    good = replay_header_text(start);
  }
  const auto with = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::pair<std::string, std::string> cases[] = {
      {"", "empty"},
      {std::string("\x89PNG\r\n\x1a\n", 8), "not a replay"},
      {with("REPLAY 1", "REPLAY 2"), "replay format 2"},
      {with("bombs 1\n", ""), "the header has no \"bombs\" record"},
      {with("bombs 1\n", "bombs 1\nbombs 1\n"), "a second \"bombs\" record"},
      {with("bombs 1", "bombs 9"), "line 8: a bad \"bombs\" record"},
      {with("layout 200 200", "layout 0 200"), "a bad \"layout\" record"},
      {with("random ", "random 12345678x "), "a bad \"random\" record"},
      {with("passes\n", "colour red\npasses\n"), "unknown record \"colour\""},
      {good.substr(0, good.find("passes")), "the header is cut off"},
      {good + "3 Q 16 0\n", "a bad run of passes"},
      {good + "0 - 16 0\n", "a bad run of passes"},
      {good + "3 - 3 0\n", "a bad run of passes"},
      {good + "3 - 16 16\n", "a bad run of passes"},
      {good + "99999999999 - 16 0\n", "a bad run of passes"},
      {good + "536870912 - 16 0\n1 - 16 0\n", "more passes than a replay may have"},
      {good + "3 - 16 0\nc 2 0000000000000001\n", "a checkpoint at pass 2 after 3 passes"},
      {good + "3 - 16 0\nend 3 1 0 0000000000000001\n1 - 16 0\n", "a record after the end record"},
      {good + "3 - 16 0\n\n", "an empty line"},
      {good + std::string("3 - 16\0 0\n", 10), "not text"},
  };
  for (const auto& [bytes, problem] : cases) {
    Replay replay;
    EXPECT_NE(parse_replay(bytes, replay).find(problem), std::string::npos) << problem << ": " << parse_replay(bytes, replay);
  }
}

// The whole path: the title starts a game, every pass is recorded (drawn, so that drawing is seen
// to change nothing), the quit answer ends it, the file is named with its score, the table and the
// title learn of it, and the real program verifies the file headless.
TEST(Recording, AGameFromTitleToQuitVerifiesAndEntersTheTable) {
  KeptGames games;
  games.start_game();
  ASSERT_TRUE(game_in_progress());
  for (int32_t i = 0; i < 900; ++i) {
    const int32_t key = defaultgame::bot_key();
    const int8_t direction = key == KEY_RIGHT ? DIRECTION_RIGHT : key == KEY_LEFT ? DIRECTION_LEFT
                             : key == KEY_UP  ? DIRECTION_UP    : key == KEY_DOWN ? DIRECTION_DOWN
                                              : DIRECTION_NONE;
    // The window left at pass 300 pauses the game; X goes back to it.
    Controls controls = controls_of(direction, i % 200 == 7 ? ACTION_FIRE : i == 310 ? ACTION_X : ACTION_NONE, i == 450);
    controls.away = i == 300;
    loop_pass(controls, true);
    if (i == 305) {
      EXPECT_EQ(screen, Screen::pause);
    }
  }
  loop_pass(controls_of(DIRECTION_NONE, ACTION_QUIT), true);
  loop_pass(controls_of(DIRECTION_NONE, ACTION_B), true);
  EXPECT_FALSE(game_in_progress());
  ASSERT_GT(score, 0);

  const std::vector<std::string> files = games.replays();
  ASSERT_EQ(files.size(), 1u);
  char score_text[32];
  std::snprintf(score_text, sizeof score_text, "_score-%07d.zvreplay", score);
  EXPECT_NE(files[0].find(score_text), std::string::npos) << files[0];
  const std::vector<ScoreEntry> table = load_score_table(games.kept.path, data_set_digest());
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table[0].score, score);
  // The title's last pass is the game's first.
  EXPECT_EQ(table[0].passes, 903);
  EXPECT_EQ(table[0].replay, fs::path(files[0]).filename().string());

  const testchild::ProgramRun run = testchild::run_zorvane({"--verify-replay", files[0], "--data", games.data.path});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(": ok: 903 passes, map 2, score " + std::to_string(score)), std::string::npos) << run.out;
}

TEST(Verifying, SaysWhyAReplayCannotBeFollowedAndWhereItDiverges) {
  testfiles::TempDir temp;
  const std::string golden = testfiles::read_all(GOLDEN);
  const auto verify = [&](const std::string& bytes, const std::string& data = GAME) {
    testfiles::write_text(temp.path + "r.zvreplay", bytes);
    return testchild::run_zorvane({"--verify-replay", temp.path + "r.zvreplay", "--data", data});
  };
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = golden;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string first_checkpoint = golden.substr(golden.find("\nc 60 ") + 1, 21);

  const struct {
    std::string bytes;
    int status;
    std::string says;
  } cases[] = {
      {replaced(first_checkpoint, first_checkpoint.substr(0, 20) + (first_checkpoint[20] == '0' ? "1" : "0")), 1,
       "diverges at pass 60 (map 1)"},
      {golden.substr(0, golden.find("\nc 1200 ") + 1), 2, "cut off after pass 1200 (no end record); its 19 checkpoints agree"},
      {replaced("game ", "game 0.0.1-"), 2, "recorded by zorvane 0.0.1-"},
      {replaced("data ", "data f"), 2, "not a replay this game reads: line 3: a bad \"data\" record"},
      {std::string(5000, '\xff'), 2, "not a replay"},
  };
  for (const auto& c : cases) {
    const testchild::ProgramRun run = verify(c.bytes);
    EXPECT_EQ(run.status, c.status) << c.says;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }

  // The same game on a data set with one file more is another game.
  testfiles::TempDir other;
  fs::copy(GAME, other.path, fs::copy_options::recursive);
  testfiles::write_text(other.path + "DATA/notes.txt", "x");
  EXPECT_NE(verify(golden, other.path).err.find("recorded on another data set"), std::string::npos);
  EXPECT_EQ(testchild::run_zorvane({"--verify-replay", temp.path + "missing.zvreplay"}).status, 2);
}

// A full disk mid-game: the game plays on, and the file ends at its last whole record.
TEST(Recording, AFullDiskEndsTheFileAtItsLastWholeRecordAndPlayGoesOn) {
  KeptGames games;
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  rlimit small = before;
  small.rlim_cur = 1500;
  setrlimit(RLIMIT_FSIZE, &small);
  games.start_game();
  for (int32_t i = 0; i < 2000; ++i) loop_pass(controls_of(i % 7 < 3 ? DIRECTION_RIGHT : DIRECTION_DOWN, ACTION_NONE), false);
  EXPECT_TRUE(game_in_progress());
  EXPECT_FALSE(recording_active());
  setrlimit(RLIMIT_FSIZE, &before);

  const std::vector<std::string> files = games.replays();
  ASSERT_EQ(files.size(), 1u);
  const std::string bytes = testfiles::read_all(files[0]);
  EXPECT_LE(bytes.size(), 1500u);
  ASSERT_EQ(bytes.back(), '\n');
  Replay replay;
  ASSERT_EQ(parse_replay(bytes, replay), "");
  EXPECT_FALSE(replay.ended);
  EXPECT_GT(replay.checkpoints.size(), 0u);
}

TEST(ScoreTable, KeepsTheTenBestInOrderAndOnlyScoresAboveZero) {
  std::vector<ScoreEntry> table;
  for (const int32_t s : {50, 70, 50, 0, -5, 90, 10, 20, 30, 40, 60, 80, 5}) {
    ScoreEntry e;
    e.score = s;
    e.name = "p" + std::to_string(s) + "\tx";
    score_table_insert(table, e);
  }
  std::vector<int32_t> scores;
  for (const ScoreEntry& e : table) scores.push_back(e.score);
  EXPECT_EQ(scores, (std::vector<int32_t>{90, 80, 70, 60, 50, 50, 40, 30, 20, 10}));
  ScoreEntry late;
  late.score = 50;
  EXPECT_EQ(score_table_insert(table, late), 7) << "after the older games of the same score";
  late.score = 10;
  EXPECT_EQ(score_table_insert(table, late), 0) << "below the tenth";

  std::vector<ScoreEntry> back;
  ASSERT_EQ(parse_score_table(score_table_text("d", table), "d", back), "");
  ASSERT_EQ(back.size(), table.size());
  EXPECT_EQ(back[0].name, "p90 x");
  EXPECT_NE(parse_score_table(score_table_text("d", table), "e", back), "");
  EXPECT_NE(parse_score_table("ZORVANE SCORES 1\ndata d\n5\t1\t2\t3\tf\n", "d", back), "");
  EXPECT_NE(parse_score_table("ZORVANE SCORES 1\ndata d\n5\t1\t2\t3\tf\tn\n9\t1\t2\t3\tf\tn\n", "d", back), "");
}

// A table that does not read is moved aside, never overwritten; games ending at once all count.
TEST(ScoreTable, ADamagedTableIsKeptAsideAndGamesEndingAtOnceAllEnter) {
  testfiles::TempDir dir;
  const std::string path = score_table_path(dir.path, "abc");
  testfiles::write_text(path, "ZORVANE SCORES 1\ndata abc\ngarbage\n");
  ScoreEntry entry;
  entry.score = 7;
  EXPECT_EQ(enter_score(dir.path, "abc", entry), 1);
  bool kept_aside = false;
  for (const auto& e : fs::directory_iterator(dir.path)) {
    if (e.path().filename().string().find(".unreadable-") != std::string::npos) {
      kept_aside = testfiles::read_all(e.path().string()).find("garbage") != std::string::npos;
    }
  }
  EXPECT_TRUE(kept_aside);

  std::vector<pid_t> children;
  for (int32_t child = 0; child < 4; ++child) {
    const pid_t pid = fork();
    if (pid == 0) {
      for (int32_t i = 0; i < 20; ++i) {
        ScoreEntry e;
        e.score = 100 + child * 20 + i;
        enter_score(dir.path, "abc", e);
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) waitpid(pid, nullptr, 0);
  const std::vector<ScoreEntry> table = load_score_table(dir.path, "abc");
  ASSERT_EQ(table.size(), SCORE_TABLE_SIZE);
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].score, 179 - static_cast<int32_t>(i));
}
