// A loaded CLAP module and one plug-in instance in it, driven as a host drives it: set-up,
// processing with events and transport, parameters, state streams, presets. Failures come
// back as a one-line reason; nothing is thrown.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "clap/clap_abi.h"
#include "clap/clap_ext_abi.h"
#include "clap/clap_preset_abi.h"
#include "tools/claphost/clap_events.h"
#include "tools/claphost/clap_test_host.h"
#include "tools/host/plugin_module.h"
#include "tools/host/result.h"

namespace velmora::claphost {

class ClapModule {
 public:
  // Loads the module, finds clap_entry and calls its init with the path.
  static host::Result<std::unique_ptr<ClapModule>> Load(const std::string& path);
  ~ClapModule();  // deinit, then unload

  const clap::PluginEntry& Entry() const { return *entry_; }
  const clap::PluginFactory* Factory() const;
  const clap::PresetDiscoveryFactory* PresetFactory() const;
  std::vector<const clap::PluginDescriptor*> Descriptors() const;
  const std::string& Path() const { return path_; }

 private:
  ClapModule() = default;
  std::unique_ptr<host::PluginModule> module_;
  const clap::PluginEntry* entry_ = nullptr;
  std::string path_;
};

// A preset as the module's preset-discovery factory lists it.
struct DiscoveredPreset {
  std::string name;
  std::string loadKey;
  uint32_t locationKind = 0;
  std::string location;  // empty for presets inside the plug-in
  bool hasLocation = false;
  std::vector<std::string> pluginIds;
  uint32_t flags = 0;
};

host::Result<std::vector<DiscoveredPreset>> DiscoverPresets(const ClapModule& module);

// Float or double audio for one block, in place of the host's buffers.
struct AudioIo {
  uint32_t channels = 2;
  std::vector<float*> in32, out32;
  std::vector<double*> in64, out64;
};

class ClapInstance {
 public:
  // Creates and initialises the plug-in with the given id (the first one when empty).
  static host::Result<std::unique_ptr<ClapInstance>> Create(const ClapModule& module,
                                                            ClapHost& host,
                                                            const std::string& id = "");
  ~ClapInstance();  // stops, deactivates and destroys
  ClapInstance(const ClapInstance&) = delete;
  ClapInstance& operator=(const ClapInstance&) = delete;

  const clap::Plugin* Plugin() const { return plugin_; }
  template <typename Extension>
  const Extension* Get(const char* id) const {
    return static_cast<const Extension*>(plugin_->getExtension(plugin_, id));
  }

  bool Activate(double sampleRate, uint32_t maxFrames);
  void Deactivate();
  bool StartProcessing();
  void StopProcessing();
  // One block; the transport may be null. Runs as the host's audio thread.
  int32_t Process(AudioIo& io, uint32_t frames, const InputEventList* in, OutputEventList* out,
                  const clap::EventTransport* transport, int64_t steadyTime = -1);
  void Flush(const InputEventList* in, OutputEventList* out);

  // Parameters through the params extension; an empty result when it is missing.
  uint32_t ParamCount() const;
  bool ParamInfoAt(uint32_t index, clap::ParamInfo& info) const;
  bool Value(clap::Id id, double& value) const;
  std::string Text(clap::Id id, double value) const;

  host::Result<std::vector<uint8_t>> SaveState() const;
  // Loads bytes through a stream that hands out at most chunk bytes per read (0: all).
  bool LoadState(const std::vector<uint8_t>& bytes, size_t chunk = 0) const;
  bool LoadPreset(uint32_t locationKind, const char* location, const char* key) const;

  // Audio ports: channel count of the first input and output port (0 without one).
  uint32_t PortChannels(bool input) const;
  bool PortSupports64Bits() const;

 private:
  ClapInstance(ClapHost& host, const clap::Plugin* plugin) : host_(host), plugin_(plugin) {}
  // Silent buffers for the ports after the first (side chains and the like), sized at
  // activation from the ports the plug-in declares.
  struct ExtraPorts {
    std::vector<clap::AudioBuffer> buffers;
    std::vector<std::vector<float>> floats;
    std::vector<std::vector<double>> doubles;
    std::vector<std::vector<float*>> floatPointers;
    std::vector<std::vector<double*>> doublePointers;
  };
  void PrepareExtraPorts(bool input, uint32_t maxFrames);
  void FillPorts(std::vector<clap::AudioBuffer>& buffers, const clap::AudioBuffer& main,
                 ExtraPorts& extra, bool doubles);

  ClapHost& host_;
  ExtraPorts extraIn_, extraOut_;
  std::vector<clap::AudioBuffer> inputBuffers_, outputBuffers_;
  const clap::Plugin* plugin_;
  bool active_ = false;
  bool processing_ = false;
  int64_t steadyTime_ = 0;
};

}  // namespace velmora::claphost
