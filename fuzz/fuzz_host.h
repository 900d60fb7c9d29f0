// The host side the plug-in fuzz targets share: a callback that answers the time and host
// identity questions from settings the fuzzer chooses, and one plug-in instance created
// through the exported entry point and opened as a host opens it.
#pragma once

#include <cstdint>

#include "frame/vst2.h"
#include "fuzz/fuzz_check.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace velmora::fuzz {

struct FuzzHost {
  static intptr_t Callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                           void* ptr, float opt);

  // Tempos come from a short table: arbitrary tiny tempos ask for delay lines of hundreds of
  // megabytes, which only slows the search down without reaching other code.
  void ChooseTempo(uint32_t choice, double samplePosition);

  vst::VstTimeInfo time{};
  bool answersTime = false;
  char product[64] = {};
  int32_t vendorVersion = 0;
};

class FuzzInstance {
 public:
  explicit FuzzInstance(FuzzHost& host);
  ~FuzzInstance();
  FuzzInstance(const FuzzInstance&) = delete;
  FuzzInstance& operator=(const FuzzInstance&) = delete;

  vst::AEffect* Effect() const { return effect_; }
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) const;

 private:
  vst::AEffect* effect_;
};

}  // namespace velmora::fuzz
