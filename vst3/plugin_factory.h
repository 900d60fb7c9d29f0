// The module's factory: describes the one class the module offers and creates its objects.
// One factory per process, never deleted (hosts may release it more often than they took it).
#pragma once

#include "vst3/abi/vst3_base.h"

namespace velmora::vst3 {

class PluginFactory final : public IPluginFactory3 {
 public:
  static PluginFactory& Instance();

  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override;
  uint32_t VELMORA_VST3_CALL addRef() override { return 1; }
  uint32_t VELMORA_VST3_CALL release() override { return 1; }

  tresult VELMORA_VST3_CALL getFactoryInfo(PFactoryInfo* info) override;
  int32_t VELMORA_VST3_CALL countClasses() override { return 1; }
  tresult VELMORA_VST3_CALL getClassInfo(int32_t index, PClassInfo* info) override;
  tresult VELMORA_VST3_CALL createInstance(const char* cid, const char* iid,
                                           void** object) override;
  tresult VELMORA_VST3_CALL getClassInfo2(int32_t index, PClassInfo2* info) override;
  tresult VELMORA_VST3_CALL getClassInfoUnicode(int32_t index, PClassInfoW* info) override;
  tresult VELMORA_VST3_CALL setHostContext(FUnknown* context) override;
};

}  // namespace velmora::vst3
