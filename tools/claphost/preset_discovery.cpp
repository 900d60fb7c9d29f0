// The host half of preset discovery: an indexer that collects the declared locations, and a
// metadata receiver that collects each preset's name, load key, plug-in ids and flags.
#include <cstring>

#include "tools/claphost/clap_instance.h"

namespace velmora::claphost {
namespace {

struct Indexing {
  std::vector<clap::PresetLocation> locations;
  std::vector<std::string> locationTexts;
  std::vector<DiscoveredPreset> presets;
  uint32_t currentKind = 0;
  const char* currentLocation = nullptr;
  int errors = 0;
};

Indexing& Of(const clap::PresetIndexer* indexer) {
  return *static_cast<Indexing*>(indexer->indexerData);
}
Indexing& Of(const clap::PresetMetadataReceiver* receiver) {
  return *static_cast<Indexing*>(receiver->receiverData);
}

bool DeclareFiletype(const clap::PresetIndexer*, const clap::PresetFiletype*) {
  return true;
}
bool DeclareLocation(const clap::PresetIndexer* indexer, const clap::PresetLocation* location) {
  Indexing& indexing = Of(indexer);
  indexing.locations.push_back(*location);
  indexing.locationTexts.push_back(location->location != nullptr ? location->location : "");
  return true;
}
bool DeclareSoundpack(const clap::PresetIndexer*, const clap::PresetSoundpack*) {
  return true;
}
const void* IndexerExtension(const clap::PresetIndexer*, const char*) {
  return nullptr;
}

void OnError(const clap::PresetMetadataReceiver* r, int32_t, const char*) {
  ++Of(r).errors;
}
bool BeginPreset(const clap::PresetMetadataReceiver* r, const char* name, const char* key) {
  Indexing& indexing = Of(r);
  DiscoveredPreset preset;
  preset.name = name != nullptr ? name : "";
  preset.loadKey = key != nullptr ? key : "";
  preset.locationKind = indexing.currentKind;
  preset.hasLocation = indexing.currentLocation != nullptr;
  preset.location = preset.hasLocation ? indexing.currentLocation : "";
  indexing.presets.push_back(preset);
  return true;
}
void AddPluginId(const clap::PresetMetadataReceiver* r, const clap::UniversalPluginId* id) {
  Indexing& indexing = Of(r);
  if (!indexing.presets.empty() && id != nullptr && id->abi != nullptr && id->id != nullptr) {
    indexing.presets.back().pluginIds.push_back(std::string(id->abi) + ":" + id->id);
  }
}
void SetSoundpackId(const clap::PresetMetadataReceiver*, const char*) {}
void SetFlags(const clap::PresetMetadataReceiver* r, uint32_t flags) {
  if (!Of(r).presets.empty()) {
    Of(r).presets.back().flags = flags;
  }
}
void AddCreator(const clap::PresetMetadataReceiver*, const char*) {}
void SetDescription(const clap::PresetMetadataReceiver*, const char*) {}
void SetTimestamps(const clap::PresetMetadataReceiver*, uint64_t, uint64_t) {}
void AddFeature(const clap::PresetMetadataReceiver*, const char*) {}
void AddExtraInfo(const clap::PresetMetadataReceiver*, const char*, const char*) {}

}  // namespace

host::Result<std::vector<DiscoveredPreset>> DiscoverPresets(const ClapModule& module) {
  using R = host::Result<std::vector<DiscoveredPreset>>;
  const clap::PresetDiscoveryFactory* factory = module.PresetFactory();
  if (factory == nullptr) {
    return R::Failure("no preset-discovery factory");
  }
  Indexing indexing;
  clap::PresetIndexer indexer = {clap::kVersion,    "Velmora CLAP Test Host",
                                 "Velmora",         "",
                                 "1.0.0",           &indexing,
                                 &DeclareFiletype,  &DeclareLocation,
                                 &DeclareSoundpack, &IndexerExtension};
  clap::PresetMetadataReceiver receiver = {
      &indexing,   &OnError,        &BeginPreset,   &AddPluginId, &SetSoundpackId, &SetFlags,
      &AddCreator, &SetDescription, &SetTimestamps, &AddFeature,  &AddExtraInfo};
  const uint32_t providers = factory->count(factory);
  for (uint32_t p = 0; p < providers; ++p) {
    const clap::PresetProviderDescriptor* descriptor = factory->getDescriptor(factory, p);
    if (descriptor == nullptr || descriptor->id == nullptr) {
      return R::Failure("provider without a descriptor");
    }
    const clap::PresetProvider* provider = factory->create(factory, &indexer, descriptor->id);
    if (provider == nullptr) {
      return R::Failure(std::string("provider ") + descriptor->id + " not created");
    }
    const size_t firstLocation = indexing.locations.size();
    if (!provider->init(provider)) {
      provider->destroy(provider);
      return R::Failure(std::string("provider ") + descriptor->id + " refused init");
    }
    for (size_t l = firstLocation; l < indexing.locations.size(); ++l) {
      const clap::PresetLocation& location = indexing.locations[l];
      const char* text = location.location != nullptr ? indexing.locationTexts[l].c_str() : nullptr;
      indexing.currentKind = location.kind;
      indexing.currentLocation = text;
      if (location.kind == clap::kPresetLocationPlugin) {
        provider->getMetadata(provider, location.kind, text, &receiver);
      }
    }
    provider->destroy(provider);
  }
  if (indexing.errors > 0) {
    return R::Failure("the provider reported errors");
  }
  return R::Success(std::move(indexing.presets));
}

}  // namespace velmora::claphost
