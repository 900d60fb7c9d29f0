// One automatable parameter: its real value in its own units, its range and quantisation,
// the shape of the mapping to the host's normalised 0..1 view, and the texts shown for it.
// Hosts and controls see normalised values; the engine and the state chunks see real values.
#pragma once

#include <string>
#include <vector>

namespace velmora {

class IEffectParam {
 public:
  enum Type { kTypeNone = 0, kTypeBool = 1, kTypeInt = 2, kTypeEnum = 3, kTypeDouble = 4 };

  // Size of the name, label and display-text fields, terminator included.
  static constexpr int kTextSize = 32;
  static constexpr int kMaxDisplayPrecision = 6;

  // Declaration. The default is stored as given (not clamped); a maximum below
  // minimum + step is raised to minimum + step so the range is never empty.
  void DefineDouble(const char* name, double defaultValue, double minimum, double maximum,
                    double step, const char* label);
  void DefineInt(const char* name, int defaultValue, int minimum, int maximum, const char* label);
  // Values 0 .. count - 1; their texts are attached with AddDisplayText.
  void DefineEnum(const char* name, int defaultIndex, int count, const char* label);
  // Exponent of the normalised mapping; 0 is refused because the inverse mapping divides by it.
  void SetShape(double shape);
  void AddDisplayText(int value, const char* text);
  void SetNegateDisplay(bool negate) { negateDisplay_ = negate; }

  // real = n^shape x (maximum - minimum) + minimum, quantised to the step unless the
  // parameter is of double type, and cut to the maximum. Callers pass 0..1.
  void SetFromNormalised(double normalised);
  // The value SetFromNormalised would store, leaving the store as it is.
  double FromNormalised(double normalised) const;
  // The inverse mapping of v clamped to the range.
  double ToNormalised(double value) const;
  double NormalisedValue() const { return ToNormalised(value_); }

  // The text a host or control shows for v (a real value, or a normalised one when the flag is
  // set), written to text with at most kTextSize bytes.
  void FormatValue(double value, bool isNormalised, char* text) const;
  // The value a typed text stands for: a display text's value, else the leading number.
  double ParseValue(const char* text) const;
  // The same, false (value 0) for a text that names no value and starts with no number.
  bool ReadValue(const char* text, double& value) const;

  Type ParamType() const { return type_; }
  double Value() const { return value_; }
  void SetValue(double value) { value_ = value; }
  // Sets a real value from a host text or a chunk: whole-step kinds are first rounded to
  // their step, as a normalised value is, so what is shown always matches what is heard;
  // then the value is clamped to the declared range.
  void SetClampedValue(double value);
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  double Step() const { return step_; }
  double Shape() const { return shape_; }
  int DisplayPrecision() const { return displayPrecision_; }
  const char* Name() const { return name_; }
  const char* Label() const { return label_; }
  int DisplayTextCount() const { return static_cast<int>(displayTexts_.size()); }
  // The display text attached to value, or null when it has none.
  const char* DisplayTextFor(int value) const;

 private:
  struct DisplayText {
    int value;
    char text[kTextSize];
  };

  static int PrecisionForStep(double step);
  bool FindDisplayText(double value, const char** text) const;

  Type type_ = kTypeNone;
  double value_ = 0.0;
  double minimum_ = 0.0;
  double maximum_ = 1.0;
  double step_ = 1.0;
  double shape_ = 1.0;
  int displayPrecision_ = 0;
  char name_[kTextSize] = {};
  char label_[kTextSize] = {};
  bool negateDisplay_ = false;
  std::vector<DisplayText> displayTexts_;
};

}  // namespace velmora
