// The player's settings file: its text both ways, what a hand-edited file can get wrong, the swap
// that keeps every key when one is bound again, and the file itself (missing, written, reset).
#include "core/player_settings.h"

#include <cstdlib>
#include <filesystem>

#include "platform/platform_fixture.h"

namespace {

// The settings directory of this test alone.
struct ConfigHome {
  testfiles::TempDir dir;
  std::string old;
  ConfigHome() {
    old = std::getenv("XDG_CONFIG_HOME") != nullptr ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", dir.path.c_str(), 1);
  }
  ~ConfigHome() { setenv("XDG_CONFIG_HOME", old.c_str(), 1); }
  std::string file() const { return dir.path + "zorvane/settings.ini"; }
};

int32_t count_lines_starting(const std::string& text, const std::string& start) {
  int32_t n = 0;
  for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
    if (text.compare(at, start.size(), start) == 0) ++n;
    if (text.find('\n', at) == std::string::npos) break;
  }
  return n;
}

// The defaults are today's fixed controls; every key of the file has a comment line before it, and
// reading what was written gives the same settings back, unknown lines included.
TEST(SettingsFile, RoundTrips) {
  const PlayerSettings defaults;
  EXPECT_EQ(defaults[Control::bomb].keys, (std::array<int32_t, 2>{KEY_SPACE, KEY_A}));
  EXPECT_EQ(defaults[Control::dialog_continue].keys, (std::array<int32_t, 2>{KEY_X, KEY_C}));
  EXPECT_EQ(std::make_pair(defaults[Control::start].keys[0], defaults[Control::pause].keys[0]), std::make_pair(KEY_P, KEY_P));
  const std::string text = settings_text(defaults);
  EXPECT_EQ(count_lines_starting(text, "#"), count_lines_starting(text, "") - count_lines_starting(text, "#") + 2);
  const SettingsRead back = parse_settings(text, "s.ini");
  EXPECT_TRUE(back.messages.empty());
  EXPECT_EQ(back.settings, defaults);

  PlayerSettings changed;
  changed[Control::up].keys = {key_code("w"), KEY_UP};
  changed[Control::bomb] = {{KEY_ENTER, 0}, 5};
  changed.music_volume = 0;
  changed.effects_volume = 35;
  changed.fullscreen = false;
  changed.muted = true;
  changed.unknown = {{"colour_blind", "yes"}};
  const SettingsRead again = parse_settings(settings_text(changed), "s.ini");
  EXPECT_EQ(again.settings, changed);
  ASSERT_EQ(again.messages.size(), 1u);  // the unknown key is named every time it is read
  EXPECT_NE(settings_text(changed).find("up = W, UP\n"), std::string::npos);
  EXPECT_NE(settings_text(changed).find("bomb_pad = LB\n"), std::string::npos);
}

// A bad value keeps its default and is named with its line; an unknown key is kept and named; a
// key given to two controls of a group stays with the first. Letter case and spaces do not matter.
TEST(SettingsFile, BadAndUnknownValues) {
  const SettingsRead read = parse_settings(
      "# a comment\r\n"
      "music_volume = 101\r\n"
      "effects_volume=  40 \r\n"
      "fullscreen = maybe\r\n"
      "bomb = enter, nosuchkey\r\n"
      "pause = f11\r\n"
      "quit = q\r\n"
      "quit_pad = Z\r\n"
      "next_map = q\r\n"
      "start = q\r\n"
      "wobble = 3\r\n"
      "just words\r\n",
      "s.ini");
  const PlayerSettings defaults;
  EXPECT_EQ(read.settings.music_volume, 100);
  EXPECT_EQ(read.settings.effects_volume, 40);
  EXPECT_TRUE(read.settings.fullscreen);
  EXPECT_EQ(read.settings[Control::bomb], defaults[Control::bomb]);
  EXPECT_EQ(read.settings[Control::pause], defaults[Control::pause]);  // F11 is the game's own
  EXPECT_EQ(read.settings[Control::quit].keys[0], key_code("Q"));
  EXPECT_EQ(read.settings[Control::quit].button, defaults[Control::quit].button);
  EXPECT_EQ(read.settings[Control::next_map].keys[0], 0);               // Q stays with quit
  EXPECT_EQ(read.settings[Control::start].keys[0], key_code("Q"));      // another group: allowed
  EXPECT_EQ(read.settings.unknown, (std::vector<std::pair<std::string, std::string>>{{"wobble", "3"}}));
  const std::vector<std::string> expected = {
      "s.ini:2: bad value \"101\" for music_volume (0 to 100): 100 stays",
      "s.ini:4: bad value \"maybe\" for fullscreen (on or off): on stays",
      "s.ini:5: bad value \"enter, nosuchkey\" for bomb (at most two key names with a comma between, or -; F11, M "
      "and Alt are the game's own): its default stays",
      "s.ini:6: bad value \"f11\" for pause (at most two key names with a comma between, or -; F11, M and Alt are "
      "the game's own): its default stays",
      "s.ini:8: bad value \"Z\" for quit_pad (X, A, B, Y, LB, RB, LT, RT, BACK, START or -): its default stays",
      "s.ini:11: unknown key \"wobble\": kept in the file, not used",
      "s.ini:12: not a \"key = value\" line: \"just words\": ignored",
      "s.ini: Q is given to both quit and next_map: it stays with quit",
  };
  EXPECT_EQ(read.messages, expected);
}

