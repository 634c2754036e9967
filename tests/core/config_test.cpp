// The configuration file read from real files: pairing, key matching, conversions and clamps.
#include "core/config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/test_files.h"

namespace {

using namespace tessera;

// Writes DATA/ini.txt under a fresh start directory and reads it as the game does.
struct ConfiguredGame {
  testfiles::TempDir dir;

  void read_bytes(const std::string& bytes) {
    testfiles::write_text(dir.file("DATA/ini.txt"), bytes);
    testing_reset_platform();  // reading brings the services up again
    config_set_defaults();
    start_directory = dir.path;
    configuration_path = start_directory + "DATA\\ini.txt";
    read_configuration();
  }
  void read(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += line + "\r\n";
    read_bytes(bytes);
  }
};

TEST(Configuration, PairingIsPositional) {
  ConfiguredGame game;
  // The blank line becomes a key; from there on every key line is read as a value.
  game.read({"APPNAME", "first", "MAXFOE", "3", "", "EGFXMAX", "9", "LABSWITCH", "4", "GAMEMODE", "HARDCORE"});
  EXPECT_EQ(APPNAME, "first");
  EXPECT_EQ(MAXFOE, 3);
  EXPECT_EQ(EGFXMAX, 50);
  EXPECT_EQ(LABSWITCH, 0);
  EXPECT_EQ(GAMEMODE, "DEFAULT");

  // A key on the last line is applied with an empty value.
  game.read({"APPNAME", "zorvane", "EGFXMAX", "7", "GAMEMODE"});
  EXPECT_EQ(EGFXMAX, 7);
  EXPECT_EQ(GAMEMODE, "");
  game.read({"EGFXMAX"});
  EXPECT_EQ(EGFXMAX, 0);

  // The last occurrence wins; lines end with LF or CR as well as CR LF.
  game.read_bytes("MAXFOE\n5\rAPPNAME\r\nA\nMAXFOE\r\n8");
  EXPECT_EQ(MAXFOE, 8);
  EXPECT_EQ(APPNAME, "A");
}

TEST(Configuration, KeysMatchWholeLinesExactly) {
  ConfiguredGame game;
  game.read({"APPNAME ", "trailing blank", " MAXFOE", "4", "appname", "lower case", "MaxFoe", "6",
             "LOGFILE", "  padded value  "});
  EXPECT_EQ(APPNAME, "");
  EXPECT_EQ(MAXFOE, 0);
  EXPECT_EQ(LOGFILE, "  padded value  ");  // string values keep their blanks
}

TEST(Configuration, NumbersParseAsFarAsTheyCan) {
  ConfiguredGame game;
  game.read({"MAXFOE", "  12 foes at most", "LABSWITCH", "\t-7x", "EGFXMAX", "many", "SMOOTH", "300",
             "USESELFCREATEBASE", "257 please", "FULLSCREENZOOM", " 1.5 times", "WORLDTEMPERATURE", "warm",
             "RESOLUTION", "32.5"});
  EXPECT_EQ(MAXFOE, 12);
  EXPECT_EQ(LABSWITCH, -7);
  EXPECT_EQ(EGFXMAX, 0);
  EXPECT_EQ(SMOOTH, 44);  // flags keep the low 8 bits
  EXPECT_EQ(USESELFCREATEBASE, 1);
  EXPECT_FLOAT_EQ(FULLSCREENZOOM, 1.5f);
  EXPECT_FLOAT_EQ(WORLDTEMPERATURE, 0.0f);
  EXPECT_FLOAT_EQ(RESOLUTION, 32.5f);
  EXPECT_FLOAT_EQ(cell_width, 32.5f);
  EXPECT_FLOAT_EQ(cell_height, 32.5f);
}

TEST(Configuration, MapSizeAndCursorSpeedAreClamped) {
  ConfiguredGame game;
  struct Case {
    const char* value;
    int32_t map_size;
  };
  for (const Case c : {Case{"2000", 1024}, Case{"1024", 1024}, Case{"-5", 32}, Case{"0", 0}, Case{"40", 40}}) {
    game.read({"MAPSIZE", c.value});
    EXPECT_EQ(MAPSIZE, c.map_size) << c.value;
  }

  game.read({"CURSORSPEED", "300"});
  EXPECT_EQ(CURSORSPEED, 255);
  EXPECT_EQ(move_delay, 0);
  game.read({"CURSORSPEED", "-1"});
  EXPECT_EQ(CURSORSPEED, 0);
  EXPECT_EQ(move_delay, 255);
  game.read({"CURSORSPEED", "200"});
  EXPECT_EQ(move_delay, 55);
  game.read({"CURSORSPEED", "200", "APPNAME", "x"});
  game.read({"APPNAME", "without the key"});
  EXPECT_EQ(CURSORSPEED, 0);
  EXPECT_EQ(move_delay, 0);  // a step every frame
}

TEST(Configuration, UnusableResolutionFallsBackToThirtyTwo) {
  ConfiguredGame game;
  for (const char* value : {"0", "-16", "nan", "inf", "none"}) {
    game.read({"RESOLUTION", value});
    EXPECT_FLOAT_EQ(RESOLUTION, 32.0f) << value;
    EXPECT_FLOAT_EQ(cell_width, 32.0f) << value;
    EXPECT_FLOAT_EQ(cell_height, 32.0f) << value;
  }
  game.read({"APPNAME", "no resolution key"});
  EXPECT_FLOAT_EQ(cell_width, 32.0f);
  game.read({"RESOLUTION", "0.25"});
  EXPECT_FLOAT_EQ(cell_height, 0.25f);
}

TEST(Configuration, WindowModeAndSprite3DAreOneSwitch) {
  ConfiguredGame game;
  game.read({"WINDOWMODE", "1", "USESPRITE3D", "0"});
  EXPECT_EQ(USESPRITE3D, 0);
  game.read({"USESPRITE3D", "0", "WINDOWMODE", "1"});
  EXPECT_EQ(USESPRITE3D, 1);
}

TEST(Configuration, ViewIsoOnlyChangesTheViewMode) {
  ConfiguredGame game;
  game.read({"VIEW", "iso"});
  EXPECT_EQ(view_mode, -1);
  game.read({"VIEW", "ISO", "VIEW", "FLAT"});
  EXPECT_EQ(view_mode, 4);
}

std::vector<int32_t> ten_draws() {
  std::vector<int32_t> draws;
  for (int i = 0; i < 10; ++i) draws.push_back(random_int(99));
  return draws;
}

TEST(Configuration, EveryWorldRandomReseedsTheGenerator) {
  random_seed(9);
  const std::vector<int32_t> after_nine = ten_draws();
  random_seed(5);
  const std::vector<int32_t> after_five = ten_draws();
  ASSERT_NE(after_nine, after_five);

  ConfiguredGame game;
  game.read({"WORLDRANDOM", "5", "MAXFOE", "1", "WORLDRANDOM", "9 later"});
  EXPECT_EQ(WORLDRANDOM, 9);
  EXPECT_EQ(ten_draws(), after_nine);

  // Reading reseeds even when the generator was used before.
  ten_draws();
  game.read({"WORLDRANDOM", "5"});
  EXPECT_EQ(ten_draws(), after_five);
}

TEST(Configuration, PrefixedPathsStartAtTheStartDirectory) {
  ConfiguredGame game;
  game.read({"SOUNDFXPATH", "DATA\\SFX\\", "LOGPATH", "", "INGAMEMUSIC", "DATA\\MUSIC\\", "CURSOR",
             "GFX\\player.png"});
  EXPECT_EQ(SOUNDFXPATH, game.dir.path + "DATA\\SFX\\");
  EXPECT_EQ(LOGPATH, game.dir.path);
  EXPECT_EQ(INGAMEMUSIC, "DATA\\MUSIC\\");
  EXPECT_EQ(CURSOR, game.dir.path + "GFX\\player.png");
}

// One line pair for every key, each with its own marker value.
TEST(Configuration, EveryKeyIsRecognised) {
  struct TextKey {
    const char* key;
    std::string* global;
    bool prefixed;
  };
  const std::vector<TextKey> text_keys = {
      {"SOUNDFXPATH", &SOUNDFXPATH, true},       {"INGAMEMUSIC", &INGAMEMUSIC, false},
      {"EGFXPATH", &EGFXPATH, true},             {"FONTPATH", &FONTPATH, true},
      {"FONTSYSTEM", &FONTSYSTEM, true},         {"SAVEGFX", &SAVEGFX, false},
      {"SAVEEVOLUTION", &SAVEEVOLUTION, false},  {"APPNAME", &APPNAME, false},
      {"GFXPATH", &GFXPATH, true},               {"TOPO", &TOPO, true},
      {"BASICGFX", &BASICGFX, true},             {"APPENTRY", &APPENTRY, false},
      {"APPSTART", &APPSTART, false},            {"TOPOGFX", &TOPOGFX, true},
      {"GFXCODEC", &GFXCODEC, false},            {"SYSTEMCORE", &SYSTEMCORE, true},
      {"CORENAME", &CORENAME, false},            {"LOGPATH", &LOGPATH, true},
      {"LOGFILE", &LOGFILE, false},              {"RGBCODEPATH", &RGBCODEPATH, false},
      {"WORLDGFX", &WORLDGFX, true},             {"LOADSCREEN", &LOADSCREEN, false},
      {"LOADANIM", &LOADANIM, false},            {"CURSOR", &CURSOR, true},
      {"SELFCREATEBASE", &SELFCREATEBASE, true}, {"GAMEMODE", &GAMEMODE, false},
      {"TIMERSOUND", &TIMERSOUND, false},        {"ENDTIMERSOUND", &ENDTIMERSOUND, false},
      {"DEFTILESOUND", &DEFTILESOUND, false},    {"FIXEDTILESOUND", &FIXEDTILESOUND, false},
      {"PINKTILEFIXEDSOUND", &PINKTILEFIXEDSOUND, false},
      {"BOMBPICKUPSOUND", &BOMBPICKUPSOUND, false},
      {"EXPLOSIONSOUND", &EXPLOSIONSOUND, false}, {"VOXTAMBER1", &VOXTAMBER1, false},
      {"VOXTAMBER", &VOXTAMBER, false},          {"MENUMUSIC", &MENUMUSIC, false},
      {"SCREGFXPATH", &SCREGFXPATH, false},      {"LOADINTROSCREEN", &LOADINTROSCREEN, false},
  };
  struct IntegerKey {
    const char* key;
    int32_t* global;
  };
  const std::vector<IntegerKey> integer_keys = {
      {"EGFXMAX", &EGFXMAX},       {"MULTITASK", &MULTITASK},   {"MAXFOE", &MAXFOE},
      {"RESBASEW", &RESBASEW},     {"RESBASEH", &RESBASEH},     {"VEGIDENSE", &VEGIDENSE},
      {"WORLDREFRESH", &WORLDREFRESH}, {"LABSWITCH", &LABSWITCH}, {"SCREGFXMAX", &SCREGFXMAX},
      {"USESCALER", &USESCALER},
  };
  struct FlagKey {
    const char* key;
    uint8_t* global;
  };
  const std::vector<FlagKey> flag_keys = {
      {"USEEXTENDEDTOPO", &USEEXTENDEDTOPO}, {"USELOGFILE", &USELOGFILE}, {"USEFULLMATRIX", &USEFULLMATRIX},
      {"MULTICORE", &MULTICORE},             {"USESELFCREATEBASE", &USESELFCREATEBASE}, {"SMOOTH", &SMOOTH},
  };
  // The rest have their own conversions.
  const std::vector<std::string> special = {"WINDOWMODE", "USESPRITE3D", "RESOLUTION", "FULLSCREENZOOM",
                                            "WORLDTEMPERATURE", "CURSORSPEED", "WORLDRANDOM", "MAPSIZE", "VIEW"};
  ASSERT_EQ(text_keys.size() + integer_keys.size() + flag_keys.size() + special.size(), 63u);

  std::vector<std::string> lines;
  for (const auto& k : text_keys) lines.insert(lines.end(), {k.key, std::string("v_") + k.key});
  for (size_t i = 0; i < integer_keys.size(); ++i)
    lines.insert(lines.end(), {integer_keys[i].key, std::to_string(1000 + i)});
  for (size_t i = 0; i < flag_keys.size(); ++i) lines.insert(lines.end(), {flag_keys[i].key, std::to_string(2 + i)});
  lines.insert(lines.end(), {"WINDOWMODE", "7", "USESPRITE3D", "9", "RESOLUTION", "24.5", "FULLSCREENZOOM", "2.5",
                             "WORLDTEMPERATURE", "3.25", "CURSORSPEED", "200", "WORLDRANDOM", "77", "MAPSIZE",
                             "300", "VIEW", "ISO"});

  ConfiguredGame game;
  game.read(lines);
  for (const auto& k : text_keys) {
    const std::string value = std::string("v_") + k.key;
    EXPECT_EQ(*k.global, k.prefixed ? game.dir.path + value : value) << k.key;
  }
  for (size_t i = 0; i < integer_keys.size(); ++i)
    EXPECT_EQ(*integer_keys[i].global, static_cast<int32_t>(1000 + i)) << integer_keys[i].key;
  for (size_t i = 0; i < flag_keys.size(); ++i) EXPECT_EQ(*flag_keys[i].global, 2 + i) << flag_keys[i].key;
  EXPECT_EQ(USESPRITE3D, 9);
  EXPECT_FLOAT_EQ(cell_width, 24.5f);
  EXPECT_FLOAT_EQ(FULLSCREENZOOM, 2.5f);
  EXPECT_FLOAT_EQ(WORLDTEMPERATURE, 3.25f);
  EXPECT_EQ(CURSORSPEED, 200);
  EXPECT_EQ(move_delay, 55);
  EXPECT_EQ(WORLDRANDOM, 77);
  EXPECT_EQ(MAPSIZE, 300);
  EXPECT_EQ(view_mode, 4);
}

// The checker reads the file with the game's own setters: each row is a small file and the lines
// it gives (the keys it leaves out are reported as missing, which only the last row looks at).
TEST(Configuration, CheckerSaysWhereTheGameReadsAValueOtherwiseThanWritten) {
  const struct {
    std::vector<std::string> lines;
    std::vector<std::string> expected;
  } cases[] = {
      {{"MAXFOE", "12 foes"}, {"DATA/ini.txt:2: warning: MAXFOE \"12 foes\": the game reads 12 and ignores \" foes\""}},
      {{"MAXFOE", "lots"}, {"DATA/ini.txt:2: warning: MAXFOE \"lots\": not a number: the game reads 0"}},
      {{"WORLDRANDOM", "4294967297"},
       {"DATA/ini.txt:2: warning: WORLDRANDOM \"4294967297\": does not fit 32 bits: the game reads 1"}},
      {{"SMOOTH", "300"},
       {"DATA/ini.txt:2: warning: SMOOTH \"300\": an 8-bit field keeps the low 8 bits: the game reads 44"}},
      {{"USESELFCREATEBASE", "2"},
       {"DATA/ini.txt:2: warning: USESELFCREATEBASE \"2\": only 1 switches it on: the game reads it as off"}},
      {{"GAMEMODE", "Hardcore"},
       {"DATA/ini.txt:2: warning: GAMEMODE \"Hardcore\": is not exactly HARDCORE: hardcore mode stays off"}},
      {{"MAPSIZE", "-5"}, {"DATA/ini.txt:2: warning: MAPSIZE \"-5\": negative: the game uses 32"}},
      {{"RESOLUTION", "0"}, {"DATA/ini.txt:2: warning: RESOLUTION \"0\": not a positive size: the game uses 32"}},
      {{"MAXFOES", "3"},
       {"DATA/ini.txt:1: warning: unknown key \"MAXFOES\" (probably a typo of MAXFOE): the game skips it and its "
        "value line"}},
      {{"MAXFOE", "3", "MAXFOE", "4"},
       {"DATA/ini.txt:3: warning: key MAXFOE is given again (first on line 1): the game uses the last one"}},
      {{"MAXFOE"},
       {"DATA/ini.txt:1: warning: key MAXFOE has no value line: the game reads it as empty",
        "DATA/ini.txt:2: warning: MAXFOE \"\": not a number: the game reads 0"}},
      {{"APPNAME", "x"}, {"DATA/ini.txt:0: warning: key RESOLUTION is missing: not a positive size: the game uses 32"}},
  };
  for (const auto& c : cases) {
    testfiles::TempDir dir;
    testfiles::write_lines(dir.file("DATA/ini.txt"), c.lines);
    config_set_defaults();
    start_directory = dir.path;
    configuration_path = start_directory + "DATA\\ini.txt";
    diagnostics_begin(dir.path);
    ASSERT_TRUE(check_configuration());
    std::vector<std::string> seen;
    for (const Diagnostic& d : diagnostics_sorted()) {
      const std::string text = diagnostic_text(d);
      const bool other_missing = text.find("is missing: the game uses its default") != std::string::npos;
      if (!other_missing && (d.line != 0 || c.lines[0] == "APPNAME")) seen.push_back(text);
    }
    EXPECT_EQ(seen, c.expected) << c.lines[0];
  }
}

}  // namespace
