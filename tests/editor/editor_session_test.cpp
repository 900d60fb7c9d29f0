// Scripted editor sessions: synthetic mouse, wheel and tick events through the editor's
// graphics object of a real Velmora instance, checked against the host calls they cause.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/knob_controls.h"
#include "tests/editor/editor_session.h"

namespace velmora::testing {
namespace {

constexpr int kDelayRate = 0;
constexpr int kPingPong = 1;
constexpr int kPanWidth = 2;
constexpr int kFeedback = 3;
constexpr int kDryMix = 19;
constexpr int kWetMix = 20;

// Every call is one gesture on param: a begin, automation only for param, an end.
void ExpectOneGesture(const std::vector<HostCall>& calls, int param, size_t automations) {
  ASSERT_EQ(calls.size(), automations + 2);
  EXPECT_EQ(calls.front().opcode, vst::audioMasterBeginEdit);
  EXPECT_EQ(calls.front().index, param);
  for (size_t i = 1; i + 1 < calls.size(); ++i) {
    EXPECT_EQ(calls[i].opcode, vst::audioMasterAutomate);
    EXPECT_EQ(calls[i].index, param);
  }
  EXPECT_EQ(calls.back().opcode, vst::audioMasterEndEdit);
  EXPECT_EQ(calls.back().index, param);
}

TEST(EditorSession, KnobDragUpByFourHeightsReachesOneAndShiftNeedsForty) {
  EditorSession session;
  vst::AEffect* effect = session.Effect();
  IControl& knob = session.ControlFor(kFeedback);
  const int height = knob.DrawRect().Height();
  ASSERT_EQ(height, 78);

  // In one movement, one pixel short of four heights is not yet 1; four heights is.
  effect->setParameter(effect, kFeedback, 0.0f);
  session.Drag(341, 145, 0, -(4 * height - 1), 1, LeftButton());
  EXPECT_LT(knob.Value(), 1.0);
  effect->setParameter(effect, kFeedback, 0.0f);
  session.ClearCalls();
  session.Drag(341, 145, 0, -4 * height, 1, LeftButton(), false);
  EXPECT_EQ(knob.Value(), 1.0);
  session.Editor().MouseDrag(341, 145 - 4 * height - 50, LeftButton());  // stops at 1
  EXPECT_EQ(knob.Value(), 1.0);
  session.Editor().MouseUp(341, -200, LeftButton());  // released far outside: still the knob
  ExpectOneGesture(session.Calls(), kFeedback, 3);
  EXPECT_EQ(session.Calls()[1].opt, 1.0f);
  EXPECT_EQ(session.Plugin().Param(kFeedback)->Value(), 100.0);

  // Pixel by pixel the same distance gets there too (up to rounding of the sum).
  effect->setParameter(effect, kFeedback, 0.0f);
  session.Drag(341, 145, 0, -1, 4 * height, LeftButton());
  EXPECT_NEAR(knob.Value(), 1.0, 1e-9);

  // Shift (or control) gears ten times finer.
  MouseModifiers shift = LeftButton();
  shift.shift = true;
  effect->setParameter(effect, kFeedback, 0.0f);
  session.Drag(341, 145, 0, -4 * height, 1, shift);
  EXPECT_EQ(knob.Value(), 0.1);
  effect->setParameter(effect, kFeedback, 0.0f);
  session.Drag(341, 145, 0, -(40 * height - 1), 1, shift);
  EXPECT_LT(knob.Value(), 1.0);
  effect->setParameter(effect, kFeedback, 0.0f);
  session.Drag(341, 145, 0, -40 * height, 1, shift);
  EXPECT_EQ(knob.Value(), 1.0);
}

TEST(EditorSession, DelayRateSnapsToOneOfItsTwentyFivePositionsOnRelease) {
  EditorSession session;
  vst::AEffect* effect = session.Effect();
  IControl& knob = session.ControlFor(kDelayRate);
  ASSERT_EQ(knob.DrawRect().Height(), 104);  // 416 pixels for the whole sweep

  effect->setParameter(effect, kDelayRate, 0.0f);
  session.ClearCalls();
  session.Drag(95, 145, 0, -1, 212, LeftButton(), false);  // 212 / 416 = 0.5096
  EXPECT_NEAR(knob.Value(), 212.0 / 416.0, 1e-12);
  session.Editor().MouseUp(95, 145 - 212, LeftButton());
  EXPECT_EQ(knob.Value(), 0.5);
  EXPECT_EQ(session.Calls()[session.Calls().size() - 2].opt, 0.5f);
  EXPECT_EQ(session.Plugin().Param(kDelayRate)->Value(), 12.0);

  for (int pixels : {3, 17, 40, 77, 150, 333}) {
    session.Drag(95, 145, 0, pixels % 2 == 0 ? -1 : 1, pixels, LeftButton());
    const double steps = knob.Value() * 24.0;
    EXPECT_EQ(steps, std::floor(steps)) << "after a drag of " << pixels;
  }
}

TEST(EditorSession, SliderTrackClicksAndTheOverlapOfTheTwoSliders) {
  EditorSession session;
  IControl& dry = session.ControlFor(kDryMix);
  vst::AEffect* effect = session.Effect();
  effect->setParameter(effect, kDryMix, 0.5f);
  session.ClearCalls();

  // Handle centre for value 1 is track top + 31 / 2 = 115.5.
  session.Editor().MouseDown(405, 115, LeftButton());
  session.Editor().MouseUp(405, 115, LeftButton());
  EXPECT_EQ(dry.Value(), 1.0);
  ExpectOneGesture(session.Calls(), kDryMix, 1);
  EXPECT_EQ(session.Calls()[1].opt, 1.0f);

  session.Editor().MouseDown(405, 196, LeftButton());  // the track's bottom edge
  EXPECT_EQ(dry.Value(), 0.0);
  session.Editor().MouseDrag(405, 150, LeftButton());
  EXPECT_NEAR(dry.Value(), 1.0 - (50 - 15.5) / 65.0, 1e-12);
  session.Editor().MouseDrag(380, 120, LeftButton());  // off the track: ignored
  EXPECT_NEAR(dry.Value(), 1.0 - (50 - 15.5) / 65.0, 1e-12);
  session.Editor().MouseUp(380, 120, LeftButton());

  // Columns 422..425 belong to both rectangles; Wet Mix is hit first and its track is
  // elsewhere, so nothing changes but its gesture.
  session.ClearCalls();
  const double wetBefore = session.ControlFor(kWetMix).Value();
  session.Editor().MouseDown(423, 150, LeftButton());
  session.Editor().MouseUp(423, 150, LeftButton());
  ExpectOneGesture(session.Calls(), kWetMix, 0);
  EXPECT_EQ(session.ControlFor(kWetMix).Value(), wetBefore);
}

TEST(EditorSession, RadioClicksSelectValues) {
  EditorSession session;
  IControl& radio = session.ControlFor(kPingPong);
  EXPECT_EQ(radio.Value(), 0.5);  // Normal, the third mode
  session.ClearCalls();
  const double expected[] = {0.0, 0.25, 0.5, 0.75, 1.0};
  for (int button = 4; button >= 0; --button) {
    const int y = 102 + button * 17 + 8;
    session.Editor().MouseDown(170, y, LeftButton());
    session.Editor().MouseUp(170, y, LeftButton());
    EXPECT_EQ(radio.Value(), expected[button]);
    EXPECT_EQ(session.Plugin().Param(kPingPong)->Value(), button);
  }
  EXPECT_EQ(session.Host().Count(vst::audioMasterBeginEdit), 5);
  EXPECT_EQ(session.Host().Count(vst::audioMasterAutomate), 5);
  EXPECT_EQ(session.Host().Count(vst::audioMasterEndEdit), 5);
}

TEST(EditorSession, DoubleClickRestoresTheDefaultInsideOneGesture) {
  EditorSession session;
  IControl& knob = session.ControlFor(kFeedback);
  EXPECT_EQ(knob.DefaultValue(), 0.6);
  session.Drag(341, 145, 0, -10, 5, LeftButton());
  EXPECT_NE(knob.Value(), 0.6);
  session.ClearCalls();
  // The knob is captured so that the release ends the gesture wherever it happens, but
  // drags do not turn it away from the default it just restored.
  EXPECT_TRUE(session.Editor().MouseDoubleClick(341, 145, LeftButton()));
  EXPECT_EQ(session.Editor().CapturedControl(), session.IndexOf(knob));
  session.Editor().MouseDrag(341, 100, LeftButton());
  EXPECT_EQ(knob.Value(), 0.6);
  session.Editor().MouseUp(341, -300, LeftButton());
  EXPECT_EQ(knob.Value(), 0.6);
  EXPECT_EQ(session.Plugin().Param(kFeedback)->Value(), 60.0);
  // The double-click pushes the default, the knob's release pushes it once more.
  ExpectOneGesture(session.Calls(), kFeedback, 2);
  EXPECT_EQ(session.Calls()[1].opt, 0.6f);
  EXPECT_EQ(session.Calls()[2].opt, 0.6f);
}

TEST(EditorSession, ThreeWheelNotchesAreOneGestureEndedTwelveTicksLater) {
  EditorSession session;
  session.OpenAndPaint();
  IControl& knob = session.ControlFor(kPanWidth);
  session.Effect()->setParameter(session.Effect(), kPanWidth, 0.5f);
  session.ClearCalls();
  for (int notch = 0; notch < 3; ++notch) {
    session.Editor().WheelTurned(271, 145, MouseModifiers{}, 120);
  }
  EXPECT_NEAR(knob.Value(), 0.53, 1e-12);
  EXPECT_EQ(session.Host().Count(vst::audioMasterBeginEdit), 1);
  EXPECT_EQ(session.Host().Count(vst::audioMasterAutomate), 3);
  for (int tick = 0; tick < 11; ++tick) {
    session.Editor().TimerTick();
  }
  EXPECT_EQ(session.Host().Count(vst::audioMasterEndEdit), 0);
  session.Editor().TimerTick();
  ExpectOneGesture(session.Calls(), kPanWidth, 3);

  // Half a notch is none (the value is still pushed); closing ends a pending gesture at once.
  session.ClearCalls();
  session.Editor().WheelTurned(271, 145, MouseModifiers{}, 60);
  EXPECT_NEAR(knob.Value(), 0.53, 1e-12);
  session.Editor().WheelTurned(271, 145, MouseModifiers{}, -240);
  EXPECT_NEAR(knob.Value(), 0.51, 1e-12);
  session.Effect()->dispatcher(session.Effect(), vst::effEditClose, 0, 0, nullptr, 0.0f);
  ExpectOneGesture(session.Calls(), kPanWidth, 2);
}

// A host may close the plug-in with the editor open and a wheel gesture pending: the
// gesture still ends.
TEST(EditorSession, ClosingThePlugInEndsAPendingWheelGesture) {
  FakeHost host;
  vst::AEffect* effect = VSTPluginMain(&FakeHost::Callback);
  ASSERT_NE(effect, nullptr);
  effect->user = &host;
  auto* editor = dynamic_cast<HeadlessEditorWindow*>(IEffectVST::FromEffect(effect)->Editor());
  ASSERT_NE(editor, nullptr);
  effect->dispatcher(effect, vst::effEditOpen, 0, 0, nullptr, 0.0f);
  editor->WheelTurned(271, 145, MouseModifiers{}, 120);
  EXPECT_EQ(editor->EndEditCountdown(), 12);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(host.Count(vst::audioMasterBeginEdit), 1);
  EXPECT_EQ(host.Count(vst::audioMasterEndEdit), 1);
}

TEST(EditorSession, APressOutsideEveryControlCapturesNothing) {
  EditorSession session;
  session.ClearCalls();
  session.Editor().MouseDown(600, 20, LeftButton());
  EXPECT_EQ(session.Editor().CapturedControl(), -1);
  EXPECT_EQ(session.Editor().LastMouseX(), -1);
  EXPECT_EQ(session.Editor().LastMouseY(), -1);
  session.Editor().MouseDrag(341, 145, LeftButton());
  session.Editor().MouseUp(700, 20, LeftButton());
  EXPECT_TRUE(session.Calls().empty());

  // The bare panel is the background picture: captured, but bound to nothing.
  session.Editor().MouseDown(10, 80, LeftButton());
  EXPECT_EQ(session.Editor().CapturedControl(), 0);
  session.Editor().MouseUp(10, 80, LeftButton());
  EXPECT_TRUE(session.Calls().empty());
}

TEST(EditorSession, ThePaintPassCopiesOnlyTheDirtyUnionAndTheAlwaysRedrawStrip) {
  EditorSession session;
  HeadlessEditorWindow& editor = session.Editor();
  session.OpenAndPaint();
  ASSERT_EQ(editor.BlittedAreas().size(), 2u);
  EXPECT_EQ(editor.BlittedAreas()[0], (Rect{0, 0, 499, 486}));
  const Rect strip{22, 452, 476, 454};
  EXPECT_EQ(editor.BlittedAreas()[1], strip);

  // A host change asks for two passes; within one tick the strip's pass is the second.
  editor.ClearBlittedAreas();
  session.Effect()->setParameter(session.Effect(), kFeedback, 0.25f);
  session.Effect()->setParameter(session.Effect(), kDryMix, 0.25f);
  const Rect knob = session.ControlFor(kFeedback).DrawRect();
  const Rect both = UniteRects(knob, session.ControlFor(kDryMix).DrawRect());
  for (int tick = 0; tick < 3; ++tick) {
    editor.TimerTick();
  }
  const std::vector<Rect> expected{both, strip, strip, strip};
  EXPECT_EQ(editor.BlittedAreas(), expected);
}

}  // namespace
}  // namespace velmora::testing
