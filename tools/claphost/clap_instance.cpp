#include "tools/claphost/clap_instance.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace velmora::claphost {

using host::Result;

Result<std::unique_ptr<ClapModule>> ClapModule::Load(const std::string& path) {
  auto opened = host::PluginModule::Open(path);
  if (!opened) {
    return Result<std::unique_ptr<ClapModule>>::Failure(opened.Error());
  }
  std::unique_ptr<ClapModule> module(new ClapModule);
  module->path_ = path;
  module->module_ = std::move(opened.Value());
  module->entry_ = static_cast<const clap::PluginEntry*>(module->module_->FindSymbol("clap_entry"));
  if (module->entry_ == nullptr) {
    return Result<std::unique_ptr<ClapModule>>::Failure(path + " exports no clap_entry");
  }
  if (!clap::IsCompatible(module->entry_->clapVersion)) {
    return Result<std::unique_ptr<ClapModule>>::Failure(path + " has an incompatible CLAP version");
  }
  if (module->entry_->init == nullptr || !module->entry_->init(path.c_str())) {
    module->entry_ = nullptr;
    return Result<std::unique_ptr<ClapModule>>::Failure(path + ": clap_entry.init failed");
  }
  return Result<std::unique_ptr<ClapModule>>::Success(std::move(module));
}

ClapModule::~ClapModule() {
  if (entry_ != nullptr && entry_->deinit != nullptr) {
    entry_->deinit();
  }
}

const clap::PluginFactory* ClapModule::Factory() const {
  return static_cast<const clap::PluginFactory*>(entry_->getFactory(clap::kPluginFactoryId));
}

const clap::PresetDiscoveryFactory* ClapModule::PresetFactory() const {
  const void* factory = entry_->getFactory(clap::kPresetDiscoveryFactoryId);
  if (factory == nullptr) {
    factory = entry_->getFactory(clap::kPresetDiscoveryFactoryIdCompat);
  }
  return static_cast<const clap::PresetDiscoveryFactory*>(factory);
}

std::vector<const clap::PluginDescriptor*> ClapModule::Descriptors() const {
  std::vector<const clap::PluginDescriptor*> list;
  const clap::PluginFactory* factory = Factory();
  const uint32_t count = factory != nullptr ? factory->getPluginCount(factory) : 0;
  for (uint32_t i = 0; i < count; ++i) {
    list.push_back(factory->getPluginDescriptor(factory, i));
  }
  return list;
}

Result<std::unique_ptr<ClapInstance>> ClapInstance::Create(const ClapModule& module, ClapHost& host,
                                                           const std::string& id) {
  using R = Result<std::unique_ptr<ClapInstance>>;
  const clap::PluginFactory* factory = module.Factory();
  if (factory == nullptr) {
    return R::Failure(module.Path() + " has no plug-in factory");
  }
  std::string wanted = id;
  if (wanted.empty()) {
    const auto descriptors = module.Descriptors();
    if (descriptors.empty() || descriptors[0] == nullptr || descriptors[0]->id == nullptr) {
      return R::Failure(module.Path() + " describes no plug-in");
    }
    wanted = descriptors[0]->id;
  }
  const clap::Plugin* plugin = factory->createPlugin(factory, host.Record(), wanted.c_str());
  if (plugin == nullptr) {
    return R::Failure("the factory made no plug-in " + wanted);
  }
  if (!plugin->init(plugin)) {
    plugin->destroy(plugin);
    return R::Failure("plug-in " + wanted + " refused init");
  }
  return R::Success(std::unique_ptr<ClapInstance>(new ClapInstance(host, plugin)));
}

ClapInstance::~ClapInstance() {
  StopProcessing();
  Deactivate();
  plugin_->destroy(plugin_);
}

