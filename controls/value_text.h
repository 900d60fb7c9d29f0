// The text knobs and sliders print under themselves: the parameter's display text for its
// current value, optionally followed directly by its unit label.
#pragma once

namespace velmora {

class IEffectParam;

constexpr int kValueTextSize = 64;

// Writes the text into text (kValueTextSize bytes); false when there is no parameter or the
// text is empty.
bool FormatParamValueText(const IEffectParam* param, bool withUnit, char* text);

}  // namespace velmora
