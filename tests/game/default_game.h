// The default data set under game/, started the way the game starts it (configuration, screen,
// catalogs, object types, font, first level) but without the intro and title loops, in a copy of
// the start directory so nothing a run writes lands in the repository.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

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

// Cells of the level (0..level_width x 0..level_height) of one kind.
int32_t count_kind(const std::string& kind);
// Objects standing in the level's cells that the player collects by walking on them.
int32_t count_pickups();

// The arrow key a player would hold now: the first step of a shortest walkable path to the nearest
// cell worth painting (or, when none is left, to any unpainted cell); 0 when nothing can be reached.
int32_t bot_key();

}  // namespace defaultgame
