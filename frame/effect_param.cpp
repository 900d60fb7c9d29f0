#include "frame/effect_param.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "frame/number_text.h"
#include "frame/text_field.h"

namespace velmora {

void IEffectParam::DefineDouble(const char* name, double defaultValue, double minimum,
                                double maximum, double step, const char* label) {
  if (type_ == kTypeNone) {
    type_ = kTypeDouble;
  }
  CopyText(name_, kTextSize, name);
  CopyText(label_, kTextSize, label);
  minimum_ = minimum;
  value_ = defaultValue;
  maximum_ = maximum >= minimum + step ? maximum : minimum + step;
  step_ = step;
  displayPrecision_ = PrecisionForStep(step);
}

void IEffectParam::DefineInt(const char* name, int defaultValue, int minimum, int maximum,
                             const char* label) {
  if (type_ == kTypeNone) {
    type_ = kTypeInt;
  }
  DefineDouble(name, defaultValue, minimum, maximum, 1.0, label);
}

void IEffectParam::DefineEnum(const char* name, int defaultIndex, int count, const char* label) {
  if (type_ == kTypeNone) {
    type_ = kTypeEnum;
  }
  DefineDouble(name, defaultIndex, 0.0, count - 1.0, 1.0, label);
}

void IEffectParam::SetShape(double shape) {
  if (shape != 0.0) {
    shape_ = shape;
  }
}

void IEffectParam::AddDisplayText(int value, const char* text) {
  DisplayText entry{value, {}};
  CopyText(entry.text, kTextSize, text);
  displayTexts_.push_back(entry);
}

// Counts the decimals a step needs, at most six: 1 -> 0, 0.1 -> 1, 0.25 -> 2.
int IEffectParam::PrecisionForStep(double step) {
  int precision = 0;
  double x = step;
  while (std::isfinite(x) && x != std::floor(x)) {
    ++precision;
    if (precision >= kMaxDisplayPrecision) {
      break;
    }
    x *= 10.0;
  }
  return precision;
}

void IEffectParam::SetFromNormalised(double normalised) {
  value_ = FromNormalised(normalised);
}

double IEffectParam::FromNormalised(double normalised) const {
  double v = std::pow(normalised, shape_) * (maximum_ - minimum_) + minimum_;
  if (type_ != kTypeDouble) {
    v = std::floor(v / step_ + 0.5) * step_;
  }
  return v < maximum_ ? v : maximum_;
}

double IEffectParam::ToNormalised(double value) const {
  const double range = maximum_ - minimum_;
  if (!(range > 0.0)) {
    return 0.0;
  }
  double x = value;
  if (x < minimum_) {
    x = minimum_;
  }
  if (x > maximum_) {
    x = maximum_;
  }
  return std::pow((x - minimum_) / range, 1.0 / shape_);
}

void IEffectParam::SetClampedValue(double value) {
  if (type_ != kTypeDouble) {
    value = std::floor(value / step_ + 0.5) * step_;
  }
  if (value < minimum_) {
    value = minimum_;
  }
  if (value > maximum_) {
    value = maximum_;
  }
  value_ = value;
}

const char* IEffectParam::DisplayTextFor(int value) const {
  for (const DisplayText& entry : displayTexts_) {
    if (entry.value == value) {
      return entry.text;
    }
  }
  return nullptr;
}

// The first entry for v truncated toward zero decides: its text when it has one; an empty
// entry text means "show the number". Values that cannot be truncated to an int match none.
bool IEffectParam::FindDisplayText(double value, const char** text) const {
  if (displayTexts_.empty() || !(std::fabs(value) < 2147483648.0)) {
    return false;
  }
  const char* found = DisplayTextFor(static_cast<int>(value));
  if (found == nullptr || found[0] == '\0') {
    return false;
  }
  *text = found;
  return true;
}

void IEffectParam::FormatValue(double value, bool isNormalised, char* text) const {
  if (isNormalised) {
    value = std::pow(value, shape_) * (maximum_ - minimum_) + minimum_;
  }
  const char* displayText = nullptr;
  if (FindDisplayText(value, &displayText)) {
    CopyText(text, kTextSize, displayText);
    return;
  }
  if (negateDisplay_) {
    value = -value;
  }
  if (value == 0.0 || std::isnan(value)) {
    CopyText(text, kTextSize, "0");
  } else if (displayPrecision_ > 0) {
    FormatFixed(value, displayPrecision_, text, kTextSize);
  } else {
    // Truncation toward zero, kept inside the 64-bit range for absurd values.
    const double limit = 9.0e18;
    const double whole = value > limit ? limit : (value < -limit ? -limit : value);
    FormatInteger(static_cast<int64_t>(whole), text, kTextSize);
  }
}

double IEffectParam::ParseValue(const char* text) const {
  double value = 0.0;
  ReadValue(text, value);
  return value;
}

bool IEffectParam::ReadValue(const char* text, double& value) const {
  value = 0.0;
  if (text == nullptr) {
    return false;
  }
  for (const DisplayText& entry : displayTexts_) {
    if (std::strcmp(entry.text, text) == 0) {
      value = entry.value;
      return true;
    }
  }
  double number = 0.0;
  // "nan" is read as the C library reads it, but no parameter can take it: it counts as a
  // text without a number. Infinities go on and are clamped to the range by the caller.
  if (!ReadLeadingNumber(text, number) || std::isnan(number)) {
    return false;
  }
  value = negateDisplay_ ? -number : number;
  return true;
}

}  // namespace velmora
