#include "frame/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "frame/text_field.h"

namespace velmora {
namespace {

// Large enough for any double in fixed notation with up to 17 decimals.
constexpr size_t kScratchSize = 400;

// The white-space set of the C locale, spelled out so no locale table is consulted.
bool IsCLocaleSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDecimalDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// For a number from_chars found out of range: whether it is too large for a double (the C
// conversion then gives HUGE_VAL) rather than too small (it gives 0). Such a number lies
// beyond 1e308 or below 1e-323, so the order of magnitude of its first significant digit
// plus its exponent decides, however rough the count.
bool Overflows(const char* begin, const char* end, bool hex) {
  const char exponentMark = hex ? 'p' : 'e';
  long integerDigits = 0;  // significant digits before the point
  long leadingZeros = 0;   // zeros after the point before the first significant digit
  bool seenPoint = false;
  bool seenSignificant = false;
  const char* c = begin;
  for (; c < end && (*c | 0x20) != exponentMark; ++c) {
    if (*c == '.') {
      seenPoint = true;
    } else if (!seenSignificant && *c == '0') {
      leadingZeros += seenPoint ? 1 : 0;
    } else {
      seenSignificant = true;
      integerDigits += seenPoint ? 0 : 1;
    }
  }
  // The place of the first significant digit: 0 for units, -1 for tenths.
  const long magnitude = integerDigits > 0 ? integerDigits - 1 : -(leadingZeros + 1);
  long exponent = 0;
  if (c < end) {
    ++c;
    const bool negativeExponent = c < end && *c == '-';
    c += c < end && (*c == '-' || *c == '+') ? 1 : 0;
    for (; c < end && IsDecimalDigit(*c) && exponent < 100000000; ++c) {
      exponent = exponent * 10 + (*c - '0');
    }
    exponent = negativeExponent ? -exponent : exponent;
  }
  // A hexadecimal digit is four binary places and the exponent counts binary places.
  return (hex ? 4 * magnitude : magnitude) + exponent >= 0;
}

}  // namespace

void FormatFixed(double value, int decimals, char* text, size_t size) {
  char scratch[kScratchSize];
  if (decimals < 0) {
    decimals = 0;
  }
  const auto result =
      std::to_chars(scratch, scratch + kScratchSize - 1, value, std::chars_format::fixed, decimals);
  *(result.ec == std::errc() ? result.ptr : scratch) = '\0';
  CopyText(text, size, scratch);
}

void FormatInteger(int64_t value, char* text, size_t size) {
  char scratch[32];
  const auto result = std::to_chars(scratch, scratch + sizeof(scratch) - 1, value);
  *result.ptr = '\0';
  CopyText(text, size, scratch);
}

double ParseLeadingNumber(const char* text) {
  double value = 0.0;
  ReadLeadingNumber(text, value);
  return value;
}

bool ReadLeadingNumber(const char* text, double& value) {
  value = 0.0;
  if (text == nullptr) {
    return false;
  }
  while (IsCLocaleSpace(*text)) {
    ++text;
  }
  bool negative = false;
  if (*text == '+' || *text == '-') {
    negative = *text == '-';
    ++text;
  }
  if (*text == '+' || *text == '-') {
    return false;  // a second sign is no number
  }
  // from_chars reads the C locale's forms, infinities and NaNs included, but neither a sign
  // nor the "0x" of a hexadecimal number; "0x" without a digit after it is the number 0.
  const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
                   (IsHexDigit(text[2]) || (text[2] == '.' && IsHexDigit(text[3])));
  const char* digits = hex ? text + 2 : text;
  const auto result = std::from_chars(digits, digits + std::strlen(digits), value,
                                      hex ? std::chars_format::hex : std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = Overflows(digits, result.ptr, hex) ? HUGE_VAL : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
    return false;  // no number: the sign alone is not read
  }
  value = negative ? -value : value;
  return true;
}

}  // namespace velmora
