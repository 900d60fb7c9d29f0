// The controls on their own: value handling of the base, frame selection, knob geometry and
// snapping, slider bars, radio buttons, the button, the strip marker and the lamp.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "controls/button_control.h"
#include "controls/indicator_controls.h"
#include "controls/knob_controls.h"
#include "controls/radio_buttons.h"
#include "controls/slider_controls.h"
#include "controls/stock_controls.h"
#include "controls/web_link_control.h"
#include "editor/headless/headless_editor_window.h"

namespace velmora {
namespace {

// A picture of the given size; only its size matters to these tests.
BitmapRef Picture(int width, int height, int frames) {
  return BitmapRef{nullptr, width, height, frames};
}

class Probe : public IControl {
 public:
  explicit Probe(const Rect& rect) : IControl(nullptr, rect) {}
  bool Paint(IEditorGraphics&) override {
    ++paints;
    return true;
  }
  int paints = 0;
};

TEST(ControlBase, HostValuesDefaultsAndTheTwoPassDirtyCycle) {
  Probe probe(Rect{10, 10, 20, 20});
  probe.MarkClean();
  EXPECT_FALSE(probe.NeedsRepaint());
  probe.ApplyHostValue(0.4);  // the first value is the default
  EXPECT_EQ(probe.DefaultValue(), 0.4);
  EXPECT_TRUE(probe.NeedsRepaint());
  probe.MarkClean();
  EXPECT_TRUE(probe.NeedsRepaint());  // painted once more
  probe.MarkClean();
  EXPECT_FALSE(probe.NeedsRepaint());
  probe.ApplyHostValue(0.4);  // unchanged: nothing to do
  EXPECT_FALSE(probe.NeedsRepaint());
  probe.ApplyHostValue(0.7);
  EXPECT_EQ(probe.Value(), 0.7);
  EXPECT_EQ(probe.DefaultValue(), 0.4);
  probe.HandleDoubleClick(0, 0, MouseModifiers{});
  EXPECT_EQ(probe.Value(), 0.4);

  Probe unbound(Rect{0, 0, 1, 1});
  unbound.SetValue(0.3);
  unbound.HandleDoubleClick(0, 0, MouseModifiers{});  // no default yet: unchanged
  EXPECT_EQ(unbound.Value(), 0.3);
}

TEST(ControlBase, WheelStepsClampAndInclusiveHitTests) {
  Probe probe(Rect{10, 20, 30, 40});
  probe.SetValue(0.5);
  probe.HandleWheel(0, 0, MouseModifiers{}, 1);
  EXPECT_NEAR(probe.Value(), 0.51, 1e-12);
  MouseModifiers fine;
  fine.control = true;
  probe.HandleWheel(0, 0, fine, -2);
  EXPECT_NEAR(probe.Value(), 0.508, 1e-12);
  probe.HandleWheel(0, 0, MouseModifiers{}, 100);
  EXPECT_EQ(probe.Value(), 1.0);
  probe.HandleWheel(0, 0, MouseModifiers{}, -300);
  EXPECT_EQ(probe.Value(), 0.0);

  EXPECT_TRUE(probe.HitTest(10, 20));
  EXPECT_TRUE(probe.HitTest(30, 40));  // right and bottom edges count
  EXPECT_FALSE(probe.HitTest(31, 40));
  EXPECT_FALSE(probe.HitTest(30, 19));
}

TEST(ControlBase, HiddenAndGrayedControlsAreNotHitAndOnlyVisibleOverlapsPaint) {
  HeadlessEditorWindow editor(nullptr, 100, 100, 0);
  EXPECT_EQ(editor.FrameRate(), 24);
  auto* below = new Probe(Rect{0, 0, 50, 50});
  auto* above = new Probe(Rect{20, 20, 60, 60});
  auto* apart = new Probe(Rect{70, 70, 90, 90});
  editor.AddControl(std::unique_ptr<IControl>(below));
  editor.AddControl(std::unique_ptr<IControl>(above));
  editor.AddControl(std::unique_ptr<IControl>(apart));
  EXPECT_EQ(editor.FindControlAt(30, 30), 1);
  above->SetGrayed(true);
  EXPECT_EQ(above->ControlBlend().weight, 0.25f);
  EXPECT_EQ(editor.FindControlAt(30, 30), 0);
  above->SetGrayed(false);
  above->SetHidden(true);
  EXPECT_EQ(editor.FindControlAt(30, 30), 0);
  EXPECT_EQ(editor.FindControlAt(95, 95), -1);

  editor.PrepareEditor();
  editor.PaintDirtyArea(Rect{40, 40, 70, 70});  // touches apart only at its corner
  EXPECT_EQ(below->paints, 1);
  EXPECT_EQ(above->paints, 0);  // hidden
  EXPECT_EQ(apart->paints, 0);  // overlap must be strict
  EXPECT_FALSE(below->NeedsRepaint());
  EXPECT_FALSE(apart->NeedsRepaint());  // cleaned although not painted
}

// An editor without a plug-in (as in tools) routes events to bound controls without
// reporting gestures anywhere.
TEST(ControlBase, BoundControlsWorkInAnEditorWithoutAPlugIn) {
  HeadlessEditorWindow editor(nullptr, 100, 100, 0);
  auto* radio = new IRadioButtons(nullptr, 4, 0, 0, Picture(20, 50, 5), true, false);
  editor.AddControl(std::unique_ptr<IControl>(radio));
  editor.MouseDown(5, 45, MouseModifiers{});
  editor.MouseUp(5, 45, MouseModifiers{});
  editor.MouseWheel(5, 5, MouseModifiers{}, -1);
  EXPECT_NEAR(radio->Value(), 0.99, 1e-12);
  EXPECT_TRUE(editor.MouseDoubleClick(5, 5, MouseModifiers{}));
  editor.MouseUp(5, 5, MouseModifiers{});
  editor.TimerTick();
}

TEST(StockControls, FramesFollowTheValueAndSwitchesCycle) {
  IBitmapControl bitmap(nullptr, Rect{0, 0, 10, 17}, -1, Picture(10, 85, 5), true);
  bitmap.SetValue(0.25);
  EXPECT_EQ(bitmap.FrameForValue(), 2);
  bitmap.SetValue(1.0);
  EXPECT_EQ(bitmap.FrameForValue(), 5);

  ISwitchControl filterType(nullptr, Rect{0, 0, 42, 22}, -1, Picture(42, 66, 3), true);
  const double steps[] = {0.5, 1.0, 0.0, 0.5};
  for (double expected : steps) {
    filterType.HandleMouseDown(0, 0, MouseModifiers{});
    EXPECT_EQ(filterType.Value(), expected);
  }
}

TEST(Knob, GeometryAnglesAndSnapping) {
  TextStyle text;
  text.size = 16;
  KnobOptions options;
  options.textGap = 14;
  options.valueCount = 25;
  IKnobRotVal rate(nullptr, -1, 95, 145, Picture(73, 73, 1), text, options);
  EXPECT_EQ(rate.DrawRect(), (Rect{58, 108, 132, 212}));
  EXPECT_EQ(rate.Steps(), 24);

  options.textGap = -3;
  IKnobRotVal raised(nullptr, -1, 100, 100, Picture(50, 50, 1), text, options);
  EXPECT_EQ(raised.DrawRect(), (Rect{75, 75, 125, 125}));  // no room for text below

  const double kDegree = 3.141592653589793 / 180.0;
  rate.SetValue(0.5);
  EXPECT_EQ(rate.PointerAngle(), 0.0f);
  rate.SetValue(0.0);
  EXPECT_NEAR(rate.PointerAngle(), -150 * kDegree, 1e-6);
  rate.SetValue(1.0);
  EXPECT_NEAR(rate.PointerAngle(), 150 * kDegree, 1e-6);
  // The two half-range constants are single precision, the sum is not rounded again.
  const double half = static_cast<float>(300 * 3.141592653589793 / 360.0);
  const double negativeHalf = static_cast<float>(-300 * 3.141592653589793 / 360.0);
  rate.SetValue(0.3);
  EXPECT_EQ(rate.PointerAngle(), half * 0.3 * 2 + negativeHalf);

  const std::pair<double, double> releases[] = {
      {0.51, 0.5}, {0.52, 0.5}, {0.53, 13.0 / 24.0}, {0.0, 0.0}, {0.999, 1.0}};
  for (const auto& release : releases) {
    rate.SetValue(release.first);
    rate.HandleMouseUp(0, 0, MouseModifiers{});
    EXPECT_EQ(rate.Value(), release.second) << release.first;
  }
  options.valueCount = 0;
  IKnobRotVal free(nullptr, -1, 95, 145, Picture(73, 73, 1), text, options);
  free.SetValue(0.51);
  free.HandleMouseUp(0, 0, MouseModifiers{});
  EXPECT_EQ(free.Value(), 0.51);
}

TEST(Slider, TrackAndFillBar) {
  TextStyle text;
  text.size = 16;
  const Color fill{255, 66, 110, 200};
  ISlider dry(nullptr, -1, Rect{385, 100, 425, 212}, Picture(14, 31, 1), text, 96, false, fill, 3,
              7);
  EXPECT_EQ(dry.Track(), (Rect{398, 100, 412, 196}));
  EXPECT_EQ(dry.Travel(), 65);
  dry.SetValue(1.0);
  EXPECT_EQ(dry.BarRect(), (Rect{404, 115, 406, 189}));  // handle centre to the inset
  dry.SetValue(0.0);
  EXPECT_EQ(dry.BarRect(), (Rect{404, 180, 406, 189}));  // a short bar under the handle

  dry.HandleMouseDown(405, 115, MouseModifiers{});
  EXPECT_EQ(dry.Value(), 1.0);
  dry.HandleMouseDown(405, 196, MouseModifiers{});
  EXPECT_EQ(dry.Value(), 0.0);
  dry.HandleMouseDown(413, 150, MouseModifiers{});  // beside the track
  EXPECT_EQ(dry.Value(), 0.0);
}

TEST(RadioButtons, FiveButtonsOfSeventeenPixels) {
  IRadioButtons modes(nullptr, -1, 133, 102, Picture(82, 85, 5), true, false);
  EXPECT_EQ(modes.DrawRect(), (Rect{133, 102, 215, 187}));
  ASSERT_EQ(modes.Buttons().size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(modes.Buttons()[static_cast<size_t>(i)],
              (Rect{133, 102 + 17 * i, 215, 119 + 17 * i}));
  }
  modes.SetValue(0.5);
  EXPECT_EQ(modes.SelectedButton(), 3);
  modes.HandleMouseDown(150, 180, MouseModifiers{});
  EXPECT_EQ(modes.Value(), 1.0);
  modes.HandleMouseDown(300, 180, MouseModifiers{});  // outside every button
  EXPECT_EQ(modes.Value(), 1.0);

  IRadioButtons sized(nullptr, -1, 0, 0, Picture(60, 100, 4), true, false, 10, 20, 30);
  EXPECT_EQ(sized.Buttons()[3], (Rect{0, 60, 60, 100}));
}

TEST(ButtonAndIndicators, ButtonToggleStripMarkerAndLamp) {
  IButton mirror(nullptr, -1, 215, 220, Picture(70, 27, 1));
  EXPECT_EQ(mirror.DrawRect(), (Rect{215, 220, 285, 247}));
  mirror.SetValue(0.5);
  EXPECT_FALSE(mirror.IsOn());
  MouseModifiers right;
  right.right = true;
  mirror.HandleMouseDown(0, 0, right);
  EXPECT_EQ(mirror.Value(), 0.5);
  mirror.HandleMouseDown(0, 0, MouseModifiers{});
  EXPECT_EQ(mirror.Value(), 1.0);

  GRAPH strip(nullptr, 22, 452, 235, 454);
  EXPECT_TRUE(strip.MarkerRect().IsEmpty());  // current -1: hidden
  GraphRecord& record = strip.OwnRecord();
  record.lower = 0.0f;
  record.upper = 1.0f;
  record.current = 0.5f;
  EXPECT_EQ(strip.MarkerRect(), (Rect{22 + 104, 452, 22 + 110, 454}));
  record.current = 1.0f;
  EXPECT_EQ(strip.MarkerRect().right, 235);
  record.lower = -1.0f;
  record.upper = -1.0f;
  EXPECT_EQ(strip.MarkerRect(), (Rect{22, 452, 28, 454}));  // parked red marker
  record.lower = 0.0f;
  record.upper = 0.0f;
  record.current = 0.3f;
  EXPECT_TRUE(strip.MarkerRect().IsEmpty());  // no range to place it in
  record.current = NAN;
  record.upper = 1.0f;
  EXPECT_TRUE(strip.MarkerRect().IsEmpty());

  GraphRecord engineRecord;
  engineRecord.upper = 2.0f;
  engineRecord.current = 1.0f;
  strip.Follow(&engineRecord);
  EXPECT_EQ(strip.MarkerRect().left, 22 + 104);

  IBypass lamp(nullptr, 433, 464, 3);
  EXPECT_EQ(lamp.DrawRect(), (Rect{429, 460, 437, 468}));
  lamp.MarkClean();
  lamp.SetState(true);
  EXPECT_TRUE(lamp.State());
  EXPECT_TRUE(lamp.NeedsRepaint());
  LampRecord engineLamp;
  lamp.Follow(&engineLamp);
  EXPECT_FALSE(lamp.State());
  lamp.MarkClean();
  lamp.OnLampChanged(true);
  EXPECT_TRUE(lamp.NeedsRepaint());
}

TEST(WebLink, SecondAddressWhenTheFirstFails) {
  HeadlessEditorWindow editor(nullptr, 100, 100, 0);
  auto* link = new IWebLinkControl(nullptr, Rect{0, 0, 50, 20}, "https://a.example/",
                                   "https://b.example/", "");
  editor.AddControl(std::unique_ptr<IControl>(link));
  link->HandleMouseDown(1, 1, MouseModifiers{});
  ASSERT_EQ(editor.WebRequests().size(), 1u);
  EXPECT_EQ(editor.WebRequests()[0].address, "https://a.example/");
  editor.SetWebAddressesOpen(false);
  link->HandleMouseDown(1, 1, MouseModifiers{});
  ASSERT_EQ(editor.WebRequests().size(), 3u);
  EXPECT_EQ(editor.WebRequests()[2].address, "https://b.example/");
}

TEST(WindowKeys, PlatformKeysMapToControlKeyCodes) {
  EXPECT_EQ(IEditorWindow::MapKeyCode(0x20), 0);
  EXPECT_EQ(IEditorWindow::MapKeyCode(0x26), 1);
  EXPECT_EQ(IEditorWindow::MapKeyCode(0x28), 2);
  EXPECT_EQ(IEditorWindow::MapKeyCode(0x25), 3);
  EXPECT_EQ(IEditorWindow::MapKeyCode(0x27), 4);
  EXPECT_EQ(IEditorWindow::MapKeyCode('0'), 5);
  EXPECT_EQ(IEditorWindow::MapKeyCode('9'), 14);
  EXPECT_EQ(IEditorWindow::MapKeyCode('A'), 15);
  EXPECT_EQ(IEditorWindow::MapKeyCode('z'), 40);
  EXPECT_EQ(IEditorWindow::MapKeyCode(0x1B), -1);  // escape is swallowed
  EXPECT_EQ(IEditorWindow::MapKeyCode(0x60), -1);
}

}  // namespace
}  // namespace velmora
