// Fatal messages, the run-time error log and the fault handler, with real processor faults raised
// in child processes.
#include "core/errors.h"
#include "game/flow.h"
#include "platform/platform_fixture.h"

#include <fcntl.h>
#include <fenv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "core/config.h"
#include "support/child_process.h"

namespace {

// Real faults. The sanitizer's own checks would report them first, so they are built without them.
volatile int zero = 0;
int* volatile null_pointer = nullptr;
__attribute__((no_sanitize("undefined"))) void divide_by_zero() { std::fprintf(stderr, "%d", 100 / zero); }
__attribute__((no_sanitize("undefined"))) void write_through_null() { *null_pointer = 1; }

using testchild::contains;
using testchild::run_child;

std::string today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%d/%m/%Y", &local);
  return text;
}

// In the child: the game's own handler with the log in place; the message box answers as told.
void prepare_child(const std::string& log_path, const std::string& log_file, int32_t answer) {
  config_set_defaults();
  LOGPATH = log_path;
  LOGFILE = log_file;
  testing_set_message_answer(answer);
  error_handler_register([] { report_runtime_error(7); });
  fault_recovery_arm(true);
}

int questions_asked() {
  return static_cast<int>(std::count_if(testing_message_log().begin(), testing_message_log().end(),
                                        [](const std::string& m) { return contains(m, "continue engine?"); }));
}

std::string record(const std::string& type, int line) {
  return "TESSERA ENGINE ERROR AND WARNING LOG:\r\nMAP_ID:7\r\nERROR TYPE:" + type +
         "\r\nMODULE:errors_test.cpp\r\nAT LINE:" + std::to_string(line) + "\r\n \r\nDATESTAMP:" + today() + "\r\n";
}

// Each case raises its fault twice at most: a division answered Yes resumes at the recovery point,
// one answered No and an access violation (never asked about) end the process. Every fault
// appends its record to the log and prints it on standard error too, so that a log that cannot be
// written (a missing directory, a directory in its place, no path yet) loses nothing.
TEST(ErrorLog, FaultsAppendTheirRecordAndAskOnlyAboutDivisions) {
  const struct {
    const char* log_dir;  // under the temporary directory; "" is the empty path before configuration
    int32_t answer;
    bool division;
  } cases[] = {{"logs/", ANSWER_YES, true}, {"logs/", ANSWER_NO, true}, {"logs/", ANSWER_YES, false},
               {"no/such/dir/", ANSWER_YES, true}, {"taken/", ANSWER_YES, true}, {"", ANSWER_YES, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.log_dir << " answer " << c.answer << " division " << c.division);
    testfiles::TempDir dir;
    testfiles::write_text(dir.file("logs/error.log"), "earlier run\r\n");
    testfiles::make_dirs(dir.path + "taken/error.log");
    const bool usable_log = std::string(c.log_dir) == "logs/";
    const int line = __LINE__;
    const auto child = run_child([&] {
      prepare_child(*c.log_dir != '\0' ? dir.path + c.log_dir : "", *c.log_dir != '\0' ? "error.log" : "", c.answer);
      volatile int faults = 0;
      if (FAULT_RECOVERY_POINT() != 0) {
        faults = faults + 1;
        recover_from_fault();  // as the frame loop does
      }
      if (faults < 2) {
        error_position(__FILE__, line);
        c.division ? divide_by_zero() : write_through_null();
      }
      std::fprintf(stderr, "asked %d", questions_asked());
    });
    // Only a division answered Yes resumes, and each fault has its record.
    const bool resumes = c.division && c.answer == ANSWER_YES;
    EXPECT_EQ(testchild::ended_normally(child.status), resumes) << child.status;
    EXPECT_EQ(child.output.ends_with("asked 2"), resumes) << child.output;
    EXPECT_EQ(contains(child.output, "continue engine?"), c.division) << child.output;
    const int records = usable_log ? (resumes ? 2 : 1) : 0;
    const std::string type = c.division ? "Attempted division by zero" : error_message_for(FAULT_ACCESS_VIOLATION);
    std::string log = "earlier run\r\n";
    for (int r = 0; r < records; ++r) log += record(type, line);
    EXPECT_EQ(testfiles::read_all(dir.path + "logs/error.log"), log);
    EXPECT_TRUE(contains(child.output, "ERROR TYPE:" + type + "\nMODULE:errors_test.cpp\nAT LINE:" + std::to_string(line)))
        << child.output;
    EXPECT_FALSE(std::filesystem::exists(dir.path + "no"));  // nothing created on the way
  }
}

