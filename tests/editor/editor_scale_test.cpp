// The editor's scale as a VST 2 host sets it (the vendor request hosts on high-density
// screens send) and as the user chooses it (the zoom list on the background): the size the
// host is told, the resize it is asked for, and the editor-pixel routing of the mouse.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/device_scale.h"
#include "tests/editor/editor_session.h"

namespace velmora::testing {
namespace {

constexpr int32_t kScaleIndex = vst::FourCC('P', 'r', 'e', 'S');
constexpr intptr_t kScaleValue = vst::FourCC('A', 'e', 'C', 's');

class EditorScale : public ::testing::Test {
 protected:
  // The zoom choice is process-wide: every test starts and ends without one.
  void SetUp() override { IEditorGraphics::SetUserZoom(0.0); }
  void TearDown() override { IEditorGraphics::SetUserZoom(0.0); }

  // Right click on the background, pick an entry, let the tick carry it out.
  void ChooseFromZoomList(const char* entry) {
    HeadlessEditorWindow& editor = session_.Editor();
    editor.RightButtonDown(250, 5, RightButton());
    editor.RightButtonUp(250, 5, MouseModifiers{});
    ASSERT_TRUE(editor.ZoomEntryOpen());
    editor.TypeIntoEntry(entry);
    editor.SetEntryState(IEditorWindow::kEntryCommit);
    editor.TimerTick();
  }

  intptr_t AskScale(float factor) {
    return session_.Effect()->dispatcher(session_.Effect(), vst::effVendorSpecific, kScaleIndex,
                                         kScaleValue, nullptr, factor);
  }
  vst::ERect Rect() {
    vst::ERect* rect = nullptr;
    EXPECT_EQ(
        session_.Effect()->dispatcher(session_.Effect(), vst::effEditGetRect, 0, 0, &rect, 0.0f),
        1);
    return *rect;
  }

  EditorSession session_;
};

TEST_F(EditorScale, TheHostsFactorScalesTheRectangleRoundedHalfAwayFromZero) {
  EXPECT_EQ(Rect().right, 499);
  EXPECT_EQ(Rect().bottom, 486);
  EXPECT_EQ(AskScale(1.5f), 1);
  EXPECT_EQ(Rect().right, 749);  // 748.5
  EXPECT_EQ(Rect().bottom, 729);
  EXPECT_EQ(Rect().left, 0);
  EXPECT_EQ(Rect().top, 0);
  AskScale(1.25f);
  EXPECT_EQ(Rect().right, 624);   // 623.75
  EXPECT_EQ(Rect().bottom, 608);  // 607.5
  AskScale(2.0f);
  EXPECT_EQ(Rect().right, 998);
  EXPECT_EQ(Rect().bottom, 972);
  AskScale(1.0f);
  EXPECT_EQ(Rect().right, 499);
  EXPECT_EQ(Rect().bottom, 486);
}

TEST_F(EditorScale, OddFactorsAreHeldToWhatTheEditorDraws) {
  AskScale(0.5f);  // never smaller than the design
  EXPECT_EQ(Rect().right, 499);
  AskScale(8.0f);
  EXPECT_EQ(Rect().right, 1497);  // 3 at most
  AskScale(std::nanf(""));        // withdraws the request
  EXPECT_EQ(Rect().right, 499);
  AskScale(2.0f);
  AskScale(-1.0f);
  EXPECT_EQ(Rect().right, 499);
}

TEST_F(EditorScale, OtherVendorRequestsAndAWrongValueLeaveTheScale) {
  EXPECT_EQ(session_.Effect()->dispatcher(session_.Effect(), vst::effVendorSpecific, kScaleIndex,
                                          kScaleValue + 1, nullptr, 2.0f),
            0);
  EXPECT_EQ(Rect().right, 499);
}

TEST_F(EditorScale, AWindowOpenAtAnotherScaleAsksTheHostToResizeOnlyWhenTheSizeChanges) {
  session_.OpenAndPaint();
  session_.ClearCalls();
  AskScale(1.0f);
  EXPECT_EQ(session_.Host().Count(vst::audioMasterSizeWindow), 0);
  AskScale(1.5f);
  const auto calls = session_.Host().CallsOf(vst::audioMasterSizeWindow);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 749);
  EXPECT_EQ(calls[0].value, 729);
  AskScale(1.5f);
  EXPECT_EQ(session_.Host().Count(vst::audioMasterSizeWindow), 1);
  EXPECT_EQ(session_.Editor().WindowImage().Width(), 749);
  EXPECT_EQ(session_.Editor().WindowImage().Height(), 729);
}

TEST_F(EditorScale, AClosedEditorTakesTheScaleWithoutAskingTheHost) {
  AskScale(2.0f);
  EXPECT_EQ(session_.Host().Count(vst::audioMasterSizeWindow), 0);
  session_.OpenAndPaint();
  EXPECT_EQ(session_.Editor().WindowImage().Width(), 998);
  EXPECT_EQ(session_.Editor().Surface()->Width(), 998);
}

TEST_F(EditorScale, AtOneHundredPercentNothingNewReachesTheHost) {
  session_.OpenAndPaint();
  AskScale(1.0f);
  session_.Dispatch(vst::effEditClose);
  EXPECT_EQ(session_.Host().Count(vst::audioMasterSizeWindow), 0);
}

TEST_F(EditorScale, ARightClickOnTheBackgroundOpensTheZoomListWithTheCurrentZoomMarked) {
  session_.OpenAndPaint();
  session_.ClearCalls();
  HeadlessEditorWindow& editor = session_.Editor();
  editor.RightButtonDown(250, 5, RightButton());  // between the version and the title plate
  editor.RightButtonUp(250, 5, MouseModifiers{});
  ASSERT_EQ(editor.EntryRequests().size(), 1u);
  const EntryRequest& list = editor.EntryRequests()[0];
  EXPECT_EQ(list.kind, EntryRequest::kValueList);
  EXPECT_EQ(list.items,
            (std::vector<std::string>{"Zoom 100%", "Zoom 125%", "Zoom 150%", "Zoom 200%"}));
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(list.area.left, 250);
  EXPECT_EQ(list.area.top, 5);
  EXPECT_TRUE(editor.ZoomEntryOpen());
  // No gesture, no parameter: the host hears nothing of it.
  EXPECT_TRUE(session_.Calls().empty());
  // A right click cancels it as any entry.
  editor.RightButtonDown(250, 5, RightButton());
  editor.RightButtonUp(250, 5, MouseModifiers{});
  editor.TimerTick();
  EXPECT_FALSE(editor.EntryOpen());
  EXPECT_EQ(editor.Surface()->Width(), 499);
}

TEST_F(EditorScale, ARightClickOnAControlStillOpensItsValueEntry) {
  session_.OpenAndPaint();
  HeadlessEditorWindow& editor = session_.Editor();
  editor.RightButtonDown(95, 145, RightButton());  // the Delay Rate knob
  editor.RightButtonUp(95, 145, MouseModifiers{});
  ASSERT_EQ(editor.EntryRequests().size(), 1u);
  EXPECT_FALSE(editor.ZoomEntryOpen());
  EXPECT_EQ(editor.EntryRequests()[0].param, session_.Plugin().Param(0));
}

TEST_F(EditorScale, AChosenZoomResizesThroughAHostThatGrantsItAndLastsForTheProcess) {
  session_.Host().grantsSizeWindow = true;
  session_.OpenAndPaint();
  session_.ClearCalls();
  ChooseFromZoomList("Zoom 150%");
  const auto calls = session_.Host().CallsOf(vst::audioMasterSizeWindow);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 749);
  EXPECT_EQ(calls[0].value, 729);
  EXPECT_EQ(Rect().right, 749);
  EXPECT_EQ(session_.Editor().WindowImage().Width(), 749);
  EXPECT_DOUBLE_EQ(IEditorGraphics::UserZoom(), 1.5);
  // The next list marks it; another instance opens at it, over its host's request.
  session_.Editor().RightButtonDown(250, 5, RightButton());
  EXPECT_EQ(session_.Editor().EntryRequests().back().selected, 2);
  EditorSession other;
  other.Effect()->dispatcher(other.Effect(), vst::effVendorSpecific, kScaleIndex, kScaleValue,
                             nullptr, 2.0f);
  vst::ERect* rect = nullptr;
  other.Effect()->dispatcher(other.Effect(), vst::effEditGetRect, 0, 0, &rect, 0.0f);
  EXPECT_EQ(rect->right, 749);
  // The state chunk does not carry it.
  void* chunk = nullptr;
  const intptr_t size =
      session_.Effect()->dispatcher(session_.Effect(), vst::effGetChunk, 1, 0, &chunk, 0.0f);
  EXPECT_EQ(size, 4 + 22 * 8);
}

