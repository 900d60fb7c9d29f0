#include "plugin/velmora_version.h"

#include <cstdio>

namespace velmora {

// Written once, on first use (thread-safe static initialisation).
const char* VelmoraVersionText() {
  static const struct Text {
    Text() {
      std::snprintf(chars, sizeof(chars), "%d.%d.%d", (kVelmoraVersion >> 16) & 0xffff,
                    (kVelmoraVersion >> 8) & 0xff, kVelmoraVersion & 0xff);
    }
    char chars[32] = {};
  } text;
  return text.chars;
}

}  // namespace velmora
