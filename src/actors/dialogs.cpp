#include "actors/dialogs.h"

#include <string>

#include "actors/player_input.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "presentation/screen_text.h"

namespace tessera {

namespace {

bool pause_open = false;
bool quit_open = false;

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
void show_dialog_frame(const DialogLine (&lines)[N]) {
  sprite3d_begin();
  for (const DialogLine& line : lines) {
    draw_screen_text(line.text, screen_width * line.x, screen_height * line.y, 1.0f, 0.0f, 255, 1.0f);
  }
  sprite3d_end();
  screen_flip();
}

// Clears the open flag however the dialog is left.
struct OpenFlag {
  bool& flag;
  explicit OpenFlag(bool& f) : flag(f) { flag = true; }
  ~OpenFlag() { flag = false; }
  OpenFlag(const OpenFlag&) = delete;
  OpenFlag& operator=(const OpenFlag&) = delete;
};

}  // namespace

void pause_dialog() {
  if (pause_open) return;
  const OpenFlag open(pause_open);
  for (;;) {
    show_dialog_frame(PAUSE_LINES);
    read_play_input();
    if (action_code == ACTION_B) {
      current_map = -1;
      score = level_start_score;
      return;
    }
    if (action_code == ACTION_X) return;
  }
}

void quit_dialog() {
  if (quit_open) return;
  const OpenFlag open(quit_open);
  for (;;) {
    show_dialog_frame(QUIT_LINES);
    read_play_input();
    if (action_code == ACTION_B) {
      game_mode = GAME_MODE_GAME_OVER;
      quit_requested = 1;
      return;
    }
    if (action_code == ACTION_X) {
      // The Escape that opened this dialog armed the bomb; a spent latch alone would still let a
      // fire control held on leaving detonate at once.
      fire_latch = FIRE_SPENT;
      bomb_armed = 0;
      return;
    }
  }
}

std::vector<std::string> dialog_texts() {
  std::vector<std::string> texts;
  for (const DialogLine& line : QUIT_LINES) texts.emplace_back(line.text);
  for (const DialogLine& line : PAUSE_LINES) texts.emplace_back(line.text);
  return texts;
}

}  // namespace tessera
