// The screen density the X11 editor reads from the server's resource database text.
#include <gtest/gtest.h>

#include "editor/x11/x11_screen_scale.h"

namespace velmora::testing {
namespace {

TEST(X11ScreenScale, XftDpiIsReadFromItsLineAndTheLastOneWins) {
  EXPECT_EQ(XftDpiOf("Xft.dpi:\t192\n"), 192.0);
  EXPECT_EQ(XftDpiOf("Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n"), 144.0);
  EXPECT_EQ(XftDpiOf("Xft.dpi: 120"), 120.0);  // no final line feed
  EXPECT_EQ(XftDpiOf("Xft.dpi:\t96\nXft.dpi:\t168\n"), 168.0);
  EXPECT_EQ(XftDpiOf("*dpi:\t120\n"), 120.0);
}

TEST(X11ScreenScale, AnythingElseIsNoDensity) {
  EXPECT_EQ(XftDpiOf(""), 0.0);
  EXPECT_EQ(XftDpiOf("Xft.dpix:\t192\n"), 0.0);
  EXPECT_EQ(XftDpiOf("Xft.dpi:\tlarge\n"), 0.0);
  EXPECT_EQ(XftDpiOf("Xft.dpi:\t-96\n"), 0.0);
  EXPECT_EQ(XftDpiOf("Xft.dpi:\t192 dots\n"), 0.0);
  EXPECT_EQ(XftDpiOf("Xft.dpi\n"), 0.0);
  EXPECT_EQ(XftDpiOf("Xft.dpi:\tinf\n"), 0.0);
}

}  // namespace
}  // namespace velmora::testing
