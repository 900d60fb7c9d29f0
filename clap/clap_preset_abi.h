// The CLAP preset-discovery factory as this project declares it: the host's indexer, the
// plug-in's providers and the receiver of each preset's metadata.
#pragma once

#include "clap/clap_abi.h"

namespace velmora::clap {

extern "C" {

constexpr char kPresetDiscoveryFactoryId[] = "clap.preset-discovery-factory/2";
constexpr char kPresetDiscoveryFactoryIdCompat[] = "clap.preset-discovery-factory/draft-2";

enum PresetLocationKind : uint32_t {
  kPresetLocationFile = 0,
  kPresetLocationPlugin = 1,  // presets inside the plug-in; the location is null
};

enum PresetFlags : uint32_t {
  kPresetIsFactoryContent = 1u << 0,
  kPresetIsUserContent = 1u << 1,
  kPresetIsDemoContent = 1u << 2,
  kPresetIsFavorite = 1u << 3,
};

struct UniversalPluginId {
  const char* abi;  // "clap" for CLAP plug-ins
  const char* id;
};

struct PresetMetadataReceiver {
  void* receiverData;
  void (*onError)(const PresetMetadataReceiver* receiver, int32_t osError, const char* message);
  bool (*beginPreset)(const PresetMetadataReceiver* receiver, const char* name,
                      const char* loadKey);
  void (*addPluginId)(const PresetMetadataReceiver* receiver, const UniversalPluginId* pluginId);
  void (*setSoundpackId)(const PresetMetadataReceiver* receiver, const char* soundpackId);
  void (*setFlags)(const PresetMetadataReceiver* receiver, uint32_t flags);
  void (*addCreator)(const PresetMetadataReceiver* receiver, const char* creator);
  void (*setDescription)(const PresetMetadataReceiver* receiver, const char* description);
  void (*setTimestamps)(const PresetMetadataReceiver* receiver, uint64_t created,
                        uint64_t modified);
  void (*addFeature)(const PresetMetadataReceiver* receiver, const char* feature);
  void (*addExtraInfo)(const PresetMetadataReceiver* receiver, const char* key, const char* value);
};

struct PresetFiletype {
  const char* name;
  const char* description;
  const char* fileExtension;
};

struct PresetLocation {
  uint32_t flags;
  const char* name;
  uint32_t kind;
  const char* location;
};

struct PresetSoundpack {
  uint32_t flags;
  const char* id;
  const char* name;
  const char* description;
  const char* homepageUrl;
  const char* vendor;
  const char* imagePath;
  uint64_t releaseTimestamp;
};

struct PresetProviderDescriptor {
  Version clapVersion;
  const char* id;
  const char* name;
  const char* vendor;
};

struct PresetProvider {
  const PresetProviderDescriptor* desc;
  void* providerData;
  bool (*init)(const PresetProvider* provider);
  void (*destroy)(const PresetProvider* provider);
  bool (*getMetadata)(const PresetProvider* provider, uint32_t locationKind, const char* location,
                      const PresetMetadataReceiver* receiver);
  const void* (*getExtension)(const PresetProvider* provider, const char* extensionId);
};

struct PresetIndexer {
  Version clapVersion;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  void* indexerData;
  bool (*declareFiletype)(const PresetIndexer* indexer, const PresetFiletype* filetype);
  bool (*declareLocation)(const PresetIndexer* indexer, const PresetLocation* location);
  bool (*declareSoundpack)(const PresetIndexer* indexer, const PresetSoundpack* soundpack);
  const void* (*getExtension)(const PresetIndexer* indexer, const char* extensionId);
};

struct PresetDiscoveryFactory {
  uint32_t (*count)(const PresetDiscoveryFactory* factory);
  const PresetProviderDescriptor* (*getDescriptor)(const PresetDiscoveryFactory* factory,
                                                   uint32_t index);
  const PresetProvider* (*create)(const PresetDiscoveryFactory* factory,
                                  const PresetIndexer* indexer, const char* providerId);
};

}  // extern "C"

static_assert(sizeof(PresetMetadataReceiver) == 88);
static_assert(offsetof(PresetLocation, kind) == 16 && sizeof(PresetLocation) == 32);
static_assert(sizeof(PresetSoundpack) == 64);
static_assert(offsetof(PresetProviderDescriptor, id) == 16 &&
              sizeof(PresetProviderDescriptor) == 40);
static_assert(sizeof(PresetProvider) == 48);
static_assert(offsetof(PresetIndexer, indexerData) == 48 && sizeof(PresetIndexer) == 88);
static_assert(sizeof(PresetDiscoveryFactory) == 24);

}  // namespace velmora::clap
