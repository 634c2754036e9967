// The default data set under game/, started the way the game starts it (configuration, screen,
// catalogs, object types, font, first level) but without the intro and title loops, in a copy of
// the start directory so nothing a run writes lands in the repository.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace defaultgame {

struct DefaultGame {
  testfiles::TempDir dir;
  std::string previous_directory;
  // Opens a width x height screen without frame pacing or real delays, reads the configuration
  // and every catalog, and builds the first level as start-up does (map 1, play mode). alter, when
  // given, changes the copied data set (its start directory, ending in "/") before anything loads.
  DefaultGame(int32_t width, int32_t height, const std::function<void(const std::string&)>& alter = {});
  ~DefaultGame();
  DefaultGame(const DefaultGame&) = delete;
  DefaultGame& operator=(const DefaultGame&) = delete;
};

// Objects standing in the level's cells that the player collects by walking on them.
int32_t count_pickups();

// The arrow key a player would hold now: the first step of a shortest walkable path to the nearest
// cell worth painting (or, when none is left, to any unpainted cell); 0 when nothing can be reached.
int32_t bot_key();

// Everything a run reads that lives longer than one level, back to its program-start value, so a
// run in a process that has run one before plays the same game.
void reset_run_state();

// Stands for the bot's key in a list of held keys.
constexpr int32_t BOT = -1;
// One frame of play with `keys` held (BOT: the bot's choice) through the frame loop's own pass
// (which builds the level due when USESELFCREATEBASE is 1), drawn or not, and the banner's frames
// when a build brought one. True when a level was due.
bool run_frame(const std::vector<int32_t>& keys, bool drawn);

}  // namespace defaultgame
