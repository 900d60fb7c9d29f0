// The X11 editor driven as a user drives it: pointer and keys injected with XTest into the
// Linux plug-in module's editor window inside a host's window, checked against the gesture
// and automation calls the host receives, in order.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/editor/x11/x11_test_host.h"

#include <X11/keysym.h>

namespace velmora::testing {
namespace {

using host::HostCall;
using std::chrono::milliseconds;

constexpr int kPingPong = 1;
constexpr int kPanWidth = 2;
constexpr int kFeedback = 3;
constexpr int kFreqLeft = 4;
constexpr int kFilterLeftType = 6;

// The knobs' centres and the Feedback knob's height, as the layout places them.
constexpr int kPanWidthX = 271;
constexpr int kFeedbackX = 341;
constexpr int kKnobY = 145;
constexpr int kFeedbackHeight = 78;
constexpr int kFreqLeftX = 64;
constexpr int kFreqLeftTextY = 340;  // on the value text under the knob

class X11EditorInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host_.Error(), "");
    ASSERT_TRUE(host_.OpenEditor());
    host_.ClearCalls();
  }
  void TearDown() override {
    host_.CloseEditor();
    EXPECT_EQ(X11TestHost::ErrorCount(), 0);
  }

  // Every call one gesture on param: a begin, then automation of param only, then the end.
  static void ExpectOneGesture(const std::vector<HostCall>& calls, int param) {
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front().opcode, vst::audioMasterBeginEdit);
    EXPECT_EQ(calls.front().index, param);
    for (size_t i = 1; i + 1 < calls.size(); ++i) {
      EXPECT_EQ(calls[i].opcode, vst::audioMasterAutomate) << i;
      EXPECT_EQ(calls[i].index, param) << i;
    }
    EXPECT_EQ(calls.back().opcode, vst::audioMasterEndEdit);
    EXPECT_EQ(calls.back().index, param);
  }

  // A committed entry: begin, the value, end; closing the entry then shows (and pushes) the
  // control's value once more, outside the gesture.
  static void ExpectCommitGesture(const std::vector<HostCall>& calls, int param) {
    ASSERT_GE(calls.size(), 3u);
    ExpectOneGesture(std::vector<HostCall>(calls.begin(), calls.begin() + 3), param);
    for (size_t i = 3; i < calls.size(); ++i) {
      EXPECT_EQ(calls[i].opcode, vst::audioMasterAutomate);
      EXPECT_EQ(calls[i].opt, calls[1].opt);
    }
  }

  bool WaitForEnds(size_t count) {
    return WaitUntil([&] { return host_.CountCalls(vst::audioMasterEndEdit) >= count; });
  }

  // The pop-up the editor shows, once it is there.
  Window WaitForPopup() {
    Window popup = 0;
    WaitUntil([&] {
      const std::vector<Window> children = host_.Children(host_.EditorWindow());
      popup = children.size() == 1 ? children.front() : 0;
      return popup != 0;
    });
    return popup;
  }
  bool WaitForNoPopup() {
    return WaitUntil([&] { return host_.Children(host_.EditorWindow()).empty(); });
  }

  X11TestHost host_;
};

TEST_F(X11EditorInput, AKnobDraggedUpByFourHeightsReachesOneInOneGesture) {
  host_.Plugin().SetParameter(kFeedback, 0.0f);
  host_.ClearCalls();
  host_.MoveTo(kFeedbackX, kKnobY);
  host_.Press(Button1);
  // Far above the window: the knob keeps the pointer while the button is held.
  host_.MoveTo(kFeedbackX, kKnobY - 4 * kFeedbackHeight);
  host_.MoveTo(kFeedbackX + 30, kKnobY - 4 * kFeedbackHeight - 60);
  host_.Release(Button1);
  ASSERT_TRUE(WaitForEnds(1));
  const std::vector<HostCall> calls = host_.EditCalls();
  ExpectOneGesture(calls, kFeedback);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[calls.size() - 2].opt, 1.0f);
  EXPECT_EQ(host_.Plugin().GetParameter(kFeedback), 1.0f);
}

