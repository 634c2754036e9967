// The number conventions of the data formats and of the game's arithmetic, one helper each.
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

// Float to integer, nearest with halves to even. Values outside the int32 range saturate and
// NaN gives 0, so no data value can make the conversion undefined.
int32_t round_to_int(double value);

// The low 8 bits of a number, as the signed and unsigned 8-bit fields keep them.
constexpr int8_t low8_signed(int32_t value) { return static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF)); }
constexpr uint8_t low8(int32_t value) { return static_cast<uint8_t>(value & 0xFF); }

// The leading decimal integer of a line: blanks and tabs skipped, one optional sign, digits up to
// the first non-digit; 0 without digits. Overflow wraps modulo 2^32 (there is no check).
int32_t parse_leading_int(const std::string& text);

// Standard decimal floating-point text (leading white space skipped); 0.0 without a number.
float parse_float(const std::string& text);
// The whole text as a decimal number (an optional "-", then digits) within low..high; false, and
// value unchanged, for anything else. For the player's files, which are read strictly.
bool parse_whole_number(const std::string& text, int64_t low, int64_t high, int64_t& value);

// What the two parsers above made of a text, for the checker: the value they give, and what of
// the text they did not take as it stands.
struct NumberReading {
  int32_t value = 0;          // parse_leading_int's result
  float float_value = 0.0f;   // parse_float's result
  bool has_number = false;    // digits were found
  bool wrapped = false;       // the digits do not fit 32 bits: the value wrapped round
  std::string ignored;        // text after the number (blanks alone do not count)
};
NumberReading read_leading_int(const std::string& text);
NumberReading read_float(const std::string& text);

// Decimal text of a number, no leading zeros or blanks.
std::string decimal(int32_t value);

}  // namespace tessera
