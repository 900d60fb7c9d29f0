// Dispatcher handlers for programs: choosing one, and reading and renaming them. The state
// chunks handed to the host are in chunk_layout.cpp.
#include "frame/effect_vst.h"
#include "frame/text_field.h"

namespace velmora {

intptr_t IEffectVST::OnSetProgram(const DispatchCall& call) {
  StoreCurrentProgram(nullptr);
  if (call.value >= 0 && call.value < NumPrograms()) {
    LoadProgram(static_cast<int>(call.value));
  }
  return 0;
}

intptr_t IEffectVST::OnGetProgram(const DispatchCall&) {
  return CurrentProgram();
}

intptr_t IEffectVST::OnSetProgramName(const DispatchCall& call) {
  if (call.ptr != nullptr) {
    // The host's text is read no further than a program name can hold, and cut there.
    char name[IEffectPreset::kNameSize];
    CopyText(name, sizeof(name), static_cast<const char*>(call.ptr));
    StoreCurrentProgram(name);
  }
  return 0;
}

intptr_t IEffectVST::OnGetProgramName(const DispatchCall& call) {
  if (call.ptr != nullptr) {
    CopyText(static_cast<char*>(call.ptr), IEffectPreset::kNameSize, ProgramName(CurrentProgram()));
  }
  return 0;
}

intptr_t IEffectVST::OnGetProgramNameIndexed(const DispatchCall& call) {
  if (call.ptr == nullptr) {
    return 0;
  }
  char* text = static_cast<char*>(call.ptr);
  CopyText(text, IEffectPreset::kNameSize, ProgramName(call.index));
  return text[0] != '\0' ? 1 : 0;
}

}  // namespace velmora