TEST_F(X11EditorInput, ThreeWheelNotchesAreOneGestureEndedTwelveTicksAfterTheLast) {
  host_.Plugin().SetParameter(kPanWidth, 0.5f);
  host_.ClearCalls();
  host_.MoveTo(kPanWidthX, kKnobY);
  for (int notch = 0; notch < 3; ++notch) {
    host_.Press(Button4);
    host_.Release(Button4);
  }
  ASSERT_TRUE(WaitUntil([&] { return host_.CountCalls(vst::audioMasterAutomate) >= 3; }));
  const auto lastNotch = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitForEnds(1));
  // Twelve ticks of 41 ms. Seen from here, a late first tick and the polling each take up
  // to one off that, so nine at least must have passed; an end sent early would not wait.
  EXPECT_GE(std::chrono::steady_clock::now() - lastNotch, milliseconds(9 * 41));
  const std::vector<HostCall> calls = host_.EditCalls();
  ExpectOneGesture(calls, kPanWidth);
  EXPECT_EQ(calls.size(), 5u);
  EXPECT_NEAR(host_.Plugin().GetParameter(kPanWidth), 0.53f, 1e-6);

  // Down notches, and the sideways wheel buttons do nothing.
  host_.ClearCalls();
  host_.Press(6);
  host_.Release(6);
  host_.Press(Button5);
  host_.Release(Button5);
  ASSERT_TRUE(WaitForEnds(1));
  EXPECT_EQ(host_.EditCalls().size(), 3u);
  EXPECT_NEAR(host_.Plugin().GetParameter(kPanWidth), 0.52f, 1e-6);
}

TEST_F(X11EditorInput, ADoubleClickRestoresTheDefault) {
  host_.Plugin().SetParameter(kFeedback, 0.1f);
  host_.ClearCalls();
  host_.Click(kFeedbackX, kKnobY, Button1);
  host_.Click(kFeedbackX + 1, kKnobY - 1, Button1);
  ASSERT_TRUE(WaitForEnds(2));
  EXPECT_FLOAT_EQ(host_.Plugin().GetParameter(kFeedback), 0.6f);
  // The second press arrived as the double-click: its gesture carries the default.
  const std::vector<HostCall> calls = host_.EditCalls();
  bool restored = false;
  for (const HostCall& call : calls) {
    restored = restored || (call.opcode == vst::audioMasterAutomate && call.opt == 0.6f);
  }
  EXPECT_TRUE(restored);
  EXPECT_EQ(host_.CountCalls(vst::audioMasterBeginEdit), 2u);
}

TEST_F(X11EditorInput, AClickOnAPingPongButtonSelectsIt) {
  host_.Click(170, 102 + 8, Button1);  // the first of the five buttons
  ASSERT_TRUE(WaitForEnds(1));
  const std::vector<HostCall> calls = host_.EditCalls();
  ExpectOneGesture(calls, kPingPong);
  EXPECT_EQ(host_.Plugin().GetParameter(kPingPong), 0.0f);
}

