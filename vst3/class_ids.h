// The identifiers of the classes the module's factory offers, and their names.
#pragma once

#include "vst3/abi/vst3_base.h"

namespace velmora::vst3 {

// The effect is one object: the audio component is also its own edit controller (see
// velmora_vst3.h for why). Its class identifier never changes: hosts store it in projects.
constexpr IidWords kEffectClassWords{0x91DB60EF, 0xFA644BB0, 0xAFCBF1C3, 0x0A5119BC};
constexpr Iid kEffectClassId = MakeIid(kEffectClassWords);

constexpr const char* kEffectName = "Velmora";
constexpr const char* kVendorName = "Tolvane";
constexpr const char* kSubCategories = "Fx|Delay";

}  // namespace velmora::vst3
