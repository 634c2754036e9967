#include "game/world_pass.h"
#include "presentation/overlays.h"

#include "core/config.h"
#include "core/numeric.h"
#include "model/world_model.h"
#include "presentation/glyph_fixture.h"
#include "support/input_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace tessera;
using glyphtest::drawn_text;
using glyphtest::FontScene;
using glyphtest::glyph_draws;

namespace {

// Upper case, digits and the HUD's signs, 8 x 10 each, except a narrow I (the width of a space).
std::vector<glyphtest::GlyphImage> hud_images() {
  auto images = glyphtest::uniform("ABCDEFGHJKLMNOPQRSTUVWXYZ0123456789:-*&\xF6", 8, 10);
  images.push_back({'I', 4, 10});
  return images;
}
const std::string kHudLine = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:-*&\xF6";

struct OverlayScene : FontScene {
  OverlayScene(int32_t w, int32_t h) : FontScene(w, h, hud_images(), kHudLine) {
    font_init();
    screen_width = static_cast<float>(w);
    screen_height = static_cast<float>(h);
    FULLSCREENZOOM = 1.0f;
  }
};

std::string without(const std::string& text, const std::string& drop) {
  std::string out;
  for (const char c : text) {
    if (drop.find(c) == std::string::npos) out += c;
  }
  return out;
}

int64_t count_draws_of(int32_t s3d) {
  const auto& draws = testing_recorded_draws();
  return std::count_if(draws.begin(), draws.end(), [&](const DrawRecord& r) { return r.s3d == s3d; });
}

// A solid square drawn through its own Sprite3D, standing in for the world.
void draw_square(const testfiles::TempDir& dir, const std::string& name, int32_t colour, int32_t x,
                 int32_t y) {
  testfiles::write_png(dir.file(name + ".png"), 16, 16, colour);
  const int32_t sprite = sprite_load(-1, dir.file(name + ".png"), SPRITE_TEXTURE);
  const int32_t s3d = sprite3d_create(-1, sprite);
  ASSERT_NE(s3d, 0);
  sprite3d_draw(s3d, x, y, 255);
}

}  // namespace

TEST(Hud, ValuesTextsAndPositions) {
  OverlayScene scene(640, 480);
  score = 10;
  score_target = 12;
  time_left = 42;
  tiles_left = -3;
  map_number = 12;
  bombs = "&&";
  player_name = "JO";
  hud_scroll_offset = 0;
  testing_record_draws(true);
  sprite3d_begin();
  draw_hud();
  sprite3d_end();

  EXPECT_EQ(score, 11);
  EXPECT_EQ(tiles_left, 0);
  EXPECT_EQ(hud_scroll_offset, 2);
  const std::string expected = "SCORE11TIME42\xF6\xF6\xF6&&TILESLEFT0MAP12PLAYER:JO" +
                               without(hud_credit_line, " |");
  ASSERT_EQ(drawn_text(testing_recorded_draws()), expected);

  const auto d = glyph_draws();
  struct Where { size_t index; int32_t x, y, width, alpha; };
  const std::vector<Where> firsts = {
      {0, 452, 24, 8, 240},   // SCORE at 0.7 W + one space, 0.05 H
      {5, 496, 24, 8, 240},   // its value
      {7, 42, 24, 8, 240},    // TIME at 0.06 W
      {13, 260, 5, 8, 200},   // empty bomb slots at 0.4 W, 0.01 H
      {16, 260, 5, 8, 240},   // the bombs held, over the slots
      {18, 260, 48, 8, 240},  // TILES LEFT at 0.1 H
      {27, 336, 48, 8, 240},  // its value, 0 (the I of TILES is narrow)
      {28, 452, 48, 8, 240},  // MAP
      {31, 480, 48, 8, 240},  // 12
      {33, 456, 72, 4, 240},  // PLAYER at half size: two unscaled spaces
      {42, 648, 432, 6, 200}, // credit line at W - offset, 0.9 H, scale 0.8
  };
  for (const Where& w : firsts) {
    SCOPED_TRACE(w.index);
    EXPECT_EQ(d[w.index].x, w.x);
    EXPECT_EQ(d[w.index].y, w.y);
    EXPECT_EQ(d[w.index].width, w.width);
    EXPECT_EQ(d[w.index].alpha, w.alpha);
  }
  EXPECT_EQ(text_pen_x, 0.0f);
  EXPECT_EQ(text_pen_y, 0.0f);

  // Our credit line: one line that ends the text (its width is checked with the default font).
  EXPECT_EQ(hud_credit_line.find('|'), hud_credit_line.size() - 1);
  EXPECT_EQ(hud_credit_line.find('\\'), std::string::npos);
}

