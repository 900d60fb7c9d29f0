// The parameter record: normalised mapping, quantisation, display and parsing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "frame/effect_param.h"

namespace velmora {
namespace {

std::string Format(const IEffectParam& param, double value, bool isNormalised = false) {
  char text[IEffectParam::kTextSize];
  param.FormatValue(value, isNormalised, text);
  return text;
}

TEST(ParamStore, IntegerParameterWorkedNumbers) {
  IEffectParam param;
  param.DefineInt("Mix", 50, 0, 100, "%");
  EXPECT_EQ(param.ParamType(), IEffectParam::kTypeInt);
  param.SetFromNormalised(0.333);
  EXPECT_EQ(param.Value(), 33.0);
  EXPECT_DOUBLE_EQ(param.ToNormalised(33.0), 0.33);
  EXPECT_EQ(Format(param, param.Value()), "33");
  // Above 1 is cut to the maximum; the range ends are exact.
  param.SetFromNormalised(1.7);
  EXPECT_EQ(param.Value(), 100.0);
  param.SetFromNormalised(0.0);
  EXPECT_EQ(param.Value(), 0.0);
  EXPECT_EQ(param.ToNormalised(-20.0), 0.0);
  EXPECT_EQ(param.ToNormalised(250.0), 1.0);
}

TEST(ParamStore, EnumeratedParameterWorkedNumbers) {
  IEffectParam param;
  param.DefineEnum("Type", 0, 3, "");
  param.AddDisplayText(0, "Off");
  param.AddDisplayText(1, "Lowpass");
  param.AddDisplayText(2, "Highpass");
  EXPECT_EQ(param.ParamType(), IEffectParam::kTypeEnum);
  EXPECT_EQ(param.Maximum(), 2.0);
  param.SetFromNormalised(0.74);  // 1.48 rounds to 1
  EXPECT_EQ(param.Value(), 1.0);
  EXPECT_EQ(Format(param, param.Value()), "Lowpass");
  EXPECT_EQ(Format(param, 1.0, true), "Highpass");
  EXPECT_EQ(param.ParseValue("Lowpass"), 1.0);
  EXPECT_EQ(param.ParseValue("lowpass"), 0.0);  // texts compare case-sensitively
  EXPECT_EQ(param.ParseValue("7"), 7.0);
}

TEST(ParamStore, ShapedFrequencyWorkedNumbers) {
  IEffectParam param;
  param.DefineInt("Freq", 3000, 20, 20000, "Hz");
  param.SetShape(2.0);
  param.SetFromNormalised(0.5);
  EXPECT_EQ(param.Value(), 5015.0);
  EXPECT_NEAR(param.ToNormalised(3000.0), 0.3862, 1e-4);
  EXPECT_DOUBLE_EQ(param.ToNormalised(3000.0), std::sqrt(2980.0 / 19980.0));
  // Normalised display skips quantisation: 20 + 19980 x 0.25 = 5015 exactly anyway.
  EXPECT_EQ(Format(param, 0.5, true), "5015");
  param.SetShape(0.0);  // refused
  EXPECT_EQ(param.Shape(), 2.0);
}

TEST(ParamStore, DeclarationRules) {
  IEffectParam empty;
  empty.DefineDouble("Empty", 0.0, 0.0, 0.0, 1.0, "");
  EXPECT_EQ(empty.Maximum(), 1.0);
  EXPECT_EQ(empty.ParamType(), IEffectParam::kTypeDouble);

  IEffectParam outside;
  outside.DefineInt("Outside", 500, 0, 10, "");
  EXPECT_EQ(outside.Value(), 500.0);  // defaults are stored as given

  const struct {
    double step;
    int precision;
  } steps[] = {{1.0, 0}, {0.1, 1}, {0.25, 2}, {0.001, 3}, {1e-9, 6}, {2.0, 0}};
  for (const auto& row : steps) {
    IEffectParam param;
    param.DefineDouble("P", 0.0, 0.0, 10.0, row.step, "");
    EXPECT_EQ(param.DisplayPrecision(), row.precision) << row.step;
  }
}

TEST(ParamStore, NumberDisplay) {
  IEffectParam gain;
  gain.DefineDouble("Gain", 0.0, -10.0, 10.0, 0.25, "dB");
  EXPECT_EQ(Format(gain, 1.5), "1.50");
  EXPECT_EQ(Format(gain, -2.125), "-2.12");
  EXPECT_EQ(Format(gain, 0.0), "0");
  EXPECT_EQ(Format(gain, -0.0), "0");
  EXPECT_EQ(Format(gain, std::nan("")), "0");

  IEffectParam count;
  count.DefineInt("Count", 0, -100, 100, "");
  EXPECT_EQ(Format(count, -7.9), "-7");  // truncated toward zero
  EXPECT_EQ(Format(count, 1e30), "9000000000000000000");

  IEffectParam negated;
  negated.DefineInt("Negated", 0, -100, 100, "");
  negated.SetNegateDisplay(true);
  EXPECT_EQ(Format(negated, 12.0), "-12");
  EXPECT_EQ(negated.ParseValue("12"), -12.0);
}

TEST(ParamStore, DisplayTextsFallBackToNumbers) {
  IEffectParam param;
  param.DefineInt("Level", 0, -5, 5, "");
  param.AddDisplayText(-5, "min");
  param.AddDisplayText(3, "");
  EXPECT_EQ(Format(param, -5.0), "min");
  EXPECT_EQ(Format(param, -5.7), "min");  // truncation toward zero finds -5
  EXPECT_EQ(Format(param, 3.0), "3");     // an empty text shows the number
  EXPECT_EQ(Format(param, 2.0), "2");
}

TEST(ParamStore, ParsingReadsTheLeadingNumber) {
  IEffectParam param;
  param.DefineDouble("P", 0.0, -1000.0, 1000.0, 0.01, "");
  EXPECT_EQ(param.ParseValue("  42.5 dB"), 42.5);
  EXPECT_EQ(param.ParseValue("+3"), 3.0);
  EXPECT_EQ(param.ParseValue("-0.25"), -0.25);
  EXPECT_EQ(param.ParseValue("1e2"), 100.0);
  EXPECT_EQ(param.ParseValue("abc"), 0.0);
  EXPECT_EQ(param.ParseValue(""), 0.0);
  EXPECT_EQ(param.ParseValue("--5"), 0.0);
  EXPECT_EQ(param.ParseValue("nan"), 0.0);  // no parameter can hold it: as no number
  EXPECT_EQ(param.ParseValue("inf"), HUGE_VAL);
  EXPECT_EQ(param.ParseValue("-Infinity"), -HUGE_VAL);
  EXPECT_EQ(param.ParseValue("1e999"), HUGE_VAL);
  EXPECT_EQ(param.ParseValue("1e-999"), 0.0);
  EXPECT_EQ(param.ParseValue("0x10"), 16.0);
  EXPECT_EQ(param.ParseValue(nullptr), 0.0);
}

// Typed texts that overflow or spell an infinity reach the range's ends; "nan" changes the
// value as a text without a number does, never to a NaN.
TEST(ParamStore, TypedExtremesAreClampedToTheRange) {
  IEffectParam param;
  param.DefineInt("Feedback", 50, 0, 100, "%");
  auto typed = [&](const char* text) {
    param.SetClampedValue(param.ParseValue(text));
    return param.Value();
  };
  EXPECT_EQ(typed("1e999"), 100.0);
  EXPECT_EQ(typed("inf"), 100.0);
  EXPECT_EQ(typed("-inf"), 0.0);
  EXPECT_EQ(typed("0x3C"), 60.0);
  EXPECT_EQ(typed("nan"), 0.0);
  EXPECT_EQ(typed("-nan(0x7)"), 0.0);
  EXPECT_EQ(param.ToNormalised(param.ParseValue("inf")), 1.0);
  EXPECT_EQ(param.ToNormalised(param.ParseValue("nan")), 0.0);
}

TEST(ParamStore, LongTextsAreCutToTheirFields) {
  IEffectParam param;
  const std::string longName(80, 'n');
  param.DefineInt(longName.c_str(), 0, 0, 1, longName.c_str());
  param.AddDisplayText(0, longName.c_str());
  EXPECT_EQ(std::string(param.Name()), longName.substr(0, 31));
  EXPECT_EQ(std::string(param.Label()), longName.substr(0, 31));
  EXPECT_EQ(Format(param, 0.0), longName.substr(0, 31));
}

}  // namespace
}  // namespace velmora
