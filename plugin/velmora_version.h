// The one place that holds Velmora's version. The effect record carries it as
// 0xMMmmpp (major in the upper 16 bits, then minor and patch one byte each), hosts read it
// as major x 10000 + minor x 100 + patch, and the build derives the package version
// ("1.0.0") from this line, so a release changes only this number.
#pragma once

#include <cstdint>

namespace velmora {

constexpr int32_t kVelmoraVersion = 0x10000;

// The version as "major.minor.patch", for the formats that name it in text.
const char* VelmoraVersionText();

}  // namespace velmora
