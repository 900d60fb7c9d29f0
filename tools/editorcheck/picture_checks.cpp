// The window's pixels, read back from the screen, against the headless editor's picture.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "graphics/pixel_image.h"
#include "graphics/rect.h"
#include "graphics/win32/dib_pixel_memory.h"
#include "tools/editorcheck/checks.h"
#include "tools/editorcheck/headless_reference.h"
#include "tools/editorcheck/window_capture.h"
#include "tools/snapshot/png_writer.h"

namespace velmora::editorcheck {
namespace {

constexpr int kWidth = 499;
constexpr int kHeight = 486;
constexpr uint32_t kColourBits = 0x00FFFFFFu;
constexpr int kTimedRepaints = 50;

// Where the editor draws text at its defaults: the version, the knob and slider values,
// the bypass label.
const Rect kTextAreas[] = {{40, 12, 90, 30},     {58, 196, 132, 212}, {244, 180, 298, 196},
                           {314, 180, 368, 196}, {39, 330, 89, 346},  {30, 431, 80, 447},
                           {418, 431, 468, 447}, {427, 458, 489, 474}};

bool InTextArea(int x, int y) {
  for (const Rect& r : kTextAreas) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
      return true;
    }
  }
  return false;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Fastest and median time of kTimedRepaints runs of work, in milliseconds.
template <typename Work>
std::pair<double, double> Time(Work work) {
  std::vector<double> times;
  for (int i = 0; i < kTimedRepaints; ++i) {
    LARGE_INTEGER start{}, end{};
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
  }
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

void MeasureRepaint(EditorHarness& harness, CheckLog& log) {
  HWND editor = harness.Editor();
  const auto paint = Time([editor] {
    InvalidateRect(editor, nullptr, FALSE);
    UpdateWindow(editor);
  });
  // The copy on its own: a surface-sized DIB section, as the editor's, to the window's DC.
  PixelImage surface(MakeDibPixelMemory());
  surface.Resize(kWidth, kHeight);
  HDC source = static_cast<HDC>(surface.Memory().NativeContext());
  HDC screen = GetDC(editor);
  const auto blit = Time([&] {
    BitBlt(screen, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY);
    GdiFlush();
  });
  ReleaseDC(editor, screen);
  char text[200];
  std::snprintf(text, sizeof(text),
                "one full repaint (paint pass of every control + BitBlt, 499 x 486): fastest "
                "%.3f ms, median %.3f ms; the BitBlt alone: fastest %.3f ms, median %.3f ms "
                "(%d runs each)",
                paint.first, paint.second, blit.first, blit.second, kTimedRepaints);
  log.Note(text);
  // The editor is left with everything painted again.
  harness.Pump(1);
}

// Pixels of the picture in r that differ from the background image.
int Marked(const PixelImage& picture, const PixelImage& background, const Rect& r) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      count += ((picture.Pixel(x, y) ^ background.Pixel(x, y)) & kColourBits) != 0 ? 1 : 0;
    }
  }
  return count;
}

void Compare(const PixelImage& window, HeadlessReference& reference, CheckLog& log) {
  const PixelImage& picture = *reference.Picture();
  int outside = 0, inside = 0;
  std::string first;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (((window.Pixel(x, y) ^ picture.Pixel(x, y)) & kColourBits) == 0) {
        continue;
      }
      (InTextArea(x, y) ? inside : outside) += 1;
      if (first.empty()) {
        char text[96];
        std::snprintf(text, sizeof(text), " (first at %d, %d: window %06X, headless %06X)", x, y,
                      window.Pixel(x, y) & kColourBits, picture.Pixel(x, y) & kColourBits);
        first = text;
      }
    }
  }
  log.Expect(outside == 0, "outside the text areas the window equals the headless editor: " +
                               std::to_string(outside) + " pixels differ" + first);
  log.Expect(inside == 0, "inside the text areas too (same renderer): " + std::to_string(inside) +
                              " pixels differ");
  const PixelImage* background = reference.Background();
  if (!log.Expect(background != nullptr, "the background image is decoded")) {
    return;
  }
  for (const Rect& r : kTextAreas) {
    const int headless = Marked(picture, *background, r);
    const int shown = Marked(window, *background, r);
    log.Expect(headless > 10 && shown > 10,
               "text shown at (" + std::to_string(r.left) + ", " + std::to_string(r.top) +
                   "): " + std::to_string(shown) + " pixels over the background (headless " +
                   std::to_string(headless) + ")");
  }
}

}  // namespace

void CheckPicture(EditorHarness& harness, CheckLog& log, const std::string& pngPath) {
  if (!log.Expect(harness.Open(), "the editor opens for the picture")) {
    return;
  }
  harness.Pump(3);
  PixelImage window;
  const bool captured = CaptureWindow(harness.Editor(), kWidth, kHeight, window);
  log.Expect(captured, "the window's pixels are read back with BitBlt from its DC");
  HeadlessReference reference;
  const std::string error = reference.Paint();
  if (captured && log.Expect(error.empty(), "the headless reference paints " + error)) {
    Compare(window, reference, log);
  }
  if (captured && !pngPath.empty()) {
    const std::string written = snapshot::WriteRgbPng(window, pngPath);
    log.Expect(written.empty(), "the window's picture is written to " + pngPath + " " + written);
  }
  MeasureRepaint(harness, log);
  harness.Close();
}

}  // namespace velmora::editorcheck