// Binding a key another control has swaps the two: no key is lost. A control's only key is not
// taken into an empty slot, and the game's own keys are refused.
TEST(SettingsFile, BindingAKeyBoundElsewhereSwapsIt) {
  PlayerSettings s;
  BindResult r = bind_key(s, Control::bomb, 0, KEY_P);
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(r.message, "P SWAPPED: PAUSE NOW HAS SPACE");
  EXPECT_EQ(s[Control::bomb].keys, (std::array<int32_t, 2>{KEY_P, KEY_A}));
  EXPECT_EQ(s[Control::pause].keys, (std::array<int32_t, 2>{KEY_SPACE, 0}));
  EXPECT_EQ(s[Control::start].keys[0], KEY_P);  // the title's start is another group

  r = bind_key(s, Control::quit, 1, KEY_SPACE);  // pause's only key, into an empty slot
  EXPECT_FALSE(r.changed);
  EXPECT_EQ(r.message, "SPACE IS THE ONLY KEY OF PAUSE");
  r = bind_key(s, Control::quit, 1, KEY_A);  // one of bomb's two: taken
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(s[Control::bomb].keys, (std::array<int32_t, 2>{KEY_P, 0}));
  EXPECT_EQ(s[Control::quit].keys, (std::array<int32_t, 2>{KEY_ESCAPE, KEY_A}));
  r = bind_key(s, Control::quit, 0, KEY_A);  // its own other key: the slots change places
  EXPECT_EQ(s[Control::quit].keys, (std::array<int32_t, 2>{KEY_A, KEY_ESCAPE}));
  EXPECT_FALSE(bind_key(s, Control::up, 0, KEY_M).changed);
  EXPECT_FALSE(bind_key(s, Control::up, 0, KEY_F11).changed);

  r = bind_button(s, Control::bomb, 10);  // START, pause's button
  EXPECT_EQ(std::make_pair(s[Control::bomb].button, s[Control::pause].button), std::make_pair(10, 2));
  EXPECT_EQ(r.message, "START SWAPPED: PAUSE NOW HAS A");
  EXPECT_FALSE(bind_button(s, Control::up, 3).changed);  // directions take the stick
}

// No file: the defaults, and nothing said. A written file is read back; --reset-settings removes it
// and says what it removed.
TEST(SettingsFile, MissingWrittenAndReset) {
  ConfigHome home;
  player_settings.music_volume = 3;
  load_player_settings();
  EXPECT_EQ(player_settings, PlayerSettings());
  EXPECT_EQ(settings_path(), home.file());
  player_settings.music_volume = 30;
  ASSERT_TRUE(save_player_settings());
  EXPECT_NE(testfiles::read_all(home.file()).find("music_volume = 30\n"), std::string::npos);
  player_settings = PlayerSettings();
  load_player_settings();
  EXPECT_EQ(player_settings.music_volume, 30);
  std::string said;
  EXPECT_TRUE(reset_settings_file(said));
  EXPECT_EQ(said, "zorvane: removed " + home.file() + ": the next game starts with the default settings\n");
  EXPECT_FALSE(std::filesystem::exists(home.file()));
  EXPECT_TRUE(reset_settings_file(said));
  EXPECT_EQ(said, "zorvane: there was no settings file to remove (" + home.file() + ")\n");

  // What does not read as settings (not text, or a directory) is moved aside, never overwritten.
  for (const bool directory : {false, true}) {
    std::filesystem::remove_all(home.dir.path + "zorvane");
    if (directory) {
      std::filesystem::create_directories(home.file());
    } else {
      testfiles::write_text(home.file(), std::string("music_volume = 5\n\0\x01", 19));
    }
    load_player_settings();
    EXPECT_EQ(player_settings, PlayerSettings()) << directory;
    EXPECT_FALSE(std::filesystem::exists(home.file())) << directory;
    int32_t aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home.dir.path + "zorvane"))
      aside += entry.path().filename().string().rfind("settings.ini.unreadable-", 0) == 0 ? 1 : 0;
    EXPECT_EQ(aside, 1) << directory;
  }
  player_settings = PlayerSettings();
}

}  // namespace
