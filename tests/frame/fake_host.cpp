#include "tests/frame/fake_host.h"

#include <cstring>

namespace velmora::testing {

intptr_t FakeHost::Callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                            void* ptr, float opt) {
  FakeHost* host = effect != nullptr ? static_cast<FakeHost*>(effect->user) : nullptr;
  if (host == nullptr) {
    return 0;
  }
  host->calls.push_back(HostCall{opcode, index, value, opt});
  if (host->onCall) {
    host->onCall(host->calls.back());
  }
  switch (opcode) {
    case vst::audioMasterGetTime:
      return host->answersTime ? reinterpret_cast<intptr_t>(&host->timeInfo) : 0;
    case vst::audioMasterGetProductString:
      std::strncpy(static_cast<char*>(ptr), host->productString.c_str(), 63);
      return 1;
    case vst::audioMasterGetVendorVersion:
      return host->vendorVersion;
    case vst::audioMasterSizeWindow:
      return host->grantsSizeWindow ? 1 : 0;
    default:
      return 0;
  }
}

int FakeHost::Count(int32_t opcode) const {
  return static_cast<int>(CallsOf(opcode).size());
}

std::vector<HostCall> FakeHost::CallsOf(int32_t opcode) const {
  std::vector<HostCall> found;
  for (const HostCall& call : calls) {
    if (call.opcode == opcode) {
      found.push_back(call);
    }
  }
  return found;
}

PluginInstance::PluginInstance() : effect_(VSTPluginMain(&FakeHost::Callback)) {
  if (effect_ != nullptr) {
    effect_->user = &host_;
  }
}

PluginInstance::~PluginInstance() {
  if (effect_ != nullptr) {
    effect_->dispatcher(effect_, vst::effClose, 0, 0, nullptr, 0.0f);
  }
}

intptr_t PluginInstance::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) const {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginInstance::ParamText(int32_t opcode, int index) const {
  char text[256];
  std::memset(text, 'x', sizeof(text));
  text[sizeof(text) - 1] = '\0';
  Dispatch(opcode, index, 0, text);
  return text;
}

}  // namespace velmora::testing
