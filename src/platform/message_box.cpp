// Modal message boxes: SDL's where a display exists, the default answer elsewhere, so that a
// headless run never blocks. Standard error gets every text either way: a box can fail to show
// (SDL needs a desktop helper for it on some systems), and a player may not be at the screen.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <cstdio>
#if TESSERA_WEB
#include <emscripten.h>
#endif

namespace tessera {

std::vector<std::string> message_log;
std::optional<int32_t> message_answer;
bool message_display_assumed = false;

namespace {

// The button chosen; 0 when the box could not be shown.
int32_t show_box(const std::string& title, const std::string& text, int32_t buttons) {
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
  if (SDL_ShowMessageBox(&data, &chosen) != 0) {
    std::fprintf(stderr, "(the message box could not be shown: %s)\n", SDL_GetError());
    std::fflush(stderr);
    return 0;
  }
  return chosen;
}

}  // namespace

int32_t message_box(const std::string& title, const std::string& text, int32_t buttons) {
  message_log.push_back(title + "\n" + text);
  std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
  if (message_answer) return *message_answer;
  const int32_t fallback = buttons == MESSAGE_YES_NO ? ANSWER_YES : ANSWER_OK;
#if TESSERA_WEB
  // A page cannot wait for an answer inside a frame: the text goes onto the page (web/shell.html)
  // and the default answers.
  EM_ASM({ if (Module.showMessage) Module.showMessage(UTF8ToString($0), UTF8ToString($1)); }, title.c_str(),
         text.c_str());
  return fallback;
#endif
  if (!message_display_assumed && !platform_display_exists()) return fallback;
  const int32_t chosen = show_box(title, text, buttons);
  // Closed without a button, or not shown at all: the default.
  return chosen > 0 ? chosen : fallback;
}

}  // namespace tessera
