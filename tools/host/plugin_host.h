// A VST 2 host for one plug-in instance: loads the binary, creates the instance through its
// entry point, answers the plug-in's host callback from a configurable HostConfig, records
// every callback call, and drives the plug-in through its dispatcher, audio callbacks and
// parameter callbacks. Used by the command-line tools and by the tests.
//
// Threads: Load, the lifecycle calls and the dispatcher wrappers belong to one "main"
// thread; the Process calls to one audio thread; configuration setters and the call log may
// be used from any thread. Nothing throws; failures come back as Status or Result.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "frame/vst2.h"
#include "tools/host/call_log.h"
#include "tools/host/host_config.h"
#include "tools/host/plugin_module.h"
#include "tools/host/result.h"

namespace velmora::host {

class PluginHost {
 public:
  // Loads the plug-in at path and creates one instance (the entry point is looked up as
  // VSTPluginMain, then main). The instance is not opened yet.
  static Result<std::unique_ptr<PluginHost>> Load(const std::string& path,
                                                  const HostConfig& config = HostConfig());

  // Switches processing off and closes the instance if needed, then unloads the binary.
  ~PluginHost();

  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  vst::AEffect* Effect() const { return effect_; }
  const std::string& Path() const { return path_; }
  int32_t NumParams() const { return effect_->numParams; }
  int32_t NumPrograms() const { return effect_->numPrograms; }
  int32_t NumInputs() const { return effect_->numInputs; }
  int32_t NumOutputs() const { return effect_->numOutputs; }

  // Lifecycle, in the order a host uses them.
  void Open();
  void SetSampleRate(double sampleRate);
  void SetBlockSize(int32_t blockSize);
  void SetMains(bool on);
  // Open, announce the configured sample rate and block size, and switch processing on.
  void Start();
  // Switches processing off and sends effClose. Later calls do nothing.
  void Close();
  bool IsOpen() const { return opened_ && !closed_; }

  // Audio: frames must not exceed the announced block size; the buffers must have at least
  // NumInputs and NumOutputs channels.
  Status ProcessReplacing(float** inputs, float** outputs, int32_t frames);
  Status ProcessAccumulating(float** inputs, float** outputs, int32_t frames);
  Status ProcessDoubleReplacing(double** inputs, double** outputs, int32_t frames);

  // Parameters: plain index checks, then straight through to the plug-in.
  void SetParameter(int32_t index, float value);
  float GetParameter(int32_t index) const;
  std::string ParamName(int32_t index) const;
  std::string ParamLabel(int32_t index) const;
  std::string ParamDisplay(int32_t index) const;
  // effString2Parameter; true when the plug-in accepted the text.
  bool String2Parameter(int32_t index, const std::string& text);

  // Identity and capabilities.
  std::string EffectName() const;
  std::string VendorString() const;
  std::string ProductString() const;
  int32_t VendorVersion() const;
  int32_t VstVersion() const;
  intptr_t CanDo(const std::string& capability) const;
  std::optional<vst::ERect> EditorRect() const;

  // Programs.
  int32_t CurrentProgram() const;
  void SetProgram(int32_t program);
  std::string ProgramName() const;
  void SetProgramName(const std::string& name);
  // The name of any program without selecting it; empty when the plug-in does not say.
  std::string ProgramNameIndexed(int32_t program) const;

  // State chunks (programChunk false: the whole bank). Empty when the plug-in gives none.
  std::vector<uint8_t> GetChunk(bool programChunk) const;
  bool SetChunk(const std::vector<uint8_t>& chunk, bool programChunk);

  // Any dispatcher call, for what the wrappers above do not cover.
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) const;

  // Host configuration, readable by the plug-in at any time through the callback.
  HostConfig Config() const;
  void SetTempo(double tempo, bool valid = true);
  void SetSamplePosition(double samplePosition);
  void SetProductString(const std::string& product, int32_t vendorVersion);

  const CallLog& Calls() const { return calls_; }
  CallLog& Calls() { return calls_; }

  // The answer to one host-callback call; public for the C callback only.
  intptr_t AnswerCallback(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

 private:
  PluginHost(const std::string& path, const HostConfig& config);
  Status CheckProcessCall(const void* inputs, const void* outputs, int32_t frames) const;
  void AdvancePosition(int32_t frames);
  std::string QueryText(int32_t opcode, int32_t index) const;
  intptr_t AnswerTime();

  std::string path_;
  std::unique_ptr<PluginModule> module_;
  vst::AEffect* effect_ = nullptr;
  bool opened_ = false;
  bool mainsOn_ = false;
  bool closed_ = false;

  mutable std::mutex configMutex_;
  HostConfig config_;
  vst::VstTimeInfo timeInfo_{};

  CallLog calls_;
};

}  // namespace velmora::host
