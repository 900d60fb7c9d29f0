#include "vst3/plugin_factory.h"
#include "frame/text_field.h"
#include "plugin/velmora_version.h"

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
  CopyText(info->vendor, sizeof info->vendor, kVendorName);
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
  CopyText(info->category, sizeof info->category, kAudioEffectClass);
  CopyText(info->name, sizeof info->name, kEffectName);
  return kResultOk;
}

tresult PluginFactory::getClassInfo2(int32_t index, PClassInfo2* info) {
  if (info == nullptr || index != 0) {
    return kInvalidArgument;
  }
  *info = PClassInfo2{};
  std::memcpy(info->cid, kEffectClassId.bytes, sizeof info->cid);
  info->cardinality = PClassInfo::kManyInstances;
  CopyText(info->category, sizeof info->category, kAudioEffectClass);
  CopyText(info->name, sizeof info->name, kEffectName);
  // Not distributable: the processor and the controller are one object.
  info->classFlags = 0;
  CopyText(info->subCategories, sizeof info->subCategories, kSubCategories);
  CopyText(info->vendor, sizeof info->vendor, kVendorName);
  CopyText(info->version, sizeof info->version, VelmoraVersionText());
  CopyText(info->sdkVersion, sizeof info->sdkVersion, kSdkVersionText);
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
  CopyText(info->category, sizeof info->category, narrow.category);
  CopyToUtf16(narrow.name, info->name, 64);
  info->classFlags = narrow.classFlags;
  CopyText(info->subCategories, sizeof info->subCategories, narrow.subCategories);
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
