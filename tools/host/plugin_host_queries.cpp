// Dispatcher wrappers: parameters, texts, capabilities, programs and chunks.
#include <algorithm>
#include <cstring>

#include "tools/host/plugin_host.h"

namespace velmora::host {
namespace {

// Many plug-ins write past the 8, 24 or 32 characters VST 2 names as limits; a generous,
// zeroed buffer with a forced terminator survives all of them.
constexpr size_t kTextBufferSize = 1024;

}  // namespace

intptr_t PluginHost::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                              float opt) const {
  if (effect_ == nullptr || closed_) {
    return 0;
  }
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginHost::QueryText(int32_t opcode, int32_t index) const {
  char buffer[kTextBufferSize] = {};
  Dispatch(opcode, index, 0, buffer);
  buffer[kTextBufferSize - 1] = '\0';
  return std::string(buffer);
}

void PluginHost::SetParameter(int32_t index, float value) {
  if (!closed_ && index >= 0 && index < NumParams() && effect_->setParameter != nullptr) {
    effect_->setParameter(effect_, index, value);
  }
}

float PluginHost::GetParameter(int32_t index) const {
  if (!closed_ && index >= 0 && index < NumParams() && effect_->getParameter != nullptr) {
    return effect_->getParameter(effect_, index);
  }
  return 0.0f;
}

std::string PluginHost::ParamName(int32_t index) const {
  return index >= 0 && index < NumParams() ? QueryText(vst::effGetParamName, index) : "";
}

std::string PluginHost::ParamLabel(int32_t index) const {
  return index >= 0 && index < NumParams() ? QueryText(vst::effGetParamLabel, index) : "";
}

std::string PluginHost::ParamDisplay(int32_t index) const {
  return index >= 0 && index < NumParams() ? QueryText(vst::effGetParamDisplay, index) : "";
}

bool PluginHost::String2Parameter(int32_t index, const std::string& text) {
  if (index < 0 || index >= NumParams()) {
    return false;
  }
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(std::max(buffer.size() + 1, kTextBufferSize), '\0');
  return Dispatch(vst::effString2Parameter, index, 0, buffer.data()) != 0;
}

std::string PluginHost::EffectName() const {
  return QueryText(vst::effGetEffectName, 0);
}

std::string PluginHost::VendorString() const {
  return QueryText(vst::effGetVendorString, 0);
}

std::string PluginHost::ProductString() const {
  return QueryText(vst::effGetProductString, 0);
}

int32_t PluginHost::VendorVersion() const {
  return static_cast<int32_t>(Dispatch(vst::effGetVendorVersion));
}

int32_t PluginHost::VstVersion() const {
  return static_cast<int32_t>(Dispatch(vst::effGetVstVersion));
}

intptr_t PluginHost::CanDo(const std::string& capability) const {
  std::vector<char> text(capability.begin(), capability.end());
  text.push_back('\0');
  return Dispatch(vst::effCanDo, 0, 0, text.data());
}

std::optional<vst::ERect> PluginHost::EditorRect() const {
  vst::ERect* rect = nullptr;
  if (Dispatch(vst::effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
    return std::nullopt;
  }
  return *rect;
}

int32_t PluginHost::CurrentProgram() const {
  return static_cast<int32_t>(Dispatch(vst::effGetProgram));
}

void PluginHost::SetProgram(int32_t program) {
  if (program >= 0 && program < NumPrograms()) {
    Dispatch(vst::effSetProgram, 0, program);
  }
}

std::string PluginHost::ProgramName() const {
  return QueryText(vst::effGetProgramName, 0);
}

void PluginHost::SetProgramName(const std::string& name) {
  std::vector<char> text(name.begin(), name.end());
  text.push_back('\0');
  Dispatch(vst::effSetProgramName, 0, 0, text.data());
}

std::string PluginHost::ProgramNameIndexed(int32_t program) const {
  if (program < 0 || program >= NumPrograms()) {
    return "";
  }
  char buffer[kTextBufferSize] = {};
  if (Dispatch(vst::effGetProgramNameIndexed, program, 0, buffer) == 0) {
    return "";
  }
  buffer[kTextBufferSize - 1] = '\0';
  return std::string(buffer);
}

std::vector<uint8_t> PluginHost::GetChunk(bool programChunk) const {
  void* data = nullptr;
  intptr_t size = Dispatch(vst::effGetChunk, programChunk ? 1 : 0, 0, &data);
  if (size <= 0 || data == nullptr) {
    return {};
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

bool PluginHost::SetChunk(const std::vector<uint8_t>& chunk, bool programChunk) {
  // The plug-in reads from a buffer it does not own; a copy keeps the caller's const.
  std::vector<uint8_t> copy(chunk);
  return Dispatch(vst::effSetChunk, programChunk ? 1 : 0, static_cast<intptr_t>(copy.size()),
                  copy.empty() ? nullptr : copy.data()) != 0;
}

}  // namespace velmora::host
