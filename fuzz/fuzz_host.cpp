#include "fuzz/fuzz_host.h"

#include <cstring>

namespace velmora::fuzz {

intptr_t FuzzHost::Callback(vst::AEffect* effect, int32_t opcode, int32_t, intptr_t, void* ptr,
                            float) {
  // Calls made while the instance is being built come before the host could set user.
  FuzzHost* host = effect != nullptr ? static_cast<FuzzHost*>(effect->user) : nullptr;
  if (opcode == vst::audioMasterVersion) {
    return 2400;
  }
  if (host == nullptr) {
    return 0;
  }
  switch (opcode) {
    case vst::audioMasterGetTime:
      return host->answersTime ? reinterpret_cast<intptr_t>(&host->time) : 0;
    case vst::audioMasterGetProductString:
      if (ptr != nullptr) {
        std::memcpy(ptr, host->product, sizeof(host->product));
        static_cast<char*>(ptr)[sizeof(host->product) - 1] = '\0';
      }
      return 1;
    case vst::audioMasterGetVendorVersion:
      return host->vendorVersion;
    default:
      return 0;
  }
}

void FuzzHost::ChooseTempo(uint32_t choice, double samplePosition) {
  // The last entry stands for a host that answers no time at all.
  static constexpr double kTempos[] = {120.0, 60.0, 187.5, 0.0, -1.0};
  const uint32_t pick = choice % 5;
  answersTime = kTempos[pick] >= 0.0;
  time = vst::VstTimeInfo{};
  time.sampleRate = 44100.0;
  time.samplePos = samplePosition;
  time.tempo = kTempos[pick];
  time.flags = (choice / 5) % 2 == 0 ? vst::kVstTempoValid : 0;
}

FuzzInstance::FuzzInstance(FuzzHost& host) : effect_(VSTPluginMain(&FuzzHost::Callback)) {
  if (effect_ == nullptr || effect_->magic != vst::kEffectMagic) {
    Fail("the entry point built no instance");
  }
  effect_->user = &host;
  Dispatch(vst::effOpen);
}

FuzzInstance::~FuzzInstance() {
  Dispatch(vst::effClose);
}

intptr_t FuzzInstance::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) const {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

}  // namespace velmora::fuzz
