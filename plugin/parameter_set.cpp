#include "plugin/parameter_set.h"

namespace velmora {
namespace {

const char* const kDelayRateTexts[] = {"1/64", "1/32T", "1/64D", "1/32", "1/16T", "1/32D", "1/16",
                                       "1/8T", "1/16D", "1/8",   "1/4T", "1/8D",  "1/4",   "1/2T",
                                       "1/4D", "1/2",   "1/1T",  "1/2D", "1/1",   "2/1T",  "1/1D",
                                       "2/1",  "4/1T",  "2/1D",  "4/1"};

const char* const kSweepRateTexts[] = {
    "1/32", "1/16T", "1/32D", "1/16",  "1/8T", "1/16D", "1/8",   "1/4T",  "1/8D", "1/4",  "1/2T",
    "1/4D", "1/2",   "1/1T",  "1/2D",  "1/1",  "2/1T",  "1/1D",  "2/1",   "4/1T", "2/1D", "4/1",
    "8/1T", "4/1D",  "8/1",   "16/1T", "8/1D", "16/1",  "32/1T", "16/1D", "32/1"};

const char* const kPingPongTexts[] = {"Triplet", "Dotted", "Normal", "Triplet 2", "Dotted 2"};
const char* const kFilterTypeTexts[] = {"Off", "Lowpass", "Highpass"};
const char* const kSweepLinkTexts[] = {"Off", "Pan Width", "Feedback", "Dry Mix", "Wet Mix"};
const char* const kNoYesTexts[] = {"No", "Yes"};

// The display texts of an enumeration, value 0 first; empty for integer parameters.
struct TextList {
  const char* const* texts = nullptr;
  int count = 0;
};

template <int N>
constexpr TextList Texts(const char* const (&texts)[N]) {
  return TextList{texts, N};
}

constexpr TextList kNumeric{};

// One row of the parameter table. Enumerations take their range from their texts, integer
// parameters from kParamRanges. A shape of 1 is the linear mapping.
struct ParamRow {
  const char* name;
  int defaultValue;
  const char* label;
  TextList texts;
  double shape;
};

// clang-format off
const ParamRow kParamTable[kVelmoraParamCount] = {
    // name               default  label  display texts            shape
    {"Delay Rate",        9,       "",    Texts(kDelayRateTexts),  1.0},
    {"Ping Pong",         2,       "",    Texts(kPingPongTexts),   1.0},
    {"Pan Width",         100,     "%",   kNumeric,                1.0},
    {"Feedback",          60,      "%",   kNumeric,                1.0},
    {"Freq Left",         3000,    "Hz",  kNumeric,                2.0},
    {"Reso Left",         40,      "%",   kNumeric,                1.0},
    {"Filter Left Type",  1,       "",    Texts(kFilterTypeTexts), 1.0},
    {"Left Depth",        50,      "%",   kNumeric,                1.0},
    {"Left Sweep Rate",   12,      "",    Texts(kSweepRateTexts),  1.0},
    {"Left Sweep Link",   0,       "",    Texts(kSweepLinkTexts),  1.0},
    {"Left Depth Link",   50,      "%",   kNumeric,                1.0},
    {"Freq Right",        3000,    "Hz",  kNumeric,                2.0},
    {"Reso Right",        40,      "%",   kNumeric,                1.0},
    {"Filter Right Type", 1,       "",    Texts(kFilterTypeTexts), 1.0},
    {"Right Depth",       50,      "%",   kNumeric,                1.0},
    {"Right Sweep Rate",  12,      "",    Texts(kSweepRateTexts),  1.0},
    {"Right Sweep Link",  0,       "",    Texts(kSweepLinkTexts),  1.0},
    {"Right Depth Link",  50,      "%",   kNumeric,                1.0},
    {"Filter Mirror",     1,       "",    Texts(kNoYesTexts),      1.0},
    {"Dry Mix",           100,     "%",   kNumeric,                1.0},
    {"Wet Mix",           60,      "%",   kNumeric,                1.0},
    {"Bypass Ceil",       -60,     "dB",  kNumeric,                1.0},
};
// clang-format on

void DeclareParameter(IEffectParam& param, const ParamRow& row, const ParamRange& range) {
  if (row.texts.count > 0) {
    param.DefineEnum(row.name, row.defaultValue, row.texts.count, row.label);
    for (int value = 0; value < row.texts.count; ++value) {
      param.AddDisplayText(value, row.texts.texts[value]);
    }
  } else {
    param.DefineInt(row.name, row.defaultValue, range.minimum, range.maximum, row.label);
    if (row.shape != 1.0) {
      param.SetShape(row.shape);
    }
  }
}

}  // namespace

void DeclareParameters(IEffectBase& plugin) {
  for (int index = 0; index < kVelmoraParamCount; ++index) {
    if (IEffectParam* param = plugin.Param(index)) {
      DeclareParameter(*param, kParamTable[index], kParamRanges[index]);
    }
  }
}

}  // namespace velmora
