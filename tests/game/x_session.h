// Running the real game as a process: child processes that are always reaped, a small data set
// it starts on, an Xvfb on a free display, key holds through xdotool and screenshots read back as
// pixels. Every wait is bounded; every child is stopped when its guard goes out of scope.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace e2e {

// A started child process. The destructor stops it (SIGTERM, then SIGKILL) and reaps it, so a
// failed assertion never leaves a process behind.
struct Child {
  pid_t pid = -1;
  std::optional<int> status;  // the waitpid status once the child has ended

  Child() = default;
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool running();
  // Waits up to `seconds` for the child to end; the waitpid status, or nothing on time-out.
  std::optional<int> wait_exit(double seconds);
  void stop();
};

// Starts argv[0] (searched in PATH) with the current environment plus `env` ("NAME=value", which
// override), in directory `cwd` (empty: unchanged), standard input from /dev/null and both outputs
// appended to `log_path` (empty: /dev/null). Returns false when the fork fails.
bool spawn(Child& child, const std::vector<std::string>& argv, const std::vector<std::string>& env,
           const std::string& cwd, const std::string& log_path);

// Runs a command to completion within `seconds`; its exit code, or -1 when it could not start, was
// killed or ran out of time.
int run(const std::vector<std::string>& argv, const std::vector<std::string>& env, double seconds,
        const std::string& log_path = "");

// Within 3 of the colour of tile `kind` of the data set below, or of any of its tiles when `kind` is null.
bool is_tile(uint8_t r, uint8_t g, uint8_t b, const char* kind = nullptr);

// A complete start directory but for the font (DATA/FONT/charset.txt and its glyphs): configuration,
// a base level of 24 x 16, content files for flat coloured tiles and the player. No pictures,
// sounds, objects or foes. `settings` (key, value, ...) override values of the configuration.
void write_data_set(const testfiles::TempDir& dir, const std::vector<std::string>& settings);

// An Xvfb with one screen of `geometry` (width x height x depth) on a free display.
struct XServer {
  Child process;
  int display = -1;
  std::string name() const { return ":" + std::to_string(display); }
  std::string env() const { return "DISPLAY=" + name(); }
};
// Empty on success, else a message saying what went wrong.
std::string start_xvfb(XServer& server, const std::string& log_dir, const std::string& geometry = "640x480x24");

// The game (argv[0], with its arguments) started in `dir` with the dummy sound driver plus `env`;
// its output goes to dir + "game.log". The second form starts it on the server's display.
bool start_game(Child& game, const std::vector<std::string>& argv, const std::string& dir,
                std::vector<std::string> env);
bool start_game(Child& game, const std::vector<std::string>& argv, const std::string& dir, const XServer& server);

// Holds an xdotool key name down for `seconds`, then releases it. False when xdotool failed.
bool hold_key(const XServer& server, const std::string& key, double seconds = 0.15);

// A screenshot as 8-bit RGBA, row-major.
struct Image {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgba;
  uint8_t r(int32_t x, int32_t y) const { return rgba[static_cast<size_t>((y * width + x) * 4)]; }
  uint8_t g(int32_t x, int32_t y) const { return rgba[static_cast<size_t>((y * width + x) * 4 + 1)]; }
  uint8_t b(int32_t x, int32_t y) const { return rgba[static_cast<size_t>((y * width + x) * 4 + 2)]; }
  // Pixels in [x0, x1) x [y0, y1) (clipped to the image) for which `test` holds.
  int32_t count(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                const std::function<bool(uint8_t, uint8_t, uint8_t)>& test) const;
};

// An image file (PNG, BMP, ...) read with SDL_image; nothing when it cannot be read.
std::optional<Image> load_image(const std::string& path);

// `import -window root` of the server into `png_path`, read back with SDL_image. Nothing when the
// capture or the read failed.
std::optional<Image> screenshot(const XServer& server, const std::string& png_path);

// Takes screenshots until `ready` holds for one (returned) or `seconds` have passed (nothing).
std::optional<Image> wait_for_screen(const XServer& server, const std::string& png_path, double seconds,
                                     const std::function<bool(const Image&)>& ready);

}  // namespace e2e
