// The LV2 UI in a host's window on a virtual X server: it embeds itself at its fixed size,
// reports a knob drag as ui:touch begin, the port writes, ui:touch end, in that order and
// only from the host's idle call, shows the host's port values, and lights the lamp and
// moves the strips from the DSP's display messages.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "lv2/port_index.h"
#include "tests/lv2/ui_test_host.h"

#include <X11/X.h>

namespace velmora::lv2::testing {
namespace {

// The Feedback knob's centre and height, the lamp and the left strip, as the layout
// places them.
constexpr int kFeedbackX = 341;
constexpr int kKnobY = 145;
constexpr int kFeedbackHeight = 78;
constexpr int kLampLeft = 429, kLampTop = 460, kLampSize = 9;
constexpr int kStripLeft = 22, kStripTop = 450, kStripWidth = 214, kStripHeight = 7;

class Lv2Ui : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host_.Error(), "");
    ASSERT_TRUE(host_.Open());
  }

  UiTestHost host_;
};

TEST_F(Lv2Ui, OpensAsAFixedSizeChildOfTheHostsWindow) {
  EXPECT_TRUE(host_.WidgetIsChildOfParent());
  EXPECT_EQ(host_.ResizeWidth(), 499);
  EXPECT_EQ(host_.ResizeHeight(), 486);
  EXPECT_TRUE(host_.HasIdleInterface());
  EXPECT_EQ(host_.Idle(), 0);
}

TEST(Lv2UiScale, TheHostsScaleFactorSizesTheWidgetAndTheResizeRequest) {
  UiTestHost host;
  ASSERT_EQ(host.Error(), "");
  ASSERT_TRUE(host.Open(1.5f));
  EXPECT_EQ(host.ResizeWidth(), 749);
  EXPECT_EQ(host.ResizeHeight(), 729);
  Window root = 0;
  int x = 0;
  int y = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned depth = 0;
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  ASSERT_NE(XGetGeometry(display, host.Widget(), &root, &x, &y, &width, &height, &border, &depth),
            0);
  XCloseDisplay(display);
  EXPECT_EQ(width, 749u);
  EXPECT_EQ(height, 729u);
}

TEST_F(Lv2Ui, AKnobDragIsTouchBeginWritesTouchEndFromTheIdleCall) {
  host_.SendControl(kFeedback, 20.0f);
  host_.MoveTo(kFeedbackX, kKnobY);
  host_.Press(Button1);
  host_.MoveTo(kFeedbackX, kKnobY - kFeedbackHeight / 2);
  host_.MoveTo(kFeedbackX, kKnobY - kFeedbackHeight);
  host_.Release(Button1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  // The editor's own thread has handled the drag, but nothing reaches the host before the
  // host's idle call.
  EXPECT_TRUE(host_.Calls().empty());
  ASSERT_TRUE(WaitUntil([this] {
    host_.Idle();
    const std::vector<UiCall> calls = host_.Calls();
    return !calls.empty() && calls.back().kind == UiCall::kTouchEnd;
  }));
  const std::vector<UiCall> calls = host_.Calls();
  const uint32_t port = ParamPort(kFeedback);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().kind, UiCall::kTouchBegin);
  EXPECT_EQ(calls.front().port, port);
  float previous = 20.0f;
  for (size_t i = 1; i + 1 < calls.size(); ++i) {
    EXPECT_EQ(calls[i].kind, UiCall::kWrite) << i;
    EXPECT_EQ(calls[i].port, port) << i;
    EXPECT_EQ(calls[i].value, std::floor(calls[i].value)) << "whole steps";
    EXPECT_GE(calls[i].value, previous) << i;
    previous = calls[i].value;
  }
  // One knob height is a quarter of the travel: from the host's 20 % to 45 %.
  EXPECT_NEAR(previous, 45.0f, 1.0f);
  EXPECT_EQ(calls.back().port, port);
}

TEST_F(Lv2Ui, DisplayMessagesLightTheLampAndMoveTheStrip) {
  host_.SendDisplay(false, -1.0f, -1.0f);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto lampOff = host_.Grab(kLampLeft, kLampTop, kLampSize, kLampSize);
  const auto stripHidden = host_.Grab(kStripLeft, kStripTop, kStripWidth, kStripHeight);
  ASSERT_FALSE(lampOff.empty());
  host_.SendDisplay(true, 0.5f, 0.5f);
  EXPECT_TRUE(
      WaitUntil([&] { return host_.Grab(kLampLeft, kLampTop, kLampSize, kLampSize) != lampOff; }));
  EXPECT_TRUE(WaitUntil(
      [&] { return host_.Grab(kStripLeft, kStripTop, kStripWidth, kStripHeight) != stripHidden; }));
  host_.SendDisplay(false, -1.0f, -1.0f);
  EXPECT_TRUE(
      WaitUntil([&] { return host_.Grab(kLampLeft, kLampTop, kLampSize, kLampSize) == lampOff; }));
}

}  // namespace
}  // namespace velmora::lv2::testing
