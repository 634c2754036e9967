// Start-up cost of the real game: the time from exec to the first intro frame, beside the cost of
// SDL's own set-up (SDL_Init, SDL_CreateWindow, SDL_CreateRenderer) measured in the same run by a
// preloaded probe, and with --title the peak memory of a game that has reached the title screen
// (about 11 s of intro first). Runs the default data set from a temporary copy.
//
// Usage: startup_bench [--runs N] [--title] [--xvfb WxH] [--data DIR] [--game PATH]
//   --game PATH  another build of the game (to compare two builds in the same conditions)
//   --xvfb WxH  starts a private Xvfb of that size and runs the game on X11 (as it runs on a
//               desktop); without it the game uses the caller's SDL_VIDEODRIVER and DISPLAY, or
//               SDL's dummy driver when there is neither.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "game/x_session.h"
#include "support/test_files.h"

namespace {

struct Options {
  int runs = 5;
  bool title = false;
  std::string xvfb;  // "WxH", empty: no server of our own
  std::string data = ZORVANE_SOURCE_DIR "/game";
  std::string game = ZORVANE_BINARY;
};

struct Run {
  double exec_to_frame_ms = 0.0;
  double init_ms = 0.0;
  double window_ms = 0.0;
  double renderer_ms = 0.0;
  double peak_mb = 0.0;
  double sdl_setup_ms() const { return init_ms + window_ms + renderer_ms; }
};

int64_t now_us() {
  timespec t {};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<int64_t>(t.tv_sec) * 1'000'000 + t.tv_nsec / 1000;
}

// Starts the game in `dir` with the probe preloaded; its figures, or nothing when it failed.
std::optional<Run> run_game(const std::string& game, const std::string& dir, const std::vector<std::string>& env,
                           int presents) {
  const std::string out = dir + "probe.txt";
  std::filesystem::remove(out);
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) environment.emplace_back(*e);
  environment.insert(environment.end(), env.begin(), env.end());
  environment.push_back("LD_PRELOAD=" STARTUP_PROBE_LIBRARY);
  environment.push_back("STARTUP_PROBE_OUT=" + out);
  environment.push_back("STARTUP_PROBE_PRESENTS=" + std::to_string(presents));
  std::vector<char*> env_ptrs;
  for (std::string& e : environment) env_ptrs.push_back(e.data());
  env_ptrs.push_back(nullptr);
  std::string program = game;
  char* argv[] = {program.data(), nullptr};

  const int64_t start = now_us();
  const pid_t pid = fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    std::freopen("/dev/null", "w", stderr);
    execve(argv[0], argv, env_ptrs.data());
    _exit(127);
  }
  int status = 0;
  rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  long long init = 0, window = 0, renderer = 0, first = 0, seen = 0;
  std::ifstream in(out);
  if (!(in >> init >> window >> renderer >> first >> seen)) return std::nullopt;
  Run run;
  run.exec_to_frame_ms = static_cast<double>(first - start) / 1e3;
  run.init_ms = static_cast<double>(init) / 1e3;
  run.window_ms = static_cast<double>(window) / 1e3;
  run.renderer_ms = static_cast<double>(renderer) / 1e3;
  run.peak_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return run;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

Options read_options(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--runs" && has_value) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--title") {
      options.title = true;
    } else if (arg == "--xvfb" && has_value) {
      options.xvfb = argv[++i];
    } else if (arg == "--data" && has_value) {
      options.data = argv[++i];
    } else if (arg == "--game" && has_value) {
      options.game = argv[++i];
    } else {
      std::fprintf(stderr, "usage: startup_bench [--runs N] [--title] [--xvfb WxH] [--data DIR] [--game PATH]\n");
      std::exit(2);
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = read_options(argc, argv);
  testfiles::TempDir dir;
  std::filesystem::copy(options.data, dir.path, std::filesystem::copy_options::recursive);
  // The game's replays, scores and settings go to a scratch directory of their own.
  testfiles::TempDir player;
  setenv("XDG_DATA_HOME", (player.path + "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (player.path + "config").c_str(), 1);

  std::vector<std::string> env = {"SDL_AUDIODRIVER=dummy"};
  e2e::XServer x;
  if (!options.xvfb.empty()) {
    const std::string failure = e2e::start_xvfb(x, dir.path, options.xvfb + "x24");
    if (!failure.empty()) {
      std::fprintf(stderr, "%s\n", failure.c_str());
      return 1;
    }
    env.push_back(x.env());
    env.push_back("SDL_VIDEODRIVER=x11");
  } else if (std::getenv("DISPLAY") == nullptr && std::getenv("SDL_VIDEODRIVER") == nullptr) {
    std::printf("no display: SDL's dummy video driver (give --xvfb WxH for X11)\n");
    env.push_back("SDL_VIDEODRIVER=dummy");
  }
  // The intro holds its three pages 660 frames; the title's first frame comes next. A second of title.
  const int presents = options.title ? 660 + 1 + 60 : 1;

  std::vector<double> to_frame, setup, init, window, renderer, ratio, peak;
  for (int n = 0; n < options.runs; ++n) {
    const std::optional<Run> run = run_game(options.game, dir.path, env, presents);
    if (!run) {
      std::fprintf(stderr, "run %d: the game did not reach its frame\n", n + 1);
      return 1;
    }
    std::printf("run %d: exec to first intro frame %.1f ms; SDL set-up %.1f ms (init %.1f, window %.1f, "
                "renderer %.1f); ratio %.2f; peak %.1f MB%s\n",
                n + 1, run->exec_to_frame_ms, run->sdl_setup_ms(), run->init_ms, run->window_ms, run->renderer_ms,
                run->exec_to_frame_ms / run->sdl_setup_ms(), run->peak_mb, options.title ? " at the title" : "");
    to_frame.push_back(run->exec_to_frame_ms);
    setup.push_back(run->sdl_setup_ms());
    init.push_back(run->init_ms);
    window.push_back(run->window_ms);
    renderer.push_back(run->renderer_ms);
    ratio.push_back(run->exec_to_frame_ms / run->sdl_setup_ms());
    peak.push_back(run->peak_mb);
  }
  std::printf("median of %d: exec to first intro frame %.1f ms; SDL set-up %.1f ms (init %.1f, window %.1f, "
              "renderer %.1f); ratio %.2f; peak %.1f MB%s\n",
              options.runs, median(to_frame), median(setup), median(init), median(window), median(renderer),
              median(ratio), median(peak), options.title ? " at the title" : "");
  return 0;
}
