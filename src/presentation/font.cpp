#include "presentation/font.h"

#include <set>

#include "core/config.h"
#include "core/diagnostics.h"
#include "core/numeric.h"
#include "platform/platform.h"

namespace tessera {

std::array<Glyph, GLYPH_COUNT> glyphs{};
float font_zoom = 1.0f;

namespace {

void glyph_release(Glyph& glyph) {
  if (sprite3d_exists(glyph.sprite3d) != 0) sprite3d_free(glyph.sprite3d);
  if (sprite_exists(glyph.sprite) != 0) sprite_free(glyph.sprite);
  glyph = Glyph{};
}

void glyph_load(unsigned char code) {
  Glyph& glyph = glyphs[code];
  if (sprite_exists(glyph.sprite) != 0) sprite_free(glyph.sprite);
  glyph.sprite = 0;
  // Glyph images are drawn on white; the key makes the background vanish.
  sprite_transparent_color(-1, rgb(255, 255, 255));
  glyph.sprite = sprite_load(-1, FONTPATH + "\\" + glyph_image_name(code) + ".png");
  if (glyph.sprite == 0) return;
  glyph.height = static_cast<float>(sprite_height(glyph.sprite)) * font_zoom;
  glyph.width = static_cast<float>(sprite_width(glyph.sprite)) * font_zoom;
  if (sprite3d_exists(glyph.sprite3d) != 0) sprite3d_free(glyph.sprite3d);
  glyph.sprite3d = sprite3d_create(-1, glyph.sprite);
  if (glyph.sprite3d != 0) {
    sprite3d_zoom(glyph.sprite3d, round_to_int(glyph.width), round_to_int(glyph.height));
  }
}

}  // namespace

void font_zoom_set(float screen_width) {
  font_zoom = RESBASEW > 0 ? screen_width / static_cast<float>(RESBASEW) : 1.0f;
}

std::string glyph_image_name(unsigned char code) {
  switch (code) {
    case '.': return "POINT";
    case '?': return "ASK";
    case '[': return "FLOPPY";
    case ']': return "FLOPPYB";
    case '-': return "MINUS";
    case '"': return "FUEL";
    case '(': return "LEFT";
    case ')': return "RIGHT";
    case ':': return "POINTPOINT";
    case '*': return "STERN";
    case '+': return "PLUS";
    case '&': return "BOMB";
    case 0xF6: case 0xD6: return "NOBOMB";
    case 0xC4: case 0xE4: return "HERZ";
    case '@': return "LIFE";
    case 0xDC: return "_u";
    case 0xDF: return "S";
    default: break;
  }
  if (code >= 'a' && code <= 'z') return std::string("_") + static_cast<char>(code);
  return std::string(1, static_cast<char>(code));
}

void font_init() {
  font_free();
  font_load(FONTSYSTEM);
}

void font_free() {
  for (Glyph& glyph : glyphs) glyph_release(glyph);
}

void font_load(const std::string& path) {
  const int32_t file = file_open_read(-1, path);
  if (file == 0) return;
  const std::string line = file_read_line(file);
  // A character listed again would only load the same image again: each is loaded once, so a
  // long line costs at most GLYPH_COUNT loads.
  std::array<bool, GLYPH_COUNT> loaded{};
  for (const char c : line) {
    const auto code = static_cast<unsigned char>(c);
    if (loaded[code]) continue;
    loaded[code] = true;
    window_events_when_due();
    glyph_load(code);
  }
  file_close(file);
}

namespace {

constexpr int32_t DEFINITION_LINE = 1;

std::string glyph_path(unsigned char code) { return FONTPATH + "\\" + glyph_image_name(code) + ".png"; }

// Pen controls and the space take no glyph of their own.
bool needs_glyph(unsigned char code) { return code != '|' && code != '\\' && code != ' '; }

// The first text of texts that shows the character, for the message.
std::string shown_in(unsigned char code, const std::vector<std::string>& texts) {
  for (const std::string& text : texts) {
    if (text.find(static_cast<char>(code)) != std::string::npos) return text;
  }
  return "";
}

void check_listed_glyph(unsigned char code, const std::vector<std::string>& texts) {
  if (!needs_glyph(code)) return;
  const std::string path = glyph_path(code);
  std::string found;
  int32_t type = 0;
  const int32_t match = path_examine(path, found, type);
  const std::string shown = shown_in(code, texts);
  const Severity severity = shown.empty() ? Severity::warning : Severity::error;
  const std::string character = "character " + quoted(std::string(1, static_cast<char>(code)));
  const std::string drawn = shown.empty() ? "" : ", and the game draws it in " + quoted(shown);
  // A byte such as NUL cuts the path short, down to the font directory itself.
  if (match == PATH_MISSING || type != ENTRY_FILE) {
    diagnostic_report(severity, FONTSYSTEM, DEFINITION_LINE,
                      character + ": its image " + quoted(diagnostic_path(path)) + " is missing" + drawn);
  } else if (glyphs[code].sprite3d == 0) {
    diagnostic_report(severity, path, 0, "does not decode as an image: the " + character + " is not drawn" + drawn);
  } else if (match == PATH_WITHOUT_CASE) {
    diagnostic_warning(FONTSYSTEM, DEFINITION_LINE,
                       character + ": its image " + quoted(diagnostic_path(path)) + " is found only as " +
                           quoted(diagnostic_path(found)) + " (another letter case: the game finds it, other programs may not)");
  }
}

void check_drawn_characters(const std::set<unsigned char>& listed, const std::vector<std::string>& texts) {
  std::set<unsigned char> reported;
  for (const std::string& text : texts) {
    for (const char c : text) {
      const auto code = static_cast<unsigned char>(c);
      if (!needs_glyph(code) || listed.count(code) != 0 || !reported.insert(code).second) continue;
      diagnostic_error(FONTSYSTEM, DEFINITION_LINE,
                       "character " + quoted(std::string(1, c)) + " is not listed, and the game draws it in " +
                           quoted(text) + ": it is missing on screen");
    }
  }
  // A space moves the pen by the width of "I"; without that glyph words run together.
  // (When a text shows "I" itself, its absence is reported above.)
  if (glyphs['I'].sprite3d == 0 && shown_in('I', texts).empty() && !shown_in(' ', texts).empty()) {
    diagnostic_error(FONTSYSTEM, DEFINITION_LINE, "there is no glyph for \"I\", whose width every space takes: words run together");
  }
}

}  // namespace

void check_font(const std::vector<std::string>& texts_drawn) {
  if (!check_configured_path("FONTSYSTEM", FONTSYSTEM, ENTRY_FILE, Severity::error, "no text shows")) return;
  if (!check_configured_path("FONTPATH", FONTPATH, ENTRY_DIRECTORY, Severity::error, "no text shows")) return;
  const int32_t file = file_open_read(-1, FONTSYSTEM);
  const std::string line = file_read_line(file);
  file_close(file);
  std::set<unsigned char> listed;
  for (const char c : line) {
    const auto code = static_cast<unsigned char>(c);
    if (!listed.insert(code).second) {
      diagnostic_warning(FONTSYSTEM, DEFINITION_LINE,
                         "character " + quoted(std::string(1, c)) + " is listed twice: its image is loaded twice");
      continue;
    }
    check_listed_glyph(code, texts_drawn);
  }
  check_drawn_characters(listed, texts_drawn);
}

}  // namespace tessera
