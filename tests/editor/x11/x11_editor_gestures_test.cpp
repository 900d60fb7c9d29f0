// The X11 editor's gestures as the host hears them when pop-ups take presses and releases,
// and where the keyboard focus goes when a pop-up closes. Input comes through XTest; the
// host's calls are checked with a gesture ledger after every event.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "tests/editor/x11/x11_test_host.h"
#include "tools/host/gesture_ledger.h"

#include <X11/keysym.h>

namespace velmora::testing {
namespace {

using host::HostCall;

constexpr int kFeedback = 3;
constexpr int kFreqLeft = 4;
constexpr int kFeedbackX = 341;
constexpr int kKnobY = 145;
constexpr int kFreqLeftX = 64;
constexpr int kFreqLeftY = 300;
constexpr int kFreqLeftTextY = 340;
constexpr int kFilterTypeX = 34;
constexpr int kFilterTypeY = 240;
constexpr int kBareX = 250;  // only the background there
constexpr int kBareY = 470;

class X11EditorGestures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host_.Error(), "");
    ASSERT_TRUE(host_.OpenEditor());
    host_.ClearCalls();
    for (int param = 0; param < 22; ++param) {
      known_[param] = host_.Plugin().GetParameter(param);
    }
  }
  void TearDown() override {
    host_.CloseEditor();
    EXPECT_EQ(X11TestHost::ErrorCount(), 0);
  }

  // The ledger over every edit call so far.
  host::GestureLedger Ledger() const {
    host::GestureLedger ledger;
    for (int param = 0; param < 22; ++param) {
      ledger.Know(param, known_[param]);
    }
    for (const HostCall& call : host_.EditCalls()) {
      ledger.Feed(call.opcode, call.index, call.opt);
    }
    return ledger;
  }
  int Count(int32_t opcode, int param) const {
    int count = 0;
    for (const HostCall& call : host_.EditCalls()) {
      count += call.opcode == opcode && call.index == param ? 1 : 0;
    }
    return count;
  }
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
  // A few ticks for anything still on its way.
  void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(150)); }
  Window Focus() const {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(host_.Connection(), &focus, &revert);
    return focus;
  }
  void FocusParent() {
    XSetInputFocus(host_.Connection(), host_.Parent(), RevertToParent, CurrentTime);
    XSync(host_.Connection(), False);
  }

  X11TestHost host_;
  float known_[22] = {};
};

TEST_F(X11EditorGestures, TheRightClickThatCancelsAnEntryEndsNothingOnTheKnobBeneath) {
  host_.Click(kFreqLeftX, kFreqLeftTextY, Button3);
  ASSERT_NE(WaitForPopup(), 0u);
  host_.Click(kFeedbackX, kKnobY, Button3);
  ASSERT_TRUE(WaitForNoPopup());
  Settle();
  EXPECT_EQ(Count(vst::audioMasterBeginEdit, kFeedback), 0);
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFeedback), 0);
  EXPECT_EQ(Count(vst::audioMasterAutomate, kFeedback), 0);
  const host::GestureLedger ledger = Ledger();
  EXPECT_TRUE(ledger.Ok()) << ledger.Fault();
  EXPECT_EQ(ledger.OpenGestures(), 0);
}

// The filter type's list lies over the Freq Left knob; the row's release comes after the
// list has gone, so the editor window gets it.
TEST_F(X11EditorGestures, AListRowClicksReleaseDoesNotFallThroughToTheKnobBeneath) {
  host_.Click(kFilterTypeX, kFilterTypeY, Button3);
  ASSERT_NE(WaitForPopup(), 0u);
  host_.MoveTo(60, kFilterTypeY + 1 + 2 * 18 + 9);  // "Highpass", over the knob
  host_.Press(Button1);
  ASSERT_TRUE(WaitForNoPopup());
  host_.Release(Button1);
  Settle();
  EXPECT_EQ(host_.Plugin().ParamDisplay(6), "Highpass");
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFreqLeft), 0);
  EXPECT_EQ(Count(vst::audioMasterAutomate, kFreqLeft), 0);
  const host::GestureLedger ledger = Ledger();
  EXPECT_TRUE(ledger.Ok()) << ledger.Fault();
  EXPECT_EQ(ledger.OpenGestures(), 0);
}

TEST_F(X11EditorGestures, ADoubleClickReleasedOutsideTheWindowEndsItsGesture) {
  host_.Click(kFeedbackX, kKnobY, Button1);
  host_.MoveTo(kFeedbackX + 1, kKnobY);
  host_.Press(Button1);  // the double-click: restores the default
  host_.MoveTo(-60, -60);
  host_.Release(Button1);
  ASSERT_TRUE(WaitUntil([&] { return Count(vst::audioMasterEndEdit, kFeedback) == 2; }));
  EXPECT_EQ(Count(vst::audioMasterBeginEdit, kFeedback), 2);
  const host::GestureLedger ledger = Ledger();
  EXPECT_TRUE(ledger.Ok()) << ledger.Fault();
  EXPECT_EQ(ledger.OpenGestures(), 0);
}

