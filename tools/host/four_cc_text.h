// A VST 2 four-character code as readable text for messages; bytes outside printable ASCII
// show as '?', so a foreign or damaged code never garbles a one-line error.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::host {

inline std::string FourCCText(int32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

}  // namespace velmora::host
