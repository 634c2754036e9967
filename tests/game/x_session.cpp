#include "game/x_session.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <thread>

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void sleep_seconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

}  // namespace

Child::~Child() { stop(); }

bool Child::running() {
  if (pid <= 0 || status) return false;
  int s = 0;
  const pid_t r = waitpid(pid, &s, WNOHANG);
  if (r == pid) status = s;
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
  wait_exit(60.0);
}

bool spawn(Child& child, const std::vector<std::string>& argv, const std::vector<std::string>& env,
           const std::string& cwd, const std::string& log_path) {
  // env(1) adds the variables and becomes the program. Everything the child needs is prepared
  // before the fork: only async-signal-safe calls after it.
  std::vector<std::string> args = {"env"};
  args.insert(args.end(), env.begin(), env.end());
  args.insert(args.end(), argv.begin(), argv.end());
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  const std::string log = log_path.empty() ? "/dev/null" : log_path;

  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    // Should the test process be killed outright (a time-out), its children go with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(125);
    dup2(open("/dev/null", O_RDONLY), 0);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(out, 1);
    dup2(out, 2);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    execvp("env", pointers.data());
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

bool start_game(Child& game, const std::vector<std::string>& argv, const std::string& dir,
                std::vector<std::string> env) {
  env.push_back("SDL_AUDIODRIVER=dummy");
  return spawn(game, argv, env, dir, dir + "game.log");
}

// In a sanitizer build the game's exit status would report leaks of the X11 client libraries
// (dbus, the GL driver) at exit, which are not ours; our own leaks are caught by the headless tests.
bool start_game(Child& game, const std::vector<std::string>& argv, const std::string& dir, const XServer& server) {
  const char* given = std::getenv("ASAN_OPTIONS");
  const std::string asan = std::string("ASAN_OPTIONS=") + (given != nullptr ? given : "") + ":detect_leaks=0";
  return start_game(game, argv, dir, {server.env(), "SDL_VIDEODRIVER=x11", asan});
}

namespace {

struct Tile {
  const char* kind;
  uint8_t r, g, b;
  int32_t collision;
};
// No tile has a colour that passes for a glyph's pure green.
constexpr Tile TILES[] = {{"LAB_WALL", 90, 90, 90, 2},         {"LAB_FLOOR", 120, 80, 40, 0},
                          {"LAB_BLUE_FLOOR", 0, 0, 200, 0},    {"LAB_FIXED_FLOOR", 0, 0, 120, 0},
                          {"LAB_GREEN", 0, 120, 0, 0},         {"LAB_WATER", 0, 90, 160, 1},
                          {"LAB_PINK_FLOOR", 230, 90, 180, 0}, {"LAB_FIXED_PINK_FLOOR", 150, 40, 110, 0}};

bool near(uint8_t v, uint8_t want) { return v + 3 >= want && v <= want + 3; }

}  // namespace

bool is_tile(uint8_t r, uint8_t g, uint8_t b, const char* kind) {
  return std::any_of(std::begin(TILES), std::end(TILES), [&](const Tile& t) {
    return (kind == nullptr || std::strcmp(kind, t.kind) == 0) && near(r, t.r) && near(g, t.g) && near(b, t.b);
  });
}

void write_data_set(const testfiles::TempDir& dir, const std::vector<std::string>& settings) {
  std::vector<std::string> ini = {
      "APPNAME", "ZORVANE E2E", "WINDOWMODE", "1", "USESPRITE3D", "1", "MULTITASK", "0", "RESOLUTION", "32", "RESBASEW",
      "640", "RESBASEH", "480", "FULLSCREENZOOM", "1.0", "SMOOTH", "0", "GFXCODEC", ".png", "TOPOGFX", "DATA\\TILES\\",
      "WORLDGFX", "DATA\\OBJECTS\\", "CURSOR", "DATA\\player.png", "EGFXPATH", "DATA\\FLOATERS\\", "EGFXMAX", "0",
      "SCREGFXPATH", "DATA\\TITLEFLOATERS\\", "SCREGFXMAX", "0", "LOADSCREEN", "none", "LOADINTROSCREEN",
      "DATA\\no-title.png", "FONTPATH", "DATA\\FONT", "FONTSYSTEM", "DATA\\FONT\\charset.txt", "SOUNDFXPATH",
      "DATA\\SFX\\", "INGAMEMUSIC", "DATA\\MUSIC\\", "LOGPATH", "DATA\\", "LOGFILE", "errors.log", "RGBCODEPATH",
      "DATA\\LEVELS\\", "APPSTART", "E2E", "APPENTRY", "DATA\\LEVELS\\", "SELFCREATEBASE", "DATA\\LEVELS\\base.txt",
      "USESELFCREATEBASE", "1", "USEEXTENDEDTOPO", "0", "WORLDRANDOM", "31", "LABSWITCH", "3", "MAPSIZE", "64",
      "MAXFOE", "0",
      // One clock unit every 601 frames: the clock cannot end the game during a test.
      "WORLDREFRESH", "600",
      // A step every 9 frames: a short hold moves one or two cells.
      "CURSORSPEED", "247", "GAMEMODE", "DEFAULT"};
  // The game takes the last value of a key.
  ini.insert(ini.end(), settings.begin(), settings.end());
  testfiles::write_lines(dir.file("DATA/ini.txt"), ini);
  testfiles::write_lines(dir.file("DATA/LEVELS/base.txt"), {"base level", "24", "16", "-", "-"});
  for (const Tile& t : TILES) {
    testfiles::write_png(dir.file("DATA/TILES/" + std::string(t.kind) + ".png"), 8, 8, t.r + t.g * 256 + t.b * 65536);
    testfiles::write_lines(dir.file("DATA/LEVELS/E2E/" + std::string(t.kind)),
                           {"GFXNAME", std::string(t.kind) + ".png", "TRANSPARENCY", "0", "USECOLLISION",
                            std::to_string(t.collision), "USEENEMY", "0", "VALUE1", "5", "CHILD1", "#", "CHILD2", "#"});
  }
  testfiles::write_png(dir.file("DATA/player.png"), 8, 8, 255 + 128 * 256);
  for (const char* empty : {"OBJECTS", "SFX", "MUSIC"}) testfiles::make_dirs(dir.path + "DATA/" + empty);
}

std::string start_xvfb(XServer& server, const std::string& log_dir, const std::string& geometry) {
  // Xvfb takes the first free display number itself and writes it out once it accepts connections.
  const std::string log_path = log_dir + "xvfb.log";
  if (!spawn(server.process, {"Xvfb", "-displayfd", "1", "-screen", "0", geometry, "-noreset", "-nolisten", "tcp"}, {},
             "", log_path)) {
    return "could not fork to start Xvfb";
  }
  const auto start = Clock::now();
  std::smatch number;
  while (server.process.running() && seconds_since(start) < 30.0) {
    const std::string log = testfiles::read_all(log_path);
    if (std::regex_search(log, number, std::regex("(^|\n)([0-9]+)\n"))) {
      server.display = std::stoi(number[2].str());
      return "";
    }
    sleep_seconds(0.05);
  }
  server.process.stop();
  return "Xvfb did not start (is it installed? scripts/install-deps.sh): " + testfiles::read_all(log_path);
}

bool hold_key(const XServer& server, const std::string& key, double seconds) {
  return run({"xdotool", "keydown", key, "sleep", std::to_string(seconds), "keyup", key}, {server.env()},
             5.0 + seconds) == 0;
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
  return load_image(png_path);
}

std::optional<Image> load_image(const std::string& path) {
  SDL_Surface* loaded = IMG_Load(path.c_str());
  // Four bytes a pixel: the rows follow each other without padding.
  SDL_Surface* rgba = loaded == nullptr ? nullptr : SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  if (rgba == nullptr) return std::nullopt;
  const auto* pixels = static_cast<const uint8_t*>(rgba->pixels);
  Image image{rgba->w, rgba->h, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(rgba->pitch * rgba->h))};
  SDL_FreeSurface(rgba);
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
