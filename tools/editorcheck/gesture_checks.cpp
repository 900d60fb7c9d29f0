// Gestures on the real window: what the host hears for each kind of mouse input.
#include <cmath>

#include "tools/editorcheck/checks.h"

namespace velmora::editorcheck {
namespace {

constexpr int kAutomate = 0;
constexpr int kBeginEdit = 43;
constexpr int kEndEdit = 44;
constexpr int kPingPong = 1;
constexpr int kFeedback = 3;
constexpr int kFeedbackX = 341;
constexpr int kFeedbackY = 145;
constexpr int kWheelEndTicks = 12;

// Begin, one or more automations, end, all on param.
bool IsOneGesture(const std::vector<host::HostCall>& calls, int param) {
  if (calls.size() < 3 || calls.front().opcode != kBeginEdit || calls.back().opcode != kEndEdit) {
    return false;
  }
  for (size_t i = 0; i < calls.size(); ++i) {
    const bool inner = i > 0 && i + 1 < calls.size();
    if (calls[i].index != param || (inner && calls[i].opcode != kAutomate)) {
      return false;
    }
  }
  return true;
}

void CheckDrag(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  const float before = plugin.GetParameter(kFeedback);
  const size_t mark = CallCount(plugin);
  harness.PostMouse(WM_LBUTTONDOWN, kFeedbackX, kFeedbackY, MK_LBUTTON);
  harness.PostMouse(WM_MOUSEMOVE, kFeedbackX, kFeedbackY - 10, MK_LBUTTON);
  harness.PostMouse(WM_MOUSEMOVE, kFeedbackX, kFeedbackY - 25, MK_LBUTTON);
  harness.PostMouse(WM_LBUTTONUP, kFeedbackX, kFeedbackY - 25, 0);
  harness.Drain();
  const auto calls = EditCalls(plugin, mark);
  log.Expect(IsOneGesture(calls, kFeedback) && calls.size() >= 4,
             "knob drag: one gesture on Feedback with the drag's automations: " + Describe(calls));
  log.Expect(plugin.GetParameter(kFeedback) > before, "knob drag upwards raises Feedback");
}

void CheckDoubleClick(EditorHarness& harness, CheckLog& log, float defaultValue) {
  host::PluginHost& plugin = harness.Plugin();
  const size_t mark = CallCount(plugin);
  harness.PostMouse(WM_LBUTTONDBLCLK, kFeedbackX, kFeedbackY, MK_LBUTTON);
  harness.PostMouse(WM_LBUTTONUP, kFeedbackX, kFeedbackY, 0);
  harness.Drain();
  const auto calls = EditCalls(plugin, mark);
  log.Expect(IsOneGesture(calls, kFeedback) && std::fabs(calls[1].opt - defaultValue) < 1e-6f,
             "WM_LBUTTONDBLCLK restores Feedback's default inside one gesture: " + Describe(calls));
  log.Expect(std::fabs(plugin.GetParameter(kFeedback) - defaultValue) < 1e-6f,
             "Feedback is back at its default");
}

void CheckWheel(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  const size_t mark = CallCount(plugin);
  int ticksAfterLastNotch = -1;
  int endAtTick = -1;
  harness.Observe([&](const MSG& msg) {
    if (msg.message == WM_MOUSEWHEEL) {
      ticksAfterLastNotch = 0;
    } else if (msg.message == WM_TIMER && msg.wParam == EditorHarness::kEditorTimer &&
               ticksAfterLastNotch >= 0) {
      ++ticksAfterLastNotch;
      for (const host::HostCall& call : EditCalls(plugin, mark)) {
        if (call.opcode == kEndEdit && endAtTick < 0) {
          endAtTick = ticksAfterLastNotch;
        }
      }
    }
  });
  for (int notch = 0; notch < 3; ++notch) {
    harness.PostWheel(kFeedbackX, kFeedbackY, 120);
  }
  harness.Pump(kWheelEndTicks + 4);
  harness.Observe(nullptr);
  const auto calls = EditCalls(plugin, mark);
  log.Expect(IsOneGesture(calls, kFeedback) && calls.size() == 5,
             "three wheel notches: one gesture with three automations: " + Describe(calls));
  log.Expect(endAtTick == kWheelEndTicks,
             "the wheel gesture ends at the 12th tick after the last notch (ended at tick " +
                 std::to_string(endAtTick) + ")");
}

void CheckRadioClick(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  const size_t mark = CallCount(plugin);
  // The fourth of Ping Pong's five buttons, 17 pixels apart from y = 102.
  harness.PostMouse(WM_LBUTTONDOWN, 170, 102 + 17 * 3 + 8, MK_LBUTTON);
  harness.PostMouse(WM_LBUTTONUP, 170, 102 + 17 * 3 + 8, 0);
  harness.Drain();
  const auto calls = EditCalls(plugin, mark);
  log.Expect(calls.size() == 3 && IsOneGesture(calls, kPingPong) && calls[1].opt == 0.75f,
             "radio click: Ping Pong set to its fourth value in one gesture: " + Describe(calls));
}

// The host's own wheel forwarding (vendor request stCA / Whee) acts where the pointer is.
void CheckHostWheel(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  const auto index = static_cast<int32_t>(vst::FourCC('s', 't', 'C', 'A'));
  const auto value = static_cast<intptr_t>(vst::FourCC('W', 'h', 'e', 'e'));
  const intptr_t away = plugin.Dispatch(vst::effVendorSpecific, index, value, nullptr, 1.0f);
  POINT over{kFeedbackX, kFeedbackY};
  ClientToScreen(harness.Editor(), &over);
  SetCursorPos(over.x, over.y);
  const float before = plugin.GetParameter(kFeedback);
  const size_t mark = CallCount(plugin);
  const intptr_t inside = plugin.Dispatch(vst::effVendorSpecific, index, value, nullptr, -2.0f);
  SetCursorPos(1200, 1000);
  harness.Pump(kWheelEndTicks + 2);
  const auto calls = EditCalls(plugin, mark);
  log.Expect(away == 0 && inside == 1 && calls.size() == 3 && IsOneGesture(calls, kFeedback) &&
                 std::fabs(calls[1].opt - (before - 0.02f)) < 1e-4f,
             "the host's wheel request answers 0 away from the editor, and over Feedback turns "
             "it two notches down in one gesture: " +
                 Describe(calls));
}

}  // namespace

void CheckGestures(EditorHarness& harness, CheckLog& log) {
  const float feedbackDefault = harness.Plugin().GetParameter(kFeedback);
  CheckDrag(harness, log);
  CheckDoubleClick(harness, log, feedbackDefault);
  CheckWheel(harness, log);
  CheckRadioClick(harness, log);
  CheckHostWheel(harness, log);
}

}  // namespace velmora::editorcheck
