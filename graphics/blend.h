#pragma once

#include <cstdint>

namespace velmora {

// How a control wants its drawing combined with what is already on the surface.
// Methods: 0 normal, 1 copy, 2 add, 3 colour dodge; any other value draws as normal.
struct Blend {
  static constexpr int32_t kNormal = 0;
  static constexpr int32_t kCopy = 1;
  static constexpr int32_t kAdd = 2;
  static constexpr int32_t kDodge = 3;

  int32_t method = kNormal;
  float weight = 1.0f;  // 1.0 = full strength
};

// The compositing primitives the pixel loops implement.
enum class PixelMode {
  kNormal,  // alpha-composited with the source alpha
  kCopy,    // source replaces destination, source alpha ignored
  kAdd,     // added, scaled by the source alpha
  kDodge,   // colour dodge, scaled by the source alpha
};

// A blend resolved to its primitive mode and weight; no Blend means normal at full weight.
struct PixelBlend {
  PixelMode mode = PixelMode::kNormal;
  float weight = 1.0f;
};

inline PixelBlend ResolveBlend(const Blend* blend) {
  if (blend == nullptr) {
    return PixelBlend{};
  }
  switch (blend->method) {
    case Blend::kCopy:
      return PixelBlend{PixelMode::kCopy, blend->weight};
    case Blend::kAdd:
      return PixelBlend{PixelMode::kAdd, blend->weight};
    case Blend::kDodge:
      return PixelBlend{PixelMode::kDodge, blend->weight};
    default:
      return PixelBlend{PixelMode::kNormal, blend->weight};
  }
}

// round-down(weight x 256), the integer weight of every pixel loop. Weights outside 0..1
// are held to that range so that no formula below leaves the 0..255 channel range.
inline int32_t WeightTo256(float weight) {
  if (!(weight > 0.0f)) {
    return 0;
  }
  if (weight >= 1.0f) {
    return 256;
  }
  return static_cast<int32_t>(weight * 256.0f);
}

}  // namespace velmora
