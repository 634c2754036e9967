#include "support/child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "support/test_files.h"

namespace testchild {

ChildResult run_child(const std::function<void()>& body) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return {};
  }
  if (pid == 0) {
    close(fds[0]);
    dup2(fds[1], STDERR_FILENO);
    close(fds[1]);
    // A runaway recursion must meet a bounded stack, whatever the shell allows.
    rlimit limit{};
    getrlimit(RLIMIT_STACK, &limit);
    const rlim_t bound = 8 * 1024 * 1024;
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > bound) {
      limit.rlim_cur = bound;
      setrlimit(RLIMIT_STACK, &limit);
    }
    alarm(20);
    body();
    _exit(0);
  }
  close(fds[1]);
  ChildResult result;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) result.output.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  waitpid(pid, &result.status, 0);
  return result;
}

bool ended_normally(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }
bool ended_with_failure_status(int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; }
bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

ProgramRun run_zorvane(const std::vector<std::string>& arguments) {
  testfiles::TempDir scratch;
  const std::string err_path = scratch.path + "stderr";
  std::string command = ZORVANE_BINARY;
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  FILE* out = popen((command + " 2>'" + err_path + "'").c_str(), "r");
  ProgramRun run;
  if (out == nullptr) return run;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) run.out.append(buffer, n);
  const int status = pclose(out);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.err = testfiles::read_all(err_path);
  return run;
}

}  // namespace testchild
