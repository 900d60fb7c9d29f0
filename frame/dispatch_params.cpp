// Dispatcher handlers for parameter texts. Texts are copied whole into the host's buffer,
// which must hold the 32-byte parameter fields.
#include "frame/effect_vst.h"
#include "frame/text_field.h"

namespace velmora {

intptr_t IEffectVST::OnGetParamLabel(const DispatchCall& call) {
  if (const IEffectParam* param = Param(call.index); param != nullptr && call.ptr != nullptr) {
    CopyText(static_cast<char*>(call.ptr), IEffectParam::kTextSize, param->Label());
  }
  return 0;
}

intptr_t IEffectVST::OnGetParamDisplay(const DispatchCall& call) {
  if (const IEffectParam* param = Param(call.index); param != nullptr && call.ptr != nullptr) {
    param->FormatValue(param->Value(), false, static_cast<char*>(call.ptr));
  }
  return 0;
}

intptr_t IEffectVST::OnGetParamName(const DispatchCall& call) {
  if (const IEffectParam* param = Param(call.index); param != nullptr && call.ptr != nullptr) {
    CopyText(static_cast<char*>(call.ptr), IEffectParam::kTextSize, param->Name());
  }
  return 0;
}

}  // namespace velmora
