// Code that must end a process (faults, fatal errors, the game's own exit) runs in a forked child
// whose standard error is captured; a child that hangs is ended by an alarm and fails its test.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace testchild {

struct ChildResult {
  int status = 0;      // the waitpid status
  std::string output;  // what the child wrote to standard error
};

// Forks, runs body with standard error on a pipe and a bounded stack, ends with status 0 when body
// returns, and waits for the child.
ChildResult run_child(const std::function<void()>& body);

// Forks and returns at once: the child's pid and the read end of its standard error. body must
// end the child itself (exec or _exit).
struct Started {
  pid_t pid = -1;
  int stderr_fd = -1;
};
Started start_child(const std::function<void()>& body);

// Everything until end of file; closes fd.
std::string read_everything(int fd);

bool ended_normally(int status);
bool ended_with_failure_status(int status);
bool contains(const std::string& text, const std::string& part);

}  // namespace testchild
