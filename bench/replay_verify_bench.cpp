// How much faster than play a replay is verified: the real program runs --verify-replay on a
// recorded game of about ten minutes (36,517 passes at 60 a second), from exec to exit, several
// times; each run gives passes a second and the ratio to real time. Also the file's size per
// minute of play. The target: ten minutes of play verified within 2 s, 300 times real time.
//
// Usage: replay_verify_bench [--runs N] [--replay FILE] [--data DIR] [--game PATH]
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

double now_s() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::string replay = ZORVANE_SOURCE_DIR "/bench/replays/ten-minutes.zvreplay";
  std::string data = ZORVANE_SOURCE_DIR "/game";
  std::string game = ZORVANE_BINARY;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (name == "--replay") replay = argv[i + 1];
    if (name == "--data") data = argv[i + 1];
    if (name == "--game") game = argv[i + 1];
  }
  const std::string command = "'" + game + "' --verify-replay '" + replay + "' --data '" + data + "' 2>&1";
  std::vector<double> seconds;
  long long passes = 0;
  for (int run = 0; run < runs; ++run) {
    const double start = now_s();
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) return 1;
    char line[1024] = "";
    std::string text;
    while (std::fgets(line, sizeof line, out) != nullptr) text += line;
    const int status = pclose(out);
    const double took = now_s() - start;
    const size_t ok = text.find(": ok: ");
    if (status != 0 || ok == std::string::npos) {
      std::fprintf(stderr, "replay_verify_bench: the replay does not verify: %s", text.c_str());
      return 1;
    }
    passes = std::atoll(text.c_str() + ok + 6);
    seconds.push_back(took);
    std::printf("run %d: %.3f s, %.0f passes/s, %.0f x real time\n", run + 1, took, static_cast<double>(passes) / took,
                static_cast<double>(passes) / 60.0 / took);
  }
  std::sort(seconds.begin(), seconds.end());
  const double median = seconds[seconds.size() / 2];
  const double minutes = static_cast<double>(passes) / 3600.0;
  std::printf("replay_verify: %lld passes (%.1f min of play), median %.3f s, %.0f x real time (target 300 x, 2 s for 10 min)\n",
              passes, minutes, median, static_cast<double>(passes) / 60.0 / median);
  std::printf("replay size: %.1f KB for %.1f min, %.1f KB a minute\n",
              static_cast<double>(std::filesystem::file_size(replay)) / 1024.0, minutes,
              static_cast<double>(std::filesystem::file_size(replay)) / 1024.0 / minutes);
  return 0;
}
