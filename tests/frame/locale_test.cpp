// Numbers shown to and read from a host must not follow the process locale. The test runs
// the conversions under a locale with a decimal comma, generated on the spot when the
// machine has the locale sources (it is skipped otherwise).
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "frame/effect_param.h"
#include "frame/number_text.h"

namespace velmora {
namespace {

// Switches LC_NUMERIC to a comma-decimal locale for the scope, if one can be had.
class CommaLocale {
 public:
  CommaLocale() {
    if (Try("de_DE.UTF-8") || Try("de_DE.utf8") || Try("fr_FR.UTF-8")) {
      return;
    }
    // Build one from the locale sources into a private directory (kept for the next run).
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "velmora-locale";
    setenv("LOCPATH", dir.c_str(), 1);
    if (Try("de_DE.UTF-8")) {
      return;
    }
    std::filesystem::create_directories(dir);
    const std::string command =
        "localedef -i de_DE -f UTF-8 " + (dir / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) == -1) {
      return;
    }
    Try("de_DE.UTF-8");
  }
  ~CommaLocale() { std::setlocale(LC_NUMERIC, "C"); }
  bool active() const { return active_; }

 private:
  bool Try(const char* name) {
    active_ =
        std::setlocale(LC_NUMERIC, name) != nullptr && std::localeconv()->decimal_point[0] == ',';
    return active_;
  }
  bool active_ = false;
};

TEST(Locale, NumbersIgnoreACommaDecimalLocale) {
  CommaLocale locale;
  if (!locale.active()) {
    GTEST_SKIP() << "no comma-decimal locale available";
  }
  // The C library itself now writes a comma: the conversions below must not.
  char probe[16];
  std::snprintf(probe, sizeof(probe), "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5");

  EXPECT_EQ(ParseLeadingNumber("0.5"), 0.5);
  EXPECT_EQ(ParseLeadingNumber("0,5"), 0.0);
  char text[32];
  FormatFixed(0.5, 17, text, sizeof(text));
  EXPECT_STREQ(text, "0.50000000000000000");

  IEffectParam param;
  param.DefineDouble("Gain", 0.0, -10.0, 10.0, 0.1, "dB");
  param.FormatValue(2.5, false, text);
  EXPECT_STREQ(text, "2.5");
  EXPECT_EQ(param.ParseValue("-1.5"), -1.5);
}

// Texts that probe every form the C conversion knows: signs, white space, points,
// exponents, hexadecimal, infinities, NaNs, overflow and underflow, and near misses.
const char* const kNumberTexts[] = {"0",
                                    "-0",
                                    "+7",
                                    " \t\n12.5x",
                                    "5.",
                                    ".5",
                                    ".",
                                    "-.",
                                    "1e",
                                    "1e+",
                                    "1e-2",
                                    "1E3",
                                    "2.5e-3dB",
                                    "1e999",
                                    "-1e999",
                                    "1e-999",
                                    "-1e-999",
                                    "4.9e-324",
                                    "2.4703282292062327e-324",
                                    "1.7976931348623157e308",
                                    "1.7976931348623159e308",
                                    "0.000000000000000000001e-310",
                                    "123456789012345678901234567890e290",
                                    "inf",
                                    "-INF",
                                    "Infinity",
                                    "infinit",
                                    "in",
                                    "nan",
                                    "NaN(123)",
                                    "-nan",
                                    "nano",
                                    "0x10",
                                    "0X1p4",
                                    "-0x.8",
                                    "0x1.8p+1",
                                    "0x",
                                    "0xg",
                                    "0x.",
                                    "0x1p99999",
                                    "0x1p-99999",
                                    "0x8p1023",
                                    "0x1P-1075",
                                    "0xffffffffffffffffffffp1000",
                                    "00x10",
                                    "+-1",
                                    "--1",
                                    "0,5",
                                    "1.5.5",
                                    "e5",
                                    "p4",
                                    "",
                                    " ",
                                    "0e999999999999999999999"};

// The result strtod gives in the C locale (the test runs in it before switching).
std::vector<double> StrtodInTheCLocale() {
  std::setlocale(LC_ALL, "C");
  std::vector<double> values;
  for (const char* text : kNumberTexts) {
    values.push_back(std::strtod(text, nullptr));
  }
  return values;
}

void ExpectSameNumber(double expected, double actual, const std::string& text) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(actual)) << '"' << text << '"';
  } else {
    EXPECT_EQ(std::memcmp(&expected, &actual, sizeof actual), 0)
        << '"' << text << "\": strtod " << expected << ", read " << actual;
  }
}

TEST(Locale, NumbersReadAsStrtodInTheCLocale) {
  const std::vector<double> expected = StrtodInTheCLocale();
  for (size_t i = 0; i < expected.size(); ++i) {
    ExpectSameNumber(expected[i], ParseLeadingNumber(kNumberTexts[i]), kNumberTexts[i]);
  }
  EXPECT_EQ(ParseLeadingNumber("1e999"), HUGE_VAL);
  EXPECT_EQ(ParseLeadingNumber("inf"), HUGE_VAL);
  EXPECT_EQ(ParseLeadingNumber("0x10"), 16.0);

  // Random texts over the characters numbers are made of.
  const char alphabet[] = "0123456789abcdefxXpPeE.+- in";
  std::mt19937 random(16);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 12);
    for (int k = 0; k < length; ++k) {
      text += alphabet[random() % (sizeof(alphabet) - 1)];
    }
    ExpectSameNumber(std::strtod(text.c_str(), nullptr), ParseLeadingNumber(text.c_str()), text);
    // A number is found exactly where strtod finds one, so "0" and no number differ.
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    double value = 0.0;
    EXPECT_EQ(ReadLeadingNumber(text.c_str(), value), end != text.c_str()) << '"' << text << '"';
  }
}

TEST(Locale, NumbersReadTheSameUnderACommaDecimalLocale) {
  const std::vector<double> expected = StrtodInTheCLocale();
  CommaLocale locale;
  if (!locale.active()) {
    GTEST_SKIP() << "no comma-decimal locale available";
  }
  ASSERT_EQ(std::strtod("0.5", nullptr), 0.0);  // the C library itself now stops at the point
  for (size_t i = 0; i < expected.size(); ++i) {
    ExpectSameNumber(expected[i], ParseLeadingNumber(kNumberTexts[i]), kNumberTexts[i]);
  }
}

TEST(Locale, FixedFormattingMatchesTheCLocale) {
  char text[32];
  FormatFixed(0.125, 2, text, sizeof(text));
  EXPECT_STREQ(text, "0.12");  // ties to even on the exact binary value, as printf does
  FormatFixed(-3.0, 0, text, sizeof(text));
  EXPECT_STREQ(text, "-3");
  FormatFixed(1e300, 6, text, 8);
  EXPECT_STREQ(text, "1000000");  // cut to the field
  FormatInteger(-42, text, sizeof(text));
  EXPECT_STREQ(text, "-42");
}

}  // namespace
}  // namespace velmora
