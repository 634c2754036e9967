// The number conventions every data format relies on.
#include "core/numeric.h"
#include "platform/platform_fixture.h"

#include <cmath>

namespace {

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
