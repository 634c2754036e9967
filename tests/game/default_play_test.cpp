// The default data set played on the real engine: a bot holds the arrow keys the way a player
// would and must finish map 1 before its clock runs out; later maps must be harder. The data-set
// check (run by CTest) proves that every name resolves and every file decodes; here are the choices
// that make the set play and look finished, and the promise that the committed files are what the
// generator writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "core/config.h"
#include "game/default_game.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "presentation/overlays.h"
#include "resources/cell_content.h"
#include "resources/object_types.h"
#include "world/level_builder.h"
#include "world/level_fixture.h"

namespace fs = std::filesystem;
using namespace tessera;
using defaultgame::count_pickups;
using defaultgame::DefaultGame;
using levelfixture::count_kind;

namespace {

struct MapRun {
  bool completed = false;
  bool game_over = false;
  int32_t frames = 0;
  int32_t start_time = 0;
  int32_t foes = 0;
  int32_t pink_after_5s = -1;  // pink and locked pink cells after 300 frames
  int32_t locked_after_5s = -1;
  int32_t most_pink = 0;
  int32_t time_left_at_end = 0;
};

// Plays the current map with the real frame (the build when due, input, the world, the clock)
// until the map number moves on or the game is over.
MapRun play_map(int32_t frame_limit) {
  MapRun run;
  const int32_t map = map_number;
  if (current_map != map_number) {  // what a game over leaves: the map is built when play starts
    build_level();
    current_map = map_number;
  }
  run.start_time = time_left;
  run.foes = foes.size();
  for (; run.frames < frame_limit; ++run.frames) {
    defaultgame::run_frame({defaultgame::BOT}, false);
    if (map_number != map) {
      run.completed = true;
      break;
    }
    const int32_t pink = count_kind("LAB_PINK_FLOOR") + count_kind("LAB_FIXED_PINK_FLOOR");
    run.most_pink = std::max(run.most_pink, pink);
    if (run.frames == 300) {
      run.pink_after_5s = pink;
      run.locked_after_5s = count_kind("LAB_FIXED_PINK_FLOOR");
    }
    run.time_left_at_end = time_left;
    if (game_mode != GAME_MODE_PLAY) {
      run.game_over = true;
      break;
    }
  }
  std::printf("map %d (%dx%d): %d foes, time %d | %d frames, completed %d, pink after 5 s %d (%d locked), "
              "time left %d\n",
              map, level_width, level_height, run.foes, run.start_time, run.frames, run.completed,
              run.pink_after_5s, run.locked_after_5s, run.time_left_at_end);
  return run;
}

// A bot that always knows the shortest way is quicker than a person: it must finish with time
// to spare, and the foes must be there without burying the floor in pink (a too eager tuning
// once turned about fifty cells pink and locked half of them within the first five seconds).
void expect_comfortable_finish(const MapRun& run) {
  EXPECT_TRUE(run.completed);
  EXPECT_FALSE(run.game_over);
  EXPECT_EQ(map_number, 2);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_GE(run.time_left_at_end * 3, run.start_time) << "a third of the clock should be left";
  EXPECT_GT(run.foes, 0);
  EXPECT_GT(run.most_pink, 0) << "the foes never painted anything";
  ASSERT_GE(run.frames, 300) << "the map should not be over in five seconds";
  EXPECT_LE(run.pink_after_5s, 20);
  EXPECT_LE(run.locked_after_5s, 6);
}

struct LevelFacts {
  int32_t area;
  int32_t foes;
  int32_t tiles;
  int32_t time;
};

LevelFacts build_map(int32_t number) {
  map_number = number;
  build_level();
  current_map = map_number;
  return {(level_width + 1) * (level_height + 1), foes.size(), tiles_left, time_left};
}

}  // namespace

TEST(DefaultPlay, BotFinishesTheFirstMapBeforeTheClockRunsOut) {
  DefaultGame game(1280, 720);
  ASSERT_EQ(current_map, 1) << "start-up built map 1; the frame loop must not build it again";
  expect_comfortable_finish(play_map(60 * 60));
}

TEST(DefaultPlay, BotFinishesTheRebuiltFirstMapOfANewGame) {
  DefaultGame game(1280, 720);
  current_map = -1;  // what a game over leaves for the next game
  expect_comfortable_finish(play_map(60 * 60));
}

TEST(DefaultPlay, LaterMapsAreLargerWithMoreFoesAndNoMoreTimePerTile) {
  DefaultGame game(1280, 720);
  const LevelFacts first = {(level_width + 1) * (level_height + 1), foes.size(), tiles_left, time_left};
  const LevelFacts one = build_map(1);
  const LevelFacts five = build_map(5);
  for (const LevelFacts& early : {first, one}) {
    EXPECT_GT(five.area, early.area);
    EXPECT_GT(five.foes, early.foes);
    EXPECT_GT(five.tiles, early.tiles);
    // No more clock per tile than the early map, give or take the whole unit the clock rounds to.
    EXPECT_LE(five.time, five.tiles * early.time / early.tiles + 1);
  }
  // Over the first maps the trend holds too: maps 6 to 10 bring more foes than maps 1 to 5.
  int32_t early_foes = 0;
  int32_t late_foes = 0;
  int32_t early_area = 0;
  int32_t late_area = 0;
  for (int32_t n = 1; n <= 10; ++n) {
    const LevelFacts facts = build_map(n);
    (n <= 5 ? early_foes : late_foes) += facts.foes;
    (n <= 5 ? early_area : late_area) += facts.area;
    EXPECT_LE(facts.foes, MAXFOE);
  }
  EXPECT_GT(late_foes, early_foes);
  EXPECT_GT(late_area, early_area);
}

