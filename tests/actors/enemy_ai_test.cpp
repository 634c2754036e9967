#include "actors/enemy_ai.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "world/level_fixture.h"

using namespace tessera;
using levelfixture::board;
using levelfixture::draw_board;
using levelfixture::LevelData;

namespace {

// A foe at cell (c, r) whose every chance is certain unless changed.
Foe& add_foe(int32_t c, int32_t r) {
  Foe& foe = foes.add();
  foe.x = c * 32;
  foe.y = r * 32;
  foe.DVELOX = 1;
  foe.DVELOY = 1;
  foe.DAILEVEL = 1;
  return foe;
}

void think(int32_t frames) {
  for (int32_t f = 0; f < frames; ++f) {
    foes.select(0);
    foe_think(foes.current().DAILEVEL);
  }
}

}  // namespace

// AI levels 2 to 4 stand still, a negative DDMOVE never acts, and a new foe whose turn chance never
// succeeds never starts.
TEST(EnemyAi, FoesThatNeverAct) {
  LevelData data(levelfixture::BARE);
  levelfixture::fill_level(12, 12, "LAB_FLOOR");
  random_seed(5);
  for (const auto& [level, move, turn] : {std::tuple{2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {1, -1, 0}, {1, 0, -1}}) {
    foes.clear();
    Foe& foe = add_foe(5, 5);
    foe.DAILEVEL = static_cast<int8_t>(level);
    foe.DDMOVE = move;
    foe.DCHANGEDIRECTION = turn;
    think(50);
    EXPECT_EQ(foes.at(0).x, 160) << level << " " << move << " " << turn;
    EXPECT_EQ(foes.at(0).y, 160);
  }
  EXPECT_EQ(world_cell(5, 5).tile_kind, "LAB_FLOOR");
}

// Right while free, then (right blocked) left is the first free try; floor, green and blue turn
// pink, fixed floor stays. Any AI level but 2 to 4 wanders.
TEST(EnemyAi, CertainFoeRunsRightAndPaintsWhatItCrosses) {
  LevelData data(levelfixture::Options{false, false, true});
  draw_board({"##########", "#..gFb.#.#", "##########"});
  add_foe(2, 1);
  for (int32_t level : {1, 0, 9}) {
    foes.at(0).DAILEVEL = static_cast<int8_t>(level);
    think(1);
  }
  think(10);
  EXPECT_EQ(board()[1], "#..pFpp#.#");
  EXPECT_EQ(foes.at(0).direction, MOTION_LEFT);
  EXPECT_LT(foes.at(0).x, 6 * 32);
  EXPECT_GE(LevelData::plays("step.ogg"), 11);

  // The last column of the matrix blocks like a wall: the foe never steps off it.
  levelfixture::fill_level(world_matrix.columns - 1, 2, "LAB_FLOOR");
  foes.clear();
  add_foe(world_matrix.columns - 1, 1);
  think(1);
  EXPECT_EQ(foes.at(0).direction, MOTION_LEFT);
}

// A closed pink block locks its upper cells (with the lock sound); the marks of the four tests
// carry from one to the next; column and row 0 are examined as 1; a lone pink cell stays.
TEST(EnemyAi, PinkBlocksLock) {
  LevelData data(levelfixture::Options{false, false, true});
  draw_board({"......", ".pp...", ".pp...", "......"});
  for (int32_t frame = 0; frame < 2; ++frame) {
    for (int32_t y = 0; y <= level_height; ++y) {
      for (int32_t x = 0; x <= level_width; ++x) lock_pink_cell(x, y);
    }
  }
  EXPECT_EQ(board(), (std::vector<std::string>{"......", ".PP...", ".pp...", "......"}));
  EXPECT_EQ(LevelData::plays("pink.ogg"), 2);

  // (c, r), (c-1, r), (c, r+1), (c+1, r+1): no single test has all four, tests 1 and 2 together do.
  draw_board({"......", ".pp...", "..pp..", "....p."});
  lock_pink_cell(2, 1);
  lock_pink_cell(4, 3);
  EXPECT_EQ(board(), (std::vector<std::string>{"......", ".pP...", "..pp..", "....p."}));
  draw_board({"......", ".pp...", ".pp...", "......"});
  lock_pink_cell(0, 0);
  EXPECT_EQ(world_cell(1, 1).tile_kind, "LAB_FIXED_PINK_FLOOR");
}
