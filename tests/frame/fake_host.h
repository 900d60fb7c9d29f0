// A scripted stand-in for a VST 2 host: answers the callback opcodes the plug-in uses with
// configurable values and records every call. Each instance is created through the
// exported entry point, exactly as a host does it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/vst2.h"
#include "plugin/velmora_plugin.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace velmora::testing {

struct HostCall {
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
};

class FakeHost {
 public:
  static intptr_t Callback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                           void* ptr, float opt);

  int Count(int32_t opcode) const;
  std::vector<HostCall> CallsOf(int32_t opcode) const;

  vst::VstTimeInfo timeInfo{};
  bool answersTime = true;
  std::string productString;
  int vendorVersion = 0;
  bool grantsSizeWindow = false;  // the answer to audioMasterSizeWindow
  std::vector<HostCall> calls;
  // Called with every call after it is recorded, before it is answered.
  std::function<void(const HostCall&)> onCall;
};

// One plug-in instance with its fake host; closed through the dispatcher at the end.
class PluginInstance {
 public:
  PluginInstance();
  ~PluginInstance();

  vst::AEffect* effect() const { return effect_; }
  VSTCLASS& plugin() const { return *static_cast<VSTCLASS*>(IEffectVST::FromEffect(effect_)); }
  FakeHost& host() { return host_; }

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) const;
  std::string ParamText(int32_t opcode, int index) const;
  // For tests that closed the instance themselves.
  void Forget() { effect_ = nullptr; }

 private:
  FakeHost host_;
  vst::AEffect* effect_ = nullptr;
};

}  // namespace velmora::testing
