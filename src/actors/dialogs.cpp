#include "actors/dialogs.h"

#include <string>

#include "core/player_settings.h"
#include "core/runtime.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/screen_text.h"

namespace tessera {

namespace {

struct DialogLine {
  std::string text;
  float x;  // fractions of the screen size
  float y;
};

// The key (or, with a pad, the button) of the answer, named in a line as wide as the default's.
std::string answer_line(Control answer, const std::string& rest, size_t width) {
  const std::string name = input_device == INPUT_JOYSTICK ? bound_button_name(answer) : bound_key_name(answer);
  std::string line = "  PRESS " + name + " TO " + rest + " ";
  if (line.size() < width) line.resize(width, ' ');
  return line + "|";
}

std::vector<DialogLine> quit_lines() {
  return {
      {"  QUIT GAME ? |", 0.3f, 0.2f},
      {answer_line(Control::dialog_restart_quit, "QUIT", 22), 0.3f, 0.4f},
      {answer_line(Control::dialog_continue, "CONTINUE", 22), 0.3f, 0.5f},
  };
}

std::vector<DialogLine> pause_lines() {
  return {
      {"  GAME PAUSED |", 0.4f, 0.2f},
      {answer_line(Control::dialog_continue, "CONTINUE", 22), 0.3f, 0.3f},
      {answer_line(Control::dialog_restart_quit, "RESTART", 22), 0.3f, 0.4f},
  };
}

void draw_dialog(const std::vector<DialogLine>& lines) {
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

void draw_pause_dialog() { draw_dialog(pause_lines()); }
void draw_quit_dialog() { draw_dialog(quit_lines()); }

std::vector<std::string> dialog_texts() {
  std::vector<std::string> texts;
  for (const DialogLine& line : quit_lines()) texts.push_back(line.text);
  for (const DialogLine& line : pause_lines()) texts.push_back(line.text);
  return texts;
}

}  // namespace tessera
