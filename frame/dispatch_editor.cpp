// Dispatcher handlers for the editor window and the host's vendor extensions. Without an
// attached editor the editor requests answer 0.
#include <cmath>

#include "frame/effect_vst.h"
#include "frame/number_text.h"
#include "frame/text_field.h"

namespace velmora {
namespace {

constexpr intptr_t kVendorAnswer = 0xBEEF;
// Vendor-extension sub-requests, by the dispatcher opcode they mirror.
constexpr int32_t kVendorParamDisplay = 7;
constexpr int32_t kVendorParamIsTwoState = 8;
constexpr int32_t kVendorString2Parameter = 27;
constexpr int32_t kVendorWheelIndex = vst::FourCC('s', 't', 'C', 'A');
constexpr intptr_t kVendorWheelValue = vst::FourCC('W', 'h', 'e', 'e');
// The host's display scale, as hosts on high-density screens send it: the factor is in opt.
constexpr int32_t kVendorScaleIndex = vst::FourCC('P', 'r', 'e', 'S');
constexpr intptr_t kVendorScaleValue = vst::FourCC('A', 'e', 'C', 's');

}  // namespace

intptr_t IEffectVST::OnEditGetRect(const DispatchCall& call) {
  EditorLink* editor = Editor();
  if (call.ptr == nullptr || editor == nullptr) {
    return 0;
  }
  // The rectangle follows the editor's scale; at 100 % it is the editor's own size.
  editor->RefreshScale();
  editRect_.right = static_cast<int16_t>(editor->DeviceWidth());
  editRect_.bottom = static_cast<int16_t>(editor->DeviceHeight());
  *static_cast<vst::ERect**>(call.ptr) = &editRect_;
  return 1;
}

intptr_t IEffectVST::OnEditOpen(const DispatchCall& call) {
  EditorLink* editor = Editor();
  if (editor != nullptr) {
    editor->RefreshScale();
  }
  if (editor == nullptr || !editor->OpenEditorWindow(reinterpret_cast<intptr_t>(call.ptr))) {
    return 0;
  }
  EditorOpened();
  return 1;
}

intptr_t IEffectVST::OnEditClose(const DispatchCall&) {
  EditorLink* editor = Editor();
  if (editor == nullptr) {
    return 0;
  }
  EditorClosed();
  editor->CloseEditorWindow();
  return 1;
}

intptr_t IEffectVST::OnVendorSpecific(const DispatchCall& call) {
  const bool validParam = call.value >= 0 && call.value < NumParams();
  IEffectParam* param = validParam ? Param(static_cast<int>(call.value)) : nullptr;
  switch (call.index) {
    case kVendorParamDisplay:
      if (call.ptr == nullptr) {
        return 0;
      }
      if (param != nullptr) {
        param->FormatValue(call.opt, true, static_cast<char*>(call.ptr));
      }
      return kVendorAnswer;
    case kVendorParamIsTwoState: {
      if (param == nullptr) {
        return 0;
      }
      const IEffectParam::Type type = param->ParamType();
      const bool twoState = type == IEffectParam::kTypeBool ||
                            ((type == IEffectParam::kTypeInt || type == IEffectParam::kTypeEnum) &&
                             std::fabs(param->Maximum() - param->Minimum()) < 1.5);
      return twoState ? kVendorAnswer : 0;
    }
    case kVendorString2Parameter: {
      if (call.ptr == nullptr || param == nullptr) {
        return 0;
      }
      char* text = static_cast<char*>(call.ptr);
      if (text[0] != '\0') {
        char typed[256];
        CopyText(typed, sizeof(typed), text);
        FormatFixed(param->ToNormalised(param->ParseValue(typed)), 17, text,
                    IEffectParam::kTextSize);
      }
      return kVendorAnswer;
    }
    case kVendorScaleIndex: {
      EditorLink* editor = Editor();
      if (call.value != kVendorScaleValue || editor == nullptr) {
        return 0;
      }
      if (editor->SetHostScale(call.opt) && editor->WindowIsOpen()) {
        RequestEditorSize(editor->DeviceWidth(), editor->DeviceHeight());
      }
      return 1;
    }
    case kVendorWheelIndex:
      if (call.value == kVendorWheelValue && Editor() != nullptr) {
        return Editor()->EditorWheel(call.opt);
      }
      return 0;
    default:
      return 0;
  }
}

}  // namespace velmora