void ClapInstance::PrepareExtraPorts(bool input, uint32_t maxFrames) {
  ExtraPorts& extra = input ? extraIn_ : extraOut_;
  extra = ExtraPorts{};
  const auto* ports = Get<clap::PluginAudioPorts>(clap::kExtAudioPorts);
  const uint32_t count = ports != nullptr ? ports->count(plugin_, input) : 0;
  for (uint32_t p = 1; p < count; ++p) {
    clap::AudioPortInfo info{};
    if (!ports->get(plugin_, p, input, &info)) {
      continue;
    }
    std::vector<float*> floats;
    std::vector<double*> doubles;
    for (uint32_t c = 0; c < info.channelCount; ++c) {
      extra.floats.emplace_back(maxFrames, 0.0f);
      extra.doubles.emplace_back(maxFrames, 0.0);
      floats.push_back(extra.floats.back().data());
      doubles.push_back(extra.doubles.back().data());
    }
    extra.floatPointers.push_back(floats);
    extra.doublePointers.push_back(doubles);
    clap::AudioBuffer buffer{};
    buffer.channelCount = info.channelCount;
    extra.buffers.push_back(buffer);
  }
}

void ClapInstance::FillPorts(std::vector<clap::AudioBuffer>& buffers, const clap::AudioBuffer& main,
                             ExtraPorts& extra, bool doubles) {
  buffers.assign(1, main);
  for (size_t p = 0; p < extra.buffers.size(); ++p) {
    clap::AudioBuffer buffer = extra.buffers[p];
    buffer.data32 = doubles ? nullptr : extra.floatPointers[p].data();
    buffer.data64 = doubles ? extra.doublePointers[p].data() : nullptr;
    buffers.push_back(buffer);
  }
}

bool ClapInstance::Activate(double sampleRate, uint32_t maxFrames) {
  PrepareExtraPorts(true, maxFrames);
  PrepareExtraPorts(false, maxFrames);
  active_ = plugin_->activate(plugin_, sampleRate, 1, maxFrames);
  return active_;
}

void ClapInstance::Deactivate() {
  if (active_) {
    plugin_->deactivate(plugin_);
    active_ = false;
  }
}

bool ClapInstance::StartProcessing() {
  ClapHost::AudioScope audio;
  processing_ = plugin_->startProcessing(plugin_);
  return processing_;
}

void ClapInstance::StopProcessing() {
  if (processing_) {
    ClapHost::AudioScope audio;
    plugin_->stopProcessing(plugin_);
    processing_ = false;
  }
}

int32_t ClapInstance::Process(AudioIo& io, uint32_t frames, const InputEventList* in,
                              OutputEventList* out, const clap::EventTransport* transport,
                              int64_t steadyTime) {
  clap::AudioBuffer inputs{};
  clap::AudioBuffer outputs{};
  inputs.channelCount = outputs.channelCount = io.channels;
  inputs.data32 = io.in32.empty() ? nullptr : io.in32.data();
  inputs.data64 = io.in64.empty() ? nullptr : io.in64.data();
  outputs.data32 = io.out32.empty() ? nullptr : io.out32.data();
  outputs.data64 = io.out64.empty() ? nullptr : io.out64.data();
  InputEventList none;
  OutputEventList dropped;
  clap::Process process{};
  process.steadyTime = steadyTime >= 0 ? steadyTime : steadyTime_;
  process.framesCount = frames;
  process.transport = transport;
  const bool doubles = outputs.data64 != nullptr;
  FillPorts(inputBuffers_, inputs, extraIn_, doubles);
  FillPorts(outputBuffers_, outputs, extraOut_, doubles);
  process.audioInputs = inputBuffers_.data();
  process.audioOutputs = outputBuffers_.data();
  process.audioInputsCount = static_cast<uint32_t>(inputBuffers_.size());
  process.audioOutputsCount = static_cast<uint32_t>(outputBuffers_.size());
  process.inEvents = (in != nullptr ? in : &none)->List();
  process.outEvents = (out != nullptr ? out : &dropped)->List();
  steadyTime_ += frames;
  ClapHost::AudioScope audio;
  return plugin_->process(plugin_, &process);
}

void ClapInstance::Flush(const InputEventList* in, OutputEventList* out) {
  const auto* params = Get<clap::PluginParams>(clap::kExtParams);
  if (params == nullptr) {
    return;
  }
  InputEventList none;
  OutputEventList dropped;
  // While active, flush is the audio thread's call; the scope lives on the stack.
  std::optional<ClapHost::AudioScope> audio;
  if (active_) {
    audio.emplace();
  }
  params->flush(plugin_, (in != nullptr ? in : &none)->List(),
                (out != nullptr ? out : &dropped)->List());
}

