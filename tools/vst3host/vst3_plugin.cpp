#include "tools/vst3host/vst3_plugin.h"

#include <cstring>
#include <filesystem>

namespace velmora::vst3host {
namespace {

#if defined(_WIN32)
constexpr const char* kArchitecture = "x86_64-win";
constexpr const char* kBinarySuffix = ".vst3";
constexpr const char* kEntryName = "InitDll";
constexpr const char* kExitName = "ExitDll";
#else
constexpr const char* kArchitecture = "x86_64-linux";
constexpr const char* kBinarySuffix = ".so";
constexpr const char* kEntryName = "ModuleEntry";
constexpr const char* kExitName = "ModuleExit";
#endif

template <typename Interface>
Interface* Query(FUnknown* object) {
  void* found = nullptr;
  if (object == nullptr || object->queryInterface(Interface::kIid.bytes, &found) != kResultOk) {
    return nullptr;
  }
  return static_cast<Interface*>(found);
}

}  // namespace

std::string Utf8Of(const char16* text, size_t capacity) {
  std::string out;
  for (size_t i = 0; i < capacity && text[i] != 0; ++i) {
    out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  }
  return out;
}

std::string ModuleBinaryOf(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::is_directory(path, error)) {
    return path;
  }
  const fs::path bundle(path);
  const std::string stem = bundle.filename().replace_extension().string();
  return (bundle / "Contents" / kArchitecture / (stem + kBinarySuffix)).string();
}

host::Result<std::unique_ptr<Vst3Module>> Vst3Module::Open(const std::string& path) {
  using R = host::Result<std::unique_ptr<Vst3Module>>;
  std::unique_ptr<Vst3Module> module(new Vst3Module());
  module->binary_ = ModuleBinaryOf(path);
  auto opened = host::PluginModule::Open(module->binary_);
  if (!opened) {
    return R::Failure(opened.Error());
  }
  module->module_ = std::move(opened.Value());
  void* entry = module->module_->FindSymbol(kEntryName);
  module->exit_ = reinterpret_cast<bool (*)()>(module->module_->FindSymbol(kExitName));
  if (entry == nullptr || module->exit_ == nullptr) {
    return R::Failure(std::string("no ") + kEntryName + " / " + kExitName);
  }
#if defined(_WIN32)
  const bool entered = reinterpret_cast<bool (*)()>(entry)();
#else
  const bool entered = reinterpret_cast<bool (*)(void*)>(entry)(nullptr);
#endif
  if (!entered) {
    module->exit_ = nullptr;
    return R::Failure(std::string(kEntryName) + " refused");
  }
  auto get = reinterpret_cast<GetFactoryProc>(module->module_->FindSymbol("GetPluginFactory"));
  module->factory_ = get != nullptr ? get() : nullptr;
  if (module->factory_ == nullptr) {
    return R::Failure("no factory");
  }
  module->factory2_ = Query<IPluginFactory2>(module->factory_);
  module->factory3_ = Query<IPluginFactory3>(module->factory_);
  return R::Success(std::move(module));
}

Vst3Module::~Vst3Module() {
  for (FUnknown* factory : {static_cast<FUnknown*>(factory3_), static_cast<FUnknown*>(factory2_),
                            static_cast<FUnknown*>(factory_)}) {
    if (factory != nullptr) {
      factory->release();
    }
  }
  if (exit_ != nullptr) {
    exit_();
  }
}

int Vst3Module::AudioClass(int count) const {
  const int32_t classes = factory_->countClasses();
  for (int32_t i = 0; i < classes; ++i) {
    PClassInfo info{};
    if (factory_->getClassInfo(i, &info) == kResultOk &&
        std::strncmp(info.category, kAudioEffectClass, sizeof info.category) == 0 && count-- == 0) {
      return i;
    }
  }
  return -1;
}

HostBuffers::HostBuffers(int inputs, int outputs, int frames, bool wide)
    : channels(inputs > outputs ? inputs : outputs), frames(frames), wide(wide) {
  const auto c = static_cast<size_t>(channels);
  const auto n = static_cast<size_t>(frames);
  in32.assign(c, std::vector<float>(wide ? 0 : n));
  out32.assign(c, std::vector<float>(wide ? 0 : n));
  in64.assign(c, std::vector<double>(wide ? n : 0));
  out64.assign(c, std::vector<double>(wide ? n : 0));
  for (size_t i = 0; i < c; ++i) {
    inPointers32.push_back(in32[i].data());
    outPointers32.push_back(out32[i].data());
    inPointers64.push_back(in64[i].data());
    outPointers64.push_back(out64[i].data());
  }
  input.numChannels = inputs;
  output.numChannels = outputs;
  if (wide) {
    input.channelBuffers64 = inPointers64.data();
    output.channelBuffers64 = outPointers64.data();
  } else {
    input.channelBuffers32 = inPointers32.data();
    output.channelBuffers32 = outPointers32.data();
  }
}

