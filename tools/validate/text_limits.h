// The text lengths VST 2 hosts reserve room for. The short limits are the format's own
// conventions; hosts that follow its later practice give parameter texts 32 bytes, which is
// where a longer text starts to overwrite a host's memory.
#pragma once

#include <cstddef>

namespace velmora::validate {

constexpr size_t kShortParamText = 8;
constexpr size_t kLongestParamText = 31;
constexpr size_t kLongestProgramName = 24;
constexpr size_t kLongestEffectName = 32;
constexpr size_t kLongestVendorText = 64;

}  // namespace velmora::validate
