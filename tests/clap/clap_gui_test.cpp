// Velmora.clap's editor in a host's X11 window on a virtual X server: it embeds itself at
// 499 x 486 (the host's scale and the user's zoom change that), a knob drag made with XTest reaches
// the host as gesture begin, the values and gesture end (through flush when the host is not
// processing, through process when it is), and values the host sets show in the editor.
#include <dlfcn.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "engine/parameter_index.h"
#include "tests/clap/clap_rig.h"
#include "tests/support/wait_until.h"

// Last: Xlib defines macros (None, Status, Bool) that other headers use as names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace velmora::claphost::testing {
namespace {

using velmora::testing::WaitUntil;

// The Feedback knob's centre and height as the layout places them.
constexpr int kFeedbackX = 341;
constexpr int kKnobY = 145;
constexpr int kKnobHeight = 78;

class ClapGui : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A load of our own that is never undone keeps the module mapped until the process ends:
    // the editor's process-wide image and font caches live as long as the module, and a leak
    // checker can only tell them from real leaks while their code is still mapped.
    dlopen(VELMORA_CLAP_MODULE, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  }
  void SetUp() override {
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr) << "no X display (run under xvfb-run)";
    int event = 0, error = 0, major = 0, minor = 0;
    ASSERT_TRUE(XTestQueryExtension(display_, &event, &error, &major, &minor));
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    parent_ =
        XCreateWindow(display_, DefaultRootWindow(display_), 20, 20, 640, 560, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
    XMapRaised(display_, parent_);
    XSync(display_, False);
    module_ = LoadVelmora();
    ASSERT_TRUE(module_);
    plugin_ = MakeInstance(*module_, host_);
    ASSERT_TRUE(plugin_);
    gui_ = plugin_->Get<clap::PluginGui>(clap::kExtGui);
    ASSERT_NE(gui_, nullptr);
  }
  void TearDown() override {
    if (plugin_ && gui_ != nullptr) {
      gui_->destroy(plugin_->Plugin());
    }
    plugin_.reset();
    if (display_ != nullptr) {
      XDestroyWindow(display_, parent_);
      XCloseDisplay(display_);
    }
  }

  bool Open() {
    const clap::Plugin* p = plugin_->Plugin();
    if (!gui_->create(p, clap::kWindowApiX11, false)) {
      return false;
    }
    clap::Window window{};
    window.api = clap::kWindowApiX11;
    window.x11 = parent_;
    return gui_->setParent(p, &window) && gui_->show(p);
  }
  Window Editor() {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window editor = 0;
    if (XQueryTree(display_, parent_, &root, &parent, &children, &count) && count > 0) {
      editor = children[0];
    }
    if (children != nullptr) {
      XFree(children);
    }
    return editor;
  }
  void Step() {
    XSync(display_, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
  }
  void MoveTo(int x, int y) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, Editor(), DefaultRootWindow(display_), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, CurrentTime);
    Step();
  }
  void Click(int x, int y, unsigned button) {
    MoveTo(x, y);
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    Step();
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    Step();
  }
  bool EditorIs(int width, int height) {
    return WaitUntil([&] {
      XWindowAttributes attributes{};
      return Editor() != 0 && XGetWindowAttributes(display_, Editor(), &attributes) &&
             attributes.width == width && attributes.height == height;
    });
  }
  void ExpectSize(uint32_t width, uint32_t height) {
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui_->getSize(plugin_->Plugin(), &w, &h));
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);
  }
  // The one pop-up open in the editor, 0 when there is none.
  Window Popup() {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window popup = 0;
    if (XQueryTree(display_, Editor(), &root, &parent, &children, &count) && count == 1) {
      popup = children[0];
    }
    if (children != nullptr) {
      XFree(children);
    }
    return popup;
  }
  // Right click on the background, then a row of the zoom list that opens (rows of 18 editor
  // pixels below a 1-pixel frame: 100, 125, 150, 200 %), with the editor at scale.
  void ChooseZoom(int row, double scale) {
    Click(static_cast<int>(250 * scale), static_cast<int>(5 * scale), Button3);
    ASSERT_TRUE(WaitUntil([this] { return Popup() != 0; }));
    const Window popup = Popup();
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display_, popup, &attributes));
    Click(attributes.x + static_cast<int>(20 * scale),
          attributes.y + static_cast<int>((1 + 18 * row + 9) * scale), Button1);
  }
  void Drag(int fromY, int toY) {
    MoveTo(kFeedbackX, fromY);
    XTestFakeButtonEvent(display_, Button1, True, CurrentTime);
    Step();
    MoveTo(kFeedbackX, (fromY + toY) / 2);
    MoveTo(kFeedbackX, toY);
    XTestFakeButtonEvent(display_, Button1, False, CurrentTime);
    Step();
  }
  std::vector<unsigned long> Grab(int x, int y, int w, int h) {
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display_, Editor(), x, y, w, h, AllPlanes, ZPixmap);
    if (image == nullptr) {
      return pixels;
    }
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        pixels.push_back(XGetPixel(image, i, j));
      }
    }
    XDestroyImage(image);
    return pixels;
  }
  // Checks begin, rising whole values, end for Feedback, from the host's 20 %.
  static void ExpectOneGesture(const std::vector<RecordedEvent>& events) {
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().type, clap::kEventParamGestureBegin);
    EXPECT_EQ(events.front().paramId, static_cast<clap::Id>(kFeedback));
    double previous = 20.0;
    for (size_t i = 1; i + 1 < events.size(); ++i) {
      EXPECT_EQ(events[i].type, clap::kEventParamValue) << i;
      EXPECT_EQ(events[i].paramId, static_cast<clap::Id>(kFeedback));
      EXPECT_EQ(events[i].value, std::floor(events[i].value));
      EXPECT_GE(events[i].value, previous);
      previous = events[i].value;
    }
    EXPECT_NEAR(previous, 45.0, 1.0);  // one knob height: a quarter of the travel
    EXPECT_EQ(events.back().type, clap::kEventParamGestureEnd);
    EXPECT_EQ(events.back().paramId, static_cast<clap::Id>(kFeedback));
  }

  Display* display_ = nullptr;
  Window parent_ = 0;
  std::unique_ptr<ClapModule> module_;
  ClapHost host_;
  std::unique_ptr<ClapInstance> plugin_;
  const clap::PluginGui* gui_ = nullptr;
};

