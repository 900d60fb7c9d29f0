#include "tools/editorcheck/window_capture.h"

#include <cstddef>
#include <cstdint>

namespace velmora::editorcheck {

bool CaptureWindow(HWND window, int width, int height, PixelImage& out) {
  if (!out.Resize(width, height)) {
    return false;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bitmap != nullptr && bits != nullptr;
  if (ok) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
    GdiFlush();
    for (int y = 0; y < height && ok; ++y) {
      const auto* row = static_cast<const uint32_t*>(bits) + static_cast<size_t>(y) * width;
      for (int x = 0; x < width; ++x) {
        out.SetPixel(x, y, row[x] | 0xFF000000u);
      }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return ok;
}

}  // namespace velmora::editorcheck
