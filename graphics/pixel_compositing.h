#pragma once

// Per-pixel arithmetic shared by the blit, rotation, fill and glyph loops. Pixels are
// alpha << 24 | red << 16 | green << 8 | blue, straight alpha; every step is 8-bit integer
// arithmetic with truncating divisions by 256, so results are identical on every platform.

#include <algorithm>
#include <cstdint>

#include "graphics/blend.h"

namespace velmora::pixel {

inline int32_t Channel(uint32_t pixel, int shift) {
  return static_cast<int32_t>((pixel >> shift) & 0xFF);
}

inline uint32_t Pack(int32_t a, int32_t r, int32_t g, int32_t b) {
  return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r) << 16 |
         static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

// Applies f(sourceChannel, destChannel) to red, green and blue, and g to alpha.
template <typename ColourFn, typename AlphaFn>
inline uint32_t Combine(uint32_t src, uint32_t dst, ColourFn colour, AlphaFn alpha) {
  return Pack(alpha(Channel(src, 24), Channel(dst, 24)), colour(Channel(src, 16), Channel(dst, 16)),
              colour(Channel(src, 8), Channel(dst, 8)), colour(Channel(src, 0), Channel(dst, 0)));
}

// Normal mode, source alpha applied, w = 256.
inline uint32_t NormalFull(uint32_t src, uint32_t dst) {
  const int32_t sa = Channel(src, 24);
  if (sa == 0) {
    return dst;
  }
  if (sa == 255) {
    return src | 0xFF000000u;
  }
  return Combine(
      src, dst, [sa](int32_t s, int32_t d) { return s + (d - s) * (255 - sa) / 256; },
      [](int32_t s, int32_t d) { return std::min(255, d + s); });
}

// Normal mode, source alpha applied, 0 < w < 256.
inline uint32_t NormalWeighted(uint32_t src, uint32_t dst, int32_t w) {
  const int32_t sa = Channel(src, 24);
  if (sa == 0) {
    return dst;
  }
  const int32_t a = w * (sa + 1) / 256;
  return Combine(
      src, dst, [a](int32_t s, int32_t d) { return s + (d - s) * (256 - a) / 256; },
      [a](int32_t, int32_t d) { return std::min(255, d + a); });
}

// Per-byte average of two pixels, all four bytes at once.
inline uint32_t AverageBytes(uint32_t src, uint32_t dst) {
  return ((src >> 1) & 0x7F7F7F7Fu) + ((dst >> 1) & 0x7F7F7F7Fu);
}

// Copy mode, source alpha ignored, 0 < w < 256 (w = 256 is a plain copy).
inline uint32_t CopyWeighted(uint32_t src, uint32_t dst, int32_t w) {
  auto mix = [w](int32_t s, int32_t d) { return s + (d - s) * (256 - w) / 256; };
  return Combine(src, dst, mix, mix);
}

inline uint32_t Add(uint32_t src, uint32_t dst, int32_t w) {
  const int32_t sa = Channel(src, 24);
  if (sa == 0) {
    return dst;
  }
  const int32_t a = w * (sa + 1) / 256;
  auto add = [a](int32_t s, int32_t d) { return std::min(255, d + a * s / 256); };
  return Combine(src, dst, add, add);
}

inline uint32_t Dodge(uint32_t src, uint32_t dst, int32_t w) {
  const int32_t a = w * (Channel(src, 24) + 1) / 256;
  auto dodge = [a](int32_t s, int32_t d) {
    const int32_t t = s * a / 256;
    if (t > 254) {
      return d > 0 ? 255 : 0;
    }
    return std::min(255, d * 256 / (256 - t));
  };
  return Combine(src, dst, dodge, dodge);
}

// A resolved blend ready for the pixel loops: the mode, w = round-down(weight x 256) and
// whether the weight was exactly one half (copy mode then averages per byte).
struct PixelOp {
  PixelMode mode = PixelMode::kNormal;
  int32_t w = 256;
  bool exactHalf = false;
};

inline PixelOp MakePixelOp(const PixelBlend& blend) {
  return PixelOp{blend.mode, WeightTo256(blend.weight), blend.weight == 0.5f};
}

// One source pixel onto one destination pixel; op.w must be 1..256.
inline uint32_t Composite(const PixelOp& op, uint32_t src, uint32_t dst) {
  switch (op.mode) {
    case PixelMode::kCopy:
      if (op.w >= 256) {
        return src;
      }
      return op.exactHalf ? AverageBytes(src, dst) : CopyWeighted(src, dst, op.w);
    case PixelMode::kAdd:
      return Add(src, dst, op.w);
    case PixelMode::kDodge:
      return Dodge(src, dst, op.w);
    case PixelMode::kNormal:
    default:
      return op.w >= 256 ? NormalFull(src, dst) : NormalWeighted(src, dst, op.w);
  }
}

}  // namespace velmora::pixel
