#include "presentation/font.h"

#include <algorithm>
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

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A text as the player sees it: the pen controls (the end marker, the line break) and the blanks
// around them are not seen; what a control separates shows as words apart. A number shows as
// "<number>", not as every character it may have.
std::string as_shown(std::string text) {
  const std::string number = TEXT_NUMBER;
  for (size_t at = text.find(number); at != std::string::npos; at = text.find(number, at)) {
    text.replace(at, number.size(), "<number>");
  }
  std::string shown;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("|\\", start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = trimmed(text.substr(start, end - start));
    if (!piece.empty()) shown += (shown.empty() ? "" : " ") + piece;
    start = end + 1;
  }
  return shown;
}

// The texts the game draws, each once: as drawn (where characters are looked for) and as seen.
struct ScreenText {
  std::string drawn;
  std::string shown;
};
std::vector<ScreenText> screen_texts;

std::vector<std::string> texts_showing(const std::vector<unsigned char>& codes) {
  std::vector<std::string> found;
  for (const ScreenText& text : screen_texts) {
    const bool shows = std::any_of(codes.begin(), codes.end(), [&text](unsigned char code) {
      return text.drawn.find(static_cast<char>(code)) != std::string::npos;
    });
    if (shows) found.push_back(text.shown);
  }
  return found;
}

// ", and 3 screen texts use it, such as "..."": how much of the screen the problem touches.
std::string use_in_texts(const std::vector<unsigned char>& codes) {
  const std::vector<std::string> texts = texts_showing(codes);
  if (texts.empty()) return "";
  const char* pronoun = codes.size() > 1 ? "them" : "it";
  if (texts.size() == 1) return std::string(", and 1 screen text uses ") + pronoun + ": " + quoted(texts.front());
  return ", and " + decimal(static_cast<int32_t>(texts.size())) + " screen texts use " + pronoun + ", such as " +
         quoted(texts.front());
}

// "character "S"", or "characters "S" and "\xDF"" for characters that share one image.
std::string characters_named(const std::vector<unsigned char>& codes) {
  std::string named = codes.size() > 1 ? "characters " : "character ";
  for (size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) named += i + 1 == codes.size() ? " and " : ", ";
    named += quoted(std::string(1, static_cast<char>(codes[i])));
  }
  return named;
}

// The characters listed that need a glyph, grouped by the image they load (in the order of the
// list), so that characters sharing an image get one line about it.
std::vector<std::vector<unsigned char>> by_image(const std::vector<unsigned char>& listed) {
  std::vector<std::vector<unsigned char>> groups;
  for (const unsigned char code : listed) {
    if (!needs_glyph(code)) continue;
    const auto same = std::find_if(groups.begin(), groups.end(), [code](const std::vector<unsigned char>& group) {
      return glyph_image_name(group.front()) == glyph_image_name(code);
    });
    if (same == groups.end()) {
      groups.push_back({code});
    } else {
      same->push_back(code);
    }
  }
  return groups;
}

void check_listed_image(const std::vector<unsigned char>& codes) {
  const std::string path = glyph_path(codes.front());
  std::string found;
  int32_t type = 0;
  const int32_t match = path_examine(path, found, type);
  const std::string used = use_in_texts(codes);
  const Severity severity = used.empty() ? Severity::warning : Severity::error;
  const std::string characters = characters_named(codes);
  const char* its = codes.size() > 1 ? ": their image " : ": its image ";
  // A byte such as NUL cuts the path short, down to the font directory itself.
  if (match == PATH_MISSING || type != ENTRY_FILE) {
    diagnostic_report(severity, FONTSYSTEM, DEFINITION_LINE,
                      characters + its + quoted(diagnostic_path(path)) + " is missing" + used);
  } else if (glyphs[codes.front()].sprite3d == 0) {
    diagnostic_report(severity, path, 0,
                      "does not decode as an image: the " + characters + (codes.size() > 1 ? " are" : " is") +
                          " not drawn" + used);
  } else if (match == PATH_WITHOUT_CASE) {
    diagnostic_warning(FONTSYSTEM, DEFINITION_LINE,
                       characters + its + quoted(diagnostic_path(path)) + " is found only as " +
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
                       "character " + quoted(std::string(1, c)) + " is not listed" + use_in_texts({code}) +
                           ": it is missing on screen");
    }
  }
  // A space moves the pen by the width of "I"; without that glyph words run together.
  // (When a text shows "I" itself, its absence is reported above.)
  if (glyphs['I'].sprite3d == 0 && texts_showing({'I'}).empty() && !texts_showing({' '}).empty()) {
    diagnostic_error(FONTSYSTEM, DEFINITION_LINE, "there is no glyph for \"I\", whose width every space takes: words run together");
  }
}

}  // namespace

void check_font(const std::vector<std::string>& texts_drawn) {
  screen_texts.clear();
  for (const std::string& text : texts_drawn) {
    const std::string shown = as_shown(text);
    const bool known = std::any_of(screen_texts.begin(), screen_texts.end(),
                                   [&shown](const ScreenText& seen) { return seen.shown == shown; });
    if (!shown.empty() && !known) screen_texts.push_back({text, shown});
  }
  if (!check_configured_path("FONTSYSTEM", FONTSYSTEM, ENTRY_FILE, Severity::error, "no text shows")) return;
  if (!check_configured_path("FONTPATH", FONTPATH, ENTRY_DIRECTORY, Severity::error, "no text shows")) return;
  const int32_t file = file_open_read(-1, FONTSYSTEM);
  const std::string line = file_read_line(file);
  file_close(file);
  std::set<unsigned char> listed;
  std::vector<unsigned char> in_order;
  for (const char c : line) {
    const auto code = static_cast<unsigned char>(c);
    if (!listed.insert(code).second) {
      diagnostic_warning(FONTSYSTEM, DEFINITION_LINE,
                         "character " + quoted(std::string(1, c)) + " is listed twice: its image is loaded twice");
      continue;
    }
    in_order.push_back(code);
  }
  for (const std::vector<unsigned char>& codes : by_image(in_order)) check_listed_image(codes);
  check_drawn_characters(listed, texts_drawn);
}

}  // namespace tessera
