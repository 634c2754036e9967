// Fatal messages and the run-time error log, with real faults raised in child processes.
#include "core/errors.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/config.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/child_process.h"
#include "support/test_files.h"

namespace {

using namespace tessera;

using testchild::ChildResult;
using testchild::contains;
using testchild::ended_normally;
using testchild::ended_with_failure_status;
using testchild::run_child;

std::vector<std::string> split_crlf(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t end;
  while ((end = bytes.find("\r\n", start)) != std::string::npos) {
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

std::string today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%d/%m/%Y", &local);
  return text;
}

volatile int zero = 0;
int* volatile null_pointer = nullptr;

volatile int numerator = 100;
// Real processor faults: the sanitizer's own checks would report them first.
__attribute__((no_sanitize("undefined"))) void divide_by_zero() { std::fprintf(stderr, "%d", numerator / zero); }
__attribute__((no_sanitize("undefined"))) void write_through_null() { *null_pointer = 1; }

// The game's own handler with the log in place; the message box answers as told.
void prepare_child(const std::string& log_path, const std::string& log_file, int32_t answer) {
  config_set_defaults();
  LOGPATH = log_path;
  LOGFILE = log_file;
  testing_set_message_answer(answer);
  error_handler_register([] { report_runtime_error(7); });
}

int questions_asked() {
  int asked = 0;
  for (const std::string& message : testing_message_log()) {
    if (contains(message, error_text(ERROR_DIVISION_QUESTION))) ++asked;
  }
  return asked;
}

void expect_record(const std::vector<std::string>& lines, size_t first, const std::string& type,
                   const std::string& module, int line) {
  ASSERT_GE(lines.size(), first + 7);
  EXPECT_EQ(lines[first], "TESSERA ENGINE ERROR AND WARNING LOG:");
  EXPECT_EQ(lines[first + 1], "MAP_ID:7");
  EXPECT_EQ(lines[first + 2], "ERROR TYPE:" + type);
  EXPECT_EQ(lines[first + 3], "MODULE:" + module);
  EXPECT_EQ(lines[first + 4], "AT LINE:" + std::to_string(line));
  EXPECT_EQ(lines[first + 5], " ");
  EXPECT_EQ(lines[first + 6], "DATESTAMP:" + today());
}

TEST(ErrorLog, TwoDivisionsAppendTwoRecordsAndAskTwice) {
  testfiles::TempDir dir;
  const std::string log = dir.file("logs/error.log");
  testfiles::write_text(log, "earlier run\r\nstays here\r\n");
  const int fault_line = __LINE__;
  const ChildResult child = run_child([&] {
    prepare_child(dir.path + "logs/", "error.log", ANSWER_YES);
    fault_recovery_arm(true);
    volatile int faults = 0;
    if (FAULT_RECOVERY_POINT() != 0) faults = faults + 1;
    if (faults < 2) {
      error_position(__FILE__, fault_line);
      divide_by_zero();
    }
    std::fprintf(stderr, "asked %d", questions_asked());
  });
  EXPECT_TRUE(ended_normally(child.status)) << child.status;
  EXPECT_TRUE(contains(child.output, "asked 2")) << child.output;

  const std::string bytes = testfiles::read_all(log);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  const std::vector<std::string> lines = split_crlf(bytes);
  ASSERT_EQ(lines.size(), 16u) << bytes;
  EXPECT_EQ(lines[0], "earlier run");
  EXPECT_EQ(lines[1], "stays here");
  expect_record(lines, 2, "Attempted division by zero", "errors_test.cpp", fault_line);
  expect_record(lines, 9, "Attempted division by zero", "errors_test.cpp", fault_line);
}

TEST(ErrorLog, DivisionAnsweredNoEndsAfterItsRecord) {
  testfiles::TempDir dir;
  const int fault_line = __LINE__;
  const ChildResult child = run_child([&] {
    prepare_child(dir.path, "run.log", ANSWER_NO);
    fault_recovery_arm(true);
    if (FAULT_RECOVERY_POINT() != 0) std::fprintf(stderr, "resumed");
    error_position(__FILE__, fault_line);
    divide_by_zero();
  });
  EXPECT_TRUE(ended_with_failure_status(child.status)) << child.status;
  EXPECT_FALSE(contains(child.output, "resumed"));
  EXPECT_TRUE(contains(child.output, "continue engine?")) << child.output;
  const std::vector<std::string> lines = split_crlf(testfiles::read_all(dir.path + "run.log"));
  ASSERT_EQ(lines.size(), 7u);
  expect_record(lines, 0, "Attempted division by zero", "errors_test.cpp", fault_line);
}

TEST(ErrorLog, AccessViolationIsLoggedWithoutAQuestionAndEnds) {
  testfiles::TempDir dir;
  const int fault_line = __LINE__;
  const ChildResult child = run_child([&] {
    prepare_child(dir.path, "run.log", ANSWER_YES);
    fault_recovery_arm(true);
    if (FAULT_RECOVERY_POINT() != 0) std::fprintf(stderr, "resumed");
    error_position(__FILE__, fault_line);
    write_through_null();
  });
  EXPECT_TRUE(ended_with_failure_status(child.status)) << child.status;
  EXPECT_FALSE(contains(child.output, "resumed"));
  EXPECT_FALSE(contains(child.output, "continue engine?")) << child.output;
  const std::vector<std::string> lines = split_crlf(testfiles::read_all(dir.path + "run.log"));
  ASSERT_EQ(lines.size(), 7u);
  expect_record(lines, 0, error_message_for(FAULT_ACCESS_VIOLATION), "errors_test.cpp", fault_line);
}

TEST(ErrorLog, WithoutAUsableLogTheRecordGoesToStandardErrorAndTheQuestionIsStillAsked) {
  testfiles::TempDir dir;
  testfiles::make_dirs(dir.path + "taken/error.log");
  // A missing directory, a directory where the log should be, and the empty path the log has
  // before the configuration is read.
  for (const std::string& log_path : {dir.path + "no/such/dir/", dir.path + "taken/", std::string()}) {
    SCOPED_TRACE(log_path);
    const std::string log_file = log_path.empty() ? "" : "error.log";
    const ChildResult child = run_child([&] {
      prepare_child(log_path, log_file, ANSWER_YES);
      fault_recovery_arm(true);
      if (FAULT_RECOVERY_POINT() != 0) {
        std::fprintf(stderr, "resumed, asked %d", questions_asked());
        _exit(0);
      }
      error_position(__FILE__, 42);
      divide_by_zero();
    });
    EXPECT_TRUE(ended_normally(child.status)) << child.status;
    EXPECT_TRUE(contains(child.output, "resumed, asked 1")) << child.output;
    EXPECT_TRUE(contains(child.output, "LOG:\nMAP_ID:7\nERROR TYPE:Attempted division by zero\n"
                                       "MODULE:errors_test.cpp\nAT LINE:42\n \nDATESTAMP:" + today() + "\n"))
        << child.output;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path + "no"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path + "taken/error.log"));
}

TEST(ErrorLog, TheRecordIsAppendedWithoutReadingTheLog) {
  // A log that cannot be read to its end: a pipe that nobody writes into but the game. A handler
  // that read the log first would wait on it for ever (the child's alarm would end it).
  testfiles::TempDir dir;
  const std::string log = dir.path + "error.log";
  ASSERT_EQ(mkfifo(log.c_str(), 0600), 0);
  const int reader = open(log.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const ChildResult child = run_child([&] {
    prepare_child(dir.path, "error.log", ANSWER_NO);
    error_position(__FILE__, 42);
    write_through_null();
  });
  EXPECT_TRUE(ended_with_failure_status(child.status)) << child.status << child.output;
  std::string bytes(4096, '\0');
  const ssize_t got = read(reader, bytes.data(), bytes.size());
  close(reader);
  ASSERT_GT(got, 0);
  bytes.resize(static_cast<size_t>(got));
  const std::vector<std::string> lines = split_crlf(bytes);
  ASSERT_EQ(lines.size(), 7u) << bytes;
  expect_record(lines, 0, error_message_for(FAULT_ACCESS_VIOLATION), "errors_test.cpp", 42);
}

TEST(ErrorMessages, FatalKindsShowTheirMessageAndEndWithFailure) {
  const auto prepare = [] {
    config_set_defaults();
    configuration_path = "/games/zorvane/DATA\\ini.txt";
    SELFCREATEBASE = "/games/zorvane/DATA\\base.txt";
  };
  prepare();
  EXPECT_EQ(error_text(ERROR_CONFIGURATION), " Could not open /games/zorvane/DATA\\ini.txt");
  EXPECT_EQ(error_text(ERROR_BASE_LEVEL), " Could not open:/games/zorvane/DATA\\base.txt");
  for (int32_t kind : {ERROR_CONFIGURATION, ERROR_SCREEN, ERROR_WINDOW, ERROR_MAP_FILE, ERROR_BASE_LEVEL}) {
    SCOPED_TRACE(kind);
    const ChildResult child = run_child([&] {
      prepare();
      report_error(kind);
      std::fprintf(stderr, "returned");
    });
    EXPECT_TRUE(ended_with_failure_status(child.status)) << child.status;
    EXPECT_TRUE(contains(child.output, error_text(kind))) << child.output;
    EXPECT_FALSE(contains(child.output, "returned"));
  }
}

TEST(ErrorMessages, QuestionAndUnknownKindsReturn) {
  const ChildResult child = run_child([] {
    config_set_defaults();
    LOGPATH = "/var/zorvane/";
    LOGFILE = "err.txt";
    testing_set_message_answer(ANSWER_YES);
    report_error(3);
    report_error(7);
    report_error(-1);
    std::fprintf(stderr, "boxes %zu;", testing_message_log().size());
    report_error(ERROR_DIVISION_QUESTION);
    const std::vector<std::string>& log = testing_message_log();
    if (log.size() == 1 && contains(log[0], "ERROR ") && contains(log[0], error_text(ERROR_DIVISION_QUESTION)))
      std::fprintf(stderr, "asked;");
    testing_set_message_answer(ANSWER_NO);
    report_error(ERROR_DIVISION_QUESTION);
    std::fprintf(stderr, "went on after No");
  });
  EXPECT_TRUE(contains(child.output, "boxes 0;")) << child.output;
  EXPECT_TRUE(contains(child.output, "asked;")) << child.output;
  EXPECT_FALSE(contains(child.output, "went on after No"));
  EXPECT_TRUE(ended_with_failure_status(child.status)) << child.status;
  config_set_defaults();
  LOGPATH = "/var/zorvane/";
  LOGFILE = "err.txt";
  EXPECT_EQ(error_text(ERROR_DIVISION_QUESTION),
            " division by zero. please read logfile:/var/zorvane/err.txt\n for more information\n continue engine?");
}

}  // namespace
