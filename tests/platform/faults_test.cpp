// Real processor faults raised in child processes: the handler sees the right description and
// position, and the process ends (resuming after a division is tested with the error log).
#include "platform/platform_fixture.h"

#include <fenv.h>

#include <cstdio>

#include "platform/fault_raisers.h"
#include "support/child_process.h"

namespace {

void report_fault() {
  std::fprintf(stderr, "[%s|%s|%d]", error_message().c_str(), error_file().c_str(), static_cast<int>(error_line()));
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winfinite-recursion"
__attribute__((noinline)) int recurse_without_end(int depth) {
  volatile char block[4096];
  block[0] = static_cast<char>(depth);
  return recurse_without_end(depth + 1) + block[0];
}
#pragma GCC diagnostic pop

TEST(Faults, EachProcessorFaultIsNamedAndEndsTheProcess) {
  const struct {
    const char* name;
    uint32_t code;
    std::function<void()> raise_fault;
  } cases[] = {
      {"integer division", FAULT_INT_DIVIDE_BY_ZERO, faultraisers::divide_by_zero},
      {"null write", FAULT_ACCESS_VIOLATION, faultraisers::write_through_null},
      {"null write at no recorded position", FAULT_ACCESS_VIOLATION, faultraisers::write_through_null},
      {"float division", FAULT_FLOAT_DIVIDE_BY_ZERO,
       [] {
         feenableexcept(FE_DIVBYZERO);
         volatile double d = 0.0;
         std::fprintf(stderr, "%f", 1.0 / d);
       }},
      {"runaway recursion", FAULT_STACK_OVERFLOW,
       [] { std::fprintf(stderr, "%d", recurse_without_end(0)); }},
#if defined(__x86_64__)
      {"illegal instruction", FAULT_ILLEGAL_INSTRUCTION, [] { __builtin_trap(); }},
      {"breakpoint", FAULT_BREAKPOINT, [] { __asm__ volatile("int3"); }},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Without a recorded position the line is 0 and some module is still named.
    const bool positioned = !testchild::contains(c.name, "no recorded");
    const int line = __LINE__;
    const testchild::ChildResult child = testchild::run_child([&] {
      error_handler_register(report_fault);
      error_position(positioned ? __FILE__ : nullptr, line);
      c.raise_fault();
      std::fprintf(stderr, "fault did not stop the code");
    });
    const std::string file = positioned ? "faults_test.cpp" : child.output.substr(child.output.find('|') + 1);
    EXPECT_EQ(child.output, "[" + error_message_for(c.code) + "|" + file.substr(0, file.find('|')) + "|" +
                                std::to_string(positioned ? line : 0) + "]");
    EXPECT_FALSE(testchild::contains(child.output, "||"));
    EXPECT_TRUE(testchild::ended_with_failure_status(child.status)) << child.status;
  }
  EXPECT_EQ(error_message_for(0x12345678), "UNKNOWN Error");
  EXPECT_EQ(error_message(), "No Error");  // outside a handler there is no current fault
}

}  // namespace
