// The real game binary under a private X server, driven by real key presses: the intro is waited
// out, the title is left with P, a few arrow presses paint floor, Escape and B quit, and the game
// ends with status 0 after its game-over sequence. What it shows is checked on screenshots.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "game/x_session.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "support/test_files.h"

namespace {

using e2e::Image;

constexpr int32_t W = 640;
constexpr int32_t H = 480;
constexpr int32_t CELL = 32;

// Glyphs are 6 x 8 images: a 5 x 7 block of pure green with a white (transparent) right column
// and bottom row, so letters stay apart. No tile uses a colour that passes for it.
constexpr int32_t GLYPH_W = 6;
constexpr int32_t GLYPH_H = 8;
constexpr int32_t GLYPH_INK = 5 * 7;

struct Rgb {
  uint8_t r, g, b;
};
constexpr Rgb BLUE_FLOOR{0, 0, 200};
constexpr Rgb FIXED_FLOOR{0, 0, 120};

bool is_glyph_ink(uint8_t r, uint8_t g, uint8_t b) { return g >= 200 && r <= 40 && b <= 40; }

bool near(uint8_t v, uint8_t want) { return v + 3 >= want && v <= want + 3; }
bool is_colour(Rgb c, uint8_t r, uint8_t g, uint8_t b) { return near(r, c.r) && near(g, c.g) && near(b, c.b); }
bool is_painted(uint8_t r, uint8_t g, uint8_t b) {
  return is_colour(BLUE_FLOOR, r, g, b) || is_colour(FIXED_FLOOR, r, g, b);
}

int32_t ink_in_band(const Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return image.count(x0, y0, x1, y1, is_glyph_ink);
}
int32_t painted_pixels(const Image& image) { return image.count(0, 0, image.width, image.height, is_painted); }

// Where the screens put their texts, for a 640 x 480 display and glyphs 8 pixels high.
int32_t intro_page_ink(const Image& i) { return ink_in_band(i, 60, H * 30 / 100, W, H * 72 / 100); }
// The title's rights line at (0.5 W, 0.8 H); no intro page draws right of 0.5 W at that height.
int32_t title_rights_ink(const Image& i) { return ink_in_band(i, W / 2, H * 80 / 100, W, H * 80 / 100 + 6); }
int32_t hud_score_ink(const Image& i) { return ink_in_band(i, W * 70 / 100, 24, W, 24 + GLYPH_H); }
int32_t hud_time_ink(const Image& i) { return ink_in_band(i, 38, 24, 250, 24 + GLYPH_H); }
int32_t quit_title_ink(const Image& i) { return ink_in_band(i, W * 30 / 100, H * 20 / 100, W, H * 20 / 100 + GLYPH_H); }
// "  GAME OVER |" at scale 3: 24 pixels high at 0.3 H.
int32_t game_over_ink(const Image& i) { return ink_in_band(i, 0, H * 30 / 100, W, H * 30 / 100 + 3 * GLYPH_H); }

void write_glyphs(const testfiles::TempDir& dir, const std::string& characters) {
  std::vector<uint8_t> rgba;
  for (int32_t y = 0; y < GLYPH_H; ++y) {
    for (int32_t x = 0; x < GLYPH_W; ++x) {
      const bool ink = x < GLYPH_W - 1 && y < GLYPH_H - 1;
      rgba.insert(rgba.end(), {static_cast<uint8_t>(ink ? 0 : 255), 255, static_cast<uint8_t>(ink ? 0 : 255), 255});
    }
  }
  for (const char c : characters) {
    const std::string name = tessera::glyph_image_name(static_cast<unsigned char>(c));
    testfiles::write_png_pixels(dir.file("DATA/FONT/" + name + ".png"), GLYPH_W, GLYPH_H, rgba);
  }
  testfiles::write_text(dir.file("DATA/FONT/charset.txt"), characters + "\r\nonly the first line counts\r\n");
}

void write_tile(const testfiles::TempDir& dir, const std::string& kind, const std::string& image, Rgb colour,
                int32_t collision) {
  testfiles::write_png(dir.file("DATA/TILES/" + image), 8, 8, tessera::rgb(colour.r, colour.g, colour.b));
  testfiles::write_lines(dir.file("DATA/LEVELS/E2E/" + kind),
                         {"GFXNAME", image, "TRANSPARENCY", "0", "USECOLLISION", std::to_string(collision), "USEENEMY",
                          "0", "VALUE1", "5", "CHILD1", "#", "CHILD2", "#"});
}

// A complete start directory: configuration, base level, content files and tiles, the player and a
// font. No intro or title pictures, no jingles, no music, no objects and no foes, so the screens
// show only our glyphs over black or over flat tiles.
void write_data_set(const testfiles::TempDir& dir) {
  testfiles::write_lines(
      dir.file("DATA/ini.txt"),
      {"APPNAME", "ZORVANE E2E", "WINDOWMODE", "1", "USESPRITE3D", "1", "MULTITASK", "0", "RESOLUTION",
       std::to_string(CELL), "RESBASEW", std::to_string(W), "RESBASEH", std::to_string(H), "FULLSCREENZOOM", "1.0",
       "SMOOTH", "0", "GFXCODEC", ".png", "TOPOGFX", "DATA\\TILES\\", "WORLDGFX", "DATA\\OBJECTS\\", "CURSOR",
       "DATA\\player.png", "EGFXPATH", "DATA\\FLOATERS\\", "EGFXMAX", "0", "SCREGFXPATH", "DATA\\TITLEFLOATERS\\",
       "SCREGFXMAX", "0", "LOADSCREEN", "none", "LOADINTROSCREEN", "DATA\\no-title.png", "FONTPATH", "DATA\\FONT",
       "FONTSYSTEM", "DATA\\FONT\\charset.txt", "SOUNDFXPATH", "DATA\\SFX\\", "INGAMEMUSIC", "DATA\\MUSIC\\",
       "LOGPATH", "DATA\\", "LOGFILE", "errors.log", "RGBCODEPATH", "DATA\\LEVELS\\", "APPSTART", "E2E",
       "APPENTRY", "DATA\\LEVELS\\", "SELFCREATEBASE", "DATA\\LEVELS\\base.txt", "USESELFCREATEBASE", "1",
       "USEEXTENDEDTOPO", "0", "WORLDRANDOM", "31", "LABSWITCH", "3", "MAPSIZE", "64", "MAXFOE", "0",
       // One clock unit every 601 frames: the clock cannot end the game during the test.
       "WORLDREFRESH", "600",
       // A step every 9 frames: a short hold moves one or two cells.
       "CURSORSPEED", "247", "GAMEMODE", "DEFAULT"});
  testfiles::write_lines(dir.file("DATA/LEVELS/base.txt"), {"E2E base level", "24", "16", "-", "-"});
  write_tile(dir, "LAB_WALL", "wall.png", {90, 90, 90}, 2);
  write_tile(dir, "LAB_FLOOR", "floor.png", {120, 80, 40}, 0);
  write_tile(dir, "LAB_BLUE_FLOOR", "blue.png", BLUE_FLOOR, 0);
  write_tile(dir, "LAB_FIXED_FLOOR", "fixed.png", FIXED_FLOOR, 0);
  write_tile(dir, "LAB_GREEN", "green.png", {0, 120, 0}, 0);
  write_tile(dir, "LAB_WATER", "water.png", {0, 90, 160}, 1);
  write_tile(dir, "LAB_PINK_FLOOR", "pink.png", {230, 90, 180}, 0);
  write_tile(dir, "LAB_FIXED_PINK_FLOOR", "fixedpink.png", {150, 40, 110}, 0);
  testfiles::write_png(dir.file("DATA/player.png"), 8, 8, tessera::rgb(255, 128, 0));
  testfiles::make_dirs(dir.path + "DATA/OBJECTS");
  testfiles::make_dirs(dir.path + "DATA/SFX");
  testfiles::make_dirs(dir.path + "DATA/MUSIC");
  write_glyphs(dir, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:!?()-+&\xF6");
}

// In a sanitizer build the game's exit status would report leaks of the X11 client libraries
// (dbus, the GL driver) at exit, which are not ours; our own leaks are caught by the headless tests.
std::string sanitizer_options() {
  const char* given = std::getenv("ASAN_OPTIONS");
  const std::string base = given == nullptr ? "" : given;
  return "ASAN_OPTIONS=" + base + (base.empty() ? "" : ":") + "detect_leaks=0";
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Screenshots of a run are copied to ZORVANE_E2E_SHOTS when that is set (for looking at a failure).
void keep_shot(const std::string& from, const std::string& name) {
  const char* keep = std::getenv("ZORVANE_E2E_SHOTS");
  if (keep == nullptr || *keep == '\0') return;
  std::error_code ec;
  std::filesystem::create_directories(keep, ec);
  std::filesystem::copy_file(from, std::string(keep) + "/" + name, std::filesystem::copy_options::overwrite_existing,
                             ec);
}

}  // namespace

TEST(GameUnderX, IntroTitlePlayQuitAndCleanExit) {
  testfiles::TempDir dir;
  write_data_set(dir);
  const std::string shot = dir.path + "shot.png";
  const std::string game_log = dir.path + "game.log";

  // Declared before the game, so the game is stopped first and the server last.
  e2e::XServer x;
  const std::string failure = e2e::start_xvfb(x, dir.path);
  ASSERT_TRUE(failure.empty()) << failure;

  e2e::Child game;
  struct LogOnFailure {
    const std::string& path;
    ~LogOnFailure() {
      if (::testing::Test::HasFailure()) std::cerr << "game output:\n" << testfiles::read_all(path) << "\n";
    }
  } log_on_failure{game_log};

  const auto start = std::chrono::steady_clock::now();
  const std::vector<std::string> game_env = {x.env(), "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                                             sanitizer_options()};
  ASSERT_TRUE(e2e::spawn(game, {ZORVANE_BINARY}, game_env, dir.path, game_log));
  std::cout << "display " << x.name() << "\n";

  // Intro: the first page of credits, then, 11 s of delays later, the title.
  const auto intro = e2e::wait_for_screen(x, shot, 10.0, [](const Image& i) { return intro_page_ink(i) > 1000; });
  ASSERT_TRUE(intro) << "the intro's first page never appeared";
  keep_shot(shot, "1-intro.png");
  ASSERT_EQ(intro->width, W);
  ASSERT_EQ(intro->height, H);
  EXPECT_EQ(title_rights_ink(*intro), 0);
  const double intro_seen = seconds_since(start);

  const auto title = e2e::wait_for_screen(x, shot, 25.0, [](const Image& i) { return title_rights_ink(i) > 150; });
  ASSERT_TRUE(title) << "the title screen never appeared";
  keep_shot(shot, "2-title.png");
  const double title_seen = seconds_since(start);
  // The intro cannot be skipped: its pages hold for 6 + 3 + 2 seconds.
  EXPECT_GT(title_seen - intro_seen, 8.0);
  ASSERT_TRUE(game.running());

  // The title waits for P; play then starts with the banner of map 1 and the HUD. The very first
  // frame of play draws the start cell before the player paints it, and a level now builds fast
  // enough for a screenshot to catch that frame: wait for the painted one.
  ASSERT_TRUE(e2e::hold_key(x, "p"));
  const auto play = e2e::wait_for_screen(x, shot, 15.0, [](const Image& i) {
    return hud_score_ink(i) >= 5 * GLYPH_INK - 30 && game_over_ink(i) == 0 && painted_pixels(i) > CELL * CELL / 2;
  });
  ASSERT_TRUE(play) << "play never started (no HUD)";
  keep_shot(shot, "3-play.png");
  const double play_seen = seconds_since(start);
  // " SCORE n|" and " TIME n|" are drawn where the HUD puts them and nowhere near.
  EXPECT_GE(hud_time_ink(*play), 5 * GLYPH_INK - 30);
  EXPECT_EQ(ink_in_band(*play, 400, 24, W * 70 / 100, 24 + GLYPH_H), 0);
  EXPECT_EQ(ink_in_band(*play, 0, 0, W, 4), 0);
  EXPECT_EQ(ink_in_band(*play, 0, 33, W, 47), 0);
  // The player paints the cell it starts on at once.
  const int32_t painted_at_start = painted_pixels(*play);
  EXPECT_GT(painted_at_start, CELL * CELL / 2);

  for (const char* key : {"Right", "Down", "Left", "Up", "Right", "Down", "Left", "Up"}) {
    ASSERT_TRUE(e2e::hold_key(x, key));
    e2e::screenshot(x, shot);  // also lets a few frames pass between the presses
  }
  const auto painted = e2e::wait_for_screen(x, shot, 5.0, [painted_at_start](const Image& i) {
    return painted_pixels(i) >= painted_at_start + CELL * CELL / 2;
  });
  ASSERT_TRUE(painted) << "the arrow keys painted no floor (painted pixels at start " << painted_at_start << ")";
  keep_shot(shot, "4-painted.png");
  const int32_t painted_after = painted_pixels(*painted);
  const double painted_seen = seconds_since(start);
  EXPECT_GE(hud_score_ink(*painted), 5 * GLYPH_INK - 30);

  // Escape opens the quit dialog over the world.
  ASSERT_TRUE(e2e::hold_key(x, "Escape"));
  const auto quit = e2e::wait_for_screen(x, shot, 5.0, [](const Image& i) { return quit_title_ink(i) > 250; });
  ASSERT_TRUE(quit) << "Escape opened no quit dialog";
  keep_shot(shot, "5-quit.png");
  EXPECT_TRUE(game.running());

  // B answers it: the game-over sequence runs over the last frame of play, then the program ends.
  ASSERT_TRUE(e2e::key_down(x, "b"));
  const auto quit_pressed = std::chrono::steady_clock::now();
  int32_t most_game_over_ink = 0;
  while (game.running() && seconds_since(quit_pressed) < 5.0) {
    if (const auto frame = e2e::screenshot(x, shot)) {
      if (game_over_ink(*frame) > most_game_over_ink) keep_shot(shot, "6-game-over.png");
      most_game_over_ink = std::max(most_game_over_ink, game_over_ink(*frame));
    }
  }
  e2e::key_up(x, "b");
  const std::optional<int> status = game.wait_exit(10.0);
  const double exit_seen = seconds_since(start);
  ASSERT_TRUE(status) << "the game did not end after quitting";
  ASSERT_TRUE(WIFEXITED(*status)) << "the game died by signal " << WTERMSIG(*status);
  EXPECT_EQ(WEXITSTATUS(*status), 0);
  EXPECT_GT(most_game_over_ink, 250) << "no \"GAME OVER\" was seen before the exit";

  std::printf("intro seen %.1f s, title %.1f s, play %.1f s, painted %.1f s (%d -> %d pixels), exit %.1f s\n",
              intro_seen, title_seen, play_seen, painted_seen, painted_at_start, painted_after, exit_seen);
}
