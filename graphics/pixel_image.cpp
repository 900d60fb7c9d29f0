#include "graphics/pixel_image.h"

#include <new>

namespace velmora {
namespace {

class HeapPixelMemory final : public PixelMemory {
 public:
  bool Reserve(int32_t, int32_t, size_t minimumPixels) override {
    // Uninitialised on purpose: every user overwrites the pixels it reads.
    std::unique_ptr<uint32_t[]> fresh(new (std::nothrow) uint32_t[minimumPixels]);
    if (!fresh) {
      return false;
    }
    pixels_ = std::move(fresh);
    capacity_ = minimumPixels;
    return true;
  }
  uint32_t* Pixels() override { return pixels_.get(); }
  size_t CapacityPixels() const override { return capacity_; }

 private:
  std::unique_ptr<uint32_t[]> pixels_;
  size_t capacity_ = 0;
};

}  // namespace

std::unique_ptr<PixelMemory> MakeHeapPixelMemory() {
  return std::make_unique<HeapPixelMemory>();
}

PixelImage::PixelImage(std::unique_ptr<PixelMemory> memory) : memory_(std::move(memory)) {}

bool PixelImage::Resize(int32_t width, int32_t height) {
  if (width < 0 || height < 0) {
    return false;
  }
  const int32_t span = RowSpanFor(width);
  const size_t need = static_cast<size_t>(span) * static_cast<size_t>(height);
  if (need > memory_->CapacityPixels() && !memory_->Reserve(span, height, need + need / 4)) {
    width_ = height_ = span_ = 0;
    return false;
  }
  width_ = width;
  height_ = height;
  span_ = span;
  return true;
}

}  // namespace velmora
