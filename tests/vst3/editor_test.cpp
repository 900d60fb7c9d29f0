// The editor through the plug-in view, in a host window on a virtual X server: it embeds
// itself at its fixed size, and a knob dragged with XTest reaches the host's component
// handler as beginEdit, performEdit..., endEdit, in that order, on the host's thread from
// its run loop, never from the editor's own thread. The host's content scale sets the
// view's size, and a change while the view is attached asks the frame to resize.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "engine/parameter_index.h"
#include "tests/support/wait_until.h"
#include "tests/vst3/bundle_rig.h"

// Last: Xlib defines macros (None, Status, Bool) that other headers use as names.
#include <X11/Xatom.h>
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
    if (scale_ != nullptr) {
      scale_->release();
    }
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

  // The view's content-scale interface, owned by the test (released in TearDown).
  IPlugViewContentScaleSupport* ScaleSupport() {
    void* found = nullptr;
    if (view_->queryInterface(IPlugViewContentScaleSupport::kIid.bytes, &found) != kResultOk) {
      return nullptr;
    }
    scale_ = static_cast<IPlugViewContentScaleSupport*>(found);
    return scale_;
  }

  ::testing::AssertionResult EditorWindowIs(int width, int height) {
    XWindowAttributes attributes{};
    const bool reached = WaitUntil([&] {
      const Window editor = EditorWindow();
      return editor != 0 && XGetWindowAttributes(display_, editor, &attributes) != 0 &&
             attributes.width == width && attributes.height == height;
    });
    if (reached) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "editor window " << attributes.width << " x " << attributes.height;
  }

  BundleRig rig_;
  IPlugViewContentScaleSupport* scale_ = nullptr;
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

::testing::AssertionResult SizeIs(IPlugView* view, int width, int height) {
  ViewRect size{};
  ViewRect constrained{0, 0, 100, 100};
  if (view->getSize(&size) != kResultOk || view->checkSizeConstraint(&constrained) != kResultOk) {
    return ::testing::AssertionFailure() << "no size";
  }
  const bool same = size.left == 0 && size.top == 0 && size.right == width &&
                    size.bottom == height && constrained.right == width &&
                    constrained.bottom == height;
  if (same) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "getSize " << size.right - size.left << " x " << size.bottom - size.top
         << ", checkSizeConstraint " << constrained.right << " x " << constrained.bottom;
}

bool SameRect(const ViewRect& rect, int width, int height) {
  return rect.left == 0 && rect.top == 0 && rect.right == width && rect.bottom == height;
}

// Before the view is attached the scale only changes the size the host reads; bad factors
// change nothing.
TEST_F(Vst3Editor, ContentScaleBeforeAttachingSetsTheSize) {
  IPlugViewContentScaleSupport* scale = ScaleSupport();
  ASSERT_NE(scale, nullptr);
  PlugFrame frame;
  view_->setFrame(&frame);
  EXPECT_TRUE(SizeIs(view_, 499, 486));
  EXPECT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
  EXPECT_TRUE(SizeIs(view_, 998, 972));
  for (const float bad : {0.0f, -1.5f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
    EXPECT_EQ(scale->setContentScaleFactor(bad), kInvalidArgument) << bad;
  }
  EXPECT_TRUE(SizeIs(view_, 998, 972));
  EXPECT_TRUE(frame.Resizes().empty());
  ASSERT_EQ(view_->attached(reinterpret_cast<void*>(parent_), "X11EmbedWindowID"), kResultOk);
  EXPECT_TRUE(EditorWindowIs(998, 972));
  EXPECT_TRUE(frame.Resizes().empty());
  view_->removed();
  view_->setFrame(nullptr);
}

// While attached, a new scale resizes the editor's window and asks the frame for the new
// size once; the same scale again asks nothing.
TEST_F(Vst3Editor, ContentScaleWhileAttachedAsksTheFrameToResize) {
  IPlugViewContentScaleSupport* scale = ScaleSupport();
  ASSERT_NE(scale, nullptr);
  PlugFrame frame;
  view_->setFrame(&frame);
  ASSERT_EQ(view_->attached(reinterpret_cast<void*>(parent_), "X11EmbedWindowID"), kResultOk);
  ASSERT_TRUE(EditorWindowIs(499, 486));
  EXPECT_TRUE(frame.Resizes().empty());

  EXPECT_EQ(scale->setContentScaleFactor(1.5f), kResultTrue);
  EXPECT_TRUE(SizeIs(view_, 749, 729));
  std::vector<ViewRect> resizes = frame.Resizes();
  ASSERT_EQ(resizes.size(), 1u);
  EXPECT_TRUE(SameRect(resizes[0], 749, 729));
  EXPECT_TRUE(EditorWindowIs(749, 729));
  EXPECT_EQ(scale->setContentScaleFactor(1.5f), kResultTrue);
  frame.Loop().RunTimers();
  EXPECT_EQ(frame.Resizes().size(), 1u);

  EXPECT_EQ(scale->setContentScaleFactor(1.0f), kResultTrue);
  EXPECT_TRUE(SizeIs(view_, 499, 486));
  resizes = frame.Resizes();
  ASSERT_EQ(resizes.size(), 2u);
  EXPECT_TRUE(SameRect(resizes[1], 499, 486));
  EXPECT_TRUE(EditorWindowIs(499, 486));
  view_->removed();
  view_->setFrame(nullptr);
}

// A screen at 144 dpi: the editor opens at 150 % and asks the frame for that size through the
// plug-in's own size request; a host scale of 1 then takes precedence over the screen.
TEST_F(Vst3Editor, AScreenScaleAtOpenAsksTheFrameToResize) {
  const Atom resources = XInternAtom(display_, "RESOURCE_MANAGER", False);
  const char kDense[] = "Xft.dpi:\t144\n";
  XChangeProperty(display_, DefaultRootWindow(display_), resources, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(kDense), sizeof kDense - 1);
  XSync(display_, False);
  PlugFrame frame;
  view_->setFrame(&frame);
  EXPECT_TRUE(SizeIs(view_, 499, 486));
  const tresult attached = view_->attached(reinterpret_cast<void*>(parent_), "X11EmbedWindowID");
  XDeleteProperty(display_, DefaultRootWindow(display_), resources);
  XSync(display_, False);
  ASSERT_EQ(attached, kResultOk);
  EXPECT_TRUE(EditorWindowIs(749, 729));
  std::vector<ViewRect> resizes = frame.Resizes();
  ASSERT_EQ(resizes.size(), 1u);
  EXPECT_TRUE(SameRect(resizes[0], 749, 729));
  EXPECT_TRUE(SizeIs(view_, 749, 729));

  IPlugViewContentScaleSupport* scale = ScaleSupport();
  ASSERT_NE(scale, nullptr);
  EXPECT_EQ(scale->setContentScaleFactor(1.0f), kResultTrue);
  resizes = frame.Resizes();
  ASSERT_EQ(resizes.size(), 2u);
  EXPECT_TRUE(SameRect(resizes[1], 499, 486));
  EXPECT_TRUE(EditorWindowIs(499, 486));
  view_->removed();
  view_->setFrame(nullptr);
}

}  // namespace
}  // namespace velmora::vst3host::testing
