#include "controls/value_text.h"

#include <cstring>

#include "frame/effect_param.h"

namespace velmora {

bool FormatParamValueText(const IEffectParam* param, bool withUnit, char* text) {
  text[0] = '\0';
  if (param == nullptr) {
    return false;
  }
  char display[IEffectParam::kTextSize] = {};
  param->FormatValue(param->Value(), false, display);
  if (display[0] == '\0') {
    return false;
  }
  std::strncat(text, display, kValueTextSize - 1);
  if (withUnit) {
    std::strncat(text, param->Label(), kValueTextSize - 1 - std::strlen(text));
  }
  return true;
}

}  // namespace velmora
