// What the host hears of the editor's mouse input when pop-ups take presses or releases:
// every gesture it is told of begins once and ends once, on the window logic every platform
// shares (fixed cases, then thousands of random events with the balance checked after each).
#include <gtest/gtest.h>

#include <random>

#include "tests/editor/editor_session.h"
#include "tools/host/gesture_ledger.h"

namespace velmora::testing {
namespace {

constexpr int kFeedback = 3;
constexpr int kFreqLeft = 4;
constexpr int kFilterLeftType = 6;
constexpr int kFeedbackX = 341;
constexpr int kKnobY = 145;
constexpr int kFreqLeftKnobX = 64;
constexpr int kFreqLeftKnobY = 300;
constexpr int kFreqLeftTextY = 340;
constexpr int kFilterTypeX = 34;
constexpr int kFilterTypeY = 240;

// An editor session whose host calls all go through a ledger as they happen.
class BalancedSession : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int param = 0; param < session_.Plugin().NumParams(); ++param) {
      ledger_.Know(param, static_cast<float>(session_.Plugin().Param(param)->NormalisedValue()));
    }
    session_.Host().onCall = [this](const HostCall& call) {
      ledger_.Feed(call.opcode, call.index, call.opt);
    };
    session_.OpenAndPaint();
    session_.ClearCalls();
  }
  void TearDown() override { session_.Host().onCall = nullptr; }

  HeadlessEditorWindow& Editor() { return session_.Editor(); }
  int Count(int32_t opcode, int param) {
    int count = 0;
    for (const HostCall& call : session_.Calls()) {
      count += call.opcode == opcode && call.index == param ? 1 : 0;
    }
    return count;
  }
  void RightClickAt(int x, int y) {
    Editor().RightButtonDown(x, y, RightButton());
    Editor().RightButtonUp(x, y, MouseModifiers{});
  }

  EditorSession session_;
  host::GestureLedger ledger_;
};

TEST_F(BalancedSession, TheRightClickThatCancelsAnEntrySwallowsItsReleaseOverAKnob) {
  RightClickAt(kFreqLeftKnobX, kFreqLeftTextY);
  ASSERT_TRUE(Editor().EntryOpen());
  Editor().TimerTick();
  session_.ClearCalls();
  // The cancelling click lands on Feedback; its release must not end a gesture there.
  RightClickAt(kFeedbackX, kKnobY);
  Editor().TimerTick();
  EXPECT_FALSE(Editor().EntryOpen());
  EXPECT_EQ(Count(vst::audioMasterBeginEdit, kFeedback), 0);
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFeedback), 0);
  EXPECT_EQ(Count(vst::audioMasterAutomate, kFeedback), 0);
  EXPECT_TRUE(ledger_.Ok()) << ledger_.Fault();
  EXPECT_EQ(ledger_.OpenGestures(), 0);
}

// The list's row takes the press; the release arrives at the editor over Freq Left.
TEST_F(BalancedSession, AListRowClicksReleaseDoesNotFallThroughToTheKnobBeneath) {
  RightClickAt(kFilterTypeX, kFilterTypeY);
  ASSERT_TRUE(Editor().EntryOpen());
  ASSERT_EQ(Editor().EntryRequests().back().kind, EntryRequest::kValueList);
  Editor().TypeIntoEntry("Highpass");
  Editor().SetEntryState(IEditorWindow::kEntryCommit);
  session_.ClearCalls();
  Editor().LeftButtonUp(kFreqLeftKnobX, kFreqLeftKnobY, MouseModifiers{});
  Editor().TimerTick();
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFreqLeft), 0);
  EXPECT_EQ(Count(vst::audioMasterAutomate, kFreqLeft), 0);
  EXPECT_EQ(Count(vst::audioMasterBeginEdit, kFilterLeftType), 1);
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFilterLeftType), 1);
  EXPECT_EQ(session_.Plugin().Param(kFilterLeftType)->Value(), 2.0);
  EXPECT_TRUE(ledger_.Ok()) << ledger_.Fault();
}

