// Loading a VST 3 module and driving one audio class of it as a host does: the factory, the
// component with its processor and controller (the same object, or a separate controller
// class), set-up, activation, processing, state and the component handler.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/host/plugin_module.h"
#include "tools/host/result.h"
#include "tools/vst3host/host_objects.h"

namespace velmora::vst3host {

// The binary inside a bundle folder (NAME.vst3/Contents/<architecture>/NAME.so or .vst3);
// a path that is not a folder is taken as the binary itself.
std::string ModuleBinaryOf(const std::string& path);

class Vst3Module {
 public:
  // Loads the binary, runs its module entry and asks for its factory.
  static host::Result<std::unique_ptr<Vst3Module>> Open(const std::string& path);
  // Releases the factory, runs the module exit and unloads the binary.
  ~Vst3Module();

  IPluginFactory* Factory() const { return factory_; }
  IPluginFactory2* Factory2() const { return factory2_; }
  IPluginFactory3* Factory3() const { return factory3_; }
  // Index of the count-th class of the audio-effect category, -1 when there is none.
  int AudioClass(int count = 0) const;
  const std::string& Binary() const { return binary_; }

 private:
  Vst3Module() = default;
  std::unique_ptr<host::PluginModule> module_;
  std::string binary_;
  IPluginFactory* factory_ = nullptr;
  IPluginFactory2* factory2_ = nullptr;
  IPluginFactory3* factory3_ = nullptr;
  bool (*exit_)() = nullptr;
};

// Float or double host buffers for one bus each way.
struct HostBuffers {
  HostBuffers(int channels, int frames, bool wide)
      : HostBuffers(channels, channels, frames, wide) {}
  HostBuffers(int inputs, int outputs, int frames, bool wide);
  int channels;  // the larger of the two buses
  int frames;
  bool wide;
  std::vector<std::vector<float>> in32, out32;
  std::vector<std::vector<double>> in64, out64;
  std::vector<float*> inPointers32, outPointers32;
  std::vector<double*> inPointers64, outPointers64;
  AudioBusBuffers input{};
  AudioBusBuffers output{};
};

class Vst3Plugin {
 public:
  static host::Result<std::unique_ptr<Vst3Plugin>> Create(Vst3Module& module, int classIndex,
                                                          const std::string& hostName);
  ~Vst3Plugin();

  IComponent* Component() const { return component_; }
  IAudioProcessor* Processor() const { return processor_; }
  IEditController* Controller() const { return controller_; }
  bool SingleObject() const { return single_; }
  ComponentHandler& Handler() { return handler_; }
  // The channels of the main audio bus each way (2 when the plug-in does not say).
  int MainBusChannels(int32_t direction) const;
  // What the plug-in sent back in the last block.
  ParamChanges& OutputChanges() { return outputChanges_; }

  // setupProcessing, then setActive(1) and setProcessing(1).
  host::Status Start(double rate, int maxBlock, bool wide);
  void Stop();

  // One block through both buses; changes and context may be null.
  tresult Process(HostBuffers& buffers, int frames, IParameterChanges* changes,
                  ProcessContext* context);

  std::vector<uint8_t> SaveState();
  tresult LoadState(const std::vector<uint8_t>& bytes);

  // The parameter index of an id, and the id of a title; -1 / kNoParam when absent.
  static constexpr ParamID kNoParam = 0xFFFFFFFFu;
  ParamID IdOfTitle(const std::string& title) const;

 private:
  explicit Vst3Plugin(const std::string& hostName) : application_(hostName) {}
  HostApplication application_;
  ComponentHandler handler_;
  ParamChanges outputChanges_;
  IComponent* component_ = nullptr;
  IAudioProcessor* processor_ = nullptr;
  IEditController* controller_ = nullptr;
  bool single_ = false;
  bool active_ = false;
  int32_t sampleSize_ = kSample32;
};

std::string Utf8Of(const char16* text, size_t capacity);

}  // namespace velmora::vst3host
