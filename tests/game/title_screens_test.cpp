#include "game/screens.h"

#include "actors/player_input.h"
#include "core/config.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "model/world_model.h"
#include "presentation/glyph_fixture.h"
#include "resources/catalogs.h"
#include "game/flow.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>
#include <utility>
#include <algorithm>
#include <vector>

using namespace tessera;
using glyphtest::drawn_text;
using glyphtest::glyph_of;

namespace {

constexpr int32_t W = 320;
constexpr int32_t H = 240;
const std::string kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// A font of upper case and digits, two pictures, two voice jingles and two music tracks.
struct ScreensScene : glyphtest::FontScene {
  ScreensScene() : FontScene(W, H, glyphtest::uniform(kLetters, 8, 10), kLetters) {
    sound_init();
    testfiles::write_png(dir.file("pic0.png"), 8, 8, rgb(200, 0, 0));
    testfiles::write_png(dir.file("pic1.png"), 16, 16, rgb(0, 200, 0));
    testfiles::write_png(dir.file("title.png"), 12, 12, rgb(0, 0, 200));
    testfiles::write_ogg(dir.file("SFX/voice1.ogg"), 0.05);
    testfiles::write_ogg(dir.file("SFX/voice2.ogg"), 0.05);
    testfiles::write_ogg(dir.file("MUSIC/calm.ogg"), 0.05);
    testfiles::write_ogg(dir.file("MUSIC/menu.ogg"), 0.05);
    SOUNDFXPATH = dir.path + "SFX/";
    INGAMEMUSIC = dir.path + "MUSIC/";
    load_sound_effects();
    load_music_tracks();
    VOXTAMBER1 = "voice1.ogg";
    VOXTAMBER = "voice2.ogg";
    LOADSCREEN = dir.path + "pic#.png";
    LOADINTROSCREEN = dir.path + "title.png";
    title_floaters.clear();
    input_device = 0;
    menu_active = 0;
    game_mode = GAME_MODE_GAME_OVER;
    map_number = 7;
    banner_due = 0;
    USESELFCREATEBASE = 0;  // the title hands over to play without a build
    player_input_set_defaults();
    testing_release_all_keys();
  }

};

// The sound of an effect or a music track loaded under the file name, 0 when none is.
template <typename List>
int32_t sound_named(const List& list, const std::string& name) {
  for (const auto& item : list.items) {
    if (item.file_name == name) return item.sound;
  }
  return 0;
}

// The glyph draws of one frame at screen row y, as text.
std::string text_at_row(const std::vector<DrawRecord>& frame, int32_t y) {
  std::vector<DrawRecord> row;
  for (const DrawRecord& r : frame) {
    if (r.y == y) row.push_back(r);
  }
  return drawn_text(row);
}

const DrawRecord* first_glyph_at_row(const std::vector<DrawRecord>& frame, int32_t y) {
  for (const DrawRecord& r : frame) {
    if (r.y == y && glyph_of(r.s3d) != 0) return &r;
  }
  return nullptr;
}


// P held gives both: the pause action and the title's start control.
Controls pressing(int32_t action) {
  Controls controls;
  controls.action = action;
  controls.start = action == ACTION_PAUSE;
  return controls;
}

// Passes of the frame loop on the current screen, drawn, with the controls given by pass number;
// at most `limit`, fewer when the screen changes. What each pass drew.
std::vector<std::vector<DrawRecord>> passes_while_on(Screen on, int32_t limit,
                                                     const std::function<Controls(int32_t)>& controls) {
  std::vector<std::vector<DrawRecord>> drawn;
  for (int32_t n = 0; screen == on && n < limit; ++n) {
    testing_clear_recorded_draws();
    loop_pass(controls(n), true);
    drawn.push_back(testing_recorded_draws());
  }
  return drawn;
}

}  // namespace

