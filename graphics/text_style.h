#pragma once

#include <cstdint>

#include "graphics/color.h"

namespace velmora {

class CachedFont;

// How a control wants its text drawn; controls copy it by value and may change the
// alignment before drawing. Face, size, style and orientation select the cached font.
struct TextStyle {
  static constexpr int32_t kBold = 1;
  static constexpr int32_t kItalic = 2;
  static constexpr int32_t kAlignLeft = 0;
  static constexpr int32_t kAlignCentre = 1;
  static constexpr int32_t kAlignRight = 2;  // and any other value

  char face[32] = "Arial";  // platform face name, at most 31 characters
  int32_t size = 12;        // cell height in pixels
  Color colour{};
  int32_t style = 0;  // bit 0 bold, bit 1 italic
  int32_t alignment = kAlignLeft;
  int32_t orientation = 0;           // text angle in degrees, counter-clockwise
  int32_t quality = 0;               // 0 default, 1 no anti-aliasing, 2 anti-aliased, 3 sub-pixel
  CachedFont* cachedFont = nullptr;  // filled on first use, owned by the font cache
};

}  // namespace velmora