TEST(Hud, ScoreCountsUpOnePerFrameAndNeverPastTarget) {
  OverlayScene scene(320, 200);
  score = 40;
  score_target = 190;
  tiles_left = 3;
  sprite3d_begin();
  for (int32_t frame = 1; frame <= 150; ++frame) {
    draw_hud();
    ASSERT_EQ(score, 40 + frame);
  }
  draw_hud();
  EXPECT_EQ(score, 190);
  EXPECT_EQ(tiles_left, 3);
  // A score above its target (a map's bonus already counted) stays where it is.
  score = 200;
  draw_hud();
  EXPECT_EQ(score, 200);
  sprite3d_end();
}

TEST(Hud, CreditLineScrollsAndWrapsAfterTwoScreenWidths) {
  OverlayScene scene(640, 480);
  testing_record_draws(true);
  sprite3d_begin();
  hud_scroll_offset = 1278;
  std::vector<int32_t> credit_x;
  for (int i = 0; i < 3; ++i) {
    testing_clear_recorded_draws();
    draw_hud();
    const auto d = glyph_draws();
    ASSERT_FALSE(d.empty());
    // The credit line is drawn last; its first glyph follows two leading spaces.
    const size_t glyphs_in_credit = without(hud_credit_line, " |").size();
    credit_x.push_back(d[d.size() - glyphs_in_credit].x);
    if (i == 0) {
      EXPECT_EQ(hud_scroll_offset, 1280);  // not yet beyond 2 W
    }
  }
  sprite3d_end();
  EXPECT_EQ(credit_x, (std::vector<int32_t>{640 - 1278 + 8, 640 - 1280 + 8, 640 + 8}));
  EXPECT_EQ(hud_scroll_offset, 2);
}

TEST(MapBanner, RunsItsFramesOnceAndLeavesThePenOneSpaceOn) {
  OverlayScene scene(640, 480);
  map_number = 12;
  banner_due = 0;
  testing_record_draws(true);
  sprite3d_begin();
  show_map_banner(1);
  EXPECT_EQ(testing_flip_count(), 0);
  EXPECT_TRUE(testing_recorded_draws().empty());

  banner_due = 1;
  show_map_banner(1);
  sprite3d_end();
  EXPECT_EQ(banner_due, 0);
  EXPECT_EQ(testing_flip_count(), 32);  // ceil((640 - 1) / 20)
  EXPECT_EQ(grab_sprite3d, 0);
  EXPECT_EQ(grab_sprite, 0);

  const auto& all = testing_recorded_draws();
  ASSERT_FALSE(all.empty());
  const int32_t grabbed = all[0].s3d;
  EXPECT_EQ(all[0].width, 639);  // the grab at its own size
  EXPECT_EQ(all[0].height, 479);
  EXPECT_EQ(count_draws_of(grabbed), 32);
  EXPECT_EQ(sprite3d_exists(grabbed), 0);
  std::string expected;
  for (int i = 0; i < 32; ++i) expected += "MAP12";
  EXPECT_EQ(drawn_text(all), expected);

  // First frame: spacing 0 at 0.4 W; second: 0.005 W further left and letters 0.05 apart. The text
  // ends in "| ", so from the second frame on the pen starts one space (4) in.
  const auto d = glyph_draws();
  EXPECT_EQ(d[0].x, 256 + 8);
  EXPECT_EQ(d[0].y, 144);
  EXPECT_EQ(d[0].width, 24);
  EXPECT_EQ(d[0].alpha, 240);
  EXPECT_EQ(d[1].x, 256 + 8);  // spacing 0: every letter at the same place
  EXPECT_EQ(d[5].x, round_to_int(640.0f * (0.4f - 0.05f / 10.0f) + 12.0f));
  EXPECT_EQ(d[6].x, round_to_int(640.0f * (0.4f - 0.05f / 10.0f) + (12.0f + 24.0f * 0.05f)));
  EXPECT_FLOAT_EQ(text_pen_x, 4.0f);
  EXPECT_FLOAT_EQ(text_pen_y, 0.0f);
}

