// Modal message boxes: SDL's where a display exists, standard error and the default answer
// elsewhere, so that a headless run never blocks.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <cstdio>

namespace tessera {

std::vector<std::string> message_log;
std::optional<int32_t> message_answer;

namespace {

int32_t answer_box(const std::string& title, const std::string& text, int32_t buttons) {
  const SDL_MessageBoxButtonData ok_button = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ANSWER_OK, "OK"};
  const SDL_MessageBoxButtonData yes_no[2] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ANSWER_YES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ANSWER_NO, "No"},
  };
  const bool question = buttons == MESSAGE_YES_NO;
  SDL_MessageBoxData data {};
  data.flags = SDL_MESSAGEBOX_INFORMATION;
  data.window = platform_window;
  data.title = title.c_str();
  data.message = text.c_str();
  data.numbuttons = question ? 2 : 1;
  data.buttons = question ? yes_no : &ok_button;
  int chosen = 0;
  if (SDL_ShowMessageBox(&data, &chosen) != 0 || chosen <= 0) return question ? ANSWER_YES : ANSWER_OK;
  return chosen;
}

}  // namespace

int32_t message_box(const std::string& title, const std::string& text, int32_t buttons) {
  message_log.push_back(title + "\n" + text);
  if (!message_answer && platform_display_exists()) return answer_box(title, text, buttons);
  std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
  if (message_answer) return *message_answer;
  return buttons == MESSAGE_YES_NO ? ANSWER_YES : ANSWER_OK;
}

}  // namespace tessera