TEST_F(X11EditorInput, TheValueBoxCommitsTypedTextInAGestureAndARightClickCancelsIt) {
  // A right click on the value text opens the box (a double-click restores the default).
  host_.Click(kFreqLeftX, kFreqLeftTextY, Button3);
  const Window box = WaitForPopup();
  ASSERT_NE(box, 0u);
  int x = 0, y = 0, width = 0, height = 0;
  ASSERT_TRUE(host_.Geometry(box, &x, &y, &width, &height));
  EXPECT_EQ(height, 16);
  ASSERT_TRUE(WaitForEnds(1));  // the right click's own gesture
  host_.ClearCalls();
  host_.TypeKeys({XK_2, XK_0, XK_0, XK_0, XK_Return});
  ASSERT_TRUE(WaitForNoPopup());
  ASSERT_TRUE(WaitForEnds(1));
  ExpectCommitGesture(host_.EditCalls(), kFreqLeft);
  EXPECT_EQ(host_.Plugin().ParamDisplay(kFreqLeft), "2000");

  // Open again, type, and cancel with a right click elsewhere: nothing changes and the
  // click reaches no control.
  host_.Click(kFreqLeftX, kFreqLeftTextY, Button3);
  ASSERT_NE(WaitForPopup(), 0u);
  host_.TypeKeys({XK_5, XK_0, XK_0, XK_0});
  ASSERT_TRUE(WaitForEnds(2));
  host_.ClearCalls();
  host_.Click(kFeedbackX, kKnobY, Button3);
  ASSERT_TRUE(WaitForNoPopup());
  EXPECT_EQ(host_.Plugin().ParamDisplay(kFreqLeft), "2000");
  EXPECT_EQ(host_.CountCalls(vst::audioMasterBeginEdit), 0u);
}

TEST_F(X11EditorInput, ChoosingAnEntryOfAValueListCommitsIt) {
  ASSERT_EQ(host_.Plugin().ParamDisplay(kFilterLeftType), "Lowpass");
  host_.Click(34, 240, Button3);  // the left filter's type switch
  const Window list = WaitForPopup();
  ASSERT_NE(list, 0u);
  int x = 0, y = 0, width = 0, height = 0;
  ASSERT_TRUE(host_.Geometry(list, &x, &y, &width, &height));
  EXPECT_GE(height, 3 * 18);
  ASSERT_TRUE(WaitForEnds(1));
  host_.ClearCalls();
  host_.Click(x + width / 2, y + 1 + 2 * 18 + 9, Button1);  // "Highpass", the third row
  ASSERT_TRUE(WaitForNoPopup());
  ASSERT_TRUE(WaitForEnds(1));
  ExpectCommitGesture(host_.EditCalls(), kFilterLeftType);
  EXPECT_EQ(host_.Plugin().ParamDisplay(kFilterLeftType), "Highpass");
}

TEST_F(X11EditorInput, ClosingWithAPendingWheelGestureEndsItAtOnce) {
  host_.MoveTo(kPanWidthX, kKnobY);
  host_.Press(Button5);
  host_.Release(Button5);
  ASSERT_TRUE(WaitUntil([&] { return host_.CountCalls(vst::audioMasterAutomate) >= 1; }));
  EXPECT_EQ(host_.CountCalls(vst::audioMasterEndEdit), 0u);
  host_.CloseEditor();
  EXPECT_EQ(host_.CountCalls(vst::audioMasterEndEdit), 1u);
  ExpectOneGesture(host_.EditCalls(), kPanWidth);
}

TEST_F(X11EditorInput, TheHostsWheelReachesTheControlUnderThePointer) {
  host_.Plugin().SetParameter(kPanWidth, 0.5f);
  host_.MoveTo(kPanWidthX, kKnobY);
  const float before = host_.Plugin().GetParameter(kPanWidth);
  ASSERT_TRUE(WaitUntil([&] {
    return host_.Plugin().Dispatch(vst::effVendorSpecific, 0x73744341, 0x57686565, nullptr, 1.0f) ==
           1;
  }));
  ASSERT_TRUE(WaitUntil([&] { return host_.CountCalls(vst::audioMasterAutomate) >= 1; }));
  EXPECT_NEAR(host_.Plugin().GetParameter(kPanWidth), before + 0.01f, 1e-6);
  host_.MoveTo(-50, -50);  // outside: not the editor's
  ASSERT_TRUE(WaitUntil([&] {
    return host_.Plugin().Dispatch(vst::effVendorSpecific, 0x73744341, 0x57686565, nullptr, 1.0f) ==
           0;
  }));
}

}  // namespace
}  // namespace velmora::testing