// On the real platform: the grab sees the world drawn in the open batch, and the batch is usable
// again once the banner returns.
TEST(MapBanner, GrabsTheWorldDrawnSoFarAndReopensTheBatch) {
  OverlayScene scene(320, 240);
  banner_due = 1;
  map_number = 3;
  sprite3d_begin();
  screen_clear(rgb(0, 0, 0));
  draw_square(scene.dir, "red", rgb(255, 0, 0), 40, 40);
  show_map_banner(1);
  draw_square(scene.dir, "green", rgb(0, 255, 0), 200, 200);
  sprite3d_end();
  EXPECT_EQ(testing_flip_count(), 16);  // ceil(319 / 20)
  EXPECT_EQ(testing_read_pixel(39 + 8, 39 + 8), rgb(255, 0, 0));  // grabbed from (1, 1)
  EXPECT_EQ(testing_read_pixel(39 + 17, 39 + 8), rgb(0, 0, 0));
  EXPECT_EQ(testing_read_pixel(208, 208), rgb(0, 255, 0));
}

TEST(ZoomPass, GrabRectangleFollowsFullScreenZoom) {
  OverlayScene scene(640, 480);
  testing_record_draws(true);
  for (const auto& [fz, w, h] : {std::tuple{1.0f, 639, 479}, std::tuple{0.5f, 319, 239}}) {
    SCOPED_TRACE(fz);
    FULLSCREENZOOM = fz;
    testing_clear_recorded_draws();
    sprite3d_begin();
    fullscreen_zoom_pass(1);
    sprite3d_end();
    EXPECT_EQ(sprite_width(grab_sprite), w);
    EXPECT_EQ(sprite_height(grab_sprite), h);
    const auto& draws = testing_recorded_draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].s3d, grab_sprite3d);
    EXPECT_EQ(draws[0].x, 0);
    EXPECT_EQ(draws[0].y, 0);
    EXPECT_EQ(draws[0].width, 640);  // stretched to the whole screen
    EXPECT_EQ(draws[0].height, 480);
    EXPECT_EQ(draws[0].alpha, 255);
    EXPECT_EQ(draws[0].blend_source, 5);
    EXPECT_EQ(draws[0].blend_destination, 6);
  }
}

// Zoom 1 without smoothing has nothing to magnify: no grab, no draw, the world as drawn (a grab
// from (1, 1) stretched by a pixel would move the square at the corner), and the default colour
// key still magenta afterwards.
TEST(ZoomPass, AtZoomOneWithoutSmoothingTheWorldStaysAsDrawn) {
  OverlayScene scene(320, 240);
  sprite_transparent_color(-1, rgb(0, 0, 0));
  sprite3d_begin();
  screen_clear(rgb(0, 0, 0));
  draw_square(scene.dir, "red", rgb(255, 0, 0), 0, 0);
  const std::vector<int32_t> before = testing_read_screen();
  testing_record_draws(true);
  fullscreen_zoom_pass(0);
  sprite3d_end();
  EXPECT_EQ(testing_read_screen(), before);
  EXPECT_TRUE(testing_recorded_draws().empty());
  EXPECT_EQ(grab_sprite, 0);
  EXPECT_EQ(grab_sprite3d, 0);
  testfiles::write_png(scene.dir.file("magenta.png"), 4, 4, rgb(255, 0, 255));
  const int32_t keyed = sprite3d_create(-1, sprite_load(-1, scene.dir.file("magenta.png"), SPRITE_TEXTURE));
  sprite3d_draw(keyed, 100, 100, 255);
  EXPECT_EQ(testing_read_pixel(101, 101), rgb(0, 0, 0));
}

TEST(ZoomPass, HalfZoomMagnifiesTheTopLeftQuarter) {
  OverlayScene scene(320, 240);
  FULLSCREENZOOM = 0.5f;
  sprite3d_begin();
  screen_clear(rgb(0, 0, 0));
  draw_square(scene.dir, "red", rgb(255, 0, 0), 21, 21);   // inside the top-left quarter
  draw_square(scene.dir, "blue", rgb(0, 0, 255), 200, 20);  // outside it
  fullscreen_zoom_pass(0);
  sprite3d_end();
  // Grab pixel (20..35) shows at about twice that on screen.
  EXPECT_EQ(testing_read_pixel(45, 45), rgb(255, 0, 0));
  EXPECT_EQ(testing_read_pixel(68, 68), rgb(255, 0, 0));
  EXPECT_EQ(testing_read_pixel(30, 30), rgb(0, 0, 0));
  EXPECT_EQ(testing_read_pixel(80, 80), rgb(0, 0, 0));
  for (int32_t x = 0; x < 320; x += 4) {
    ASSERT_NE(testing_read_pixel(x, 50), rgb(0, 0, 255)) << x;
  }
}

