// The built editor: every control in its place and order, bound to its parameter at its
// default, the version text, and the value entry opened by the bypass label.
#include <gtest/gtest.h>

#include <typeinfo>

#include "controls/button_control.h"
#include "controls/indicator_controls.h"
#include "controls/knob_controls.h"
#include "controls/label_control.h"
#include "controls/radio_buttons.h"
#include "controls/slider_controls.h"
#include "controls/stock_controls.h"
#include "controls/web_link_control.h"
#include "editor/text_controls.h"
#include "tests/editor/editor_session.h"

namespace velmora::testing {
namespace {

struct Placement {
  const std::type_info& type;
  int param;
  Rect rect;
};

// The layout, in list order after the background.
const Placement kLayout[] = {
    {typeid(ITextControl), -1, {40, 12, 90, 30}},
    {typeid(ILabelPrm), 21, {427, 458, 489, 474}},
    {typeid(IBypass), -1, {429, 460, 437, 468}},
    {typeid(IWebLinkControl), -1, {165, 10, 359, 57}},
    {typeid(IKnobRotVal), 0, {58, 108, 132, 212}},
    {typeid(IRadioButtons), 1, {133, 102, 215, 187}},
    {typeid(IKnobRotVal), 2, {244, 118, 298, 196}},
    {typeid(IKnobRotVal), 3, {314, 118, 368, 196}},
    {typeid(ISlider), 19, {385, 100, 425, 212}},
    {typeid(ISlider), 20, {422, 100, 462, 212}},
    {typeid(ISwitchControl), 6, {13, 229, 55, 251}},
    {typeid(IKnobRotVal), 4, {39, 275, 89, 346}},
    {typeid(IKnobRotVal), 7, {103, 275, 153, 346}},
    {typeid(IKnobRotVal), 8, {168, 275, 218, 346}},
    {typeid(IKnobRotVal), 5, {30, 376, 80, 447}},
    {typeid(IRadioButtons), 9, {99, 356, 159, 441}},
    {typeid(IKnobRotVal), 10, {177, 376, 227, 447}},
    {typeid(ISwitchControl), 13, {441, 229, 483, 251}},
    {typeid(IKnobRotVal), 11, {280, 275, 330, 346}},
    {typeid(IKnobRotVal), 14, {344, 275, 394, 346}},
    {typeid(IKnobRotVal), 15, {409, 275, 459, 346}},
    {typeid(IKnobRotVal), 12, {271, 376, 321, 447}},
    {typeid(IRadioButtons), 16, {340, 356, 400, 441}},
    {typeid(IKnobRotVal), 17, {418, 376, 468, 447}},
    {typeid(IButton), 18, {215, 220, 285, 247}},
    {typeid(GRAPH), -1, {22, 452, 235, 454}},
    {typeid(GRAPH), -1, {263, 452, 476, 454}},
};

TEST(EditorLayout, EveryControlSitsInItsPlaceBoundToItsParameter) {
  EditorSession session;
  HeadlessEditorWindow& editor = session.Editor();
  EXPECT_EQ(editor.Width(), 499);
  EXPECT_EQ(editor.Height(), 486);
  EXPECT_EQ(editor.FrameRate(), 24);
  EXPECT_EQ(editor.AlwaysRedrawRect(), (Rect{22, 452, 476, 454}));
  ASSERT_EQ(editor.ControlCount(), 28);
  IControl& background = *editor.Control(0);
  EXPECT_EQ(typeid(background), typeid(IBitmapControl));
  EXPECT_EQ(background.DrawRect(), (Rect{0, 0, 499, 486}));
  EXPECT_EQ(background.ControlBlend().method, Blend::kCopy);
  for (int i = 1; i < editor.ControlCount(); ++i) {
    const Placement& expected = kLayout[i - 1];
    IControl& control = *editor.Control(i);
    EXPECT_EQ(typeid(control), expected.type) << "control " << i;
    EXPECT_EQ(control.ParamIndex(), expected.param) << "control " << i;
    EXPECT_EQ(control.DrawRect(), expected.rect) << "control " << i;
    if (control.ParamIndex() >= 0) {
      const double normalised = session.Plugin().Param(control.ParamIndex())->NormalisedValue();
      EXPECT_EQ(control.Value(), normalised) << "control " << i;
      EXPECT_EQ(control.DefaultValue(), normalised) << "control " << i;
    }
  }
  EXPECT_EQ(static_cast<ITextControl&>(*editor.Control(1)).Text(), "v1.00");
  const VSTCLASS& plugin = session.Plugin();
  EXPECT_EQ(plugin.Displays().lamp, editor.Control(3));
  EXPECT_EQ(plugin.Displays().leftStrip, editor.Control(26));
  EXPECT_EQ(plugin.Displays().rightStrip, editor.Control(27));
  auto& link = static_cast<IWebLinkControl&>(*editor.Control(4));
  EXPECT_FALSE(link.Address().empty());

  vst::ERect* rect = nullptr;
  EXPECT_EQ(session.Effect()->dispatcher(session.Effect(), vst::effEditGetRect, 0, 0, &rect, 0.0f),
            1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 499);
  EXPECT_EQ(rect->bottom, 486);
  EXPECT_EQ(session.Effect()->flags, 0x1019);
}

TEST(EditorLayout, AProgramChangeShowsOnTheControls) {
  EditorSession session;
  session.Effect()->dispatcher(session.Effect(), vst::effSetProgram, 0, 3, nullptr, 0.0f);
  for (int i = 1; i < session.Editor().ControlCount(); ++i) {
    IControl& control = *session.Editor().Control(i);
    if (control.ParamIndex() >= 0) {
      EXPECT_EQ(control.Value(), session.Plugin().Param(control.ParamIndex())->NormalisedValue());
    }
  }
}

TEST(EditorLayout, TheBypassLabelOpensTheValueEntryAndCommitsInOneGesture) {
  EditorSession session;
  HeadlessEditorWindow& editor = session.Editor();
  session.OpenAndPaint();
  auto& label = static_cast<ILabelPrm&>(session.ControlFor(21));
  session.ClearCalls();
  editor.LeftButtonDown(480, 466, LeftButton());
  editor.LeftButtonUp(480, 466, LeftButton());
  ASSERT_TRUE(editor.EntryOpen());
  EXPECT_TRUE(label.ShowingAlternate());
  const EntryRequest& request = editor.EntryRequests().front();
  EXPECT_EQ(request.kind, EntryRequest::kValueBox);
  EXPECT_EQ(request.text, "-60");
  // Centre (458, 466); the widest text "-50" gives the minimum width of 32.
  EXPECT_EQ(request.area, (Rect{442, 458, 474, 474}));

  // A second click while the entry is open commits it and shows the main text again.
  editor.TypeIntoEntry("-70");
  editor.LeftButtonDown(480, 466, LeftButton());
  editor.LeftButtonUp(480, 466, LeftButton());
  EXPECT_FALSE(label.ShowingAlternate());
  session.ClearCalls();
  editor.TimerTick();
  EXPECT_FALSE(editor.EntryOpen());
  EXPECT_EQ(session.Plugin().Param(21)->Value(), -70.0);
  ASSERT_GE(session.Calls().size(), 3u);
  EXPECT_EQ(session.Calls()[0].opcode, vst::audioMasterBeginEdit);
  EXPECT_EQ(session.Calls()[1].opcode, vst::audioMasterAutomate);
  EXPECT_EQ(session.Calls()[2].opcode, vst::audioMasterEndEdit);

  // A right click cancels an open entry and reaches no control.
  MouseModifiers right = RightButton();
  editor.MouseDown(480, 466, right);
  editor.MouseUp(480, 466, right);
  ASSERT_TRUE(editor.EntryOpen());
  editor.TypeIntoEntry("-80");
  session.ClearCalls();
  editor.RightButtonDown(341, 145, right);
  editor.TimerTick();
  EXPECT_FALSE(editor.EntryOpen());
  EXPECT_EQ(session.Plugin().Param(21)->Value(), -70.0);
  EXPECT_EQ(session.Host().Count(vst::audioMasterBeginEdit), 0);
}

}  // namespace
}  // namespace velmora::testing
