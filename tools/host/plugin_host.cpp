// Creating, driving and closing one plug-in instance, and the host's side of the callback.
#include "tools/host/plugin_host.h"

#include <algorithm>
#include <cstring>

#include "tools/host/host_callback.h"

namespace velmora::host {
namespace {

// The longest product or vendor text VST 2 plug-ins reserve room for, terminator included.
constexpr size_t kHostStringCapacity = 64;

intptr_t CopyHostString(const std::string& text, void* ptr) {
  if (ptr == nullptr) {
    return 0;
  }
  size_t length = std::min(text.size(), kHostStringCapacity - 1);
  std::memcpy(ptr, text.data(), length);
  static_cast<char*>(ptr)[length] = '\0';
  return 1;
}

}  // namespace

PluginHost::PluginHost(const std::string& path, const HostConfig& config)
    : path_(path), config_(config) {}

Result<std::unique_ptr<PluginHost>> PluginHost::Load(const std::string& path,
                                                     const HostConfig& config) {
  using HostResult = Result<std::unique_ptr<PluginHost>>;
  auto module = PluginModule::Open(path);
  if (!module) {
    return HostResult::Failure(module.Error());
  }
  auto entry = reinterpret_cast<vst::EntryPoint>(module.Value()->FindSymbol("VSTPluginMain"));
  if (entry == nullptr) {
    entry = reinterpret_cast<vst::EntryPoint>(module.Value()->FindSymbol("main"));
  }
  if (entry == nullptr) {
    return HostResult::Failure(path + " is not a VST 2 plug-in: it exports neither " +
                               "VSTPluginMain nor main");
  }

  std::unique_ptr<PluginHost> host(new PluginHost(path, config));
  host->module_ = std::move(module.Value());
  vst::AEffect* effect = nullptr;
  {
    CreationScope scope(host.get());
    effect = entry(&HostCallback);
  }
  if (effect == nullptr) {
    return HostResult::Failure(path + ": the plug-in refused to create an instance");
  }
  if (effect->magic != vst::kEffectMagic || effect->dispatcher == nullptr) {
    // Not a record this host can talk to, so it cannot be closed either; the binary is
    // unloaded with the host.
    return HostResult::Failure(path + ": the entry point returned no valid VST 2 effect record");
  }
  if (effect->numInputs < 0 || effect->numOutputs < 0 || effect->numParams < 0 ||
      effect->numPrograms < 0) {
    host->effect_ = effect;
    RegisterEffect(effect, host.get());
    return HostResult::Failure(path + ": the effect record has negative channel, parameter " +
                               "or program counts");
  }
  host->effect_ = effect;
  RegisterEffect(effect, host.get());
  return HostResult::Success(std::move(host));
}

PluginHost::~PluginHost() {
  if (effect_ != nullptr) {
    Close();
    UnregisterEffect(effect_);
  }
  module_.reset();
}

void PluginHost::Open() {
  if (closed_ || opened_) {
    return;
  }
  opened_ = true;
  Dispatch(vst::effOpen);
}

void PluginHost::SetSampleRate(double sampleRate) {
  {
    std::lock_guard<std::mutex> lock(configMutex_);
    config_.sampleRate = sampleRate;
  }
  Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
}

void PluginHost::SetBlockSize(int32_t blockSize) {
  {
    std::lock_guard<std::mutex> lock(configMutex_);
    config_.blockSize = blockSize;
  }
  Dispatch(vst::effSetBlockSize, 0, blockSize);
}

void PluginHost::SetMains(bool on) {
  if (closed_) {
    return;
  }
  mainsOn_ = on;
  Dispatch(vst::effMainsChanged, 0, on ? 1 : 0);
}

void PluginHost::Start() {
  HostConfig config = Config();
  Open();
  SetSampleRate(config.sampleRate);
  SetBlockSize(config.blockSize);
  SetMains(true);
}

void PluginHost::Close() {
  if (closed_ || effect_ == nullptr) {
    return;
  }
  if (mainsOn_) {
    SetMains(false);
  }
  // effClose deletes the instance, whether or not it was opened.
  effect_->dispatcher(effect_, vst::effClose, 0, 0, nullptr, 0.0f);
  closed_ = true;
}

Status PluginHost::CheckProcessCall(const void* inputs, const void* outputs, int32_t frames) const {
  if (closed_) {
    return Status::Failure("the plug-in instance is closed");
  }
  if (inputs == nullptr || outputs == nullptr) {
    return Status::Failure("no audio buffers");
  }
  int32_t blockSize = 0;
  {
    // In place, not through Config(): this runs on the audio thread, before every block.
    std::lock_guard<std::mutex> lock(configMutex_);
    blockSize = config_.blockSize;
  }
  if (frames < 0 || frames > blockSize) {
    return Status::Failure("block of " + std::to_string(frames) +
                           " frames is outside the announced block size " +
                           std::to_string(blockSize));
  }
  return Status();
}

Status PluginHost::ProcessReplacing(float** inputs, float** outputs, int32_t frames) {
  Status status = CheckProcessCall(inputs, outputs, frames);
  if (status && effect_->processReplacing == nullptr) {
    status = Status::Failure("the plug-in has no processReplacing");
  }
  if (status) {
    effect_->processReplacing(effect_, inputs, outputs, frames);
    AdvancePosition(frames);
  }
  return status;
}

Status PluginHost::ProcessAccumulating(float** inputs, float** outputs, int32_t frames) {
  Status status = CheckProcessCall(inputs, outputs, frames);
  if (status && effect_->process == nullptr) {
    status = Status::Failure("the plug-in has no accumulating process");
  }
  if (status) {
    effect_->process(effect_, inputs, outputs, frames);
    AdvancePosition(frames);
  }
  return status;
}

Status PluginHost::ProcessDoubleReplacing(double** inputs, double** outputs, int32_t frames) {
  Status status = CheckProcessCall(inputs, outputs, frames);
  if (status && ((effect_->flags & vst::effFlagsCanDoubleReplacing) == 0 ||
                 effect_->processDoubleReplacing == nullptr)) {
    status = Status::Failure("the plug-in does not process double precision");
  }
  if (status) {
    effect_->processDoubleReplacing(effect_, inputs, outputs, frames);
    AdvancePosition(frames);
  }
  return status;
}

void PluginHost::AdvancePosition(int32_t frames) {
  std::lock_guard<std::mutex> lock(configMutex_);
  if (config_.advancePosition) {
    config_.samplePosition += frames;
  }
}

HostConfig PluginHost::Config() const {
  std::lock_guard<std::mutex> lock(configMutex_);
  return config_;
}

void PluginHost::SetTempo(double tempo, bool valid) {
  std::lock_guard<std::mutex> lock(configMutex_);
  config_.tempo = tempo;
  config_.tempoValid = valid;
}

void PluginHost::SetSamplePosition(double samplePosition) {
  std::lock_guard<std::mutex> lock(configMutex_);
  config_.samplePosition = samplePosition;
}

void PluginHost::SetProductString(const std::string& product, int32_t vendorVersion) {
  std::lock_guard<std::mutex> lock(configMutex_);
  config_.productString = product;
  config_.vendorVersion = vendorVersion;
}

intptr_t PluginHost::AnswerTime() {
  std::lock_guard<std::mutex> lock(configMutex_);
  const HostConfig& c = config_;
  timeInfo_ = vst::VstTimeInfo{};
  timeInfo_.samplePos = c.samplePosition;
  timeInfo_.sampleRate = c.sampleRate;
  timeInfo_.timeSigNumerator = c.timeSigNumerator;
  timeInfo_.timeSigDenominator = c.timeSigDenominator;
  timeInfo_.flags = vst::kVstTimeSigValid | (c.playing ? vst::kVstTransportPlaying : 0);
  if (c.tempoValid) {
    timeInfo_.tempo = c.tempo;
    // Quarter notes since the song start, and the start of the current bar in them.
    double quarters = c.sampleRate > 0.0 ? c.samplePosition / c.sampleRate * c.tempo / 60.0 : 0.0;
    double barLength =
        c.timeSigDenominator > 0 ? 4.0 * c.timeSigNumerator / c.timeSigDenominator : 4.0;
    timeInfo_.ppqPos = quarters;
    timeInfo_.barStartPos =
        barLength > 0.0 ? barLength * static_cast<int64_t>(quarters / barLength) : 0.0;
    timeInfo_.flags |= vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstBarsValid;
  }
  return reinterpret_cast<intptr_t>(&timeInfo_);
}

intptr_t PluginHost::AnswerCallback(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt) {
  calls_.Record(HostCall{opcode, index, value, opt});
  switch (opcode) {
    case vst::audioMasterVersion:
      return 2400;
    case vst::audioMasterGetTime:
      return AnswerTime();
    case vst::audioMasterGetSampleRate: {
      // Read in place: a copy of the whole configuration would allocate its strings, and
      // plug-ins ask this from their audio thread.
      std::lock_guard<std::mutex> lock(configMutex_);
      return static_cast<intptr_t>(config_.sampleRate);
    }
    case vst::audioMasterGetBlockSize: {
      std::lock_guard<std::mutex> lock(configMutex_);
      return config_.blockSize;
    }
    case vst::audioMasterGetAutomationState:
      return 1;  // automation off
    case vst::audioMasterGetVendorString: {
      std::lock_guard<std::mutex> lock(configMutex_);
      return CopyHostString(config_.vendorString, ptr);
    }
    case vst::audioMasterGetProductString: {
      std::lock_guard<std::mutex> lock(configMutex_);
      return CopyHostString(config_.productString, ptr);
    }
    case vst::audioMasterGetVendorVersion: {
      std::lock_guard<std::mutex> lock(configMutex_);
      return config_.vendorVersion;
    }
    case vst::audioMasterCanDo:
      return ptr != nullptr && std::strcmp(static_cast<const char*>(ptr), "sendVstTimeInfo") == 0
                 ? 1
                 : 0;
    case vst::audioMasterGetLanguage:
      return 1;  // English
    case vst::audioMasterSizeWindow: {
      std::lock_guard<std::mutex> lock(configMutex_);
      return config_.grantsSizeWindow ? 1 : 0;
    }
    case vst::audioMasterAutomate:
    case vst::audioMasterBeginEdit:
    case vst::audioMasterEndEdit:
    case vst::audioMasterUpdateDisplay:
      return 1;  // noted in the log; nothing else to do in a host without a user interface
    default:
      return 0;
  }
}

}  // namespace velmora::host
