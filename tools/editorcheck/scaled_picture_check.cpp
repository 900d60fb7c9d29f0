// The Windows editor on a high-density screen: the check declares itself per-monitor DPI
// aware, as a host that handles such screens does, opens the editor into its window and
// expects the window at the screen's scale (998 x 972 at 192 DPI), the host asked for that
// size, and the window's pixels equal to the headless editor painted at the same scale.
#include <cmath>
#include <cstdio>
#include <string>

#include "graphics/device_scale.h"
#include "graphics/pixel_image.h"
#include "tools/editorcheck/checks.h"
#include "tools/editorcheck/headless_reference.h"
#include "tools/editorcheck/window_capture.h"
#include "tools/snapshot/png_writer.h"

namespace velmora::editorcheck {
namespace {

constexpr int kEditorWidth = 499;
constexpr int kEditorHeight = 486;
constexpr uint32_t kColourBits = 0x00FFFFFFu;

// Casts through the generic function type, which GCC lets stand for any other.
template <typename Function>
Function Lookup(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  const FARPROC found = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
  return found != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found))
                          : nullptr;
}

void DeclarePerMonitorAware() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  const auto setContext = Lookup<SetContext>("SetProcessDpiAwarenessContext");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (setContext == nullptr || !setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)))) {
    SetProcessDPIAware();
  }
}

double WindowScale(HWND window) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  const auto dpiForWindow = Lookup<DpiForWindow>("GetDpiForWindow");
  UINT dpi = dpiForWindow != nullptr ? dpiForWindow(window) : 0;
  if (dpi == 0) {
    HDC context = GetDC(window);
    dpi = static_cast<UINT>(GetDeviceCaps(context, LOGPIXELSX));
    ReleaseDC(window, context);
  }
  return dpi / 96.0;
}

}  // namespace

void CheckScaledPicture(host::PluginHost& plugin, CheckLog& log, const std::string& pngPath) {
  DeclarePerMonitorAware();
  EditorHarness harness(plugin);
  const double scale = WindowScale(harness.HostWindow());
  const int width = device_scale::ToDevice(kEditorWidth, scale);
  const int height = device_scale::ToDevice(kEditorHeight, scale);
  log.Note("the screen's scale is " + std::to_string(scale));
  // Room for the editor at that size, as a host that grants the resize makes it.
  RECT frame{0, 0, width + 20, height + 20};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  SetWindowPos(harness.HostWindow(), nullptr, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  const size_t before = plugin.Calls().Snapshot().size();
  if (!log.Expect(harness.Open(), "the editor opens at the screen's scale")) {
    return;
  }
  harness.Pump(3);
  RECT client{};
  GetClientRect(harness.Editor(), &client);
  log.Expect(client.right == width && client.bottom == height,
             "the window is " + std::to_string(width) + " x " + std::to_string(height) + ": " +
                 std::to_string(client.right) + " x " + std::to_string(client.bottom));
  bool asked = scale == 1.0;
  const std::vector<host::HostCall> calls = plugin.Calls().Snapshot();
  for (size_t i = before; i < calls.size(); ++i) {
    asked = asked || (calls[i].opcode == vst::audioMasterSizeWindow && calls[i].index == width &&
                      calls[i].value == height);
  }
  log.Expect(asked, "the host is asked for that size (audioMasterSizeWindow)");
  PixelImage window;
  const bool captured = CaptureWindow(harness.Editor(), width, height, window);
  log.Expect(captured, "the window's pixels are read back");
  HeadlessReference reference;
  const std::string error = reference.Paint(scale);
  if (captured && log.Expect(error.empty(), "the headless reference paints " + error)) {
    const PixelImage& picture = *reference.Picture();
    int differ = picture.Width() == width && picture.Height() == height ? 0 : -1;
    for (int y = 0; differ >= 0 && y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        differ += ((window.Pixel(x, y) ^ picture.Pixel(x, y)) & kColourBits) != 0 ? 1 : 0;
      }
    }
    log.Expect(differ == 0, "the window equals the headless editor at the same scale: " +
                                std::to_string(differ) + " pixels differ");
  }
  if (captured && !pngPath.empty()) {
    const std::string written = snapshot::WriteRgbPng(window, pngPath);
    log.Expect(written.empty(), "the window's picture is written to " + pngPath + " " + written);
  }
  harness.Close();
}

}  // namespace velmora::editorcheck
