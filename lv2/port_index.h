// The port numbering of the LV2 plug-in, shared by the DSP object, its UI and the generator
// that writes the bundle's description, so the three cannot disagree.
#pragma once

#include <cstdint>

#include "engine/parameter_index.h"

namespace velmora::lv2 {

enum PortIndex : uint32_t {
  kPortInputLeft = 0,
  kPortInputRight = 1,
  kPortOutputLeft = 2,
  kPortOutputRight = 3,
  // atom:Sequence of time:Position objects from the host.
  kPortTime = 4,
  // Parameter i is the control input port kPortFirstParam + i, in its displayed units.
  kPortFirstParam = 5,
  // atom:Sequence to the UI: the bypass lamp and the two modulation strips.
  kPortNotify = kPortFirstParam + kVelmoraParamCount,
  kPortCount,
};

constexpr uint32_t ParamPort(int index) {
  return kPortFirstParam + static_cast<uint32_t>(index);
}

// The parameter index of a port, or -1 for a port that carries none.
constexpr int ParamOfPort(uint32_t port) {
  return port >= kPortFirstParam && port < kPortFirstParam + kVelmoraParamCount
             ? static_cast<int>(port - kPortFirstParam)
             : -1;
}

}  // namespace velmora::lv2
