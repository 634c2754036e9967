// The default data set as the game loads it. The data-set check (run by CTest) proves that every
// name resolves and every file decodes; these are the choices that make the set play and look
// finished, and the promise that the committed files are what the generator writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "core/config.h"
#include "game/default_game.h"
#include "game/screens.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "presentation/overlays.h"
#include "resources/cell_content.h"
#include "resources/object_types.h"
#include "support/test_files.h"
#include "world/level_builder.h"

namespace fs = std::filesystem;
using namespace tessera;
using defaultgame::count_pickups;
using defaultgame::DefaultGame;

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
    const int32_t sprite = sprite_load(-1, picture, SPRITE_TEXTURE);
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
  for (const unsigned char c : hud_credit_line) credit += c == ' ' ? glyphs['I'].width : c == '|' ? 0 : glyphs[c].width * 0.8f;
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
