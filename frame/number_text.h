// Number <-> text conversions for everything a host reads or writes. They never consult the
// process locale: a host running with a comma as its decimal separator must still get "0.5"
// and must still have "0.5" read back as one half.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

// Writes value with exactly `decimals` digits after the point (as "%.*f" in the C locale).
// The text is cut to size - 1 characters if needed and always terminated.
void FormatFixed(double value, int decimals, char* text, size_t size);

// Writes a whole number (as "%d"/"%lld" in the C locale), cut and terminated as above.
void FormatInteger(int64_t value, char* text, size_t size);

// Reads the number at the start of text, after optional white space and sign, as strtod does
// in the C locale whatever the process locale: decimal and "0x" hexadecimal forms, "inf",
// "infinity" and "nan" in any case. A number too large gives HUGE_VAL (with its sign), one
// too small 0; the result is 0 when there is no number and NaN for a text that spells one.
double ParseLeadingNumber(const char* text);

// The same, telling apart a text without a number (false, value 0) from one that reads 0.
bool ReadLeadingNumber(const char* text, double& value);

}  // namespace velmora
