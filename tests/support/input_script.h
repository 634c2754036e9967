// Input that changes while a screen runs its own frames (the intro, the title, the dialogs).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/platform_testing.h"

namespace inputscript {

using namespace tessera;

// Changes the injected input while a screen runs its own frames. The platform's pump hook runs at
// every event pump (each snapshot and window-event call) and applies each step once, at the first
// pump after the given number of frames has been presented. A screen that is still running long
// after the last step ends the test program (it would otherwise never end).
struct InputScript {
  struct Step {
    int64_t after_flips;
    std::function<void()> act;
  };
  static constexpr int64_t kRunawayFlips = 2000;
  inline static std::vector<Step> steps;
  inline static size_t next = 0;
  inline static bool active = false;

  static void on_pump() {
    if (!active) return;
    for (; next < steps.size() && testing_flip_count() >= steps[next].after_flips; ++next) steps[next].act();
    const int64_t last = steps.empty() ? 0 : steps.back().after_flips;
    if (testing_flip_count() > last + kRunawayFlips) {
      std::fprintf(stderr, "the screen did not end after its input script\n");
      std::_Exit(1);
    }
  }

  explicit InputScript(std::vector<Step> script) {
    steps = std::move(script);
    next = 0;
    active = true;
    testing_set_pump_hook(on_pump);
  }
  ~InputScript() {
    active = false;
    testing_set_pump_hook(nullptr);
  }
  bool finished() const { return next == steps.size(); }
};

inline void tap(int32_t key) {
  testing_set_key(key, true);
  testing_set_key(key, false);
}

}  // namespace inputscript