TEST_F(ClapGui, EmbedsAtItsFixedSizeInX11Only) {
  const clap::Plugin* p = plugin_->Plugin();
  EXPECT_TRUE(gui_->isApiSupported(p, clap::kWindowApiX11, false));
  EXPECT_FALSE(gui_->isApiSupported(p, clap::kWindowApiX11, true));
  EXPECT_FALSE(gui_->isApiSupported(p, clap::kWindowApiWin32, false));
  EXPECT_FALSE(gui_->isApiSupported(p, nullptr, false));
  EXPECT_FALSE(gui_->canResize(p));
  clap::GuiResizeHints hints{true, true, false, 0, 0};
  ASSERT_TRUE(gui_->getResizeHints(p, &hints));
  EXPECT_FALSE(hints.canResizeHorizontally);
  EXPECT_FALSE(hints.canResizeVertically);
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(gui_->getSize(p, &w, &h));
  EXPECT_EQ(w, 499u);
  EXPECT_EQ(h, 486u);
  EXPECT_FALSE(gui_->setSize(p, 600, 500));
  clap::Window bad{};
  bad.api = clap::kWindowApiWin32;
  EXPECT_FALSE(gui_->setParent(p, &bad));
  EXPECT_FALSE(gui_->setParent(p, nullptr));
  ASSERT_TRUE(Open());
  const Window editor = Editor();
  ASSERT_NE(editor, 0u);
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(display_, editor, &attributes));
  EXPECT_EQ(attributes.width, 499);
  EXPECT_EQ(attributes.height, 486);
  gui_->destroy(p);
  gui_->destroy(p);  // twice is harmless
  EXPECT_TRUE(WaitUntil([this] { return Editor() == 0; }));
}

TEST_F(ClapGui, AKnobDragReachesTheHostAsOneGestureThroughFlush) {
  InputEventList start;
  start.AddValue(0, kFeedback, 20);
  plugin_->Flush(&start, nullptr);
  ASSERT_TRUE(Open());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  Drag(kKnobY, kKnobY - kKnobHeight);
  EXPECT_TRUE(WaitUntil([this] { return host_.Counters().requestFlush > 0; }));
  OutputEventList out;
  ASSERT_TRUE(WaitUntil([&] {
    plugin_->Flush(nullptr, &out);
    return !out.Events().empty() && out.Events().back().type == clap::kEventParamGestureEnd;
  }));
  ExpectOneGesture(out.Events());
  double value = 0.0;
  ASSERT_TRUE(plugin_->Value(kFeedback, value));
  EXPECT_EQ(value, out.Events()[out.Events().size() - 2].value);
}

TEST_F(ClapGui, WhileProcessingTheGestureArrivesWithTheBlocks) {
  InputEventList start;
  start.AddValue(0, kFeedback, 20);
  plugin_->Flush(&start, nullptr);
  ASSERT_TRUE(plugin_->Activate(44100, 256) && plugin_->StartProcessing());
  ASSERT_TRUE(Open());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  Drag(kKnobY, kKnobY - kKnobHeight);
  StereoBuffers<float> b(256);
  OutputEventList out;
  ASSERT_TRUE(WaitUntil([&] {
    AudioIo io = b.Io();
    plugin_->Process(io, 256, nullptr, &out, nullptr);
    return !out.Events().empty() && out.Events().back().type == clap::kEventParamGestureEnd;
  }));
  ExpectOneGesture(out.Events());
}

TEST_F(ClapGui, ValuesTheHostSetsShowInTheEditor) {
  ASSERT_TRUE(Open());
  InputEventList low;
  low.AddValue(0, kFeedback, 0);
  plugin_->Flush(&low, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto before = Grab(kFeedbackX - 30, kKnobY - 30, 60, 60);
  ASSERT_FALSE(before.empty());
  InputEventList high;
  high.AddValue(0, kFeedback, 90);
  plugin_->Flush(&high, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return Grab(kFeedbackX - 30, kKnobY - 30, 60, 60) != before; }));
}