// The screens as they are drawn. The intro: three pages held 360, 180 and 120 frames (the loading
// pass draws the first frame of page 1), a jingle after each of the first two. The title: its first
// frame draws the picture, the floaters additively, the title (scale 6) and the prompt with alpha
// 0 and the rights line opaque; title and prompt fade in together by 0.2 of alpha a frame, opaque
// from frame 1275 on; P starts once it is released. (What the screens ignore: frame_loop_test.)
TEST(Screens, IntroThenTitleAsAPlayerMeetsThem) {
  ScreensScene scene;
  testfiles::write_png(scene.dir.file("glow.png"), 4, 4, rgb(255, 255, 0));
  const int32_t glow = sprite3d_create(-1, sprite_load(-1, scene.dir.file("glow.png")));
  title_floaters.add().sprite = glow;
  testing_record_draws(true);
  frame_loop_reset();
  enter_intro();
  screen = Screen::intro;
  const auto pages = passes_while_on(Screen::intro, 1000, [](int32_t) { return Controls{}; });
  ASSERT_EQ(pages.size(), 660u);  // the last is the title's first frame
  EXPECT_EQ(testing_sound_play_count(sound_named(sound_effects, "voice1.ogg")), 1);
  EXPECT_EQ(testing_sound_play_count(sound_named(sound_effects, "voice2.ogg")), 1);
  // Each page is the picture over the whole screen, then its text.
  for (const auto& page : pages) ASSERT_EQ(std::make_pair(page[0].width, page[0].height), std::make_pair(W, H));
  std::vector<std::string> texts;
  for (const auto& page : pages) {
    if (texts.empty() || texts.back() != drawn_text(page)) texts.push_back(drawn_text(page));
  }
  EXPECT_EQ(texts.size(), 4u);
  EXPECT_EQ(drawn_text(pages[358]), texts[0]);
  EXPECT_EQ(drawn_text(pages[359]), texts[1]);
  EXPECT_EQ(drawn_text(pages[539]), texts[2]);
  // Page 1: nine lines 0.05 H apart from 0.30 H, the seventh empty, each two blanks right of 0.1 W.
  EXPECT_EQ(text_at_row(pages[0], 72), "THISISANALPHAPREVIEWOFMYNEXTGAMEPROJECT");
  EXPECT_EQ(text_at_row(pages[0], 120), "USETHISAPPATYOUROWNRISK");
  for (const int32_t y : {72, 84, 96, 108, 120, 132, 156, 168}) {
    const DrawRecord* first = first_glyph_at_row(pages[0], y);
    ASSERT_NE(first, nullptr) << y;
    EXPECT_EQ(first->x, 32 + 16) << y;
  }
  EXPECT_EQ(text_at_row(pages[0], 144), "");
  // Pages 2 and 3: one line each at 0.8 H.
  for (const size_t p : {359u, 539u}) EXPECT_EQ(text_at_row(pages[p], 192), drawn_text(pages[p]));

  tiles_left = 5;  // the handed-over play frame must not complete a map
  start_play();    // no start-up map to build here: the title hands over to play
  screen = Screen::title;
  const auto title_frames =
      passes_while_on(Screen::title, 2000, [](int32_t n) { return pressing(n == 1299 ? ACTION_PAUSE : ACTION_NONE); });
  // 1299 passes up to the press, one that sees it released and hands over to play.
  EXPECT_EQ(title_frames.size(), 1301u);
  EXPECT_EQ(std::make_tuple(screen, menu_active, map_number), std::make_tuple(Screen::play, uint8_t{0}, 1));
  EXPECT_EQ(testing_sound_play_count(sound_named(music_tracks, "menu.ogg")), 1);
  EXPECT_EQ(sound_named(music_tracks, "calm.ogg"), 0);

  // The title's first frame was drawn by the intro's last pass.
  const auto& first = pages.back();
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(std::make_tuple(first[1].s3d, first[1].blend_source, first[1].blend_destination), std::make_tuple(glow, BLEND_ONE, BLEND_SOURCE_ALPHA));
  EXPECT_EQ(text_at_row(first, 96), "ZORVANE");
  EXPECT_EQ(first_glyph_at_row(first, 96)->width, 48);
  EXPECT_EQ(text_at_row(first, 156), "PRESSPONKEYBOARDTOCONTINUE");
  for (const DrawRecord& r : first) {
    if (glyph_of(r.s3d) == 0) continue;
    EXPECT_EQ(r.alpha, r.y == 192 ? 255 : 0) << r.y;
  }
  EXPECT_EQ(first_glyph_at_row(first, 192)->x, 160 + 16);
  std::vector<std::vector<DrawRecord>> frames = {first};
  frames.insert(frames.end(), title_frames.begin(), title_frames.end() - 1);  // the last is play's
  std::vector<int32_t> alpha;
  for (const auto& frame : frames) {
    ASSERT_EQ(first_glyph_at_row(frame, 156)->alpha, first_glyph_at_row(frame, 96)->alpha);
    alpha.push_back(first_glyph_at_row(frame, 96)->alpha);
  }
  EXPECT_TRUE(std::is_sorted(alpha.begin(), alpha.end()));
  EXPECT_NEAR(alpha[100], 20, 1);
  EXPECT_NEAR(alpha[640], 128, 1);
  EXPECT_LT(alpha[1270], 255);
  EXPECT_EQ(alpha[1280], 255);
}

