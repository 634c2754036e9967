// Code that must end a process (faults, fatal errors, the game's own exit) runs in a forked child
// whose standard error is captured; a child that hangs is ended by an alarm and fails its test.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace testchild {

struct ChildResult {
  int status = -1;     // the waitpid status; -1 (no normal end) when the child never ran
  std::string output;  // what the child wrote to standard error
};

// Forks, runs body with standard error on a pipe and a bounded stack, ends with status 0 when body
// returns, and waits for the child.
ChildResult run_child(const std::function<void()>& body);

// The real program with these arguments, and what it wrote to standard output and standard error.
struct ProgramRun {
  int status = -1;  // the exit status; -1 when it did not exit
  std::string out;
  std::string err;
};
ProgramRun run_zorvane(const std::vector<std::string>& arguments);

bool ended_normally(int status);
bool ended_with_failure_status(int status);
bool contains(const std::string& text, const std::string& part);

}  // namespace testchild