TEST_F(ClapGui, TheHostsScaleSetsTheSizeInPhysicalPixels) {
  const clap::Plugin* p = plugin_->Plugin();
  ASSERT_TRUE(gui_->create(p, clap::kWindowApiX11, false));
  EXPECT_TRUE(gui_->setScale(p, 1.5));
  ExpectSize(749, 729);                          // 748.5 rounds away from zero
  EXPECT_EQ(host_.Counters().requestResize, 0);  // no window yet: the host asks get_size
  EXPECT_FALSE(gui_->canResize(p));
  uint32_t w = 600, h = 500;
  ASSERT_TRUE(gui_->adjustSize(p, &w, &h));
  EXPECT_EQ(w, 749u);
  EXPECT_EQ(h, 729u);
  clap::GuiResizeHints hints{};
  ASSERT_TRUE(gui_->getResizeHints(p, &hints));
  EXPECT_FALSE(hints.canResizeHorizontally);
  EXPECT_EQ(hints.aspectRatioWidth, 749u);
  EXPECT_EQ(hints.aspectRatioHeight, 729u);
  EXPECT_TRUE(gui_->setSize(p, 749, 729));
  EXPECT_FALSE(gui_->setSize(p, 499, 486));
  EXPECT_TRUE(gui_->setScale(p, 2.0));
  ExpectSize(998, 972);
  EXPECT_TRUE(gui_->setScale(p, 1.0));
  ExpectSize(499, 486);
  // Factors that are no scale at all are refused and change nothing.
  EXPECT_FALSE(gui_->setScale(p, 0.0));
  EXPECT_FALSE(gui_->setScale(p, -2.0));
  EXPECT_FALSE(gui_->setScale(p, std::nan("")));
  EXPECT_FALSE(gui_->setScale(p, INFINITY));
  ExpectSize(499, 486);
  EXPECT_FALSE(gui_->setScale(nullptr, 1.5));
}

TEST_F(ClapGui, AScaleChangeWithTheWindowOpenAsksTheHostToResize) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(EditorIs(499, 486));
  const clap::Plugin* p = plugin_->Plugin();
  EXPECT_TRUE(gui_->setScale(p, 1.5));
  EXPECT_EQ(host_.Counters().requestResize, 1);
  EXPECT_EQ(host_.Counters().resizeWidth, 749u);
  EXPECT_EQ(host_.Counters().resizeHeight, 729u);
  ExpectSize(749, 729);
  EXPECT_TRUE(EditorIs(749, 729));
  EXPECT_TRUE(gui_->setScale(p, 1.5));  // the same size: nothing to ask
  EXPECT_EQ(host_.Counters().requestResize, 1);
  EXPECT_TRUE(gui_->setScale(p, 1.0));
  EXPECT_EQ(host_.Counters().requestResize, 2);
  EXPECT_EQ(host_.Counters().resizeWidth, 499u);
  EXPECT_EQ(host_.Counters().resizeHeight, 486u);
  ExpectSize(499, 486);
  EXPECT_TRUE(EditorIs(499, 486));
}

TEST_F(ClapGui, AZoomTheHostRefusesLeavesTheEditorAsItWas) {
  host_.GrantResize(false);
  ASSERT_TRUE(Open());
  ASSERT_TRUE(EditorIs(499, 486));
  ChooseZoom(2, 1.0);  // 150 %
  ASSERT_TRUE(WaitUntil([this] { return host_.Counters().requestResize > 0; }));
  EXPECT_EQ(host_.Counters().resizeWidth, 749u);
  EXPECT_EQ(host_.Counters().resizeHeight, 729u);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ExpectSize(499, 486);
  EXPECT_TRUE(EditorIs(499, 486));
}

// Last: the zoom the user chooses lasts for the process, so it ends at 100 %.
TEST_F(ClapGui, TheUsersZoomAsksTheHostForTheNewSize) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(EditorIs(499, 486));
  ChooseZoom(2, 1.0);  // 150 %
  ASSERT_TRUE(WaitUntil([this] { return host_.Counters().requestResize > 0; }));
  EXPECT_EQ(host_.Counters().resizeWidth, 749u);
  EXPECT_EQ(host_.Counters().resizeHeight, 729u);
  EXPECT_TRUE(EditorIs(749, 729));
  ExpectSize(749, 729);
  ASSERT_TRUE(WaitUntil([this] { return Popup() == 0; }));  // the list goes once chosen
  ChooseZoom(0, 1.5);                                       // back to 100 %
  ASSERT_TRUE(WaitUntil([this] { return host_.Counters().resizeWidth == 499u; }));
  EXPECT_EQ(host_.Counters().resizeHeight, 486u);
  EXPECT_TRUE(EditorIs(499, 486));
  ExpectSize(499, 486);
}

}  // namespace
}  // namespace velmora::claphost::testing
