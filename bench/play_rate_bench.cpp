// Frames per second of the real game while it is played, measured from outside: the unmodified
// zorvane binary on its default data set under an Xvfb of 1920 x 1080 (SDL's X11 driver, whatever
// renderer the game picks, its own frame pacing), started with P on the title screen and steered
// with held arrow keys through xdotool. A preloaded library (present_counter.cpp) stamps every
// present; the frames presented over the seconds of play are counted.
//
// Usage: play_rate_bench [seconds of play, default 10] [screen, default 1920x1080] [game binary]
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "game/x_session.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

int64_t now_ns() {
  timespec t {};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

void sleep_seconds(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::vector<int64_t> presents(const std::string& log) {
  std::vector<int64_t> out;
  std::ifstream in(log);
  for (long long t = 0; in >> t;) out.push_back(t);
  return out;
}

int64_t presents_between(const std::vector<int64_t>& times, int64_t from, int64_t to) {
  return std::count_if(times.begin(), times.end(), [&](int64_t t) { return t >= from && t < to; });
}

// The intro holds its pages for 11 s (presenting every frame, or, in builds before the one frame
// loop, each page once); the title screen presents every frame.
constexpr double INTRO_SECONDS = 11.0;
bool wait_for_title(const std::string& log, double seconds) {
  const int64_t started = now_ns();
  const int64_t limit = started + static_cast<int64_t>(seconds * 1e9);
  while (now_ns() < limit) {
    const bool intro_over = now_ns() - started > static_cast<int64_t>((INTRO_SECONDS + 1.0) * 1e9);
    if (intro_over && presents(log).size() >= 6) return true;
    sleep_seconds(0.25);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 10.0;
  const std::string screen = argc > 2 ? argv[2] : "1920x1080";
  const std::string binary = argc > 3 ? argv[3] : ZORVANE_BINARY;
  testfiles::TempDir dir;
  fs::copy(fs::path(ZORVANE_SOURCE_DIR) / "game", dir.path + "game", fs::copy_options::recursive);
  // The game's replays, scores and settings stay in the scratch directory.
  setenv("XDG_DATA_HOME", (dir.path + "player-data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (dir.path + "player-config").c_str(), 1);
  const std::string log = dir.path + "presents.log";

  e2e::XServer x;
  const std::string failure = e2e::start_xvfb(x, dir.path, screen + "x24");
  if (!failure.empty()) {
    std::printf("play_rate_bench: %s\n", failure.c_str());
    return 0;
  }
  e2e::Child game;
  const std::vector<std::string> env = {x.env(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                                        std::string("LD_PRELOAD=") + PRESENT_COUNTER, "PRESENT_COUNTER_LOG=" + log};
  if (!e2e::spawn(game, {binary}, env, dir.path + "game", dir.path + "game.log")) return 1;
  if (!wait_for_title(log, 60.0)) {
    std::printf("play_rate_bench: the title screen never came\n");
    return 1;
  }
  if (!e2e::hold_key(x, "p", 0.1)) {
    std::printf("play_rate_bench: xdotool could not press a key\n");
    return 1;
  }
  sleep_seconds(3.0);  // the level's build and its banner

  const int64_t start = now_ns();
  const char* keys[] = {"Right", "Down", "Left", "Up"};
  for (int n = 0; now_ns() - start < static_cast<int64_t>(seconds * 1e9); ++n) {
    e2e::hold_key(x, keys[n % 4], 0.7);
  }
  const int64_t end = now_ns();
  const bool still_running = game.running();
  game.stop();

  std::vector<int64_t> times = presents(log);
  std::vector<double> gaps;
  for (size_t n = 1; n < times.size(); ++n) {
    if (times[n - 1] >= start && times[n] < end) gaps.push_back(1e-6 * static_cast<double>(times[n] - times[n - 1]));
  }
  std::sort(gaps.begin(), gaps.end());
  const int64_t count = presents_between(times, start, end);
  const double span = 1e-9 * static_cast<double>(end - start);
  std::printf("play_rate_bench: zorvane under Xvfb %s, %.1f s of play: %lld frames presented, %.2f fps", screen.c_str(),
              span, static_cast<long long>(count), static_cast<double>(count) / span);
  if (!gaps.empty()) {
    std::printf("; ms between presents: median %.2f, p99 %.2f, max %.2f", gaps[gaps.size() / 2],
                gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)], gaps.back());
  }
  std::printf("%s\n", still_running ? "" : " (the game had ended)");
  return 0;
}
