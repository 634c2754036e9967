#include "core/numeric.h"

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

float parse_float(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const float value = std::strtof(begin, &end);
  if (end == begin) return 0.0f;
  return value;
}

std::string decimal(int32_t value) { return std::to_string(value); }

}  // namespace tessera
