#include "clap/clap_presets.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "binding/hosted_effect.h"
#include "clap/clap_descriptor.h"
#include "clap/clap_extensions.h"
#include "clap/clap_plugin.h"

namespace velmora::clap {
namespace {

constexpr char kProviderId[] = "com.tolvane.velmora.factory-presets";
const PresetProviderDescriptor kProviderDescriptor = {kVersion, kProviderId,
                                                      "Velmora factory presets", "Tolvane"};

// One provider per indexer: the program names, read from an instance made for the purpose.
struct Provider {
  PresetProvider record{};
  const PresetIndexer* indexer = nullptr;
  std::vector<std::string> names;
};

Provider* ProviderOf(const PresetProvider* provider) {
  return provider != nullptr ? static_cast<Provider*>(provider->providerData) : nullptr;
}

bool ProviderInit(const PresetProvider* record) {
  Provider* provider = ProviderOf(record);
  if (provider == nullptr || provider->indexer->declareLocation == nullptr) {
    return false;
  }
  try {
    auto effect = binding::HostedEffect::Create(binding::HostIdentity{}, nullptr);
    if (!effect) {
      return false;
    }
    for (int i = 0; i < effect->FactoryProgramCount(); ++i) {
      provider->names.push_back(effect->ProgramName(i));
    }
  } catch (...) {
    return false;
  }
  const PresetLocation location = {kPresetIsFactoryContent, "Velmora factory presets",
                                   kPresetLocationPlugin, nullptr};
  return provider->indexer->declareLocation(provider->indexer, &location);
}

void ProviderDestroy(const PresetProvider* record) {
  delete ProviderOf(record);
}

bool GetMetadata(const PresetProvider* record, uint32_t kind, const char* location,
                 const PresetMetadataReceiver* receiver) {
  Provider* provider = ProviderOf(record);
  if (provider == nullptr || receiver == nullptr || receiver->beginPreset == nullptr ||
      kind != kPresetLocationPlugin || location != nullptr) {
    return false;
  }
  const UniversalPluginId plugin = {"clap", kPluginId};
  for (size_t i = 0; i < provider->names.size(); ++i) {
    const std::string key = std::to_string(i + 1);
    if (!receiver->beginPreset(receiver, provider->names[i].c_str(), key.c_str())) {
      break;
    }
    if (receiver->addPluginId != nullptr) {
      receiver->addPluginId(receiver, &plugin);
    }
    if (receiver->setFlags != nullptr) {
      receiver->setFlags(receiver, kPresetIsFactoryContent);
    }
    if (receiver->addCreator != nullptr) {
      receiver->addCreator(receiver, "Tolvane");
    }
  }
  return true;
}

const void* ProviderExtension(const PresetProvider*, const char*) {
  return nullptr;
}

uint32_t FactoryCount(const PresetDiscoveryFactory*) {
  return 1;
}

const PresetProviderDescriptor* FactoryDescriptor(const PresetDiscoveryFactory*, uint32_t index) {
  return index == 0 ? &kProviderDescriptor : nullptr;
}

const PresetProvider* FactoryCreate(const PresetDiscoveryFactory*, const PresetIndexer* indexer,
                                    const char* providerId) {
  if (indexer == nullptr || providerId == nullptr || std::strcmp(providerId, kProviderId) != 0) {
    return nullptr;
  }
  auto* provider = new (std::nothrow) Provider;
  if (provider == nullptr) {
    return nullptr;
  }
  provider->indexer = indexer;
  provider->record = {&kProviderDescriptor, provider,     &ProviderInit,
                      &ProviderDestroy,     &GetMetadata, &ProviderExtension};
  return &provider->record;
}

const PresetDiscoveryFactory kFactory = {&FactoryCount, &FactoryDescriptor, &FactoryCreate};

bool LoadFromLocation(const Plugin* plugin, uint32_t kind, const char* location,
                      const char* loadKey) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr || !self->OnMainThreadCheck()) {
    return false;
  }
  const Host* host = self->HostRecord();
  const auto* hostLoad =
      host->getExtension != nullptr
          ? static_cast<const HostPresetLoad*>(host->getExtension(host, kExtPresetLoad))
          : nullptr;
  const int program = kind == kPresetLocationPlugin && location == nullptr
                          ? ProgramOfLoadKey(loadKey, self->Effect().FactoryProgramCount())
                          : -1;
  if (program < 0 || !self->Effect().LoadProgram(program)) {
    if (hostLoad != nullptr && hostLoad->onError != nullptr) {
      hostLoad->onError(host, kind, location, loadKey, 0, "Velmora has no such preset");
    }
    return false;
  }
  self->ValuesChanged();
  if (hostLoad != nullptr && hostLoad->loaded != nullptr) {
    hostLoad->loaded(host, kind, location, loadKey);
  }
  return true;
}

}  // namespace

const PresetDiscoveryFactory& VelmoraPresetFactory() {
  return kFactory;
}

int ProgramOfLoadKey(const char* key, int programCount) {
  if (key == nullptr || key[0] < '1' || key[0] > '9') {
    return -1;
  }
  char* end = nullptr;
  const long number = std::strtol(key, &end, 10);
  if (*end != '\0' || number < 1 || number > programCount) {
    return -1;
  }
  return static_cast<int>(number) - 1;
}

const PluginPresetLoad kPresetLoadExtension = {&LoadFromLocation};

}  // namespace velmora::clap