TEST_F(BalancedSession, ADoubleClickReleasedOutsideTheKnobEndsItsGesture) {
  Editor().LeftButtonDown(kFeedbackX, kKnobY, LeftButton());
  Editor().LeftButtonUp(kFeedbackX, kKnobY, MouseModifiers{});
  Editor().LeftDoubleClick(kFeedbackX, kKnobY, LeftButton());
  EXPECT_TRUE(ledger_.IsOpen(kFeedback));
  Editor().PointerMoved(600, -40, LeftButton());
  Editor().LeftButtonUp(600, -40, MouseModifiers{});
  EXPECT_FALSE(ledger_.IsOpen(kFeedback));
  EXPECT_EQ(Count(vst::audioMasterBeginEdit, kFeedback), 2);
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFeedback), 2);
  EXPECT_TRUE(ledger_.Ok()) << ledger_.Fault();
}

// Windows sends a quick second right click as WM_RBUTTONDBLCLK, which the editor leaves
// alone; the WM_RBUTTONUP after it has no press of its own.
TEST_F(BalancedSession, TheReleaseOfAnIgnoredRightDoubleClickIsSwallowed) {
  RightClickAt(kFeedbackX, kKnobY);  // opens the value box, one gesture
  Editor().RightButtonUp(kFeedbackX, kKnobY, MouseModifiers{});
  EXPECT_EQ(Count(vst::audioMasterBeginEdit, kFeedback), 1);
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFeedback), 1);
  EXPECT_TRUE(ledger_.Ok()) << ledger_.Fault();
}

TEST_F(BalancedSession, ASecondButtonWhileOneHoldsAKnobIsIgnoredWithItsRelease) {
  Editor().LeftButtonDown(kFeedbackX, kKnobY, LeftButton());
  MouseModifiers both = LeftButton();
  both.right = true;
  Editor().RightButtonDown(kFreqLeftKnobX, kFreqLeftKnobY, both);
  Editor().LeftButtonUp(kFeedbackX, kKnobY, RightButton());
  Editor().RightButtonUp(kFreqLeftKnobX, kFreqLeftKnobY, MouseModifiers{});
  EXPECT_EQ(Count(vst::audioMasterBeginEdit, kFreqLeft), 0);
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFeedback), 1);
  EXPECT_FALSE(Editor().EntryOpen());
  EXPECT_TRUE(ledger_.Ok()) << ledger_.Fault();
}

TEST_F(BalancedSession, LosingTheMouseOrClosingTheWindowEndsAHeldGesture) {
  Editor().LeftButtonDown(kFeedbackX, kKnobY, LeftButton());
  Editor().MouseCaptureLost();
  EXPECT_FALSE(ledger_.IsOpen(kFeedback));
  Editor().LeftButtonUp(kFeedbackX, kKnobY, MouseModifiers{});  // arrives late: nothing
  Editor().LeftButtonDown(kFeedbackX, kKnobY, LeftButton());
  session_.Dispatch(vst::effEditClose);
  EXPECT_EQ(ledger_.OpenGestures(), 0);
  EXPECT_EQ(Count(vst::audioMasterEndEdit, kFeedback), 2);
  EXPECT_TRUE(ledger_.Ok()) << ledger_.Fault();
}

// A value committed while the left button still holds the same parameter's label belongs
// to that press's gesture.
TEST_F(BalancedSession, ACommitInsideAHeldGestureOnTheSameParameterOpensNoSecond) {
  RightClickAt(kFreqLeftKnobX, kFreqLeftTextY);
  ASSERT_TRUE(Editor().EntryOpen());
  Editor().TypeIntoEntry("3000");
  Editor().LeftButtonDown(kFreqLeftKnobX, kFreqLeftKnobY, LeftButton());
  Editor().TimerTick();
  Editor().LeftButtonUp(kFreqLeftKnobX, kFreqLeftKnobY, MouseModifiers{});
  EXPECT_EQ(session_.Plugin().Param(kFreqLeft)->Value(), 3000.0);
  EXPECT_TRUE(ledger_.Ok()) << ledger_.Fault();
  EXPECT_EQ(ledger_.OpenGestures(), 0);
}

// Random input: presses, releases (also of buttons not held), drags, double-clicks, wheel
// notches, keys, ticks, pop-up answers (a press the pop-up took, text, commit, cancel),
// lost captures and reopening, mostly over controls.
class RandomInput {
 public:
  RandomInput(EditorSession& session, unsigned seed) : session_(session), random_(seed) {}

