// Numbers shown to and read from a host must not follow the process locale. The test runs
// the conversions under a locale with a decimal comma, generated on the spot when the
// machine has the locale sources (it is skipped otherwise).
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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
