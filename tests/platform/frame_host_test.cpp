// The desktop's host of the frame loop: passes run until one ends the program, and a division by
// zero abandons its pass, calls the recovery and goes on with the next pass.
#include "platform/platform.h"

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support/child_process.h"

namespace {

volatile int zero = 0;
volatile int passes = 0;
volatile int recoveries = 0;

__attribute__((no_sanitize("undefined"))) void divide_by_zero() { std::fprintf(stderr, "%d", 100 / zero); }

void note_recovery() { recoveries = recoveries + 1; }

// The second pass faults half-way; the fourth ends the program with what it saw.
void counting_pass() {
  passes = passes + 1;
  if (passes == 2) {
    divide_by_zero();
    std::fputs("the abandoned pass went on\n", stderr);
  }
  if (passes == 4) {
    std::fprintf(stderr, "passes %d recoveries %d\n", passes, recoveries);
    tessera::process_exit(9);
  }
}

TEST(FrameHost, PassesRunOnAfterARecoveredDivision) {
  const auto child = testchild::run_child([] {
    tessera::error_handler_register([] {});
    tessera::frames_run(counting_pass, note_recovery);
  });
  ASSERT_TRUE(WIFEXITED(child.status)) << child.status << child.output;
  EXPECT_EQ(WEXITSTATUS(child.status), 9);
  EXPECT_TRUE(testchild::contains(child.output, "passes 4 recoveries 1\n")) << child.output;
  EXPECT_FALSE(testchild::contains(child.output, "went on")) << child.output;
}

}  // namespace