  void Step() {
    HeadlessEditorWindow& editor = session_.Editor();
    closed_ = false;
    int x = 0, y = 0;
    Place(&x, &y);
    MouseModifiers held;
    held.left = editor.Held() == IEditorWindow::HeldButton::kLeft;
    held.right = editor.Held() == IEditorWindow::HeldButton::kRight;
    held.shift = Chance(10);
    switch (Pick(17)) {
      case 0:
      case 1:
        held.left = true;
        editor.LeftButtonDown(x, y, held);
        break;
      case 2:
        held.right = true;
        editor.RightButtonDown(x, y, held);
        break;
      case 3:
      case 4:
        held.left = false;
        editor.LeftButtonUp(x, y, held);
        break;
      case 5:
        held.right = false;
        editor.RightButtonUp(x, y, held);
        break;
      case 6:
        held.left = true;
        editor.LeftDoubleClick(x, y, held);
        break;
      case 7:
      case 8:
      case 9:
        editor.PointerMoved(x, y, held);
        break;
      case 10:
        editor.WheelTurned(x, y, held, (Pick(5) - 2) * 60);
        break;
      case 11:
        editor.PlatformKeyDown(x, y, 0x25 + Pick(4));
        break;
      case 12:
      case 13:
        editor.TimerTick();
        break;
      case 14:
        AnswerEntry();
        break;
      case 15:
        if (Chance(4)) {
          editor.MouseCaptureLost();
        }
        break;
      default:
        if (Chance(8)) {
          session_.Dispatch(vst::effEditClose);
          closed_ = true;
          session_.Dispatch(vst::effEditOpen);
        }
        break;
    }
  }
  // The window was closed (and opened again) by the last step.
  bool TakeClosed() {
    const bool closed = closed_;
    closed_ = false;
    return closed;
  }

 private:
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
  bool Chance(int oneIn) { return Pick(oneIn) == 0; }

  // Inside a random control most of the time, anywhere around the editor otherwise.
  void Place(int* x, int* y) {
    HeadlessEditorWindow& editor = session_.Editor();
    if (Chance(5)) {
      *x = Pick(640) - 70;
      *y = Pick(620) - 70;
      return;
    }
    const Rect& rect = editor.Control(1 + Pick(editor.ControlCount() - 1))->TargetRect();
    *x = rect.left + Pick(rect.Width() + 1);
    *y = rect.top + Pick(rect.Height() + 1);
  }

  void AnswerEntry() {
    HeadlessEditorWindow& editor = session_.Editor();
    if (!editor.EntryOpen()) {
      return;
    }
    const EntryRequest& request = editor.EntryRequests().back();
    switch (Pick(4)) {
      case 0:
        editor.TypeIntoEntry(std::to_string(Pick(30000) - 100));
        break;
      case 1:
        if (!request.items.empty()) {
          editor.TypeIntoEntry(
              request.items[static_cast<size_t>(Pick(static_cast<int>(request.items.size())))]);
        }
        editor.SetEntryState(IEditorWindow::kEntryCommit);  // Enter, or a row the list took
        break;
      case 2:
        editor.SetEntryState(IEditorWindow::kEntryCancel);  // a right click on the pop-up
        break;
      default:
        editor.SetEntryState(Chance(2) ? IEditorWindow::kEntryIdle : IEditorWindow::kEntryEditing);
        break;
    }
  }

  EditorSession& session_;
  std::mt19937 random_;
  bool closed_ = false;
};

TEST_F(BalancedSession, ThousandsOfRandomEventsKeepEveryGestureBalanced) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    RandomInput input(session_, seed);
    for (int step = 0; step < 2500; ++step) {
      input.Step();
      ASSERT_TRUE(ledger_.Ok()) << "seed " << seed << ", step " << step << ": " << ledger_.Fault();
      // Nothing may stay open once no button holds a control and no wheel end is pending.
      const bool closed = input.TakeClosed();
      const bool idle =
          Editor().Held() == IEditorWindow::HeldButton::kNone && Editor().EndEditCountdown() == 0;
      if (idle || closed) {
        ASSERT_EQ(ledger_.OpenGestures(), 0) << "seed " << seed << ", step " << step;
      }
    }
    session_.Dispatch(vst::effEditClose);
    ASSERT_EQ(ledger_.OpenGestures(), 0) << "seed " << seed;
    session_.Dispatch(vst::effEditOpen);
  }
  EXPECT_GT(ledger_.Gestures(), 1000u);
}

}  // namespace
}  // namespace velmora::testing