TEST_F(EditorScale, AHostThatRefusesTheSizeKeepsTheEditorAsItWas) {
  session_.OpenAndPaint();
  ChooseFromZoomList("Zoom 200%");
  EXPECT_EQ(session_.Host().Count(vst::audioMasterSizeWindow), 1);
  EXPECT_EQ(Rect().right, 499);
  EXPECT_EQ(session_.Editor().WindowImage().Width(), 499);
  EXPECT_EQ(IEditorGraphics::UserZoom(), 0.0);
}

TEST_F(EditorScale, ChoosingTheZoomAlreadyShownAsksTheHostNothing) {
  session_.Host().grantsSizeWindow = true;
  session_.OpenAndPaint();
  ChooseFromZoomList("Zoom 100%");
  EXPECT_EQ(session_.Host().Count(vst::audioMasterSizeWindow), 0);
  ChooseFromZoomList("not a zoom");
  EXPECT_EQ(session_.Host().Count(vst::audioMasterSizeWindow), 0);
  EXPECT_EQ(Rect().right, 499);
}

TEST(DeviceScale, EditorPixelsUnderDevicePixelsAndBack) {
  EXPECT_EQ(device_scale::ToDevice(499, 1.5), 749);
  EXPECT_EQ(device_scale::ToDevice(-3, 1.5), -5);  // -4.5, away from zero
  EXPECT_EQ(device_scale::ToEditor(0, 2.0), 0);
  EXPECT_EQ(device_scale::ToEditor(1, 2.0), 0);
  EXPECT_EQ(device_scale::ToEditor(2, 2.0), 1);
  EXPECT_EQ(device_scale::ToEditor(997, 2.0), 498);
  EXPECT_EQ(device_scale::ToEditor(-1, 2.0), -1);
  for (int x = -5; x < 600; ++x) {
    EXPECT_EQ(device_scale::ToEditor(x, 1.0), x);
  }
  EXPECT_EQ(device_scale::Usable(0.0), 0.0);
  EXPECT_EQ(device_scale::Usable(INFINITY), 0.0);
  EXPECT_EQ(device_scale::Usable(1.75), 1.75);
}

}  // namespace
}  // namespace velmora::testing