host::Result<std::unique_ptr<Vst3Plugin>> Vst3Plugin::Create(Vst3Module& module, int classIndex,
                                                             const std::string& hostName) {
  using R = host::Result<std::unique_ptr<Vst3Plugin>>;
  PClassInfo info{};
  if (module.Factory()->getClassInfo(classIndex, &info) != kResultOk) {
    return R::Failure("no class " + std::to_string(classIndex));
  }
  std::unique_ptr<Vst3Plugin> plugin(new Vst3Plugin(hostName));
  void* object = nullptr;
  if (module.Factory()->createInstance(info.cid, IComponent::kIid.bytes, &object) != kResultOk ||
      object == nullptr) {
    return R::Failure("the factory made no component");
  }
  plugin->component_ = static_cast<IComponent*>(object);
  if (plugin->component_->initialize(&plugin->application_) != kResultOk) {
    plugin->component_->release();
    plugin->component_ = nullptr;
    return R::Failure("the component refused to initialise");
  }
  plugin->processor_ = Query<IAudioProcessor>(plugin->component_);
  plugin->controller_ = Query<IEditController>(plugin->component_);
  plugin->single_ = plugin->controller_ != nullptr;
  char controllerId[16] = {};
  if (!plugin->single_ && plugin->component_->getControllerClassId(controllerId) == kResultOk &&
      module.Factory()->createInstance(controllerId, IEditController::kIid.bytes, &object) ==
          kResultOk) {
    plugin->controller_ = static_cast<IEditController*>(object);
    plugin->controller_->initialize(&plugin->application_);
  }
  if (plugin->processor_ == nullptr) {
    return R::Failure("the component has no processor");
  }
  if (plugin->controller_ != nullptr) {
    plugin->controller_->setComponentHandler(&plugin->handler_);
    if (!plugin->single_) {
      MemoryStream state;
      if (plugin->component_->getState(&state) == kResultOk) {
        state.Rewind();
        plugin->controller_->setComponentState(&state);
      }
    }
  }
  return R::Success(std::move(plugin));
}

Vst3Plugin::~Vst3Plugin() {
  Stop();
  if (controller_ != nullptr) {
    controller_->setComponentHandler(nullptr);
    // As Ardour and Qtractor do: the controller is terminated even when it is the component.
    controller_->terminate();
    controller_->release();
  }
  if (processor_ != nullptr) {
    processor_->release();
  }
  if (component_ != nullptr) {
    component_->terminate();
    component_->release();
  }
}

host::Status Vst3Plugin::Start(double rate, int maxBlock, bool wide) {
  ProcessSetup setup{kRealtime, wide ? kSample64 : kSample32, maxBlock, rate};
  if (processor_->setupProcessing(setup) != kResultOk) {
    return host::Status::Failure("setupProcessing refused");
  }
  sampleSize_ = setup.symbolicSampleSize;
  if (component_->setActive(1) != kResultOk) {
    return host::Status::Failure("setActive refused");
  }
  active_ = true;
  processor_->setProcessing(1);
  return {};
}

void Vst3Plugin::Stop() {
  if (active_) {
    processor_->setProcessing(0);
    component_->setActive(0);
    active_ = false;
  }
}

tresult Vst3Plugin::Process(HostBuffers& buffers, int frames, IParameterChanges* changes,
                            ProcessContext* context) {
  ProcessData data{};
  data.processMode = kRealtime;
  data.symbolicSampleSize = buffers.wide ? kSample64 : kSample32;
  data.numSamples = frames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &buffers.input;
  data.outputs = &buffers.output;
  data.inputParameterChanges = changes;
  outputChanges_.Clear();
  data.outputParameterChanges = &outputChanges_;
  data.processContext = context;
  return processor_->process(data);
}

std::vector<uint8_t> Vst3Plugin::SaveState() {
  MemoryStream stream;
  if (component_->getState(&stream) != kResultOk) {
    return {};
  }
  return stream.Bytes();
}

tresult Vst3Plugin::LoadState(const std::vector<uint8_t>& bytes) {
  MemoryStream stream(bytes);
  const tresult result = component_->setState(&stream);
  if (result == kResultOk && controller_ != nullptr) {
    stream.Rewind();
    controller_->setComponentState(&stream);
  }
  return result;
}

int Vst3Plugin::MainBusChannels(int32_t direction) const {
  BusInfo bus{};
  if (component_->getBusCount(kAudio, direction) < 1 ||
      component_->getBusInfo(kAudio, direction, 0, bus) != kResultOk) {
    return 2;
  }
  return bus.channelCount;
}

ParamID Vst3Plugin::IdOfTitle(const std::string& title) const {
  const int32_t count = controller_ != nullptr ? controller_->getParameterCount() : 0;
  for (int32_t i = 0; i < count; ++i) {
    ParameterInfo info{};
    if (controller_->getParameterInfo(i, info) == kResultOk && Utf8Of(info.title, 128) == title) {
      return info.id;
    }
  }
  return kNoParam;
}

}  // namespace velmora::vst3host
