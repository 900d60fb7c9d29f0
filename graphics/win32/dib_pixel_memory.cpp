#include "graphics/win32/dib_pixel_memory.h"

#include <windows.h>

#include <cstdint>

namespace velmora {
namespace {

class DibPixelMemory final : public PixelMemory {
 public:
  explicit DibPixelMemory(HDC dc) : dc_(dc) {}

  ~DibPixelMemory() override {
    if (bitmap_ != nullptr) {
      SelectObject(dc_, original_);
      DeleteObject(bitmap_);
    }
    DeleteDC(dc_);
  }

  DibPixelMemory(const DibPixelMemory&) = delete;
  DibPixelMemory& operator=(const DibPixelMemory&) = delete;

  bool Reserve(int32_t span, int32_t, size_t minimumPixels) override {
    if (span <= 0 || minimumPixels == 0) {
      return false;
    }
    const size_t rows = (minimumPixels + static_cast<size_t>(span) - 1) / static_cast<size_t>(span);
    if (rows > static_cast<size_t>(INT32_MAX)) {
      return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);  // 40 bytes
    info.bmiHeader.biWidth = span;
    info.bmiHeader.biHeight = -static_cast<LONG>(rows);  // negative: rows run top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP fresh = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (fresh == nullptr || bits == nullptr) {
      return false;
    }
    HGDIOBJ previous = SelectObject(dc_, fresh);
    if (bitmap_ == nullptr) {
      original_ = previous;
    } else {
      DeleteObject(bitmap_);
    }
    bitmap_ = fresh;
    pixels_ = static_cast<uint32_t*>(bits);
    capacity_ = rows * static_cast<size_t>(span);
    return true;
  }

  // Whoever draws into the section with GDI flushes GDI's batch before handing it back.
  uint32_t* Pixels() override { return pixels_; }
  size_t CapacityPixels() const override { return capacity_; }
  void* NativeContext() override { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_ = nullptr;
  uint32_t* pixels_ = nullptr;
  size_t capacity_ = 0;
};

}  // namespace

std::unique_ptr<PixelMemory> MakeDibPixelMemory() {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) {
    return nullptr;
  }
  return std::make_unique<DibPixelMemory>(dc);
}

}  // namespace velmora