TEST(GameOver, SequenceFramesThenAfterGameOver) {
  OverlayScene scene(642, 480);
  game_mode = GAME_MODE_GAME_OVER;
  quit_requested = 0;
  menu_active = 0;
  score = 5;
  score_target = 50;
  time_left = -1;
  testing_record_draws(true);
  const int32_t frames = 33;  // ceil((642 - 1) / 20)
  {
    // The title screen that follows waits for the start key, pressed once it shows.
    inputscript::InputScript script({{frames + 1, [] { inputscript::tap(KEY_P); }}});
    game_over_sequence(1);
    EXPECT_TRUE(script.finished());
  }

  EXPECT_EQ(count_draws_of(grab_sprite3d), frames);
  EXPECT_GE(testing_flip_count(), frames);
  std::string expected;
  for (int i = 0; i < frames; ++i) expected += "GAMEOVER";
  const std::string drawn = drawn_text(testing_recorded_draws());
  EXPECT_EQ(drawn.substr(0, expected.size()), expected);
  const auto d = glyph_draws();
  EXPECT_EQ(d[0].x, round_to_int(642.0f * 0.3f + 8.0f));
  EXPECT_EQ(d[0].y, 144);
  EXPECT_EQ(d[0].width, 24);
  // No HUD and no clock ran; after_game_over brought back the title, which starts a fresh game:
  // map 1 is rebuilt (even when the game ended on map 1) with the score and bombs of a new game.
  EXPECT_EQ(drawn.find("SCORE"), std::string::npos);
  EXPECT_EQ(time_left, -1);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);
  EXPECT_EQ(map_number, 1);
  EXPECT_EQ(current_map, -1);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(score_target, 0);
  EXPECT_EQ(level_start_score, 0);
  EXPECT_EQ(bombs, "&");
}

// One frame of play through the real world pass: the banner runs inside the frame's batch, the HUD
// shows the time before the clock ticks, and a clock that runs out ends the same frame in the
// game-over sequence.
TEST(FrameDriver, FrameWithBannerThenGameOverWhenTimeRunsOut) {
  OverlayScene scene(320, 240);
  declare_world_model();
  world_matrix_create(4, 4);
  USESPRITE3D = 1;
  RESOLUTION = 32.0f;
  visible_columns = 2.0f;
  visible_rows = 2.0f;
  scroll_x = 0.0f;
  scroll_y = 0.0f;
  tiles_left = 5;
  map_number = 2;
  banner_due = 1;
  WORLDREFRESH = 0;
  time_left = 3;
  score = 0;
  score_target = 0;
  menu_active = 0;
  game_mode = GAME_MODE_PLAY;
  testing_record_draws(true);

  frame_driver();
  EXPECT_EQ(testing_flip_count(), 16 + 1);  // the banner's frames, then the frame itself
  EXPECT_EQ(banner_due, 0);
  EXPECT_EQ(time_left, 2);
  EXPECT_EQ(map_number, 2);
  EXPECT_NE(drawn_text(testing_recorded_draws()).find("MAP2SCORE0TIME3"), std::string::npos);

  time_left = 0;
  {
    // A tap that leaves the title screen once it shows after the game-over sequence.
    inputscript::InputScript script({{17 + 1 + 16 + 1, [] { inputscript::tap(KEY_P); }}});
    frame_driver();
    EXPECT_TRUE(script.finished());
  }
  EXPECT_EQ(time_left, -1);
  EXPECT_GE(testing_flip_count(), 17 + 1 + 16);
  EXPECT_EQ(game_mode, GAME_MODE_PLAY);  // the title screen came back after the sequence
  EXPECT_NE(drawn_text(testing_recorded_draws()).find("GAMEOVERGAMEOVER"), std::string::npos);
}