uint32_t ClapInstance::ParamCount() const {
  const auto* params = Get<clap::PluginParams>(clap::kExtParams);
  return params != nullptr ? params->count(plugin_) : 0;
}

bool ClapInstance::ParamInfoAt(uint32_t index, clap::ParamInfo& info) const {
  const auto* params = Get<clap::PluginParams>(clap::kExtParams);
  return params != nullptr && params->getInfo(plugin_, index, &info);
}

bool ClapInstance::Value(clap::Id id, double& value) const {
  const auto* params = Get<clap::PluginParams>(clap::kExtParams);
  return params != nullptr && params->getValue(plugin_, id, &value);
}

std::string ClapInstance::Text(clap::Id id, double value) const {
  const auto* params = Get<clap::PluginParams>(clap::kExtParams);
  char text[256] = {};
  if (params == nullptr || !params->valueToText(plugin_, id, value, text, sizeof(text))) {
    return "";
  }
  return text;
}

namespace {

int64_t WriteBytes(const clap::OutputStream* stream, const void* buffer, uint64_t size) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(stream->ctx);
  const auto* data = static_cast<const uint8_t*>(buffer);
  bytes->insert(bytes->end(), data, data + size);
  return static_cast<int64_t>(size);
}

struct ReadSource {
  const std::vector<uint8_t>* bytes;
  size_t position;
  size_t chunk;
};

int64_t ReadBytes(const clap::InputStream* stream, void* buffer, uint64_t size) {
  auto* source = static_cast<ReadSource*>(stream->ctx);
  size_t n = std::min<size_t>(size, source->bytes->size() - source->position);
  if (source->chunk > 0) {
    n = std::min(n, source->chunk);
  }
  if (n > 0) {  // an empty vector's data may be null
    std::memcpy(buffer, source->bytes->data() + source->position, n);
    source->position += n;
  }
  return static_cast<int64_t>(n);
}

}  // namespace

Result<std::vector<uint8_t>> ClapInstance::SaveState() const {
  const auto* state = Get<clap::PluginState>(clap::kExtState);
  if (state == nullptr) {
    return Result<std::vector<uint8_t>>::Failure("no state extension");
  }
  std::vector<uint8_t> bytes;
  clap::OutputStream stream{&bytes, &WriteBytes};
  if (!state->save(plugin_, &stream)) {
    return Result<std::vector<uint8_t>>::Failure("state.save failed");
  }
  return Result<std::vector<uint8_t>>::Success(std::move(bytes));
}

bool ClapInstance::LoadState(const std::vector<uint8_t>& bytes, size_t chunk) const {
  const auto* state = Get<clap::PluginState>(clap::kExtState);
  if (state == nullptr) {
    return false;
  }
  ReadSource source{&bytes, 0, chunk};
  clap::InputStream stream{&source, &ReadBytes};
  return state->load(plugin_, &stream);
}

bool ClapInstance::LoadPreset(uint32_t locationKind, const char* location, const char* key) const {
  auto* load = Get<clap::PluginPresetLoad>(clap::kExtPresetLoad);
  if (load == nullptr) {
    load = Get<clap::PluginPresetLoad>(clap::kExtPresetLoadCompat);
  }
  return load != nullptr && load->fromLocation(plugin_, locationKind, location, key);
}

uint32_t ClapInstance::PortChannels(bool input) const {
  const auto* ports = Get<clap::PluginAudioPorts>(clap::kExtAudioPorts);
  clap::AudioPortInfo info{};
  if (ports == nullptr || ports->count(plugin_, input) == 0 ||
      !ports->get(plugin_, 0, input, &info)) {
    return 0;
  }
  return info.channelCount;
}

bool ClapInstance::PortSupports64Bits() const {
  const auto* ports = Get<clap::PluginAudioPorts>(clap::kExtAudioPorts);
  clap::AudioPortInfo in{}, out{};
  return ports != nullptr && ports->count(plugin_, true) > 0 && ports->get(plugin_, 0, true, &in) &&
         ports->get(plugin_, 0, false, &out) && (in.flags & clap::kAudioPortSupports64Bits) != 0 &&
         (out.flags & clap::kAudioPortSupports64Bits) != 0;
}

}  // namespace velmora::claphost
