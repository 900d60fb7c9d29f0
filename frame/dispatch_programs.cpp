// Dispatcher handlers for programs and state chunks. A host chunk is a 32-bit version
// followed by the parameter values; the bank form (index 0) and the program form carry the
// same content, and the bytes handed out stay valid until the next request of that form.
#include <climits>

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

intptr_t IEffectVST::OnGetChunk(const DispatchCall& call) {
  if (call.ptr == nullptr) {
    return 0;
  }
  const bool isBank = call.index == 0;
  IEffectChunk& chunk = isBank ? bankChunk_ : programChunk_;
  chunk.Clear();
  chunk.AppendInt32(VersionNumber(true));
  if (isBank) {
    StoreCurrentProgram(nullptr);
  }
  if (!SaveState(chunk) || chunk.Empty()) {
    return 0;
  }
  *static_cast<void**>(call.ptr) = chunk.Data();
  return chunk.Size();
}

intptr_t IEffectVST::OnSetChunk(const DispatchCall& call) {
  // A negative or absurd byte count is no chunk: refuse it before touching anything.
  if (call.ptr == nullptr || call.value < 0 || call.value > INT_MAX) {
    return 0;
  }
  IEffectChunk& chunk = call.index == 0 ? bankChunk_ : programChunk_;
  if (!chunk.Assign(call.ptr, static_cast<int>(call.value))) {
    return 0;
  }
  int32_t version = 0;
  int position = chunk.ReadInt32(0, &version) ? 4 : -1;
  position = LoadState(chunk, position);
  ChunkVersionRead(version);
  if (position < 0) {
    return 0;
  }
  RefreshEditorControls();
  return 1;
}

}  // namespace velmora
