// The X11 text box of an editable text control, on an X11 editor window made in this
// process inside the test host's window: the box is aligned left for 0, right for 2 and
// centred for anything else, and its font is bold only for style 1 and italic only for
// style 2 (so style 3 draws exactly as the plain style).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "editor/text_controls.h"
#include "tests/editor/x11/x11_test_host.h"

// After the host library: Xlib's macros (Status, Success) would clash with its names.
#include "editor/x11/x11_editor_window.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace velmora::testing {
namespace {

constexpr Rect kBoxArea{20, 20, 220, 50};

// The box's pixels, with where its ink (dark pixels) starts and ends.
struct BoxPicture {
  std::vector<uint32_t> pixels;
  int inkLeft = -1;
  int inkRight = -1;
  int inkCount = 0;
};

class X11TextBox : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(host_.Error(), ""); }

  // Opens an editor holding one editable text of this alignment and style, clicks it and
  // returns the picture of the text box it opens.
  BoxPicture Picture(int alignment, int style) {
    TextStyle text;
    std::strcpy(text.face, "Arial");
    text.size = 16;
    text.colour = Color{255, 255, 255, 255};
    text.alignment = alignment;
    text.style = style;
    X11EditorWindow editor(nullptr, 240, 80, 0);
    editor.AddControl(std::make_unique<IEditableTextControl>(nullptr, kBoxArea, text, "Wig",
                                                             Color{255, 40, 40, 40}, true, false));
    editor.PrepareEditor();
    BoxPicture picture;
    if (!editor.OpenEditorWindow(static_cast<intptr_t>(host_.Parent()))) {
      ADD_FAILURE() << "the editor window did not open";
      return picture;
    }
    Display* display = host_.Connection();
    const auto window = static_cast<Window>(editor.WindowHandle());
    WaitUntil([&] { return host_.Children(window).empty() && Mapped(window); });
    Window child = 0;
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, -1, rootX + 30, rootY + 30, CurrentTime);
    XTestFakeButtonEvent(display, Button1, True, CurrentTime);
    XTestFakeButtonEvent(display, Button1, False, CurrentTime);
    XSync(display, False);
    Window box = 0;
    WaitUntil([&] {
      const std::vector<Window> children = host_.Children(window);
      box = children.size() == 1 ? children.front() : 0;
      return box != 0;
    });
    // The box opens with all its text selected: white on the selection's band.
    if (box != 0) {
      WaitUntil([&] {
        picture = Grab(box);
        return picture.inkCount > 0;
      });
    }
    editor.CloseEditorWindow();
    return picture;
  }

  bool Mapped(Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(host_.Connection(), window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
  }

  // Ink is the box's dark text on its white paper, inside the frame and the selection.
  BoxPicture Grab(Window box) {
    BoxPicture picture;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(host_.Connection(), box, &attributes) == 0) {
      return picture;
    }
    XImage* image = XGetImage(host_.Connection(), box, 0, 0, attributes.width, attributes.height,
                              AllPlanes, ZPixmap);
    if (image == nullptr) {
      return picture;
    }
    for (int y = 0; y < attributes.height; ++y) {
      for (int x = 0; x < attributes.width; ++x) {
        const uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
        picture.pixels.push_back(pixel);
        const bool frame =
            x == 0 || y == 0 || x == attributes.width - 1 || y == attributes.height - 1;
        // Selected text is white on blue: its blue band counts as ink too, which is what
        // shows where the text lies.
        if (!frame && pixel != 0xFFFFFF) {
          picture.inkLeft = picture.inkLeft < 0 ? x : std::min(picture.inkLeft, x);
          picture.inkRight = std::max(picture.inkRight, x);
          ++picture.inkCount;
        }
      }
    }
    XDestroyImage(image);
    return picture;
  }

  X11TestHost host_;
};

TEST_F(X11TextBox, AlignsLeftForZeroRightForTwoAndCentresEverythingElse) {
  const int width = kBoxArea.Width();
  const BoxPicture left = Picture(0, 0);
  const BoxPicture right = Picture(2, 0);
  const BoxPicture centre = Picture(1, 0);
  const BoxPicture other = Picture(7, 0);
  ASSERT_GT(left.inkCount, 0);
  ASSERT_GT(right.inkCount, 0);
  EXPECT_LT(left.inkRight, width / 3);
  EXPECT_GT(right.inkLeft, 2 * width / 3);
  EXPECT_GT(centre.inkLeft, width / 4);
  EXPECT_LT(centre.inkRight, 3 * width / 4);
  EXPECT_EQ(other.pixels, centre.pixels);
}

TEST_F(X11TextBox, BoldOnlyForStyleOneAndItalicOnlyForStyleTwo) {
  const BoxPicture plain = Picture(0, 0);
  const BoxPicture bold = Picture(0, 1);
  const BoxPicture italic = Picture(0, 2);
  const BoxPicture three = Picture(0, 3);
  ASSERT_GT(plain.inkCount, 0);
  EXPECT_NE(bold.pixels, plain.pixels);
  EXPECT_NE(italic.pixels, plain.pixels);
  EXPECT_NE(bold.pixels, italic.pixels);
  EXPECT_EQ(three.pixels, plain.pixels);  // not bold italic
}

}  // namespace
}  // namespace velmora::testing
