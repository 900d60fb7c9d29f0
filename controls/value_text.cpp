#include "controls/value_text.h"

#include <cstring>

#include "frame/effect_base.h"
#include "frame/effect_param.h"

namespace velmora {

ParamDisplay ReadParamDisplay(IEffectBase* owner, int paramIndex, bool withUnit) {
  ParamDisplay display;
  if (owner == nullptr || !owner->IsValidParam(paramIndex)) {
    return display;
  }
  LockGuard guard(owner->InstanceLock());
  const IEffectParam& param = *owner->Param(paramIndex);
  display.bound = true;
  display.normalised = param.NormalisedValue();
  char value[IEffectParam::kTextSize] = {};
  param.FormatValue(param.Value(), false, value);
  if (value[0] == '\0') {
    return display;
  }
  std::strncat(display.text, value, kValueTextSize - 1);
  if (withUnit) {
    std::strncat(display.text, param.Label(), kValueTextSize - 1 - std::strlen(display.text));
  }
  return display;
}

}  // namespace velmora
