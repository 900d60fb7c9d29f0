// Dispatcher handlers for identity, names, versions and capability questions.
#include <cstring>

#include "frame/effect_vst.h"
#include "frame/text_field.h"

namespace velmora {
namespace {

constexpr intptr_t kFrameIdentity = 0x4E764566;  // "NvEf"
constexpr intptr_t kVstVersion = 2400;
// The answer a host with vendor extensions expects from a plug-in that supports them.
constexpr intptr_t kVendorExtensionAnswer = 0xBEEF0000;

intptr_t CopyName(const DispatchCall& call, const char* name) {
  if (call.ptr == nullptr) {
    return 0;
  }
  CopyText(static_cast<char*>(call.ptr), IEffectBase::kNameSize, name);
  return 1;
}

}  // namespace

intptr_t IEffectVST::OnIdentify(const DispatchCall&) {
  return kFrameIdentity;
}

intptr_t IEffectVST::OnGetEffectName(const DispatchCall& call) {
  return CopyName(call, EffectName());
}

intptr_t IEffectVST::OnGetVendorString(const DispatchCall& call) {
  return CopyName(call, VendorName());
}

intptr_t IEffectVST::OnGetProductString(const DispatchCall& call) {
  return CopyName(call, ProductName());
}

intptr_t IEffectVST::OnGetVendorVersion(const DispatchCall&) {
  return VersionNumber(true);
}

intptr_t IEffectVST::OnGetVstVersion(const DispatchCall&) {
  return kVstVersion;
}

intptr_t IEffectVST::OnGetPlugCategory(const DispatchCall&) {
  return IsInstrument() ? vst::kPlugCategSynth : vst::kPlugCategEffect;
}

// Whole texts, compared exactly and case-sensitively.
intptr_t IEffectVST::OnCanDo(const DispatchCall& call) {
  if (call.ptr == nullptr) {
    return 0;
  }
  const char* text = static_cast<const char*>(call.ptr);
  const auto is = [text](const char* capability) { return std::strcmp(text, capability) == 0; };
  const int midi = MidiCapability();
  if (is("receiveVstTimeInfo")) {
    return 1;
  }
  if (is("sendVstEvents") || is("sendVstMidiEvent")) {
    return midi != 0 && (midi & 1) != 0 ? 1 : 0;
  }
  if (is("receiveVstEvents") || is("receiveVstMidiEvent")) {
    return midi == 1 || midi == 2 ? 1 : 0;
  }
  if (is("hasCockosExtensions") || is("hasCockosViewAsConfig")) {
    return kVendorExtensionAnswer;
  }
  return 0;
}

}  // namespace velmora
