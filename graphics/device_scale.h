#pragma once

#include <cmath>
#include <cstdint>

#include "graphics/rect.h"

namespace velmora {

// The editor keeps its layout in editor pixels; on a high-density screen the surface, the
// images and the text are drawn at device pixels, scale device pixels to one editor pixel.
// Every conversion rounds half away from zero, as pixel positions are rounded everywhere
// else, so a rectangle's edges land where a 100 % rectangle's edges, multiplied, would.
namespace device_scale {

constexpr double kSmallest = 1.0;
constexpr double kLargest = 3.0;

// A scale the editor can draw at: values outside 1..3 are held to that range; NaN,
// infinities and values of 0 or less are no scale at all and give 0.
inline double Usable(double scale) {
  if (!std::isfinite(scale) || scale <= 0.0) {
    return 0.0;
  }
  return scale < kSmallest ? kSmallest : (scale > kLargest ? kLargest : scale);
}

// The scale in whole percent, the key under which scaled images are cached.
inline int32_t Percent(double scale) {
  return static_cast<int32_t>(std::lround(scale * 100.0));
}

inline int32_t ToDevice(int32_t editorPixels, double scale) {
  const double v = editorPixels * scale;
  return static_cast<int32_t>(v < 0.0 ? v - 0.5 : v + 0.5);
}

inline Rect ToDevice(const Rect& r, double scale) {
  return Rect{ToDevice(r.left, scale), ToDevice(r.top, scale), ToDevice(r.right, scale),
              ToDevice(r.bottom, scale)};
}

// The editor pixel under the centre of a device pixel.
inline int32_t ToEditor(int32_t devicePixels, double scale) {
  return static_cast<int32_t>(std::floor((devicePixels + 0.5) / scale));
}

}  // namespace device_scale
}  // namespace velmora
