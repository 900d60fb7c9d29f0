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

// Every parameter can be automated, whatever index is asked about.
intptr_t IEffectVST::OnCanBeAutomated(const DispatchCall&) {
  return 1;
}

// A value typed by the user in the host: a display text or a number in real units.
intptr_t IEffectVST::OnString2Parameter(const DispatchCall& call) {
  IEffectParam* param = Param(call.index);
  if (param == nullptr) {
    return 0;
  }
  if (call.ptr != nullptr) {
    // Read the host's text only up to a bounded length; numbers and texts are short.
    char text[256];
    CopyText(text, sizeof(text), static_cast<const char*>(call.ptr));
    param->SetClampedValue(param->ParseValue(text));
    if (EditorLink* editor = Editor()) {
      editor->ShowParamValue(call.index, param->Value(), false);
    }
    ApplyParameter(call.index);
  }
  return 1;
}

}  // namespace velmora
