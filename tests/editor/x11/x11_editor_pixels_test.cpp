// What the X11 editor window shows, read back from the server, equals the headless
// editor's picture of the same state pixel for pixel: the window layer adds and loses
// nothing on the way to the screen, with shared memory and without.
#include <gtest/gtest.h>

#include <string>

#include "editor/headless/headless_editor_window.h"
#include "tools/snapshot/editor_snapshot.h"

// Last: it brings Xlib's macros.
#include "tests/editor/x11/x11_test_host.h"

namespace velmora::testing {
namespace {

// The headless picture of a fresh instance with the program selected (none: -1).
std::vector<uint32_t> HeadlessPicture(int program) {
  snapshot::EditorSnapshot snapshot;
  EXPECT_EQ(snapshot.Start(44100.0, 120.0), "");
  if (program >= 0) {
    EXPECT_EQ(snapshot.SelectProgram(std::to_string(program)), "");
  }
  EXPECT_EQ(snapshot.Paint(), "");
  const PixelImage& image = snapshot.Window()->WindowImage();
  std::vector<uint32_t> pixels;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      pixels.push_back(image.Pixel(x, y) & 0xFFFFFFu);
    }
  }
  return pixels;
}

size_t CountDifferences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) {
    return a.size() > b.size() ? a.size() : b.size();
  }
  size_t differences = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    differences += a[i] != b[i] ? 1 : 0;
  }
  return differences;
}

void ExpectScreenShows(int program) {
  const std::vector<uint32_t> expected = HeadlessPicture(program);
  ASSERT_EQ(expected.size(), 499u * 486u);
  X11TestHost host;
  ASSERT_EQ(host.Error(), "");
  if (program >= 0) {
    host.Plugin().SetProgram(program);
  }
  ASSERT_TRUE(host.OpenEditor());
  std::vector<uint32_t> shown;
  // The first ticks paint; the picture settles within a few of them.
  WaitUntil([&] {
    shown = host.Grab();
    return CountDifferences(shown, expected) == 0;
  });
  EXPECT_EQ(CountDifferences(shown, expected), 0u) << "program " << program;
  host.CloseEditor();
  EXPECT_EQ(X11TestHost::ErrorCount(), 0);
}

TEST(X11EditorPixels, TheDefaultsLookAsTheHeadlessPicture) {
  ExpectScreenShows(-1);
}

TEST(X11EditorPixels, AProgramLooksAsTheHeadlessPicture) {
  ExpectScreenShows(5);
}

}  // namespace
}  // namespace velmora::testing
