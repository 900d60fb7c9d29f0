// Audio ports, their two configurations (stereo, and mono for hosts that ask, as the VST 2
// plug-in's "1-1 2-2"), latency and tail.
#include <cstdio>
#include <cstring>

#include "clap/clap_extensions.h"
#include "clap/clap_plugin.h"

namespace velmora::clap {
namespace {

constexpr Id kStereoConfig = 0;
constexpr Id kMonoConfig = 1;

uint32_t PortCount(const Plugin* plugin, bool) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self != nullptr && self->OnMainThreadCheck() ? 1u : 0u;
}

// One main port each way, in place with its partner, taking floats or doubles.
bool PortInfo(const Plugin* plugin, uint32_t index, bool isInput, AudioPortInfo* info) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr || info == nullptr || index != 0 || !self->OnMainThreadCheck()) {
    return false;
  }
  std::memset(info, 0, sizeof(*info));
  info->id = 0;
  std::snprintf(info->name, sizeof(info->name), "%s", isInput ? "Input" : "Output");
  info->flags = kAudioPortIsMain | kAudioPortSupports64Bits | kAudioPortRequiresCommonSampleSize;
  info->channelCount = static_cast<uint32_t>(self->Channels());
  info->portType = self->Channels() == 1 ? kPortMono : kPortStereo;
  info->inPlacePair = 0;
  return true;
}

uint32_t ConfigCount(const Plugin* plugin) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self != nullptr && self->OnMainThreadCheck() ? 2u : 0u;
}

bool ConfigInfo(const Plugin* plugin, uint32_t index, AudioPortsConfig* config) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr || config == nullptr || index > kMonoConfig || !self->OnMainThreadCheck()) {
    return false;
  }
  const bool mono = index == kMonoConfig;
  std::memset(config, 0, sizeof(*config));
  config->id = index;
  std::snprintf(config->name, sizeof(config->name), "%s", mono ? "Mono" : "Stereo");
  config->inputPortCount = config->outputPortCount = 1;
  config->hasMainInput = config->hasMainOutput = true;
  config->mainInputChannelCount = config->mainOutputChannelCount = mono ? 1 : 2;
  config->mainInputPortType = config->mainOutputPortType = mono ? kPortMono : kPortStereo;
  return true;
}

bool SelectConfig(const Plugin* plugin, Id id) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr || (id != kStereoConfig && id != kMonoConfig)) {
    return false;
  }
  return self->SelectChannels(id == kMonoConfig ? 1 : 2);
}

uint32_t Latency(const Plugin* plugin) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self != nullptr ? static_cast<uint32_t>(self->Effect().Latency()) : 0u;
}

uint32_t Tail(const Plugin* plugin) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr) {
    return 0;
  }
  const uint32_t tail = self->Effect().TailSamples();
  return tail >= kEndlessTail ? kEndlessTail : tail;
}

}  // namespace

const PluginAudioPorts kAudioPortsExtension = {&PortCount, &PortInfo};
const PluginAudioPortsConfig kAudioPortsConfigExtension = {&ConfigCount, &ConfigInfo,
                                                           &SelectConfig};
const PluginLatency kLatencyExtension = {&Latency};
const PluginTail kTailExtension = {&Tail};

}  // namespace velmora::clap
