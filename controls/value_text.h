// What knobs and sliders show of their parameter: its display text for the current value,
// optionally followed directly by its unit label, and its normalised value. The parameter
// is read under the plug-in's instance lock, because a host thread may be changing it while
// the editor paints.
#pragma once

namespace velmora {

class IEffectBase;

constexpr int kValueTextSize = 64;

struct ParamDisplay {
  char text[kValueTextSize] = {};  // empty when there is no parameter or nothing to show
  double normalised = 0.0;
  bool bound = false;  // false: the control has no parameter
};

ParamDisplay ReadParamDisplay(IEffectBase* owner, int paramIndex, bool withUnit);

}  // namespace velmora
