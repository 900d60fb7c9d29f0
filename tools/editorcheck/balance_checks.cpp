// Gestures that pop-ups interrupt, on the real window: the right click that cancels a
// value box, a right double-click, a double-click released outside, a capture taken away,
// and a run of random mouse messages with the host's calls checked after each; then where
// the keyboard focus goes when a pop-up closes.
#include <random>

#include "tools/editorcheck/checks.h"
#include "tools/host/gesture_ledger.h"

namespace velmora::editorcheck {
namespace {

constexpr int kFeedback = 3;
constexpr int kFeedbackX = 341;
constexpr int kFeedbackY = 145;
constexpr int kFreqLeftX = 64;
constexpr int kFreqLeftY = 300;
constexpr int kPingPongX = 170;
constexpr int kPingPongY = 150;
constexpr int kEmptyX = 250;
constexpr int kEmptyY = 470;
constexpr int kParams = 22;
constexpr int kWheelEndTicks = 12;

host::GestureLedger LedgerSince(host::PluginHost& plugin, size_t mark,
                                const std::vector<float>& known) {
  host::GestureLedger ledger;
  for (int param = 0; param < kParams; ++param) {
    ledger.Know(param, known[static_cast<size_t>(param)]);
  }
  for (const host::HostCall& call : EditCalls(plugin, mark)) {
    ledger.Feed(call.opcode, call.index, call.opt);
  }
  return ledger;
}

std::vector<float> KnownValues(host::PluginHost& plugin) {
  std::vector<float> known;
  for (int param = 0; param < kParams; ++param) {
    known.push_back(plugin.GetParameter(param));
  }
  return known;
}

int Count(const std::vector<host::HostCall>& calls, int32_t opcode, int param) {
  int count = 0;
  for (const host::HostCall& call : calls) {
    count += call.opcode == opcode && call.index == param ? 1 : 0;
  }
  return count;
}

void Click(EditorHarness& harness, UINT down, UINT up, WPARAM keys, int x, int y) {
  harness.PostMouse(down, x, y, keys);
  harness.PostMouse(up, x, y, 0);
  harness.Drain();
}

// Closes whatever pop-up is open and lets every pending end arrive.
// A right click on the background cancels an open pop-up; with none open it opens the
// zoom list instead, which a second right click cancels.
void Quieten(EditorHarness& harness) {
  Click(harness, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, kEmptyX, kEmptyY);
  if (harness.FindPopup("ComboBox") != nullptr) {
    Click(harness, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, kEmptyX, kEmptyY);
  }
  harness.Pump(kWheelEndTicks + 2);
}

void CheckCancelOverKnob(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  Click(harness, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, kFreqLeftX, kFreqLeftY);
  HWND box = harness.FindPopup("Edit");
  if (!log.Expect(box != nullptr, "a right click on Freq Left opens its value box")) {
    return;
  }
  const size_t mark = CallCount(plugin);
  Click(harness, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, kFeedbackX, kFeedbackY);
  harness.Pump(3, [box] { return !IsWindow(box); });
  const auto calls = EditCalls(plugin, mark);
  log.Expect(!IsWindow(box) && Count(calls, 43, kFeedback) == 0 &&
                 Count(calls, 44, kFeedback) == 0 && Count(calls, 0, kFeedback) == 0,
             "the right click that cancels the box over Feedback reaches Feedback with neither "
             "its press nor its release: " +
                 Describe(calls));
}

void CheckRightDoubleClick(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  const size_t mark = CallCount(plugin);
  harness.PostMouse(WM_RBUTTONDOWN, kFeedbackX, kFeedbackY, MK_RBUTTON);
  harness.PostMouse(WM_RBUTTONUP, kFeedbackX, kFeedbackY, 0);
  harness.PostMouse(WM_RBUTTONDBLCLK, kFeedbackX, kFeedbackY, MK_RBUTTON);
  harness.PostMouse(WM_RBUTTONUP, kFeedbackX, kFeedbackY, 0);
  harness.Drain();
  const auto calls = EditCalls(plugin, mark);
  log.Expect(Count(calls, 43, kFeedback) == 1 && Count(calls, 44, kFeedback) == 1,
             "a right double-click: the WM_RBUTTONUP after the ignored WM_RBUTTONDBLCLK ends "
             "nothing: " +
                 Describe(calls));
  Quieten(harness);
}

void CheckDoubleClickCapture(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  const size_t mark = CallCount(plugin);
  Click(harness, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, kFeedbackX, kFeedbackY);
  harness.PostMouse(WM_LBUTTONDBLCLK, kFeedbackX, kFeedbackY, MK_LBUTTON);
  harness.Drain();
  const bool captured = GetCapture() == harness.Editor();
  harness.PostMouse(WM_LBUTTONUP, 600, -40, 0);  // outside: only a captured window hears it
  harness.Drain();
  const auto calls = EditCalls(plugin, mark);
  log.Expect(captured && GetCapture() == nullptr && Count(calls, 43, kFeedback) == 2 &&
                 Count(calls, 44, kFeedback) == 2,
             "a double-click captures the mouse and its release outside ends the gesture: " +
                 Describe(calls));
}

void CheckCaptureTaken(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  const size_t mark = CallCount(plugin);
  harness.PostMouse(WM_LBUTTONDOWN, kFeedbackX, kFeedbackY, MK_LBUTTON);
  harness.Drain();
  SetCapture(harness.HostWindow());  // the host takes the mouse in mid-drag
  ReleaseCapture();
  harness.PostMouse(WM_LBUTTONUP, kFeedbackX, kFeedbackY, 0);  // a late release: nothing
  harness.Drain();
  const auto calls = EditCalls(plugin, mark);
  log.Expect(Count(calls, 43, kFeedback) == 1 && Count(calls, 44, kFeedback) == 1,
             "a capture taken by another window ends the held gesture once: " + Describe(calls));
}

void CheckRandomMessages(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  const std::vector<float> known = KnownValues(plugin);
  const size_t mark = CallCount(plugin);
  std::mt19937 random(11);
  auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
  const UINT messages[] = {WM_LBUTTONDOWN,   WM_LBUTTONUP,     WM_RBUTTONDOWN, WM_RBUTTONUP,
                           WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MOUSEMOVE,   WM_MOUSEMOVE};
  bool balanced = true;
  std::string fault;
  constexpr int kSteps = 1500;
  for (int step = 0; step < kSteps && balanced; ++step) {
    const int x = pick(560) - 30;
    const int y = pick(540) - 30;
    const WPARAM keys = static_cast<WPARAM>(pick(4));  // MK_LBUTTON and MK_RBUTTON at random
    switch (pick(12)) {
      case 0:
        harness.PostWheel(x, y, pick(2) == 0 ? 120 : -120);
        break;
      case 1:
        if (HWND popup = harness.FindPopup("Edit")) {
          harness.PostTo(popup, WM_KEYDOWN, VK_RETURN, 1);
        }
        break;
      case 2:
        harness.Pump(1);
        break;
      default:
        harness.PostMouse(messages[pick(8)], x, y, keys);
        break;
    }
    harness.Drain();
    const host::GestureLedger ledger = LedgerSince(plugin, mark, known);
    balanced = ledger.Ok();
    fault = "step " + std::to_string(step) + ": " + ledger.Fault();
  }
  harness.PostMouse(WM_LBUTTONUP, kEmptyX, kEmptyY, 0);
  harness.PostMouse(WM_RBUTTONUP, kEmptyX, kEmptyY, 0);
  Quieten(harness);
  const host::GestureLedger ledger = LedgerSince(plugin, mark, known);
  log.Expect(balanced && ledger.Ok() && ledger.OpenGestures() == 0 && ledger.Gestures() > 50,
             std::to_string(kSteps) +
                 " random mouse messages: every gesture begins once and ends "
                 "once (" +
                 std::to_string(ledger.Gestures()) + " gestures" +
                 (balanced ? std::string(")") : "; " + fault + ")"));
}

bool WaitForPopupToClose(EditorHarness& harness, HWND popup) {
  harness.Pump(6, [popup] { return !IsWindow(popup); });
  return !IsWindow(popup);
}

// Opens a pop-up with a right click at (x, y) with the host's window focused, closes it
// with close(), and reports where the focus went.
template <typename Close>
void CheckFocusAfter(EditorHarness& harness, CheckLog& log, const char* how, int x, int y,
                     const char* popupClass, Close close) {
  SetFocus(harness.HostWindow());
  Click(harness, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, x, y);
  HWND popup = harness.FindPopup(popupClass);
  const bool focused = popup != nullptr && GetFocus() == popup;
  close(popup);
  const bool closed = popup != nullptr && WaitForPopupToClose(harness, popup);
  log.Expect(focused && closed && GetFocus() == harness.HostWindow(),
             std::string("the focus goes back to the host's window after ") + how);
}

}  // namespace

void CheckBalancedGestures(EditorHarness& harness, CheckLog& log) {
  CheckCancelOverKnob(harness, log);
  CheckRightDoubleClick(harness, log);
  CheckDoubleClickCapture(harness, log);
  CheckCaptureTaken(harness, log);
  CheckRandomMessages(harness, log);
}

void CheckFocusReturn(EditorHarness& harness, CheckLog& log) {
  CheckFocusAfter(harness, log, "Enter in the value box", kFreqLeftX, kFreqLeftY, "Edit",
                  [&](HWND box) { harness.PostTo(box, WM_KEYDOWN, VK_RETURN, 1); });
  CheckFocusAfter(
      harness, log, "a right click in the editor", kFreqLeftX, kFreqLeftY, "Edit",
      [&](HWND) { Click(harness, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, kEmptyX, kEmptyY); });
  CheckFocusAfter(
      harness, log, "a left click in the editor", kFreqLeftX, kFreqLeftY, "Edit",
      [&](HWND) { Click(harness, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, kEmptyX, kEmptyY); });
  CheckFocusAfter(harness, log, "a choice in the value list", kPingPongX, kPingPongY, "ComboBox",
                  [&](HWND list) { harness.PostTo(list, WM_KEYDOWN, VK_UP, 1); });
  // The editor closing with a pop-up open.
  SetFocus(harness.HostWindow());
  Click(harness, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, kFreqLeftX, kFreqLeftY);
  const bool open = harness.FindPopup("Edit") != nullptr;
  harness.Close();
  log.Expect(open && GetFocus() == harness.HostWindow(),
             "the focus goes back to the host's window when the editor closes over a pop-up");
  harness.Open();
  harness.Pump(2);
}

}  // namespace velmora::editorcheck
