#include "vst3/plugin_factory.h"

#include <cstring>

#include "vst3/abi/vst3_processing.h"
#include "vst3/class_ids.h"
#include "vst3/utf16_text.h"
#include "vst3/velmora_vst3.h"

namespace velmora::vst3 {

PluginFactory& PluginFactory::Instance() {
  static PluginFactory factory;
  return factory;
}

tresult PluginFactory::queryInterface(const char* iid, void** object) {
  if (object == nullptr) {
    return kInvalidArgument;
  }
  *object = nullptr;
  if (SameIid(iid, FUnknown::kIid) || SameIid(iid, IPluginFactory::kIid) ||
      SameIid(iid, IPluginFactory2::kIid) || SameIid(iid, IPluginFactory3::kIid)) {
    *object = static_cast<IPluginFactory3*>(this);
    return kResultOk;
  }
  return kNoInterface;
}

tresult PluginFactory::getFactoryInfo(PFactoryInfo* info) {
  if (info == nullptr) {
    return kInvalidArgument;
  }
  *info = PFactoryInfo{};
  CopyToField(kVendorName, info->vendor, sizeof info->vendor);
  info->flags = PFactoryInfo::kUnicode;
  return kResultOk;
}

tresult PluginFactory::getClassInfo(int32_t index, PClassInfo* info) {
  if (info == nullptr || index != 0) {
    return kInvalidArgument;
  }
  *info = PClassInfo{};
  std::memcpy(info->cid, kEffectClassId.bytes, sizeof info->cid);
  info->cardinality = PClassInfo::kManyInstances;
  CopyToField(kAudioEffectClass, info->category, sizeof info->category);
  CopyToField(kEffectName, info->name, sizeof info->name);
  return kResultOk;
}

tresult PluginFactory::getClassInfo2(int32_t index, PClassInfo2* info) {
  if (info == nullptr || index != 0) {
    return kInvalidArgument;
  }
  *info = PClassInfo2{};
  std::memcpy(info->cid, kEffectClassId.bytes, sizeof info->cid);
  info->cardinality = PClassInfo::kManyInstances;
  CopyToField(kAudioEffectClass, info->category, sizeof info->category);
  CopyToField(kEffectName, info->name, sizeof info->name);
  // Not distributable: the processor and the controller are one object.
  info->classFlags = 0;
  CopyToField(kSubCategories, info->subCategories, sizeof info->subCategories);
  CopyToField(kVendorName, info->vendor, sizeof info->vendor);
  CopyToField(kVersionText, info->version, sizeof info->version);
  CopyToField(kSdkVersionText, info->sdkVersion, sizeof info->sdkVersion);
  return kResultOk;
}

tresult PluginFactory::getClassInfoUnicode(int32_t index, PClassInfoW* info) {
  PClassInfo2 narrow;
  if (info == nullptr || getClassInfo2(index, &narrow) != kResultOk) {
    return kInvalidArgument;
  }
  *info = PClassInfoW{};
  std::memcpy(info->cid, narrow.cid, sizeof info->cid);
  info->cardinality = narrow.cardinality;
  CopyToField(narrow.category, info->category, sizeof info->category);
  CopyToUtf16(narrow.name, info->name, 64);
  info->classFlags = narrow.classFlags;
  CopyToField(narrow.subCategories, info->subCategories, sizeof info->subCategories);
  CopyToUtf16(narrow.vendor, info->vendor, 64);
  CopyToUtf16(narrow.version, info->version, 64);
  CopyToUtf16(narrow.sdkVersion, info->sdkVersion, 64);
  return kResultOk;
}

// Any interface of the object may be asked for (the component is usual); the object is
// released again when it has none of them.
tresult PluginFactory::createInstance(const char* cid, const char* iid, void** object) {
  if (object == nullptr) {
    return kInvalidArgument;
  }
  *object = nullptr;
  if (cid == nullptr || iid == nullptr) {
    return kInvalidArgument;
  }
  if (!SameIid(cid, kEffectClassId)) {
    return kNoInterface;
  }
  VelmoraVst3* effect = VelmoraVst3::Create();
  if (effect == nullptr) {
    return kOutOfMemory;
  }
  const tresult result = effect->queryInterface(iid, object);
  effect->release();
  return result;
}

tresult PluginFactory::setHostContext(FUnknown*) {
  return kResultOk;
}

}  // namespace velmora::vst3
