// The number conventions every data format relies on.
#include "core/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace tessera;

TEST(Numeric, RoundingTakesHalvesToEvenAndSaturates) {
  EXPECT_EQ(round_to_int(0.5), 0);
  EXPECT_EQ(round_to_int(1.5), 2);
  EXPECT_EQ(round_to_int(2.5), 2);
  EXPECT_EQ(round_to_int(-0.5), 0);
  EXPECT_EQ(round_to_int(-1.5), -2);
  EXPECT_EQ(round_to_int(-2.6), -3);
  EXPECT_EQ(round_to_int(2.4999f), 2);
  EXPECT_EQ(round_to_int(1e12), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(round_to_int(-1e12), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(round_to_int(std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(round_to_int(std::nan("")), 0);
}

TEST(Numeric, LeadingIntegerOfALine) {
  EXPECT_EQ(parse_leading_int("  \t-12abc"), -12);
  EXPECT_EQ(parse_leading_int("+7 points"), 7);
  EXPECT_EQ(parse_leading_int("42"), 42);
  EXPECT_EQ(parse_leading_int("x12"), 0);
  EXPECT_EQ(parse_leading_int("-"), 0);
  EXPECT_EQ(parse_leading_int(""), 0);
  EXPECT_EQ(parse_leading_int("--3"), 0);
  EXPECT_EQ(parse_leading_int("\n5"), 0);  // only blanks and tabs are skipped
  EXPECT_EQ(parse_leading_int("1 2"), 1);
  // No overflow check: the value wraps modulo 2^32.
  EXPECT_EQ(parse_leading_int("2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(parse_leading_int("4294967297"), 1);
  EXPECT_EQ(parse_leading_int("-2147483648"), std::numeric_limits<int32_t>::min());
}

TEST(Numeric, EightBitFieldsAndFloats) {
  EXPECT_EQ(low8(300), 44);
  EXPECT_EQ(low8(-1), 255);
  EXPECT_EQ(low8_signed(200), -56);
  EXPECT_EQ(low8_signed(383), 127);
  EXPECT_FLOAT_EQ(parse_float(" 2.5x"), 2.5f);
  EXPECT_FLOAT_EQ(parse_float("-1e2"), -100.0f);
  EXPECT_FLOAT_EQ(parse_float(".75"), 0.75f);
  EXPECT_FLOAT_EQ(parse_float("abc"), 0.0f);
  EXPECT_FLOAT_EQ(parse_float(""), 0.0f);
  EXPECT_FLOAT_EQ(parse_float("+32.5 pixels"), 32.5f);
  EXPECT_FLOAT_EQ(parse_float("5.e"), 5.0f);
  EXPECT_FLOAT_EQ(parse_float("2e+1x"), 20.0f);
  EXPECT_FLOAT_EQ(parse_float("-.5"), -0.5f);
  EXPECT_FLOAT_EQ(parse_float("."), 0.0f);
  // Only decimal text is a number: no infinities, no NaN, no hexadecimal.
  EXPECT_FLOAT_EQ(parse_float("inf"), 0.0f);
  EXPECT_FLOAT_EQ(parse_float("-INFINITY"), 0.0f);
  EXPECT_FLOAT_EQ(parse_float("nan"), 0.0f);
  EXPECT_FLOAT_EQ(parse_float("0x20"), 0.0f);
  EXPECT_EQ(decimal(-305), "-305");
}

}  // namespace
