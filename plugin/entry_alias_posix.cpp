// Older hosts on Linux look the entry point up as "main". A C++ function cannot be called
// that, so the second name is given to a forwarding function through an assembler label.
#include "frame/vst2.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

extern "C" velmora::vst::AEffect* VelmoraMainEntry(velmora::vst::HostCallback host) __asm__("main");

velmora::vst::AEffect* VelmoraMainEntry(velmora::vst::HostCallback host) {
  return VSTPluginMain(host);
}
