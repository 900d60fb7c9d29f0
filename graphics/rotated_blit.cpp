#include "graphics/rotated_blit.h"

#include <algorithm>
#include <cmath>

#include "graphics/pixel_compositing.h"
#include "graphics/pixel_image.h"

namespace velmora {
namespace {

constexpr int64_t kOne = 65536;  // 1.0 in 16.16 fixed point

int64_t ToFixed(double value) {
  return static_cast<int64_t>(std::llround(value * static_cast<double>(kOne)));
}

// Weighted sum of one channel of the four neighbours, weights summing to 65536.
uint32_t MixChannel(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t w00,
                    uint32_t w10, uint32_t w01, uint32_t w11, int shift) {
  auto c = [shift](uint32_t p) { return (p >> shift) & 0xFFu; };
  return (w00 * c(p00) + w10 * c(p10) + w01 * c(p01) + w11 * c(p11)) / 65536u;
}

// Bilinear sample at integer pixel (ix, iy) with 16-bit fractions fx, fy. In the last
// column only the vertical pair is mixed, in the last row only the horizontal pair, and
// the last pixel is taken as it is.
uint32_t Sample(const PixelImage& image, int32_t ix, int32_t iy, uint32_t fx, uint32_t fy) {
  const bool lastColumn = ix == image.Width() - 1;
  const bool lastRow = iy == image.Height() - 1;
  if (lastColumn) {
    fx = 0;
  }
  if (lastRow) {
    fy = 0;
  }
  const uint32_t* row = image.Row(iy);
  const uint32_t p00 = row[ix];
  const uint32_t p10 = lastColumn ? p00 : row[ix + 1];
  const uint32_t* below = lastRow ? row : image.Row(iy + 1);
  const uint32_t p01 = below[ix];
  const uint32_t p11 = lastColumn ? p01 : below[ix + 1];
  const uint32_t w11 = fx * fy / 65536u;
  const uint32_t w10 = fx - w11;
  const uint32_t w01 = fy - w11;
  const uint32_t w00 = 65536u - fx - fy + w11;
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    result |= MixChannel(p00, p10, p01, p11, w00, w10, w01, w11, shift) << shift;
  }
  return result;
}

}  // namespace

void BlitRotated(PixelImage& destination, const PixelImage& source, int32_t centreX,
                 int32_t centreY, double angle, const PixelBlend& blend, float sourceOffsetX,
                 float sourceOffsetY) {
  const pixel::PixelOp op = pixel::MakePixelOp(blend);
  const int32_t w = source.Width();
  const int32_t h = source.Height();
  if (op.w <= 0 || w <= 0 || h <= 0) {
    return;
  }
  const auto left = static_cast<int32_t>(static_cast<float>(centreX) - static_cast<float>(w / 2));
  const auto top = static_cast<int32_t>(static_cast<float>(centreY) - static_cast<float>(h / 2));
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  // Offsets that keep the rectangle's centre on the image's centre.
  const double kx = (w * c + h * s - w) / 2.0;
  const double ky = (h * c - w * s - h) / 2.0;
  const int64_t originX = ToFixed(sourceOffsetX - kx);
  const int64_t originY = ToFixed(sourceOffsetY - ky);
  const int64_t stepXx = ToFixed(c), stepXy = ToFixed(-s);  // per destination column
  const int64_t stepYx = ToFixed(s), stepYy = ToFixed(c);   // per destination row

  const int32_t x0 = std::max(0, -left), x1 = std::min(w, destination.Width() - left);
  const int32_t y0 = std::max(0, -top), y1 = std::min(h, destination.Height() - top);
  for (int32_t y = y0; y < y1; ++y) {
    int64_t u = originX + y * stepYx + x0 * stepXx;
    int64_t v = originY + y * stepYy + x0 * stepXy;
    uint32_t* row = destination.Row(top + y);
    for (int32_t x = x0; x < x1; ++x, u += stepXx, v += stepXy) {
      const int64_t ix = u >> 16;  // floor, also for negative positions
      const int64_t iy = v >> 16;
      if (ix < 0 || iy < 0 || ix >= w || iy >= h) {
        continue;
      }
      const uint32_t sample =
          Sample(source, static_cast<int32_t>(ix), static_cast<int32_t>(iy),
                 static_cast<uint32_t>(u & 0xFFFF), static_cast<uint32_t>(v & 0xFFFF));
      row[left + x] = pixel::Composite(op, sample, row[left + x]);
    }
  }
}

}  // namespace velmora
