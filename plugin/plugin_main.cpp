// The library's entry point. A VST 2 host calls it once per instance with its callback and
// gets the instance's effect record back (null when the instance could not be built).
#include "frame/entry_point.h"
#include "plugin/velmora_plugin.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host) {
  return velmora::CreateEffectInstance(host, &velmora::CreateVelmoraPlugin);
}
