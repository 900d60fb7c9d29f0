// The X11 editor on a high-density screen: the server's resource database says
// Xft.dpi: 192, so the editor opens at twice its size, asks the host for that size, takes
// pointer input in device pixels as the same moves in editor pixels at 100 %, and opens its
// pop-ups at the scaled places. The zoom list then resizes it through a host that grants
// audioMasterSizeWindow.
#include <gtest/gtest.h>

#include <X11/Xatom.h>

#include <cmath>
#include <cstring>

#include "tests/editor/x11/x11_test_host.h"

namespace velmora::testing {
namespace {

using host::HostCall;

constexpr int kFeedback = 3;
constexpr int kFeedbackX = 341;  // the knob's centre and height in editor pixels
constexpr int kKnobY = 145;
constexpr int kFeedbackHeight = 78;
constexpr int kScale = 2;

host::HostConfig GrantingHost() {
  host::HostConfig config;
  config.grantsSizeWindow = true;
  return config;
}

// Sets (or with an empty text removes) the root window's resource database, which a
// display connection reads when it opens.
void SetResources(const char* text) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  const Atom property = XInternAtom(display, "RESOURCE_MANAGER", False);
  if (text[0] == '\0') {
    XDeleteProperty(display, DefaultRootWindow(display), property);
  } else {
    XChangeProperty(display, DefaultRootWindow(display), property, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text),
                    static_cast<int>(std::strlen(text)));
  }
  XCloseDisplay(display);
}

class X11EditorScale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { SetResources("Xft.dpi:\t192\n"); }
  static void TearDownTestSuite() { SetResources(""); }

  void SetUp() override {
    ASSERT_EQ(host_.Error(), "");
    // Room for the doubled editor on the 1280 x 1024 screen.
    host_.PlaceParent(0, 0, 1100, 1000);
    ASSERT_TRUE(host_.OpenEditor());
  }
  void TearDown() override {
    host_.CloseEditor();
    EXPECT_EQ(X11TestHost::ErrorCount(), 0);
  }

  void EditorSize(int* width, int* height) {
    int x = 0;
    int y = 0;
    ASSERT_TRUE(host_.Geometry(host_.EditorWindow(), &x, &y, width, height));
  }
  std::vector<HostCall> SizeRequests() {
    std::vector<HostCall> found;
    for (const HostCall& call : host_.Plugin().Calls().Snapshot()) {
      if (call.opcode == vst::audioMasterSizeWindow) {
        found.push_back(call);
      }
    }
    return found;
  }
  Window WaitForPopup() {
    Window popup = 0;
    WaitUntil([&] {
      const std::vector<Window> children = host_.Children(host_.EditorWindow());
      popup = children.size() == 1 ? children.front() : 0;
      return popup != 0;
    });
    return popup;
  }

  X11TestHost host_{GrantingHost()};
};

TEST_F(X11EditorScale, TheWindowIsTwiceTheEditorAndTheHostIsAskedForThatSize) {
  int width = 0;
  int height = 0;
  EditorSize(&width, &height);
  EXPECT_EQ(width, 998);
  EXPECT_EQ(height, 972);
  const std::vector<HostCall> requests = SizeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].index, 998);
  EXPECT_EQ(requests[0].value, 972);
  vst::ERect* rect = nullptr;
  ASSERT_EQ(host_.Plugin().Dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, 998);
  EXPECT_EQ(rect->bottom, 972);
  // Painted all over: the bottom-right corner shows the panel, not the parent's black.
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<uint32_t> pixels = host_.Grab();
    return pixels.size() == 998u * 972u && pixels[998u * 960u + 990u] != 0u &&
           pixels[998u * 10u + 10u] != 0u;
  }));
}

TEST_F(X11EditorScale, ADragOfDevicePixelsMovesTheKnobAsHalfAsManyEditorPixels) {
  host_.Plugin().SetParameter(kFeedback, 1.0f);
  host_.ClearCalls();
  host_.MoveTo(kScale * kFeedbackX, kScale * kKnobY);
  host_.Press(Button1);
  // Down by two knob heights in editor pixels: half the four heights a full sweep takes
  // (downwards, so the pointer stays on the screen).
  host_.MoveTo(kScale * kFeedbackX, kScale * (kKnobY + 2 * kFeedbackHeight));
  host_.Release(Button1);
  ASSERT_TRUE(WaitUntil([&] { return host_.CountCalls(vst::audioMasterEndEdit) >= 1; }));
  EXPECT_FLOAT_EQ(host_.Plugin().GetParameter(kFeedback), 0.5f);
}

TEST_F(X11EditorScale, TheValueEntryOpensAtTheScaledPlace) {
  host_.Click(kScale * kFeedbackX, kScale * kKnobY, Button3);
  const Window popup = WaitForPopup();
  ASSERT_NE(popup, 0u);
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  ASSERT_TRUE(host_.Geometry(popup, &x, &y, &width, &height));
  // The box is 16 editor pixels high, centred on the knob's rectangle (341, 157).
  EXPECT_EQ(height, kScale * 16);
  EXPECT_NEAR(x + width / 2.0, kScale * 341, kScale);
  EXPECT_EQ(y, kScale * (157 - 8));
  host_.Click(kScale * 250, kScale * 5, Button3);  // cancels
  EXPECT_TRUE(WaitUntil([&] { return host_.Children(host_.EditorWindow()).empty(); }));
}

// Last in this suite: the zoom it chooses lasts for the process, so it ends at 100 %, the
// scale every other suite expects.
TEST_F(X11EditorScale, TheZoomListResizesTheWindowThroughTheHost) {
  host_.ClearCalls();
  const int clickX = 250;
  const int clickY = 5;
  host_.Click(kScale * clickX, kScale * clickY, Button3);
  const Window popup = WaitForPopup();
  ASSERT_NE(popup, 0u);
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  ASSERT_TRUE(host_.Geometry(popup, &x, &y, &width, &height));
  EXPECT_EQ(x, kScale * clickX);
  EXPECT_EQ(y, kScale * clickY);
  // Rows of 18 editor pixels below a 1-pixel frame: "Zoom 150%" is the third.
  host_.Click(x + kScale * 20, y + kScale * (1 + 18 * 2 + 9), Button1);
  ASSERT_TRUE(WaitUntil([&] { return SizeRequests().size() >= 1; }));
  EXPECT_EQ(SizeRequests().back().index, 749);
  EXPECT_EQ(SizeRequests().back().value, 729);
  ASSERT_TRUE(WaitUntil([&] {
    int w = 0;
    int h = 0;
    EditorSize(&w, &h);
    return w == 749 && h == 729;
  }));
  // The chosen list goes once the choice is carried out.
  ASSERT_TRUE(WaitUntil([&] { return host_.Children(host_.EditorWindow()).empty(); }));
  // Back to 100 %: the list is now at 1.5 device pixels per editor pixel.
  host_.Click(450, 7, Button3);  // editor pixel (300, 5)
  const Window again = WaitForPopup();
  ASSERT_NE(again, 0u);
  ASSERT_TRUE(host_.Geometry(again, &x, &y, &width, &height));
  EXPECT_EQ(x, 450);
  EXPECT_EQ(y, 8);  // 7.5, rounded half away from zero
  host_.Click(x + 30, y + (1 + 9) * 3 / 2, Button1);
  ASSERT_TRUE(WaitUntil([&] {
    int w = 0;
    int h = 0;
    EditorSize(&w, &h);
    return w == 499 && h == 486;
  }));
}

}  // namespace
}  // namespace velmora::testing
