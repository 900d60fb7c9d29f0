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
  if (text == nullptr) {
    return 0.0;
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
    return 0.0;  // a second sign is no number
  }
  // from_chars accepts neither a sign nor "inf"/"nan" spelled with one; both are handled here.
  double value = 0.0;
  const auto result = std::from_chars(text, text + std::strlen(text), value);
  if (result.ec != std::errc() || !std::isfinite(value)) {
    return 0.0;
  }
  return negative ? -value : value;
}

}  // namespace velmora