TEST(DefaultData, PlaysAndLooksFinishedAt1920x1080) {
  DefaultGame game(1920, 1080);
  // The first game's map 1 comes from the base file; after a game over it is rebuilt. Both fill
  // the screen, with pick-ups and foes, the player on the floor and every foe on walkable cells.
  for (const bool rebuilt : {false, true}) {
    SCOPED_TRACE(rebuilt ? "rebuilt map 1" : "first map 1");
    if (rebuilt) build_level();
    EXPECT_GE((level_width + 1) * cell_width, screen_width);
    EXPECT_GE((level_height + 1) * cell_height, screen_height);
    EXPECT_GT(count_pickups(), 0);
    EXPECT_GT(foes.size(), 0);
    const int32_t px = static_cast<int32_t>(player.x / cell_width) + static_cast<int32_t>(scroll_x);
    const int32_t py = static_cast<int32_t>(player.y / cell_height) + static_cast<int32_t>(scroll_y);
    EXPECT_EQ(world_cell(px, py).use_collision, 0);
    for (const Foe& foe : foes.items) {
      const int32_t fx = static_cast<int32_t>(foe.x / cell_width), fy = static_cast<int32_t>(foe.y / cell_height);
      EXPECT_EQ(world_cell(fx, fy).use_collision, 0) << fx << "," << fy;
    }
  }

  // Foes turn and are drawn unscaled, so they are square cells; they never spawn from a cell, and
  // two kinds move differently.
  std::set<std::pair<int32_t, int32_t>> foe_motions;
  for (const ObjectType& type : object_types.items) {
    if (type.DISENEMY == 0) continue;
    EXPECT_EQ(type.DGFXNAME, "NOPE") << type.file_name;
    EXPECT_EQ(sprite_width(type.type_sprite), sprite_height(type.type_sprite)) << type.file_name;
    EXPECT_EQ(sprite_width(type.type_sprite), static_cast<int32_t>(RESOLUTION)) << type.file_name;
    foe_motions.insert({type.DVELOX, type.DDMOVE});
  }
  EXPECT_GE(foe_motions.size(), 2u);

  // Pictures are stretched to the screen: none needs enlarging up to 2560 x 1440.
  std::string intro0 = LOADSCREEN, intro1 = LOADSCREEN;
  ASSERT_NE(LOADSCREEN.find('#'), std::string::npos);
  intro0[LOADSCREEN.find('#')] = '0';
  intro1[LOADSCREEN.find('#')] = '1';
  for (const std::string& picture : {LOADINTROSCREEN, intro0, intro1}) {
    const int32_t sprite = sprite_load(-1, picture);
    EXPECT_GE(sprite_width(sprite), 2560) << picture;
    EXPECT_GE(sprite_height(sprite), 1440) << picture;
    if (sprite != 0) sprite_free(sprite);
  }
  // Glyphs are never enlarged beyond their images up to 2560 wide, even the title's at scale 6;
  // the title word ends inside the screen, and the credit line passes the left edge before it
  // starts again after two screen widths.
  EXPECT_LE(6.0 * 2560 / RESBASEW, 1.0);
  float title = 0.1f * screen_width + 2 * glyphs['I'].width;
  for (const unsigned char c : std::string("ZORVANE")) title += 6 * glyphs[c].width;
  EXPECT_LT(title, screen_width);
  float credit = 0.0f;
  for (const unsigned char c : hud_credit_line()) credit += c == ' ' ? glyphs['I'].width : c == '|' ? 0 : glyphs[c].width * 0.8f;
  EXPECT_LE(credit, screen_width);

  // Walls stop bomb rays, water lets them pass, every floor kind is walkable.
  const std::pair<const char*, int32_t> collisions[] = {
      {"LAB_WALL", 2}, {"LAB_WATER", 1}, {"LAB_FLOOR", 0}, {"LAB_GREEN", 0}, {"LAB_BLUE_FLOOR", 0},
      {"LAB_FIXED_FLOOR", 0}, {"LAB_PINK_FLOOR", 0}, {"LAB_FIXED_PINK_FLOOR", 0}};
  for (const auto& [kind, collision] : collisions) {
    reset_world();
    retile_cell(1, 1, kind);
    EXPECT_EQ(world_cell(1, 1).use_collision, collision) << kind;
  }
}

// Text files must be byte for byte what the generator writes; pictures and sounds at least the
// same set of files (their bytes depend on the library versions).
TEST(DefaultData, CommittedFilesMatchTheGenerator) {
  const fs::path tool = fs::path(ZORVANE_BINARY).parent_path() / "tools" / "make_assets";
  if (!fs::exists(tool)) GTEST_SKIP() << "make_assets is not built";
  const std::string game = std::string(ZORVANE_SOURCE_DIR) + "/game/";
  testfiles::TempDir out;
  ASSERT_EQ(std::system((tool.string() + " " + out.path + " > /dev/null").c_str()), 0);
  std::set<std::string> made, committed;
  for (const auto& e : fs::recursive_directory_iterator(out.path))
    if (e.is_regular_file()) made.insert(fs::relative(e.path(), out.path).string());
  for (const auto& e : fs::recursive_directory_iterator(game))
    if (e.is_regular_file() && e.path().extension() != ".log") committed.insert(fs::relative(e.path(), game).string());
  EXPECT_EQ(made, committed);
  for (const auto& file : made) {
    const std::string ext = fs::path(file).extension().string();
    if (ext == ".png" || ext == ".ogg") continue;
    EXPECT_EQ(testfiles::read_all(out.path + file), testfiles::read_all(game + file)) << file;
  }
}
