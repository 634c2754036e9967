// The configuration file read from real files (key matching, conversions and clamps), the
// line-pair reader under it and the number conventions every data format relies on.
#include "core/config.h"
#include "core/diagnostics.h"
#include "core/line_pairs.h"
#include "core/numeric.h"
#include "core/runtime.h"
#include "platform/platform_fixture.h"

#include <cmath>
#include <tuple>

namespace {

// Writes DATA/ini.txt (CR LF lines) under a fresh start directory and points the game at it.
struct ConfiguredGame {
  testfiles::TempDir dir;

  void write(const std::vector<std::string>& lines) {
    testfiles::write_lines(dir.file("DATA/ini.txt"), lines);
    config_set_defaults();
    start_directory = dir.path;
    configuration_path = start_directory + "DATA\\ini.txt";
  }
  void read(const std::vector<std::string>& lines) {
    write(lines);
    read_configuration();
  }
};

// One line pair for every key, each with its own marker value.
#define KEY(name) {#name, &name}
TEST(Configuration, EveryKeyIsRecognised) {
  using TextKeys = std::vector<std::pair<const char*, std::string*>>;
  const TextKeys prefixed = {KEY(SOUNDFXPATH), KEY(EGFXPATH), KEY(FONTPATH), KEY(FONTSYSTEM), KEY(GFXPATH),
                             KEY(TOPO), KEY(BASICGFX), KEY(TOPOGFX), KEY(SYSTEMCORE), KEY(LOGPATH), KEY(WORLDGFX),
                             KEY(CURSOR), KEY(SELFCREATEBASE)};
  const TextKeys plain = {KEY(INGAMEMUSIC), KEY(SAVEGFX), KEY(SAVEEVOLUTION), KEY(APPNAME), KEY(APPENTRY),
                          KEY(APPSTART), KEY(GFXCODEC), KEY(CORENAME), KEY(LOGFILE), KEY(RGBCODEPATH),
                          KEY(LOADSCREEN), KEY(LOADANIM), KEY(GAMEMODE), KEY(TIMERSOUND), KEY(ENDTIMERSOUND),
                          KEY(DEFTILESOUND), KEY(FIXEDTILESOUND), KEY(PINKTILEFIXEDSOUND), KEY(BOMBPICKUPSOUND),
                          KEY(EXPLOSIONSOUND), KEY(VOXTAMBER1), KEY(VOXTAMBER), KEY(MENUMUSIC), KEY(SCREGFXPATH),
                          KEY(LOADINTROSCREEN)};
  const std::vector<std::pair<const char*, int32_t*>> integers = {
      KEY(EGFXMAX), KEY(MULTITASK), KEY(MAXFOE), KEY(RESBASEW), KEY(RESBASEH), KEY(VEGIDENSE), KEY(WORLDREFRESH),
      KEY(LABSWITCH), KEY(SCREGFXMAX), KEY(USESCALER)};
  const std::vector<std::pair<const char*, uint8_t*>> flags = {
      KEY(USEEXTENDEDTOPO), KEY(USELOGFILE), KEY(USEFULLMATRIX), KEY(MULTICORE), KEY(USESELFCREATEBASE), KEY(SMOOTH)};
  // The keys with conversions of their own (WINDOWMODE: see the next test), then the rest.
  std::vector<std::string> lines = {"USESPRITE3D", "9", "RESOLUTION", "24.5", "FULLSCREENZOOM", "2.5",
                                    "WORLDTEMPERATURE", "3.25", "CURSORSPEED", "200", "WORLDRANDOM", "77",
                                    "MAPSIZE", "300", "VIEW", "ISO"};
  for (const auto& [key, global] : prefixed) lines.insert(lines.end(), {key, std::string("v_") + key});
  for (const auto& [key, global] : plain) lines.insert(lines.end(), {key, std::string("v_") + key});
  for (size_t i = 0; i < integers.size(); ++i) lines.insert(lines.end(), {integers[i].first, std::to_string(1000 + i)});
  for (size_t i = 0; i < flags.size(); ++i) lines.insert(lines.end(), {flags[i].first, std::to_string(258 + i)});

  ConfiguredGame game;
  game.read(lines);
  for (const auto& [key, global] : prefixed) EXPECT_EQ(*global, game.dir.path + "v_" + key);  // no separator added
  for (const auto& [key, global] : plain) EXPECT_EQ(*global, std::string("v_") + key);
  for (size_t i = 0; i < integers.size(); ++i) EXPECT_EQ(*integers[i].second, 1000 + int32_t(i)) << integers[i].first;
  for (size_t i = 0; i < flags.size(); ++i) EXPECT_EQ(*flags[i].second, 2 + i) << flags[i].first;  // the low 8 bits
  EXPECT_EQ(USESPRITE3D, 9);
  EXPECT_EQ(std::vector<float>({RESOLUTION, cell_width, cell_height, FULLSCREENZOOM, WORLDTEMPERATURE}),
            std::vector<float>({24.5f, 24.5f, 24.5f, 2.5f, 3.25f}));
  EXPECT_EQ(std::vector<int32_t>({CURSORSPEED, move_delay, WORLDRANDOM, MAPSIZE, view_mode}),
            std::vector<int32_t>({200, 55, 77, 300, 4}));
  const int32_t draw = random_int(1000000);  // WORLDRANDOM reseeds the generator
  random_seed(77);
  EXPECT_EQ(draw, random_int(1000000));
}
#undef KEY

// Values that must be clamped, fall back or be ignored; each case reads a file of its own.
TEST(Configuration, ClampsFallbacksAndExactKeys) {
  const auto map_size = [] { return double(MAPSIZE); };
  const auto speed = [] { return double(CURSORSPEED); };
  const auto delay = [] { return double(move_delay); };
  const auto cell = [] { return double(cell_width + cell_height + RESOLUTION) / 3; };  // all three agree
  const auto foes = [] { return double(MAXFOE); };
  const auto sprite3d = [] { return double(USESPRITE3D); };
  const auto view = [] { return double(view_mode); };
  const struct {
    std::vector<std::string> lines;
    std::function<double()> value;
    double expected;
  } cases[] = {
      {{"MAPSIZE", "2000"}, map_size, 1024}, {{"MAPSIZE", "1024"}, map_size, 1024}, {{"MAPSIZE", "-5"}, map_size, 32},
      {{"MAPSIZE", "0"}, map_size, 0}, {{"CURSORSPEED", "300"}, speed, 255}, {{"CURSORSPEED", "255"}, delay, 0},
      {{"CURSORSPEED", "-1"}, speed, 0}, {{"CURSORSPEED", "-1"}, delay, 255},
      {{"APPNAME", "no speed"}, delay, 0},  // a step every frame
      // Cell sizes divide positions everywhere: unusable ones fall back to 32.
      {{"RESOLUTION", "0"}, cell, 32}, {{"RESOLUTION", "-16"}, cell, 32}, {{"RESOLUTION", "nan"}, cell, 32},
      {{"RESOLUTION", "inf"}, cell, 32}, {{"APPNAME", "no resolution"}, cell, 32}, {{"RESOLUTION", "0.25"}, cell, 0.25},
      // Keys match whole lines exactly; the last occurrence wins; numbers parse as far as they can.
      {{"MAXFOE ", "4", " MAXFOE", "5", "maxfoe", "6"}, foes, 0}, {{"MAXFOE", "5", "MAXFOE", "  -8 foes"}, foes, -8},
      // WINDOWMODE and USESPRITE3D are one switch: the later line decides.
      {{"WINDOWMODE", "1", "USESPRITE3D", "0"}, sprite3d, 0}, {{"USESPRITE3D", "0", "WINDOWMODE", "1"}, sprite3d, 1},
      {{"VIEW", "iso"}, view, -1}, {{"VIEW", "ISO", "VIEW", "FLAT"}, view, 4},
  };
  ConfiguredGame game;
  for (const auto& c : cases) {
    game.read(c.lines);
    EXPECT_FLOAT_EQ(c.value(), c.expected) << testing::PrintToString(c.lines);
  }
}

// Setting the defaults leaves nothing of an earlier reading, whatever kind of key set it, and the
// globals that follow a key go back with it.
TEST(Configuration, DefaultsUndoAnEarlierFile) {
  ConfiguredGame game;
  game.read({"EGFXMAX", "7", "SOUNDFXPATH", "sfx", "MULTICORE", "0", "WORLDTEMPERATURE", "-3", "GAMEMODE",
             "HARDCORE", "VIEW", "ISO", "WINDOWMODE", "1", "CURSORSPEED", "100", "RESOLUTION", "24"});
  config_set_defaults();
  EXPECT_EQ(std::make_tuple(EGFXMAX, SOUNDFXPATH, MULTICORE, WORLDTEMPERATURE, GAMEMODE, view_mode, USESPRITE3D),
            std::make_tuple(50, std::string(), uint8_t{1}, 15.0f, std::string("DEFAULT"), -1, uint8_t{0}));
  EXPECT_EQ(std::vector<float>({RESOLUTION, cell_width, cell_height}), std::vector<float>({-1, -1, -1}));
  EXPECT_EQ(std::make_pair(CURSORSPEED, move_delay), std::make_pair(0, 0));  // a step every frame
}

// Reading only sets globals; the services, the pad among them, start afterwards, when start-up
// calls start_platform_services.
TEST(Configuration, ReadingStartsNoService) {
  ConfiguredGame game;
  testing_set_joystick(true, 0, 0, 0);
  input_device = 0;
  game.read({"APPNAME", "x"});
  EXPECT_EQ(input_device, 0);
  start_platform_services();
  EXPECT_EQ(input_device, 1);
  testing_reset_platform();
}

// The checker reads the file with the game's own setters: each row is a small file and the lines
// it gives (the keys it leaves out are reported as missing, which only the last row looks at).
TEST(Configuration, CheckerSaysWhereTheGameReadsAValueOtherwiseThanWritten) {
  const struct {
    std::vector<std::string> lines;
    std::vector<std::string> expected;
  } cases[] = {
      {{"MAXFOE", "12 foes"}, {"DATA/ini.txt:2: warning: MAXFOE \"12 foes\": the game reads 12 and ignores \" foes\""}},
      {{"MAXFOE", "lots"},
       {"DATA/ini.txt:2: error: MAXFOE \"lots\": not a number: the game reads 0: no foe ever appears"}},
      {{"LABSWITCH", "often"}, {"DATA/ini.txt:2: warning: LABSWITCH \"often\": not a number: the game reads 0"}},
      {{"WORLDRANDOM", "4294967297"},
       {"DATA/ini.txt:2: warning: WORLDRANDOM \"4294967297\": does not fit 32 bits: the game reads 1"}},
      {{"SMOOTH", "300"},
       {"DATA/ini.txt:2: warning: SMOOTH \"300\": an 8-bit field keeps the low 8 bits: the game reads 44"}},
      {{"USESELFCREATEBASE", "2"},
       {"DATA/ini.txt:2: warning: USESELFCREATEBASE \"2\": only 1 switches it on: the game reads it as off"}},
      {{"GAMEMODE", "Hardcore"},
       {"DATA/ini.txt:2: warning: GAMEMODE \"Hardcore\": is not exactly HARDCORE: hardcore mode stays off"}},
      {{"MAPSIZE", "-5"}, {"DATA/ini.txt:2: warning: MAPSIZE \"-5\": negative: the game uses 32"}},
      {{"EGFXMAX", "100000"},
       {"DATA/ini.txt:2: warning: EGFXMAX \"100000\": above 255: the game loads at most 256 floaters"}},
      {{"MULTITASK", "5000"},
       {"DATA/ini.txt:2: warning: MULTITASK \"5000\": above 100: the game waits at most 100 ms a frame"}},
      {{"RESOLUTION", "0"}, {"DATA/ini.txt:2: warning: RESOLUTION \"0\": not a positive size: the game uses 32"}},
      {{"MAXFOES", "3"},
       {"DATA/ini.txt:1: warning: unknown key \"MAXFOES\" (probably a typo of MAXFOE): the game skips it and its "
        "value line"}},
      {{"MAXFOE", "3", "MAXFOE", "4"},
       {"DATA/ini.txt:3: warning: key MAXFOE is given again (first on line 1): the game uses the last one"}},
      {{"MAXFOE"},
       {"DATA/ini.txt:1: warning: key MAXFOE has no value line: the game reads it as empty",
        "DATA/ini.txt:2: error: MAXFOE \"\": not a number: the game reads 0: no foe ever appears"}},
      {{"APPNAME", "x"}, {"DATA/ini.txt:0: warning: key RESOLUTION is missing: not a positive size: the game uses 32"}},
  };
  for (const auto& c : cases) {
    ConfiguredGame game;
    game.write(c.lines);
    diagnostics_begin(game.dir.path);
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

// Pairs are positional (line ends of every kind are read as for any text file).
using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(LinePairs, AnyLineEndAndAnOddLineCount) {
  testfiles::TempDir dir;
  const std::pair<const char*, Pairs> cases[] = {
      {"A\r\n1\r\nB\r\n2\r\n", {{"A", "1"}, {"B", "2"}}},
      {"A\r\n1\r\nB", {{"A", "1"}, {"B", ""}}},  // a key on the last line gets an empty value
      {"A\r\n\r\nB\r\n2\r\n", {{"A", ""}, {"B", "2"}}},
      {" A \r\n value with blanks \r\n", {{" A ", " value with blanks "}}},
      {"", {}},
  };
  for (const auto& [bytes, expected] : cases) {
    testfiles::write_text(dir.file("pairs.txt"), bytes);
    Pairs pairs;
    EXPECT_TRUE(read_line_pairs(dir.file("pairs.txt"), [&](const std::string& k, const std::string& v) {
      pairs.emplace_back(k, v);
    }));
    EXPECT_EQ(pairs, expected) << testing::PrintToString(std::string(bytes));
  }
  // A missing file is reported and gives no pairs.
  EXPECT_FALSE(read_line_pairs(dir.path + "absent.txt", [](const std::string&, const std::string&) { FAIL(); }));
}

TEST(Numeric, RoundingTakesHalvesToEvenAndSaturates) {
  const std::pair<double, int32_t> cases[] = {
      {0.5, 0},         {1.5, 2},          {2.5, 2},          {-1.5, -2},       {-2.6, -3},
      {2.4999, 2},      {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {INFINITY, INT32_MAX}, {NAN, 0}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(round_to_int(value), expected) << value;
}

TEST(Numeric, LeadingIntegerOfALine) {
  const std::pair<const char*, int32_t> cases[] = {
      {"  \t-12abc", -12}, {"+7 points", 7}, {"x12", 0}, {"-", 0}, {"--3", 0},
      {"\n5", 0},  // only blanks and tabs are skipped
      {"1 2", 1},
      // No overflow check: the value wraps modulo 2^32.
      {"2147483648", INT32_MIN}, {"4294967297", 1}, {"-2147483648", INT32_MIN}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(parse_leading_int(text), expected) << text;
  EXPECT_EQ(low8(300), 44);
  EXPECT_EQ(low8(-1), 255);
  EXPECT_EQ(low8_signed(200), -56);
}

TEST(Numeric, FloatsAreDecimalTextOnly) {
  const std::pair<const char*, float> cases[] = {
      {" 2.5x", 2.5f}, {"-1e2", -100.0f}, {".75", 0.75f}, {"abc", 0.0f}, {"+32.5 pixels", 32.5f},
      {"5.e", 5.0f},   {"2e+1x", 20.0f},  {"-.5", -0.5f}, {".", 0.0f},
      // No infinities, no NaN, no hexadecimal.
      {"inf", 0.0f},   {"-INFINITY", 0.0f}, {"nan", 0.0f}, {"0x20", 0.0f}};
  for (const auto& [text, expected] : cases) EXPECT_FLOAT_EQ(parse_float(text), expected) << text;
}

}  // namespace
