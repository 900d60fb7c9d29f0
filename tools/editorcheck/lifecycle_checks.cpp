// Opening and closing the real window many times, and while audio runs on another thread.
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "tools/editorcheck/checks.h"
#include "tools/editorcheck/gui_objects.h"

namespace velmora::editorcheck {
namespace {

constexpr int kCycles = 100;
constexpr int kBlock = 512;
constexpr int kFreqLeftX = 64;
constexpr int kFreqLeftY = 300;

// One open/close: the first ticks paint everything; every other cycle also opens a value
// box, so the pop-up and its font are made and must go with the window.
bool OneCycle(EditorHarness& harness, bool withPopup) {
  if (!harness.Open()) {
    return false;
  }
  harness.Pump(2);
  if (withPopup) {
    harness.PostMouse(WM_RBUTTONDOWN, kFreqLeftX, kFreqLeftY, MK_RBUTTON);
    harness.PostMouse(WM_RBUTTONUP, kFreqLeftX, kFreqLeftY, 0);
    harness.Drain();
  }
  harness.Close();
  return true;
}

}  // namespace

void CheckOpenCloseCycles(EditorHarness& harness, CheckLog& log) {
  // Fonts and the glyph surface are made on first use and kept for the life of the module,
  // so the count is taken after one cycle has made them.
  OneCycle(harness, true);
  const GuiObjects before = CountGuiObjects();
  int opened = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    opened += OneCycle(harness, cycle % 2 == 0) ? 1 : 0;
  }
  const GuiObjects after = CountGuiObjects();
  log.Expect(opened == kCycles, "all " + std::to_string(opened) + " cycles opened the editor");
  log.Expect(before.gdi == after.gdi && before.user == after.user,
             "100 open/close cycles (half with a value box) leave the objects where they were: "
             "before " +
                 Describe(before) + "; after " + Describe(after));
  log.Expect(FindWindowExA(harness.HostWindow(), nullptr, "VelmoraEditorClass", nullptr) == nullptr,
             "no editor window is left behind");
  WNDCLASSA unused{};
  log.Expect(GetClassInfoA(GetModuleHandleA("velmora.dll"), "VelmoraEditorClass", &unused) == FALSE,
             "the window class is unregistered once the last window closed");
}

void CheckOpenDuringAudio(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  std::atomic<bool> running{true};
  std::atomic<int> blocks{0};
  std::atomic<bool> finite{true};
  std::thread audio([&] {
    std::vector<float> in0(kBlock), in1(kBlock), out0(kBlock), out1(kBlock);
    float* inputs[2] = {in0.data(), in1.data()};
    float* outputs[2] = {out0.data(), out1.data()};
    int phase = 0;
    while (running.load()) {
      for (int i = 0; i < kBlock; ++i, ++phase) {
        in0[i] = in1[i] = 0.5f * static_cast<float>(std::sin(phase * 0.0627));
      }
      if (!plugin.ProcessReplacing(inputs, outputs, kBlock)) {
        finite = false;
      }
      for (int i = 0; i < kBlock; ++i) {
        finite = finite && std::isfinite(out0[i]) && std::isfinite(out1[i]);
      }
      ++blocks;
    }
  });
  bool allOpened = true;
  for (int round = 0; round < 5; ++round) {
    allOpened = harness.Open() && allOpened;
    harness.Pump(6);
    harness.Close();
  }
  running = false;
  audio.join();
  log.Expect(allOpened && blocks.load() > 0 && finite.load(),
             "the editor opens, paints and closes five times while another thread processes " +
                 std::to_string(blocks.load()) + " audio blocks");
}

}  // namespace velmora::editorcheck
