#include "graphics/fill_shapes.h"

#include <algorithm>
#include <cmath>

#include "graphics/pixel_compositing.h"
#include "graphics/pixel_image.h"

namespace velmora {
namespace {

// The colour's alpha folds into the weight in every mode that uses source alpha.
float EffectiveWeight(const Color& colour, const PixelBlend& blend) {
  if (blend.mode == PixelMode::kCopy) {
    return blend.weight;
  }
  return blend.weight * (static_cast<float>(colour.alpha) / 255.0f);
}

// One pixel of a constant-colour fill at integer weight w (1..256).
uint32_t FillPixel(PixelMode mode, int32_t w, uint32_t colour, uint32_t dst) {
  if (mode == PixelMode::kAdd) {
    return pixel::Add(colour, dst, w);
  }
  if (mode == PixelMode::kDodge) {
    return pixel::Dodge(colour, dst, w);
  }
  switch (w) {
    case 256:
      return colour;
    case 128:
      return pixel::AverageBytes(colour, dst);
    case 64:
      return ((colour >> 2) & 0x3F3F3F3Fu) + ((dst >> 1) & 0x7F7F7F7Fu) +
             ((dst >> 2) & 0x3F3F3F3Fu);
    case 192:
      return ((colour >> 1) & 0x7F7F7F7Fu) + ((colour >> 2) & 0x3F3F3F3Fu) +
             ((dst >> 2) & 0x3F3F3F3Fu);
    default:
      break;
  }
  return pixel::Combine(
      colour, dst, [w](int32_t c, int32_t d) { return c + (d - c) * (256 - w) / 256; },
      [w](int32_t, int32_t d) { return w + (d - w) * (256 - w) / 256; });
}

// Share of the pixel whose centre lies at distance from the disc's centre that the disc
// covers: a one-pixel-wide linear ramp across the edge.
float EdgeCoverage(float distance, float radius) {
  return std::clamp(radius + 0.5f - distance, 0.0f, 1.0f);
}

}  // namespace

void FillRectangle(PixelImage& image, const Color& colour, const Rect& r, const PixelBlend& blend) {
  const int32_t w = WeightTo256(EffectiveWeight(colour, blend));
  const int32_t left = std::max(r.left, 0);
  const int32_t top = std::max(r.top, 0);
  const int32_t right = std::min(r.right, image.Width());
  const int32_t bottom = std::min(r.bottom, image.Height());
  if (w <= 0 || left >= right || top >= bottom) {
    return;
  }
  const uint32_t packed = colour.Packed();
  for (int32_t y = top; y < bottom; ++y) {
    uint32_t* row = image.Row(y);
    if (w == 256 && blend.mode != PixelMode::kAdd && blend.mode != PixelMode::kDodge) {
      std::fill(row + left, row + right, packed);
      continue;
    }
    for (int32_t x = left; x < right; ++x) {
      row[x] = FillPixel(blend.mode, w, packed, row[x]);
    }
  }
}

void FillCircle(PixelImage& image, const Color& colour, float centreX, float centreY, float radius,
                const PixelBlend& blend, bool antiAlias) {
  const float weight = EffectiveWeight(colour, blend);
  if (radius < 0.0f || WeightTo256(weight) <= 0) {
    return;
  }
  const float reach = radius + 1.0f;
  const int32_t left = std::max(0, static_cast<int32_t>(std::floor(centreX - reach)));
  const int32_t top = std::max(0, static_cast<int32_t>(std::floor(centreY - reach)));
  const int32_t right = std::min(image.Width(), static_cast<int32_t>(std::ceil(centreX + reach)));
  const int32_t bottom = std::min(image.Height(), static_cast<int32_t>(std::ceil(centreY + reach)));
  const uint32_t packed = colour.Packed();
  for (int32_t y = top; y < bottom; ++y) {
    uint32_t* row = image.Row(y);
    const float dy = static_cast<float>(y) + 0.5f - centreY;
    for (int32_t x = left; x < right; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - centreX;
      const float distance = std::sqrt(dx * dx + dy * dy);
      float coverage =
          antiAlias ? EdgeCoverage(distance, radius) : (distance <= radius ? 1.f : 0.f);
      const int32_t w = WeightTo256(weight * coverage);
      if (w > 0) {
        row[x] = FillPixel(blend.mode, w, packed, row[x]);
      }
    }
  }
}

}  // namespace velmora
