// The editor through the plug-in view, in a host window on a virtual X server: it embeds
// itself at its fixed size, and a knob dragged with XTest reaches the host's component
// handler as beginEdit, performEdit..., endEdit, in that order, on the host's thread from
// its run loop, never from the editor's own thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/parameter_index.h"
#include "tests/support/wait_until.h"
#include "tests/vst3/bundle_rig.h"

// Last: Xlib defines macros (None, Status, Bool) that other headers use as names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace velmora::vst3host::testing {
namespace {

using velmora::testing::WaitUntil;

// The Feedback knob's centre and height, as the layout places them.
constexpr int kFeedbackX = 341;
constexpr int kKnobY = 145;
constexpr int kFeedbackHeight = 78;

class Vst3Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr) << "no X display (run under xvfb-run)";
    int event = 0, error = 0, major = 0, minor = 0;
    ASSERT_TRUE(XTestQueryExtension(display_, &event, &error, &major, &minor));
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    parent_ =
        XCreateWindow(display_, DefaultRootWindow(display_), 30, 30, 600, 560, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
    XMapRaised(display_, parent_);
    XSync(display_, False);
    ASSERT_TRUE(rig_.Valid());
    view_ = rig_.Controller().createView("editor");
    ASSERT_NE(view_, nullptr);
  }

  void TearDown() override {
    if (view_ != nullptr) {
      view_->removed();
      view_->release();
    }
    if (display_ != nullptr) {
      XDestroyWindow(display_, parent_);
      XCloseDisplay(display_);
    }
  }

  // The editor's window inside the parent, 0 until it is there.
  Window EditorWindow() {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display_, parent_, &root, &parent, &children, &count);
    const Window found = count > 0 ? children[0] : 0;
    if (children != nullptr) {
      XFree(children);
    }
    return found;
  }

  void MoveTo(Window editor, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, editor, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, CurrentTime);
    Flush();
  }

  void Button(bool down) {
    XTestFakeButtonEvent(display_, Button1, down ? True : False, CurrentTime);
    Flush();
  }

  void Flush() {
    XSync(display_, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
  }

  void Drag(Window editor) {
    MoveTo(editor, kFeedbackX, kKnobY);
    Button(true);
    MoveTo(editor, kFeedbackX, kKnobY - kFeedbackHeight / 2);
    MoveTo(editor, kFeedbackX, kKnobY - kFeedbackHeight);
    Button(false);
  }

  BundleRig rig_;
  Display* display_ = nullptr;
  Window parent_ = 0;
  IPlugView* view_ = nullptr;
};

TEST_F(Vst3Editor, OffersOnlyTheX11WindowAtItsFixedSize) {
  EXPECT_EQ(view_->isPlatformTypeSupported("X11EmbedWindowID"), kResultTrue);
  EXPECT_NE(view_->isPlatformTypeSupported("HWND"), kResultTrue);
  EXPECT_NE(view_->isPlatformTypeSupported(nullptr), kResultTrue);
  ViewRect size{};
  ASSERT_EQ(view_->getSize(&size), kResultOk);
  EXPECT_EQ(size.right - size.left, 499);
  EXPECT_EQ(size.bottom - size.top, 486);
  EXPECT_NE(view_->canResize(), kResultTrue);
  EXPECT_NE(view_->getSize(nullptr), kResultOk);
  EXPECT_NE(view_->attached(nullptr, "X11EmbedWindowID"), kResultOk);
  EXPECT_NE(view_->attached(reinterpret_cast<void*>(parent_), "HWND"), kResultOk);
  EXPECT_NE(view_->removed(), kResultOk);
  PlugFrame frame;
  view_->setFrame(&frame);
  ASSERT_EQ(view_->attached(reinterpret_cast<void*>(parent_), "X11EmbedWindowID"), kResultOk);
  EXPECT_NE(view_->attached(reinterpret_cast<void*>(parent_), "X11EmbedWindowID"), kResultOk);
  ASSERT_TRUE(WaitUntil([this] { return EditorWindow() != 0; }));
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, EditorWindow(), &attributes);
  EXPECT_EQ(attributes.width, 499);
  EXPECT_EQ(attributes.height, 486);
  EXPECT_EQ(frame.Loop().TimerCount(), 1u);
  EXPECT_EQ(view_->removed(), kResultOk);
  EXPECT_EQ(frame.Loop().TimerCount(), 0u);
  EXPECT_TRUE(WaitUntil([this] { return EditorWindow() == 0; }));
  view_->setFrame(nullptr);
}

TEST_F(Vst3Editor, AKnobDragIsBeginPerformEndOnTheHostsThread) {
  PlugFrame frame;
  view_->setFrame(&frame);
  ASSERT_EQ(rig_.Controller().setParamNormalized(kFeedback, 0.2), kResultOk);
  ASSERT_EQ(view_->attached(reinterpret_cast<void*>(parent_), "X11EmbedWindowID"), kResultOk);
  ASSERT_TRUE(WaitUntil([this] { return EditorWindow() != 0; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  rig_.Plugin().Handler().Clear();
  Drag(EditorWindow());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  // The editor's thread has handled the drag; nothing reaches the host before its loop runs.
  EXPECT_TRUE(rig_.Plugin().Handler().Calls().empty());
  ASSERT_TRUE(WaitUntil([&] {
    frame.Loop().RunTimers();
    const std::vector<HandlerCall> calls = rig_.Plugin().Handler().Calls();
    return !calls.empty() && calls.back().kind == HandlerCall::kEnd;
  }));
  const std::vector<HandlerCall> calls = rig_.Plugin().Handler().Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().kind, HandlerCall::kBegin);
  double previous = 0.2;
  for (size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].id, static_cast<ParamID>(kFeedback)) << i;
    EXPECT_EQ(calls[i].thread, std::this_thread::get_id()) << i;
    if (i > 0 && i + 1 < calls.size()) {
      EXPECT_EQ(calls[i].kind, HandlerCall::kPerform) << i;
      EXPECT_GE(calls[i].value, previous) << i;
      previous = calls[i].value;
    }
  }
  // One knob height is a quarter of the travel: from the host's 20 % to 45 %.
  EXPECT_NEAR(previous, 0.45, 0.011);
  EXPECT_DOUBLE_EQ(rig_.Controller().getParamNormalized(kFeedback), previous);
  view_->removed();
  view_->setFrame(nullptr);
}

// A frame without a run loop: the gestures go out at once, in the same order.
TEST_F(Vst3Editor, WithoutARunLoopGesturesGoOutAtOnce) {
  PlugFrame frame(false);
  view_->setFrame(&frame);
  ASSERT_EQ(view_->attached(reinterpret_cast<void*>(parent_), "X11EmbedWindowID"), kResultOk);
  ASSERT_TRUE(WaitUntil([this] { return EditorWindow() != 0; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  rig_.Plugin().Handler().Clear();
  Drag(EditorWindow());
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<HandlerCall> calls = rig_.Plugin().Handler().Calls();
    return !calls.empty() && calls.back().kind == HandlerCall::kEnd;
  }));
  const std::vector<HandlerCall> calls = rig_.Plugin().Handler().Calls();
  EXPECT_EQ(calls.front().kind, HandlerCall::kBegin);
  EXPECT_GE(calls.size(), 3u);
  view_->removed();
  view_->setFrame(nullptr);
}

}  // namespace
}  // namespace velmora::vst3host::testing
