// The DSP module of the bundle: the one descriptor LV2 hosts look up. Nothing throws out of
// these callbacks: creation reports failure with a null handle.
#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include <cstring>

#include "lv2/bundle_names.h"
#include "lv2/delay_instance.h"

namespace velmora::lv2 {
namespace {

const LV2_URID_Map* FindUridMap(const LV2_Feature* const* features) {
  for (int i = 0; features != nullptr && features[i] != nullptr; ++i) {
    if (std::strcmp(features[i]->URI, LV2_URID__map) == 0) {
      return static_cast<const LV2_URID_Map*>(features[i]->data);
    }
  }
  return nullptr;
}

LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
  return DelayInstance::Create(rate, FindUridMap(features)).release();
}

DelayInstance& Of(LV2_Handle handle) {
  return *static_cast<DelayInstance*>(handle);
}

void ConnectPort(LV2_Handle handle, uint32_t port, void* data) {
  Of(handle).ConnectPort(port, data);
}

void Activate(LV2_Handle handle) {
  Of(handle).Activate();
}

void Run(LV2_Handle handle, uint32_t frames) {
  Of(handle).Run(frames);
}

void Deactivate(LV2_Handle handle) {
  Of(handle).Deactivate();
}

void Cleanup(LV2_Handle handle) {
  delete static_cast<DelayInstance*>(handle);
}

const void* ExtensionData(const char*) {
  return nullptr;
}

const LV2_Descriptor kDescriptor = {kPluginUri, Instantiate, ConnectPort, Activate,
                                    Run,        Deactivate,  Cleanup,     ExtensionData};

}  // namespace
}  // namespace velmora::lv2

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &velmora::lv2::kDescriptor : nullptr;
}
