// One full repaint of the editor reaching the screen through the X11 layer: the whole
// 499 x 486 surface copied to a window, with MIT shared memory and with plain XPutImage,
// each time until the server has drawn it. Needs an X display with a 24-bit TrueColor
// visual, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" build/bench/editor/editor_x11_bench
#include <benchmark/benchmark.h>

#include "editor/x11/x11_screen_image.h"
#include "graphics/pixel_image.h"
#include "graphics/rect.h"

namespace velmora {
namespace {

constexpr int kWidth = 499;
constexpr int kHeight = 486;

void FullRepaint(benchmark::State& state, X11ScreenImage::Transfer transfer) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    state.SkipWithError("no X display");
    return;
  }
  XVisualInfo info{};
  if (XMatchVisualInfo(display, DefaultScreen(display), 24, TrueColor, &info) == 0 ||
      !VisualTakesSurfacePixels(display, info)) {
    XCloseDisplay(display);
    state.SkipWithError("no 24-bit TrueColor visual");
    return;
  }
  XSetWindowAttributes attributes{};
  attributes.colormap =
      XCreateColormap(display, DefaultRootWindow(display), info.visual, AllocNone);
  attributes.border_pixel = 0;
  const Window window =
      XCreateWindow(display, DefaultRootWindow(display), 0, 0, kWidth, kHeight, 0, 24, InputOutput,
                    info.visual, CWColormap | CWBorderPixel, &attributes);
  XMapWindow(display, window);
  const GC gc = XCreateGC(display, window, 0, nullptr);
  PixelImage surface;
  surface.Resize(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      surface.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 131 + y * 71));
    }
  }
  X11ScreenImage image;
  const bool created = image.Create(display, info.visual, kWidth, kHeight,
                                    transfer == X11ScreenImage::Transfer::kSharedMemory);
  if (!created || image.Kind() != transfer) {
    state.SkipWithError("this transfer is not offered by the display");
  } else {
    for (auto _ : state) {
      image.Put(window, gc, surface, Rect{0, 0, kWidth, kHeight});
      XSync(display, False);
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
  }
  image.Destroy();
  XFreeGC(display, gc);
  XDestroyWindow(display, window);
  XFreeColormap(display, attributes.colormap);
  XCloseDisplay(display);
}

void BM_FullRepaintSharedMemory(benchmark::State& state) {
  FullRepaint(state, X11ScreenImage::Transfer::kSharedMemory);
}
BENCHMARK(BM_FullRepaintSharedMemory)->Unit(benchmark::kMicrosecond);

void BM_FullRepaintPutImage(benchmark::State& state) {
  FullRepaint(state, X11ScreenImage::Transfer::kRequest);
}
BENCHMARK(BM_FullRepaintPutImage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora
