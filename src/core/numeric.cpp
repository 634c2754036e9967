#include "core/numeric.h"

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

int32_t parse_leading_int(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  uint32_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    ++i;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

size_t skip_digits(const std::string& text, size_t i) {
  while (i < text.size() && is_digit(text[i])) ++i;
  return i;
}

}  // namespace

// Only decimal text counts: the library reader would also take "inf", "nan" and hexadecimal,
// which a data file means as no number at all.
float parse_float(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const size_t integer_end = skip_digits(text, i);
  size_t end = integer_end;
  size_t digits = integer_end - i;
  if (end < text.size() && text[end] == '.') {
    const size_t fraction_end = skip_digits(text, end + 1);
    digits += fraction_end - (end + 1);
    end = fraction_end;
  }
  if (digits == 0) return 0.0f;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    // An exponent without digits is not part of the number.
    if (exponent < text.size() && is_digit(text[exponent])) end = skip_digits(text, exponent);
  }
  return std::strtof(text.substr(start, end - start).c_str(), nullptr);
}

std::string decimal(int32_t value) { return std::to_string(value); }

}  // namespace tessera
