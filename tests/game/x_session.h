// Running the real game under a private X server: child processes that are always reaped, an
// Xvfb on a free display, key holds through xdotool and screenshots read back as pixels.
// Every wait is bounded; every child is stopped when its guard goes out of scope.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// An Xvfb (640 x 480 x 24 unless another screen is given) on the first display number from 90 up
// that starts and answers.
struct XServer {
  Child process;
  int display = -1;
  std::string log_path;
  std::string name() const { return ":" + std::to_string(display); }
  std::string env() const { return "DISPLAY=" + name(); }
};
// Empty on success, else a message saying what went wrong.
std::string start_xvfb(XServer& server, const std::string& log_dir, const std::string& screen = "640x480x24");

// Holds an xdotool key name down for `seconds`, then releases it. False when xdotool failed.
bool hold_key(const XServer& server, const std::string& key, double seconds = 0.15);
bool key_down(const XServer& server, const std::string& key);
bool key_up(const XServer& server, const std::string& key);

// A screenshot as 8-bit RGB, row-major.
struct Image {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
  uint8_t r(int32_t x, int32_t y) const { return rgb[static_cast<size_t>((y * width + x) * 3)]; }
  uint8_t g(int32_t x, int32_t y) const { return rgb[static_cast<size_t>((y * width + x) * 3 + 1)]; }
  uint8_t b(int32_t x, int32_t y) const { return rgb[static_cast<size_t>((y * width + x) * 3 + 2)]; }
  // Pixels in [x0, x1) x [y0, y1) (clipped to the image) for which `test` holds.
  int32_t count(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                const std::function<bool(uint8_t, uint8_t, uint8_t)>& test) const;
};

// `import -window root` of the server into `png_path`, read back with SDL_image. Nothing when the
// capture or the read failed.
std::optional<Image> screenshot(const XServer& server, const std::string& png_path);

// Takes screenshots until `ready` holds for one (returned) or `seconds` have passed (nothing).
std::optional<Image> wait_for_screen(const XServer& server, const std::string& png_path, double seconds,
                                     const std::function<bool(const Image&)>& ready);

}  // namespace e2e