TEST(ErrorLog, TheRecordIsAppendedWithoutReadingTheLog) {
  // A log that cannot be read to its end: a pipe that nobody writes into but the game. A handler
  // that read the log first would wait on it for ever (the child's alarm would end it).
  testfiles::TempDir dir;
  const std::string log = dir.path + "error.log";
  ASSERT_EQ(mkfifo(log.c_str(), 0600), 0);
  const int reader = open(log.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const auto child = run_child([&] {
    prepare_child(dir.path, "error.log", ANSWER_NO);
    error_position(__FILE__, 42);
    write_through_null();
  });
  EXPECT_TRUE(testchild::ended_with_failure_status(child.status)) << child.status << child.output;
  std::string bytes(4096, '\0');
  const ssize_t got = read(reader, bytes.data(), bytes.size());
  close(reader);
  ASSERT_GT(got, 0);
  bytes.resize(static_cast<size_t>(got));
  EXPECT_EQ(bytes, record(error_message_for(FAULT_ACCESS_VIOLATION), 42));
}

TEST(ErrorMessages, FatalKindsEndWithFailureAndOthersReturn) {
  const auto prepare = [] {
    config_set_defaults();
    configuration_path = "/games/zorvane/DATA\\ini.txt";
    SELFCREATEBASE = "/games/zorvane/DATA\\base.txt";
    LOGPATH = "/var/zorvane/";
    LOGFILE = "err.txt";
  };
  prepare();
  EXPECT_EQ(error_text(ERROR_BASE_LEVEL), " Could not open:/games/zorvane/DATA\\base.txt");
  EXPECT_EQ(error_text(ERROR_DIVISION_QUESTION),
            " division by zero. please read logfile:/var/zorvane/err.txt\n for more information\n continue engine?");
  for (int32_t kind : {ERROR_CONFIGURATION, ERROR_SCREEN, ERROR_WINDOW, ERROR_MAP_FILE, ERROR_BASE_LEVEL}) {
    const auto child = run_child([&] {
      prepare();
      report_error(kind);
      std::fprintf(stderr, "returned");
    });
    EXPECT_TRUE(testchild::ended_with_failure_status(child.status)) << kind;
    EXPECT_TRUE(contains(child.output, error_text(kind)) && !contains(child.output, "returned")) << child.output;
  }
  for (int32_t kind : {3, 7, -1}) report_error(kind);  // unknown kinds show nothing and return
  EXPECT_TRUE(testing_message_log().empty());
}

// With a display, a box that SDL cannot show (no desktop helper, no X server to draw it) must not
// swallow the message: the text and the reason reach standard error, a fatal error still ends the
// game, and the division question takes its default answer.
TEST(ErrorMessages, ABoxThatCannotBeShownLeavesTheTextAndTheReasonOnStandardError) {
  config_set_defaults();  // the texts name configured paths: the child's and these must agree
  for (const int32_t kind : {ERROR_MAP_FILE, ERROR_DIVISION_QUESTION}) {
    const auto child = run_child([&] {
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
      config_set_defaults();
      testing_assume_display_for_boxes(true);
      report_error(kind);
      std::fprintf(stderr, "returned");
    });
    const bool fatal = kind != ERROR_DIVISION_QUESTION;
    EXPECT_EQ(testchild::ended_with_failure_status(child.status), fatal) << child.output;
    EXPECT_TRUE(contains(child.output, "ERROR \n" + error_text(kind) + "\n")) << child.output;
    EXPECT_TRUE(contains(child.output, "(the message box could not be shown: ")) << child.output;
    EXPECT_EQ(contains(child.output, "returned"), !fatal) << child.output;
  }
}

// The handler sees the right description and position, and the process ends.
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
      {"integer division", FAULT_INT_DIVIDE_BY_ZERO, divide_by_zero},
      {"null write", FAULT_ACCESS_VIOLATION, write_through_null},
      {"null write at no recorded position", FAULT_ACCESS_VIOLATION, write_through_null},
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
    const std::string file = positioned ? "errors_test.cpp" : child.output.substr(child.output.find('|') + 1);
    EXPECT_EQ(child.output, "[" + error_message_for(c.code) + "|" + file.substr(0, file.find('|')) + "|" +
                                std::to_string(positioned ? line : 0) + "]");
    EXPECT_FALSE(testchild::contains(child.output, "||"));
    EXPECT_TRUE(testchild::ended_with_failure_status(child.status)) << child.status;
  }
  EXPECT_EQ(error_message_for(0x12345678), "UNKNOWN Error");
  EXPECT_EQ(error_message(), "No Error");  // outside a handler there is no current fault
}

}  // namespace
