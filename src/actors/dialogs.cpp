#include "actors/dialogs.h"

#include <string>

#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/screen_text.h"

namespace tessera {

namespace {

struct DialogLine {
  const char* text;
  float x;  // fractions of the screen size
  float y;
};

constexpr DialogLine QUIT_LINES[] = {
    {"  QUIT GAME ? |", 0.3f, 0.2f},
    {"  PRESS B TO QUIT     |", 0.3f, 0.4f},
    {"  PRESS X TO CONTINUE |", 0.3f, 0.5f},
};

constexpr DialogLine PAUSE_LINES[] = {
    {"  GAME PAUSED |", 0.4f, 0.2f},
    {"  PRESS X TO CONTINUE |", 0.3f, 0.3f},
    {"  PRESS B TO RESTART  |", 0.3f, 0.4f},
};

template <size_t N>
void draw_dialog(const DialogLine (&lines)[N]) {
  for (const DialogLine& line : lines) {
    draw_screen_text(line.text, screen_width * line.x, screen_height * line.y, 1.0f, 0.0f, 255, 1.0f);
  }
}

int32_t answer_of(const Controls& controls) {
  return controls.action == ACTION_B || controls.action == ACTION_X ? controls.action : ACTION_NONE;
}

}  // namespace

int32_t pause_dialog(const Controls& controls) {
  const int32_t answer = answer_of(controls);
  if (answer == ACTION_B) {
    current_map = -1;
    // Both: a score that counts up towards the old target would hand the map's points back.
    score = level_start_score;
    score_target = level_start_target;
  }
  return answer;
}

int32_t quit_dialog(const Controls& controls) {
  const int32_t answer = answer_of(controls);
  if (answer == ACTION_B) {
    game_mode = GAME_MODE_GAME_OVER;
    quit_requested = 1;
  } else if (answer == ACTION_X) {
    // The Escape that opened this dialog armed the bomb; a spent latch alone would still let a
    // fire control held on leaving detonate at once.
    fire_latch = FIRE_SPENT;
    bomb_armed = 0;
  }
  return answer;
}

void draw_pause_dialog() { draw_dialog(PAUSE_LINES); }
void draw_quit_dialog() { draw_dialog(QUIT_LINES); }

std::vector<std::string> dialog_texts() {
  std::vector<std::string> texts;
  for (const DialogLine& line : QUIT_LINES) texts.emplace_back(line.text);
  for (const DialogLine& line : PAUSE_LINES) texts.emplace_back(line.text);
  return texts;
}

}  // namespace tessera
