// Digests of the game's state: what replays check at their checkpoints and the level tests compare.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/cell_text.h"

namespace tessera {

// FNV-1a over the bytes of plain values and strings.
struct StateHash {
  uint64_t value = 1469598103934665603ULL;
  void bytes(const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
      value ^= p[i];
      value *= 1099511628211ULL;
    }
  }
  template <typename T>
  void one(const T& v) {
    bytes(&v, sizeof v);
  }
  void one(const std::string& s) {
    one(s.size());
    bytes(s.data(), s.size());
  }
  // Cell texts hash as the texts they name, not as their references.
  void one(const CellText& s) { one(s.str()); }
  template <typename... T>
  void add(const T&... values) {
    (one(values), ...);
  }
};

// The level: size, every cell's kind and children, the instances, the foes, the player's place,
// tiles_left and time_left.
uint64_t level_digest();
// The level and what play changes beside it: map, scroll, score, bombs, collisions, and what
// picking up changes in the instances.
uint64_t play_state_digest();

}  // namespace tessera
