// The timer tick's close step: a committed text is applied once, the control is told, then
// the pop-up goes, whatever a host callback does to the focus (or the timer) meanwhile; and
// the text box's look for each alignment and style value.
#include <gtest/gtest.h>

#include "editor/entry_box_style.h"
#include "tests/editor/editor_session.h"

namespace velmora::testing {
namespace {

constexpr int kFreqLeft = 4;
constexpr int kFreqLeftX = 64;
constexpr int kFreqLeftTextY = 340;

TEST(EntryClose, ACommitIsAppliedOnceWhenAHostCallbackTakesTheFocusDuringIt) {
  EditorSession session;
  HeadlessEditorWindow& editor = session.Editor();
  session.OpenAndPaint();
  editor.RightButtonDown(kFreqLeftX, kFreqLeftTextY, RightButton());
  editor.RightButtonUp(kFreqLeftX, kFreqLeftTextY, MouseModifiers{});
  ASSERT_TRUE(editor.EntryOpen());
  editor.TypeIntoEntry("2500");
  editor.SetEntryState(IEditorWindow::kEntryCommit);
  session.ClearCalls();

  // The host answers the gesture's begin by taking the focus (the pop-up loses it) and by
  // running the editor's timer from inside the callback, as a host pumping messages does.
  bool openWhenTold = false;
  int nested = 0;
  session.Host().onCall = [&](const HostCall& call) {
    if (call.opcode == vst::audioMasterBeginEdit && nested == 0) {
      ++nested;
      editor.SetEntryState(IEditorWindow::kEntryIdle);
      editor.TimerTick();
    }
    // The control hears of the close (and repeats its value) while the pop-up still exists.
    if (call.opcode == vst::audioMasterAutomate && session.Host().Count(vst::audioMasterEndEdit)) {
      openWhenTold = editor.EntryOpen();
    }
  };
  editor.TimerTick();
  session.Host().onCall = nullptr;
  EXPECT_FALSE(editor.EntryOpen());
  EXPECT_TRUE(openWhenTold);
  EXPECT_EQ(editor.GetEntryState(), IEditorWindow::kEntryIdle);
  EXPECT_EQ(session.Host().Count(vst::audioMasterBeginEdit), 1);
  EXPECT_EQ(session.Host().Count(vst::audioMasterEndEdit), 1);
  EXPECT_EQ(session.Plugin().Param(kFreqLeft)->Value(), 2500.0);

  // A later commit request finds no pop-up and applies nothing.
  session.ClearCalls();
  editor.SetEntryState(IEditorWindow::kEntryCommit);
  editor.TimerTick();
  EXPECT_EQ(session.Host().Count(vst::audioMasterBeginEdit), 0);
}

TEST(EntryClose, ACancelTellsTheControlAndAppliesNothing) {
  EditorSession session;
  HeadlessEditorWindow& editor = session.Editor();
  session.OpenAndPaint();
  IControl& control = session.ControlFor(kFreqLeft);
  editor.RightButtonDown(kFreqLeftX, kFreqLeftTextY, RightButton());
  editor.RightButtonUp(kFreqLeftX, kFreqLeftTextY, MouseModifiers{});
  ASSERT_TRUE(editor.EntryOpen());
  const double before = session.Plugin().Param(kFreqLeft)->Value();
  editor.TypeIntoEntry("9000");
  editor.SetEntryState(IEditorWindow::kEntryCancel);
  editor.TimerTick();
  EXPECT_FALSE(editor.EntryOpen());
  EXPECT_FALSE(control.EntryPending());
  EXPECT_EQ(session.Plugin().Param(kFreqLeft)->Value(), before);
}

TEST(EntryBoxStyle, AlignsZeroLeftTwoRightAndEverythingElseCentred) {
  EXPECT_EQ(EntryBoxAlignment(0), TextStyle::kAlignLeft);
  EXPECT_EQ(EntryBoxAlignment(1), TextStyle::kAlignCentre);
  EXPECT_EQ(EntryBoxAlignment(2), TextStyle::kAlignRight);
  EXPECT_EQ(EntryBoxAlignment(3), TextStyle::kAlignCentre);
  EXPECT_EQ(EntryBoxAlignment(-1), TextStyle::kAlignCentre);
  EXPECT_EQ(EntryBoxAlignment(1000), TextStyle::kAlignCentre);
}

TEST(EntryBoxStyle, BoldOnlyForStyleOneItalicOnlyForStyleTwo) {
  EXPECT_EQ(EntryBoxFontStyle(0), 0);
  EXPECT_EQ(EntryBoxFontStyle(1), TextStyle::kBold);
  EXPECT_EQ(EntryBoxFontStyle(2), TextStyle::kItalic);
  EXPECT_EQ(EntryBoxFontStyle(3), 0);  // not bold italic
  EXPECT_EQ(EntryBoxFontStyle(-1), 0);
  EXPECT_EQ(EntryBoxFontStyle(5), 0);
  EXPECT_TRUE(EntryBoxBold(1));
  EXPECT_FALSE(EntryBoxBold(3));
  EXPECT_TRUE(EntryBoxItalic(2));
  EXPECT_FALSE(EntryBoxItalic(3));
}

}  // namespace
}  // namespace velmora::testing
