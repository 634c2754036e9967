#include "game/x_session.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void sleep_seconds(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::vector<std::string> merged_environment(const std::vector<std::string>& extra) {
  std::vector<std::string> out;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool overridden = false;
    for (const std::string& x : extra) overridden = overridden || x.substr(0, x.find('=')) == name;
    if (!overridden) out.push_back(entry);
  }
  out.insert(out.end(), extra.begin(), extra.end());
  return out;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

bool path_exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

}  // namespace

Child::~Child() { stop(); }

bool Child::running() {
  if (pid <= 0 || status) return false;
  int s = 0;
  const pid_t r = waitpid(pid, &s, WNOHANG);
  if (r == pid) {
    status = s;
    return false;
  }
  return r == 0;
}

std::optional<int> Child::wait_exit(double seconds) {
  const auto start = Clock::now();
  while (running()) {
    if (seconds_since(start) >= seconds) return std::nullopt;
    sleep_seconds(0.02);
  }
  return status;
}

void Child::stop() {
  if (!running()) return;
  kill(pid, SIGTERM);
  if (wait_exit(3.0)) return;
  kill(pid, SIGKILL);
  int s = 0;
  if (waitpid(pid, &s, 0) == pid) status = s;
}

bool spawn(Child& child, const std::vector<std::string>& argv, const std::vector<std::string>& env,
           const std::string& cwd, const std::string& log_path) {
  // Everything the child needs is prepared before the fork: only async-signal-safe calls after it.
  std::vector<std::string> args = argv;
  std::vector<std::string> environment = merged_environment(env);
  std::vector<char*> arg_ptrs = pointers(args);
  std::vector<char*> env_ptrs = pointers(environment);
  const std::string log = log_path.empty() ? "/dev/null" : log_path;

  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
#ifdef __linux__
    // Should the test process be killed outright (a time-out), its children go with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(125);
#endif
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in >= 0) dup2(in, 0);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    execvpe(arg_ptrs[0], arg_ptrs.data(), env_ptrs.data());
    _exit(127);
  }
  child.pid = pid;
  child.status.reset();
  return true;
}

int run(const std::vector<std::string>& argv, const std::vector<std::string>& env, double seconds,
        const std::string& log_path) {
  Child child;
  if (!spawn(child, argv, env, "", log_path)) return -1;
  const std::optional<int> status = child.wait_exit(seconds);
  if (!status || !WIFEXITED(*status)) return -1;
  return WEXITSTATUS(*status);
}

std::string start_xvfb(XServer& server, const std::string& log_dir, const std::string& screen) {
  std::string tried;
  const auto begin = Clock::now();
  for (int display = 90; display < 130 && seconds_since(begin) < 30.0; ++display) {
    const std::string n = std::to_string(display);
    // A socket or lock of another server (or of a helper's test running beside us) means taken.
    if (path_exists("/tmp/.X11-unix/X" + n) || path_exists("/tmp/.X" + n + "-lock")) continue;
    server.display = display;
    server.log_path = log_dir + "xvfb-" + n + ".log";
    if (!spawn(server.process, {"Xvfb", ":" + n, "-screen", "0", screen, "-noreset", "-nolisten", "tcp"},
               {}, "", server.log_path)) {
      return "could not fork to start Xvfb";
    }
    const auto start = Clock::now();
    while (server.process.running() && seconds_since(start) < 10.0) {
      if (path_exists("/tmp/.X11-unix/X" + n) &&
          run({"xdotool", "getdisplaygeometry"}, {server.env()}, 5.0) == 0) {
        return "";
      }
      sleep_seconds(0.1);
    }
    // Lost a race for this number, or the server is broken: stop it and try the next one.
    server.process.stop();
    tried += " :" + n;
  }
  server.display = -1;
  return "Xvfb could not be started on any free display (tried" + tried +
         "); is it installed (scripts/install-deps.sh)?";
}

bool key_down(const XServer& server, const std::string& key) {
  return run({"xdotool", "keydown", key}, {server.env()}, 5.0) == 0;
}

bool key_up(const XServer& server, const std::string& key) {
  return run({"xdotool", "keyup", key}, {server.env()}, 5.0) == 0;
}

bool hold_key(const XServer& server, const std::string& key, double seconds) {
  const bool down = key_down(server, key);
  sleep_seconds(seconds);
  const bool up = key_up(server, key);
  return down && up;
}

int32_t Image::count(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                     const std::function<bool(uint8_t, uint8_t, uint8_t)>& test) const {
  int32_t n = 0;
  for (int32_t y = std::max(0, y0); y < std::min(height, y1); ++y) {
    for (int32_t x = std::max(0, x0); x < std::min(width, x1); ++x) n += test(r(x, y), g(x, y), b(x, y)) ? 1 : 0;
  }
  return n;
}

std::optional<Image> screenshot(const XServer& server, const std::string& png_path) {
  std::remove(png_path.c_str());
  if (run({"import", "-window", "root", png_path}, {server.env()}, 10.0) != 0) return std::nullopt;
  SDL_Surface* loaded = IMG_Load(png_path.c_str());
  if (loaded == nullptr) return std::nullopt;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(loaded);
  if (rgb == nullptr) return std::nullopt;
  Image image;
  image.width = rgb->w;
  image.height = rgb->h;
  image.rgb.resize(static_cast<size_t>(rgb->w * rgb->h * 3));
  for (int32_t y = 0; y < rgb->h; ++y) {
    std::memcpy(image.rgb.data() + static_cast<size_t>(y * rgb->w * 3),
                static_cast<const uint8_t*>(rgb->pixels) + static_cast<size_t>(y * rgb->pitch),
                static_cast<size_t>(rgb->w * 3));
  }
  SDL_FreeSurface(rgb);
  return image;
}

std::optional<Image> wait_for_screen(const XServer& server, const std::string& png_path, double seconds,
                                     const std::function<bool(const Image&)>& ready) {
  const auto start = Clock::now();
  do {
    std::optional<Image> image = screenshot(server, png_path);
    if (image && ready(*image)) return image;
    sleep_seconds(0.1);
  } while (seconds_since(start) < seconds);
  return std::nullopt;
}

}  // namespace e2e
