// Requests to close (window close, SIGINT, SIGTERM) delivered to the game's quit handler from the
// event pump, and the deadline that ends the process when no pump answers one.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <sys/time.h>
#include <unistd.h>

#include <csignal>

namespace tessera {

bool quit_pending = false;
volatile std::sig_atomic_t quit_signal = 0;

namespace {

// A request to close that no event pump has answered after this long (the game is inside one
// long call: a message box, a large file) ends the process without the usual clean-up.
constexpr suseconds_t QUIT_GRACE_US = 500'000;

QuitHandler quit_handler = nullptr;
bool quit_signals_installed = false;

// What the deadline replaced, given back when the game answers in time.
struct sigaction alarm_before {};
itimerval timer_before {};
volatile std::sig_atomic_t deadline_armed = 0;

// Set while the quit handler runs: the deadline then only cuts a slow clean-up short.
volatile std::sig_atomic_t quit_answered = 0;

void on_quit_deadline(int) {
  if (quit_answered == 0) {
    constexpr char said[] = "quit: no event pump answered within half a second; ending now\n";
    const ssize_t ignored = write(STDERR_FILENO, said, sizeof said - 1);
    (void)ignored;
  }
  _exit(0);
}

// Only async-signal-safe calls: it runs inside the signal.
void arm_quit_deadline() {
  if (deadline_armed != 0) return;
  deadline_armed = 1;
  struct sigaction action {};
  action.sa_handler = on_quit_deadline;
  sigemptyset(&action.sa_mask);
  sigaction(SIGALRM, &action, &alarm_before);
  itimerval deadline {};
  deadline.it_value.tv_usec = QUIT_GRACE_US;
  setitimer(ITIMER_REAL, &deadline, &timer_before);
}

void on_quit_signal(int signal) {
  quit_signal = signal;
  arm_quit_deadline();
}

}  // namespace

void quit_deadline_cancel() {
  if (deadline_armed == 0) return;
  setitimer(ITIMER_REAL, &timer_before, nullptr);
  sigaction(SIGALRM, &alarm_before, nullptr);
  deadline_armed = 0;
}

void quit_signals_install() {
  // A page gets no signals: closing its tab ends everything at once.
  if (quit_signals_installed || PLATFORM_WEB) return;
  struct sigaction action {};
  action.sa_handler = on_quit_signal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  quit_signals_installed = true;
}

void quit_deliver() {
  const int signal = quit_signal;
  if (signal == 0 && !quit_pending) return;
  quit_signal = 0;
  quit_pending = false;
  if (quit_handler != nullptr) {
    quit_answered = 1;
    quit_handler();
    quit_answered = 0;
    // The handler chose to go on: the deadline was only for a request nobody had heard.
    quit_deadline_cancel();
  } else if (signal != 0) {
    // Nobody asked to hear about it: behave as if we had never caught the signal.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
}

void quit_handler_register(QuitHandler handler) {
  quit_handler = handler;
  // From now on a request to close is heard, also before SDL has started.
  quit_signals_install();
}

}  // namespace tessera