TEST_F(X11EditorGestures, RandomPressesReleasesMotionsAndWheelNotchesStayBalanced) {
  std::mt19937 random(7);
  auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
  bool left = false;
  bool right = false;
  for (int step = 0; step < 400; ++step) {
    host_.MoveTo(pick(560) - 30, pick(540) - 30);
    switch (pick(8)) {
      case 0:
        if (!left) {
          host_.Press(Button1);
        }
        left = true;
        break;
      case 1:
        if (!right) {
          host_.Press(Button3);
        }
        right = true;
        break;
      case 2:
      case 3:
        if (left) {
          host_.Release(Button1);
        }
        left = false;
        break;
      case 4:
        if (right) {
          host_.Release(Button3);
        }
        right = false;
        break;
      case 5:
        host_.Press(pick(2) == 0 ? Button4 : Button5);
        host_.Release(Button4);
        host_.Release(Button5);
        break;
      case 6:
        host_.TypeKeys({static_cast<unsigned long>(pick(2) == 0 ? XK_Return : XK_Down)});
        break;
      default:
        break;  // a motion alone
    }
    // Time for the editor's thread to keep up, so that the calls checked are this step's.
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    const host::GestureLedger ledger = Ledger();
    ASSERT_TRUE(ledger.Ok()) << "step " << step << ": " << ledger.Fault();
  }
  if (left) {
    host_.Release(Button1);
  }
  if (right) {
    host_.Release(Button3);
  }
  host_.Click(kBareX, kBareY, Button3);  // cancels a pop-up still open
  WaitForNoPopup();
  host_.CloseEditor();
  const host::GestureLedger ledger = Ledger();
  EXPECT_TRUE(ledger.Ok()) << ledger.Fault();
  EXPECT_EQ(ledger.OpenGestures(), 0);
  EXPECT_GT(ledger.Gestures(), 10u);
}

// Each way of closing a pop-up gives the keyboard focus back to the host's window.
TEST_F(X11EditorGestures, TheFocusGoesBackToTheHostAfterEveryWayOfClosing) {
  struct Way {
    const char* name;
    int x, y;                     // where the pop-up is opened
    std::function<void()> close;  // how it is closed
  };
  const Way ways[] = {
      {"Enter in the value box", kFreqLeftX, kFreqLeftTextY, [&] { host_.TypeKeys({XK_Return}); }},
      {"a right click in the editor", kFreqLeftX, kFreqLeftTextY,
       [&] { host_.Click(kBareX, kBareY, Button3); }},
      {"a left click in the editor", kFreqLeftX, kFreqLeftTextY,
       [&] { host_.Click(kBareX, kBareY, Button1); }},
      {"a right click on the value box", kFreqLeftX, kFreqLeftTextY,
       [&] { host_.Click(kFreqLeftX, kFreqLeftY + 10, Button3); }},
      {"a click on a list row", kFilterTypeX, kFilterTypeY,
       [&] { host_.Click(40, kFilterTypeY + 1 + 9, Button1); }},
      {"a right click on the list", kFilterTypeX, kFilterTypeY,
       [&] { host_.Click(40, kFilterTypeY + 1 + 9, Button3); }},
      {"Enter in the list", kFilterTypeX, kFilterTypeY, [&] { host_.TypeKeys({XK_Return}); }},
  };
  for (const Way& way : ways) {
    FocusParent();
    ASSERT_EQ(Focus(), host_.Parent());
    host_.Click(way.x, way.y, Button3);
    const Window popup = WaitForPopup();
    ASSERT_NE(popup, 0u) << way.name;
    EXPECT_TRUE(WaitUntil([&] { return Focus() == popup; })) << way.name;
    way.close();
    ASSERT_TRUE(WaitForNoPopup()) << way.name;
    EXPECT_TRUE(WaitUntil([&] { return Focus() == host_.Parent(); }))
        << way.name << ": the focus is on " << Focus();
  }
  // The editor closing with a pop-up open.
  FocusParent();
  host_.Click(kFreqLeftX, kFreqLeftTextY, Button3);
  ASSERT_NE(WaitForPopup(), 0u);
  host_.CloseEditor();
  EXPECT_EQ(Focus(), host_.Parent());
}

// A focus the user moved elsewhere while the pop-up was open stays there.
TEST_F(X11EditorGestures, AFocusMovedElsewhereIsNotTakenBack) {
  FocusParent();
  host_.Click(kFreqLeftX, kFreqLeftTextY, Button3);
  const Window popup = WaitForPopup();
  ASSERT_NE(popup, 0u);
  ASSERT_TRUE(WaitUntil([&] { return Focus() == popup; }));
  XSetInputFocus(host_.Connection(), PointerRoot, RevertToPointerRoot, CurrentTime);
  XSync(host_.Connection(), False);
  host_.Click(kBareX, kBareY, Button3);
  ASSERT_TRUE(WaitForNoPopup());
  Settle();
  EXPECT_EQ(Focus(), static_cast<Window>(PointerRoot));
}

}  // namespace
}  // namespace velmora::testing
