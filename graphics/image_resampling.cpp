#include "graphics/image_resampling.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/pixel_image.h"

namespace velmora {
namespace {

struct Tap {
  int32_t index;
  double weight;
};

// For every destination position along one axis, the source positions it covers and their
// shares (summing to 1). When enlarging, a destination pixel covers part of one or two
// source pixels, so the same rule gives a short linear blend at each source edge.
std::vector<std::vector<Tap>> AxisTaps(int32_t sourceSize, int32_t destSize) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(destSize));
  const double ratio = static_cast<double>(sourceSize) / destSize;
  for (int32_t d = 0; d < destSize; ++d) {
    const double begin = d * ratio;
    const double end = std::min<double>(sourceSize, (d + 1) * ratio);
    auto& list = taps[static_cast<size_t>(d)];
    for (auto s = static_cast<int32_t>(std::floor(begin)); s < end && s < sourceSize; ++s) {
      const double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
      if (covered > 0.0) {
        list.push_back(Tap{s, covered / (end - begin)});
      }
    }
  }
  return taps;
}

// Premultiplied channels, so that averaging never darkens or tints a translucent edge.
struct Sum {
  double a = 0, r = 0, g = 0, b = 0;

  void Add(uint32_t pixel, double weight) {
    const double alpha = static_cast<double>(pixel >> 24) * weight;
    a += alpha;
    r += static_cast<double>((pixel >> 16) & 0xFF) * alpha;
    g += static_cast<double>((pixel >> 8) & 0xFF) * alpha;
    b += static_cast<double>(pixel & 0xFF) * alpha;
  }
  void Add(const Sum& other, double weight) {
    a += other.a * weight;
    r += other.r * weight;
    g += other.g * weight;
    b += other.b * weight;
  }
  uint32_t Packed() const {
    if (a <= 0.0) {
      return 0;
    }
    auto channel = [](double v) {
      return static_cast<uint32_t>(std::clamp(std::lround(v), 0l, 255l));
    };
    return channel(a) << 24 | channel(r / a) << 16 | channel(g / a) << 8 | channel(b / a);
  }
};

}  // namespace

std::unique_ptr<PixelImage> ResampleImage(const PixelImage& source, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || source.Width() <= 0 || source.Height() <= 0) {
    return nullptr;
  }
  auto result = std::make_unique<PixelImage>();
  if (!result->Resize(width, height)) {
    return nullptr;
  }
  const auto columns = AxisTaps(source.Width(), width);
  const auto rows = AxisTaps(source.Height(), height);
  // Rows first: each source row shrinks to the destination width, then columns combine.
  std::vector<Sum> narrowed(static_cast<size_t>(width) * source.Height());
  for (int32_t y = 0; y < source.Height(); ++y) {
    const uint32_t* row = source.Row(y);
    for (int32_t x = 0; x < width; ++x) {
      Sum& sum = narrowed[static_cast<size_t>(y) * width + x];
      for (const Tap& tap : columns[static_cast<size_t>(x)]) {
        sum.Add(row[tap.index], tap.weight);
      }
    }
  }
  for (int32_t y = 0; y < height; ++y) {
    uint32_t* out = result->Row(y);
    for (int32_t x = 0; x < width; ++x) {
      Sum sum;
      for (const Tap& tap : rows[static_cast<size_t>(y)]) {
        sum.Add(narrowed[static_cast<size_t>(tap.index) * width + x], tap.weight);
      }
      out[x] = sum.Packed();
    }
  }
  return result;
}

}  // namespace velmora
