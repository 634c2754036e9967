#include "presentation/overlays.h"

#include "core/config.h"
#include "core/numeric.h"
#include "core/player_settings.h"
#include "core/runtime.h"
#include "model/vocabulary.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "presentation/screen_text.h"

namespace tessera {

int32_t grab_sprite = 0;
int32_t grab_sprite3d = 0;
int32_t hud_scroll_offset = 0;

// Short enough to pass the screen whole before it starts again (after 2 W pixels), at any width.
// It names the bomb's key as the player bound it (SPACE by default).
std::string hud_credit_line() {
  return "  PAINT 2X2 BLOCKS BLUE TO FIX TILES - ONE-WIDE LANES NEVER FIX * " + bound_key_name(Control::bomb) +
         ": BOMB|";
}

// The texts of the HUD, the banner and the game over, shared with overlay_texts so that the
// font check sees exactly what is drawn. A number goes between a label and TEXT_END.
const char* const TEXT_END = "|";
const char* const SCORE_LABEL = " SCORE ";
const char* const TIME_LABEL = " TIME ";
const char* const EMPTY_BOMB_SLOTS = " \xF6\xF6\xF6 |";
const char* const TILES_LABEL = " TILES LEFT ";
const char* const MAP_LABEL = " MAP ";
const char* const PLAYER_LABEL = "  PLAYER:";
const char* const BANNER_LABEL = "  MAP ";
const char* const BANNER_END = "| ";
const char* const GAME_OVER_TEXT = "  GAME OVER |";

namespace {

constexpr int32_t BLACK = rgb(0, 0, 0);
constexpr int32_t MAGENTA = rgb(255, 0, 255);
constexpr float BIG_TEXT_SCALE = 3.0f;
constexpr int32_t BIG_TEXT_ALPHA = 240;
constexpr float SPACING_GROWTH = 0.05f;
constexpr float SWEEP_STEP = 20.0f;  // the animations last until this much per frame covers W

void grab_release() {
  if (sprite3d_exists(grab_sprite3d) != 0) sprite3d_free(grab_sprite3d);
  if (sprite_exists(grab_sprite) != 0) sprite_free(grab_sprite);
  grab_sprite3d = 0;
  grab_sprite = 0;
}

void grab_world_image() {
  const int32_t width = round_to_int(screen_width * FULLSCREENZOOM - 1.0f);
  const int32_t height = round_to_int(screen_height * FULLSCREENZOOM - 1.0f);
  grab_sprite = sprite_grab(-1, 1, 1, width, height);
  grab_sprite3d = sprite3d_create(-1, grab_sprite);
}

void draw_grab() {
  if (grab_sprite3d != 0) sprite3d_draw(grab_sprite3d, 0, 0, 255);
}

// The banner and the game-over screen share one animation: a big text that drifts left while its
// letter spacing grows, by SPACING_GROWTH a frame, for as many frames as SWEEP_STEP takes to cover W.
void draw_sweep_text(const std::string& text, float left, int32_t frame) {
  float spacing = 0.0f;
  for (int32_t n = 0; n < frame; ++n) spacing += SPACING_GROWTH;
  draw_screen_text(text, screen_width * (left - spacing / 10.0f), screen_height * 0.3f, BIG_TEXT_SCALE, 0.0f,
                   BIG_TEXT_ALPHA, spacing);
}

void draw_hud_text(const std::string& text, float fx, float fy, float scale, int32_t alpha) {
  draw_screen_text(text, screen_width * fx, screen_height * fy, scale, 0.0f, alpha, 1.0f);
}

}  // namespace

int32_t sweep_frames() {
  int32_t frames = 0;
  for (float b = 1.0f; b < screen_width; b += SWEEP_STEP) ++frames;
  return frames;
}

void draw_map_banner(int32_t frame) {
  draw_sweep_text(BANNER_LABEL + decimal(map_number) + BANNER_END, 0.4f, frame);
}

void fullscreen_zoom_pass(uint8_t smooth) {
  sprite3d_quality(QUALITY_NEAREST);
  sprite3d_blend_mode(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA);
  grab_release();
  sprite_transparent_color(-1, MAGENTA);
  // At zoom 1 without smoothing there is nothing to magnify: the world stays as drawn, and the
  // frame is spared two whole-screen copies.
  if (FULLSCREENZOOM != 1.0f || smooth != 0) {
    sprite3d_quality(smooth);
    grab_world_image();
    if (grab_sprite3d != 0) {
      sprite3d_zoom(grab_sprite3d, round_to_int(screen_width), round_to_int(screen_height));
    }
    screen_clear(BLACK);
    sprite3d_blend_mode(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA);
    draw_grab();
  }
  sprite3d_quality(QUALITY_NEAREST);
}

void hud_step() {
  if (score < score_target) ++score;
  if (tiles_left < 1) tiles_left = 0;
  hud_scroll_offset += 2;
  if (hud_scroll_offset > round_to_int(2.0f * screen_width)) hud_scroll_offset = 0;
}

void draw_hud() {
  draw_hud_text(SCORE_LABEL + decimal(score) + TEXT_END, 0.7f, 0.05f, 1.0f, 240);
  draw_hud_text(TIME_LABEL + decimal(time_left) + TEXT_END, 0.06f, 0.05f, 1.0f, 240);
  draw_hud_text(EMPTY_BOMB_SLOTS, 0.4f, 0.01f, 1.0f, 200);
  draw_hud_text(" " + bombs + TEXT_END, 0.4f, 0.01f, 1.0f, 240);
  draw_hud_text(TILES_LABEL + decimal(tiles_left) + TEXT_END, 0.4f, 0.1f, 1.0f, 240);
  draw_hud_text(MAP_LABEL + decimal(map_number) + TEXT_END, 0.7f, 0.1f, 1.0f, 240);
  draw_hud_text(PLAYER_LABEL + player_name + TEXT_END, 0.7f, 0.15f, 0.5f, 240);
  draw_screen_text(hud_credit_line(), screen_width - static_cast<float>(hud_scroll_offset),
                   screen_height * 0.9f, 0.8f, 0.0f, 200, 1.0f);
}

std::vector<std::string> overlay_texts() {
  // Numbers as every digit and a minus sign (a definition may give negative scores).
  const std::string number = TEXT_NUMBER;
  const std::string bombs_held = " " + std::string(BOMBS_HELD_MAX, BOMB_SIGN) + TEXT_END;
  return {SCORE_LABEL + number + TEXT_END, TIME_LABEL + number + TEXT_END, EMPTY_BOMB_SLOTS, bombs_held,
          TILES_LABEL + number + TEXT_END, MAP_LABEL + number + TEXT_END, PLAYER_LABEL + std::string(TEXT_END),
          hud_credit_line(), BANNER_LABEL + number + BANNER_END, GAME_OVER_TEXT};
}

void draw_game_over(int32_t frame) { draw_sweep_text(GAME_OVER_TEXT, 0.3f, frame); }

}  // namespace tessera
