// Real processor faults raised in child processes: the handler sees the right description and
// position, a division by zero can resume at the recovery point, everything else ends the process.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <fenv.h>

#include <cstdio>
#include <functional>
#include <string>

#include "support/child_process.h"

namespace {

using namespace tessera;

using testchild::ChildResult;
using testchild::ended_with_failure_status;
using testchild::run_child;

void report_fault() {
  std::fprintf(stderr, "[%s|%s|%d]", error_message().c_str(), error_file().c_str(), static_cast<int>(error_line()));
}

std::string expected_report(uint32_t code, const std::string& file, int line) {
  return "[" + error_message_for(code) + "|" + file + "|" + std::to_string(line) + "]";
}

volatile int zero = 0;
int* volatile null_pointer = nullptr;

volatile int numerator = 100;
// Real processor faults: the sanitizer's own checks would report them first.
__attribute__((no_sanitize("undefined"))) int divide_by_zero() { return numerator / zero; }
__attribute__((no_sanitize("undefined"))) void write_through_null() { *null_pointer = 1; }

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winfinite-recursion"
__attribute__((noinline)) int recurse_without_end(int depth) {
  volatile char block[4096];
  block[0] = static_cast<char>(depth);
  return recurse_without_end(depth + 1) + block[0];
}
#pragma GCC diagnostic pop

TEST(Faults, EachProcessorFaultIsNamedAndEndsTheProcess) {
  struct Case {
    const char* name;
    uint32_t code;
    std::function<void()> raise_fault;
  };
  const Case cases[] = {
      {"integer division", FAULT_INT_DIVIDE_BY_ZERO, [] { std::fprintf(stderr, "%d", divide_by_zero()); }},
      {"null write", FAULT_ACCESS_VIOLATION, [] { write_through_null(); }},
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int line = __LINE__;
    const ChildResult child = run_child([&] {
      error_handler_register(report_fault);
      error_position(__FILE__, line);
      c.raise_fault();
      std::fprintf(stderr, "fault did not stop the code");
    });
    EXPECT_EQ(child.output, expected_report(c.code, "faults_test.cpp", line));
    EXPECT_TRUE(ended_with_failure_status(child.status)) << child.status;
  }
  EXPECT_EQ(error_message_for(0x12345678), "UNKNOWN Error");
  EXPECT_EQ(error_message(), "No Error");  // outside a handler there is no current fault
}

TEST(Faults, WithoutARecordedPositionTheLineIsZero) {
  const ChildResult child = run_child([] {
    error_handler_register(report_fault);
    error_position(nullptr, 55);
    write_through_null();
  });
  const std::string prefix = "[" + error_message_for(FAULT_ACCESS_VIOLATION) + "|";
  ASSERT_EQ(child.output.rfind(prefix, 0), 0u) << child.output;
  EXPECT_NE(child.output.find("|0]"), std::string::npos) << child.output;
  // Some module is still named (the binary holding the faulting code, or the main module).
  EXPECT_EQ(child.output.find("||"), std::string::npos) << child.output;
  EXPECT_TRUE(ended_with_failure_status(child.status));
}

int handler_calls = 0;
void count_fault() { ++handler_calls; }

TEST(Faults, DivisionByZeroResumesAtTheArmedRecoveryPointOnly) {
  const ChildResult child = run_child([] {
    error_handler_register(count_fault);
    fault_recovery_arm(true);
    volatile int resumed = 0;
    if (FAULT_RECOVERY_POINT() != 0) {
      resumed = resumed + 1;
      std::fprintf(stderr, "resumed %d after %d calls, now %s;", resumed, handler_calls, error_message().c_str());
    }
    if (resumed < 2) std::fprintf(stderr, "%d", divide_by_zero());
    // Not armed any more: the same fault now ends the process.
    fault_recovery_arm(false);
    std::fprintf(stderr, "disarmed;");
    std::fprintf(stderr, "%d", divide_by_zero());
    std::fprintf(stderr, "went on after an unrecoverable fault");
  });
  EXPECT_EQ(child.output, "resumed 1 after 1 calls, now No Error;resumed 2 after 2 calls, now No Error;disarmed;");
  EXPECT_TRUE(ended_with_failure_status(child.status)) << child.status;
}

}  // namespace