// "#" in LOADSCREEN (the first one only) stands for one draw of random_int(1); without "#" there
// is no picture, no draw, and the previous picture is freed. Levels depend on the draw order.
TEST(Intro, PictureChoice) {
  ScreensScene scene;
  std::set<int32_t> widths;
  for (int32_t seed = 1; seed <= 24; ++seed) {
    random_seed(seed);
    const int32_t digit = random_int(1), after = random_int(1000000);
    random_seed(seed);
    enter_intro();
    EXPECT_EQ(sprite_width(screen_picture), digit == 0 ? 8 : 16) << seed;
    EXPECT_EQ(random_int(1000000), after) << seed;
    widths.insert(sprite_width(screen_picture));
  }
  EXPECT_EQ(widths, (std::set<int32_t>{8, 16}));

  testfiles::write_png(scene.dir.file("x0y#.png"), 10, 10, rgb(1, 2, 3));
  testfiles::write_png(scene.dir.file("x1y#.png"), 10, 10, rgb(1, 2, 3));
  LOADSCREEN = scene.dir.path + "x#y#.png";
  enter_intro();
  EXPECT_EQ(sprite_width(screen_picture), 10);

  const int32_t old_picture = screen_picture;
  LOADSCREEN = scene.dir.path + "pic0.png";
  random_seed(5);
  const int32_t expected_draw = random_int(1000000);
  random_seed(5);
  enter_intro();
  EXPECT_EQ(random_int(1000000), expected_draw);
  EXPECT_EQ(screen_picture, 0);
  EXPECT_EQ(sprite_exists(old_picture), 0);
}

// The prompt names the device the game reads: the pad (whose start button starts, once let go), or
// both.
TEST(Title, PromptFollowsTheInputDevice) {
  ScreensScene scene;
  testing_record_draws(true);
  enter_title();
  for (const auto& [device, prompt] :
       {std::pair{1, "PRESSSTARTONJOYPADCONTINUE"}, {2, "PRESSSTARTONJOYPADORPONKEYBOARDTOCONTINUE"}}) {
    input_device = static_cast<uint8_t>(device);
    testing_clear_recorded_draws();
    draw_title();
    EXPECT_EQ(text_at_row(testing_recorded_draws(), 156), prompt);
  }
  input_device = 1;
  testing_set_joystick(true, 0, 0, 1u << 9);
  EXPECT_FALSE(title_step(read_controls()));
  testing_set_joystick(true, 0, 0, 0);
  EXPECT_TRUE(title_step(read_controls()));
}
