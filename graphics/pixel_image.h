#pragma once

#include <cstdint>
#include <memory>

#include "graphics/pixel_memory.h"

namespace velmora {

// A 32-bit image: each pixel is alpha << 24 | red << 16 | green << 8 | blue with straight
// alpha, rows top to bottom, each row span pixels long (the width rounded up to a multiple
// of 4).
class PixelImage {
 public:
  explicit PixelImage(std::unique_ptr<PixelMemory> memory = MakeHeapPixelMemory());
  virtual ~PixelImage() = default;
  PixelImage(const PixelImage&) = delete;
  PixelImage& operator=(const PixelImage&) = delete;

  // Sets the size. Memory is reallocated only when the new size needs more than is held
  // (then 5/4 of the need); pixel contents are undefined afterwards. False when memory
  // could not be obtained; the image is then 0 x 0.
  bool Resize(int32_t width, int32_t height);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Span() const { return span_; }

  uint32_t* Row(int32_t y) { return memory_->Pixels() + static_cast<size_t>(y) * span_; }
  const uint32_t* Row(int32_t y) const {
    return memory_->Pixels() + static_cast<size_t>(y) * span_;
  }
  uint32_t Pixel(int32_t x, int32_t y) const { return Row(y)[x]; }
  void SetPixel(int32_t x, int32_t y, uint32_t value) { Row(y)[x] = value; }

  PixelMemory& Memory() { return *memory_; }

 private:
  std::unique_ptr<PixelMemory> memory_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t span_ = 0;
};

// Row span for a width: the width rounded up to a multiple of 4 pixels.
inline int32_t RowSpanFor(int32_t width) {
  return (width + 3) & ~3;
}

}  // namespace velmora
