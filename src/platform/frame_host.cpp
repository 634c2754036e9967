// Who runs the frame loop: the game itself on the desktop, the page's animation frames in a browser.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <cstdlib>

#if TESSERA_WEB
#include <emscripten.h>
#endif

namespace tessera {

#if TESSERA_WEB

namespace {

FramePass page_pass = nullptr;

void on_animation_frame() { page_pass(); }

}  // namespace

void frames_run(FramePass pass, FramePass) {
  page_pass = pass;
  // 0: every animation frame, which is how the browser paces; 1: main never returns.
  emscripten_set_main_loop(on_animation_frame, 0, 1);
  __builtin_unreachable();
}

void process_exit(int32_t status) {
  emscripten_cancel_main_loop();
  // The page shows that the game has ended (web/shell.html), unless it already shows an error.
  EM_ASM({ if (Module.gameEnded) Module.gameEnded($0); }, status);
  std::exit(status);
}

#else

// The recovery point is set in this procedure, which never returns, so a jump back to it after an
// abandoned pass always lands in a live stack frame.
void frames_run(FramePass pass, FramePass recovered) {
  fault_recovery_arm(true);
  for (;;) {
    if (FAULT_RECOVERY_POINT() != 0) recovered();
    pass();
  }
}

void process_exit(int32_t status) { std::exit(status); }

#endif

}  // namespace tessera
