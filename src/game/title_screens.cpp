#include "game/screens.h"

#include "actors/player_input.h"
#include "core/config.h"
#include "core/diagnostics.h"
#include "core/numeric.h"
#include "core/player_settings.h"
#include "core/runtime.h"
#include "game/world_pass.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/screen_text.h"
#include "resources/sound_control.h"

#include <algorithm>
#include <iterator>

namespace tessera {

int32_t screen_picture = 0;
int32_t screen_picture_3d = 0;

namespace {

// Each line says something the others do not: who holds the rights, how code, pictures and
// sound were made, and where the letters come from.
const char* const INTRO_PAGE_LINES[] = {
    "  THIS IS AN ALPHA PREVIEW OF MY NEXT GAMEPROJECT.|",
    "  ZORVANE (C) 2026 THE ZORVANE TEAM. ALL RIGHTS RESERVED.|",
    "  CODE IN C++ ON SDL2, EVERY PICTURE DRAWN BY CAIRO|",
    "  CONCEPT: A LABYRINTH TO PAINT AGAINST THE CLOCK|",
    "  USE THIS APP AT YOUR OWN RISK!|",
    "  MUSIC AND SOUND SYNTHESISED IN C++ WITH LIBVORBIS|",
    "  |",
    "  ARTWORK AND MUSIC SHARE THE RIGHTS OF THE GAME|",
    "  FONT SYSTEM AND SCREEN TEXT: TESSERA, LETTERS: DEJAVU|",
};
const char* const PRESENTER_LINE = "  THE ZORVANE TEAM PRESENTS|";
const char* const GAME_BY_LINE = "  A GAME BY THE ZORVANE TEAM |";
const char* const TITLE_RIGHTS_LINE = "  ZORVANE ON TESSERA (C) 2026 THE ZORVANE TEAM|";
std::string best_score_line;
std::string last_score_line;

void free_screen_picture() {
  if (sprite3d_exists(screen_picture_3d) != 0) sprite3d_free(screen_picture_3d);
  if (sprite_exists(screen_picture) != 0) sprite_free(screen_picture);
  screen_picture_3d = 0;
  screen_picture = 0;
}

void load_screen_picture(const std::string& path) {
  sprite_transparent_color(-1, rgb(255, 0, 255));
  if (screen_picture == 0 && !path.empty()) screen_picture = sprite_load(-1, path);
  if (screen_picture != 0 && screen_picture_3d == 0) screen_picture_3d = sprite3d_create(-1, screen_picture);
}

void fit_screen_picture() {
  if (sprite3d_exists(screen_picture_3d) != 0)
    sprite3d_zoom(screen_picture_3d, round_to_int(screen_width), round_to_int(screen_height));
}

// The first "#" becomes a random 0 or 1; without "#" there is no picture.
std::string intro_picture_name() {
  const size_t hash = LOADSCREEN.find('#');
  if (hash == std::string::npos) return "";
  return LOADSCREEN.substr(0, hash) + decimal(random_int(1)) + LOADSCREEN.substr(hash + 1);
}

void draw_picture() {
  screen_clear(rgb(0, 0, 0));
  if (screen_picture_3d != 0) sprite3d_draw(screen_picture_3d, 0, 0, 255);
}

struct IntroPage {
  const char* const* lines;
  int32_t count;
  float first_y;
  int32_t frames;  // how long the page is held, at 60 frames a second
};

const char* const PRESENTER[] = {PRESENTER_LINE};
const char* const GAME_BY[] = {GAME_BY_LINE};
const IntroPage INTRO_PAGES[] = {
    {INTRO_PAGE_LINES, static_cast<int32_t>(std::size(INTRO_PAGE_LINES)), 0.30f, 360},
    {PRESENTER, 1, 0.8f, 180},
    {GAME_BY, 1, 0.8f, 120},
};
constexpr int32_t INTRO_PAGE_COUNT = static_cast<int32_t>(std::size(INTRO_PAGES));

int32_t intro_page = 0;
int32_t intro_page_frame = 0;

const char* const TITLE_TEXT = "  ZORVANE |";
const char* const TITLE_MUSIC = "menu.ogg";

// The prompts name the bound start key and pad button (P and START by default); one for each
// input_device, INPUT_KEYBOARD first, the last for any other device.
std::vector<std::string> start_prompts() {
  const std::string key = bound_key_name(Control::start);
  const std::string button = bound_button_name(Control::start);
  return {
      "  PRESS  " + key + "  ON KEYBOARD TO CONTINUE|",
      "  PRESS " + button + " ON JOYPAD CONTINUE|",
      "  PRESS " + button + " ON JOYPAD OR  " + key + "  ON KEYBOARD TO CONTINUE|",
  };
}

// The same for the way to the settings screen (S and Y by default).
std::vector<std::string> settings_prompts() {
  const std::string key = bound_key_name(Control::settings);
  const std::string button = bound_button_name(Control::settings);
  return {
      "  PRESS  " + key + "  ON KEYBOARD FOR SETTINGS|",
      "  PRESS " + button + " ON JOYPAD FOR SETTINGS|",
      "  PRESS " + button + " ON JOYPAD OR  " + key + "  ON KEYBOARD FOR SETTINGS|",
  };
}

float title_fade = 255.0f;
bool start_pressed = false;
bool settings_pressed = false;
bool held_from_settings = false;  // back from the settings screen: nothing counts until let go

std::string for_device(const std::vector<std::string>& prompts) {
  return prompts[std::min<size_t>(input_device, prompts.size() - 1)];
}

std::string title_prompt() { return for_device(start_prompts()); }

}  // namespace

void enter_intro() {
  menu_active = 1;
  mouse_examine();
  mouse_locate(0, 0);
  free_screen_picture();
  load_screen_picture(intro_picture_name());
  fit_screen_picture();
  intro_page = 0;
  intro_page_frame = 0;
}

bool intro_step() {
  if (++intro_page_frame < INTRO_PAGES[intro_page].frames) return false;
  intro_page_frame = 0;
  ++intro_page;
  if (intro_page == 1) play_sound(VOXTAMBER1, SOUND_ONCE);
  if (intro_page == 2) play_sound(VOXTAMBER, SOUND_ONCE);
  return intro_page >= INTRO_PAGE_COUNT;
}

void draw_intro() {
  const IntroPage& page = INTRO_PAGES[std::min(intro_page, INTRO_PAGE_COUNT - 1)];
  draw_picture();
  for (int32_t i = 0; i < page.count; ++i) {
    draw_screen_text(page.lines[i], screen_width * 0.1f,
                     screen_height * (page.first_y + 0.05f * static_cast<float>(i)), 1.0f, 0.0f, 255, 1.0f);
  }
}

void enter_title() {
  menu_active = 1;
  game_mode = GAME_MODE_PLAY;
  title_fade = 255.0f;
  start_pressed = false;
  settings_pressed = false;
  held_from_settings = false;
  free_screen_picture();
  load_screen_picture(LOADINTROSCREEN);
  fit_screen_picture();
  play_music(TITLE_MUSIC);
}

bool title_step(const Controls& controls) {
  move_floaters(title_floaters);
  if (!start_pressed) {
    // The title's first frame is drawn as it is entered, so every step follows a drawn frame.
    title_fade = title_fade > 0.0f ? title_fade - 0.2f : 0.0f;
    if (held_from_settings) {
      held_from_settings = controls.start || controls.settings;
      return false;
    }
    start_pressed = controls.start;
    return false;
  }
  // Play begins with the start control released, so the same press does not also pause the game.
  if (controls.start) return false;
  menu_active = 0;
  map_number = 1;
  return true;
}

bool title_opens_settings(const Controls& controls) {
  if (start_pressed || held_from_settings) return false;
  if (controls.settings) {
    settings_pressed = true;
    return false;
  }
  const bool opens = settings_pressed;
  settings_pressed = false;
  return opens;
}

void resume_title() {
  start_pressed = false;
  settings_pressed = false;
  held_from_settings = true;
}

void draw_title() {
  draw_picture();
  draw_floaters(title_floaters, 1);
  const int32_t alpha = round_to_int(255.0 - title_fade);
  draw_screen_text(TITLE_TEXT, screen_width * 0.1f, screen_height * 0.4f, 6.0f, 0.0f, alpha, 1.0f);
  draw_screen_text(title_prompt(), screen_width * 0.1f, screen_height * 0.65f, 0.8f, 0.0f, alpha, 1.0f);
  if (!best_score_line.empty()) {
    draw_screen_text(best_score_line, screen_width * 0.1f, screen_height * 0.71f, 0.6f, 0.0f, alpha, 1.0f);
  }
  if (!last_score_line.empty()) {
    draw_screen_text(last_score_line, screen_width * 0.1f, screen_height * 0.75f, 0.6f, 0.0f, alpha, 1.0f);
  }
  draw_screen_text(TITLE_RIGHTS_LINE, screen_width * 0.5f, screen_height * 0.8f, 0.6f, 0.0f, 255, 1.0f);
  // Below the rights line, clear of the title's other lines.
  draw_screen_text(for_device(settings_prompts()), screen_width * 0.1f, screen_height * 0.85f, 0.6f, 0.0f, alpha, 1.0f);
}

void set_title_scores(const std::string& best, const std::string& last) {
  best_score_line = best;
  last_score_line = last;
}

std::vector<std::string> title_screen_texts() {
  std::vector<std::string> texts(std::begin(INTRO_PAGE_LINES), std::end(INTRO_PAGE_LINES));
  texts.insert(texts.end(), {PRESENTER_LINE, GAME_BY_LINE, TITLE_TEXT, TITLE_RIGHTS_LINE});
  for (const std::vector<std::string>& prompts : {start_prompts(), settings_prompts()})
    texts.insert(texts.end(), prompts.begin(), prompts.end());
  return texts;
}

namespace {

void check_picture(const char* key, const std::string& path, const std::string& consequence) {
  if (!check_configured_path(key, path, ENTRY_FILE, Severity::error, consequence)) return;
  sprite_transparent_color(-1, rgb(255, 0, 255));
  const int32_t picture = sprite_load(-1, path);
  if (picture == 0) diagnostic_error(path, 0, "does not decode as an image: " + consequence);
  sprite_free(picture);
}

}  // namespace

void check_screen_pictures() {
  const size_t hash = LOADSCREEN.find('#');
  if (hash == std::string::npos) {
    if (!LOADSCREEN.empty()) {
      diagnostic_warning(configuration_path, configuration_line("LOADSCREEN"),
                         "LOADSCREEN " + quoted(LOADSCREEN) + " has no \"#\": the intro shows no picture");
    }
  } else {
    for (const char* digit : {"0", "1"}) {
      check_picture("LOADSCREEN", LOADSCREEN.substr(0, hash) + digit + LOADSCREEN.substr(hash + 1),
                    std::string("the intro is black when it picks ") + digit);
    }
  }
  if (!LOADINTROSCREEN.empty()) check_picture("LOADINTROSCREEN", LOADINTROSCREEN, "the title screen is black");
  if (music_track_named(TITLE_MUSIC) < 0) {
    diagnostic_warning(configuration_path, configuration_line("INGAMEMUSIC"),
                       "INGAMEMUSIC holds no " + std::string(TITLE_MUSIC) + ": the title screen is silent");
  }
}

}  // namespace tessera
