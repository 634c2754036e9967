#include "core/numeric.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tessera {

int32_t round_to_int(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(value);
  if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

size_t skip_digits(const std::string& text, size_t i) {
  while (i < text.size() && is_digit(text[i])) ++i;
  return i;
}

// The text from position on, or empty when only blanks are left there.
std::string remainder_after(const std::string& text, size_t position) {
  if (position >= text.size() || text.find_first_not_of(" \t", position) == std::string::npos) return "";
  return text.substr(position);
}

// The extent of the decimal number at the start of the text (after white space): where it
// starts and ends, and whether it has digits.
struct FloatExtent {
  size_t start = 0;
  size_t end = 0;
  bool has_digits = false;
};

// Only decimal text counts: the library reader would also take "inf", "nan" and hexadecimal,
// which a data file means as no number at all.
FloatExtent float_extent(const std::string& text) {
  FloatExtent extent;
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
  extent.start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const size_t integer_end = skip_digits(text, i);
  size_t end = integer_end;
  size_t digits = integer_end - i;
  if (end < text.size() && text[end] == '.') {
    const size_t fraction_end = skip_digits(text, end + 1);
    digits += fraction_end - (end + 1);
    end = fraction_end;
  }
  extent.has_digits = digits > 0;
  if (!extent.has_digits) {
    extent.end = extent.start;
    return extent;
  }
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    // An exponent without digits is not part of the number.
    if (exponent < text.size() && is_digit(text[exponent])) end = skip_digits(text, exponent);
  }
  extent.end = end;
  return extent;
}

}  // namespace

int32_t parse_leading_int(const std::string& text) { return read_leading_int(text).value; }

NumberReading read_leading_int(const std::string& text) {
  NumberReading reading;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  uint32_t value = 0;
  uint64_t magnitude = 0;  // saturated shadow of the digits, to tell when the value wrapped
  const size_t digits_start = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    magnitude = std::min<uint64_t>(magnitude * 10u + static_cast<uint64_t>(text[i] - '0'), 1ull << 40);
    ++i;
  }
  if (negative) value = 0u - value;
  reading.value = static_cast<int32_t>(value);
  reading.float_value = static_cast<float>(reading.value);
  reading.has_number = i > digits_start;
  reading.wrapped = magnitude > (negative ? 2147483648ull : 2147483647ull);
  reading.ignored = remainder_after(text, i);
  return reading;
}


float parse_float(const std::string& text) { return read_float(text).float_value; }

NumberReading read_float(const std::string& text) {
  NumberReading reading;
  const FloatExtent extent = float_extent(text);
  reading.has_number = extent.has_digits;
  if (extent.has_digits) {
    reading.float_value = std::strtof(text.substr(extent.start, extent.end - extent.start).c_str(), nullptr);
  }
  reading.value = round_to_int(reading.float_value);
  reading.wrapped = std::isinf(reading.float_value);
  reading.ignored = remainder_after(text, extent.end);
  return reading;
}

std::string decimal(int32_t value) { return std::to_string(value); }

bool parse_whole_number(const std::string& text, int64_t low, int64_t high, int64_t& value) {
  // 18 digits cannot overflow 64 bits.
  const size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
  if (text.size() == sign || text.size() > 18 + sign) return false;
  int64_t v = 0;
  for (size_t i = sign; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  if (sign == 1) v = -v;
  if (v < low || v > high) return false;
  value = v;
  return true;
}

}  // namespace tessera
