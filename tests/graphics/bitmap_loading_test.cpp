#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "graphics/bitmap_cache.h"
#include "graphics/editor_canvas.h"
#include "graphics/module_resources.h"
#include "graphics/pixel_image.h"
#include "resources/embedded_resources.h"

namespace velmora {
namespace {

struct ImageEntry {
  int32_t id;
  int32_t width;
  int32_t height;
  int colourType;  // 2 RGB, 6 RGBA
};

// The editor's images: id, size and PNG colour type.
constexpr ImageEntry kEditorImages[] = {
    {100, 499, 486, 2}, {101, 54, 54, 6}, {102, 73, 73, 6}, {103, 50, 50, 6}, {104, 14, 31, 2},
    {105, 70, 27, 6},   {106, 82, 85, 6}, {107, 60, 85, 2}, {108, 42, 66, 6},
};

TEST(BitmapLoadingTest, EveryEditorImageIsInTheModuleWithItsSizeAndColourType) {
  EditorCanvas canvas;
  for (const ImageEntry& entry : kEditorImages) {
    const ResourceBytes bytes = FindImageResource(entry.id);
    ASSERT_GT(bytes.size, 33u) << entry.id;
    EXPECT_EQ(bytes.data[25], entry.colourType) << entry.id;  // IHDR colour type byte
    const BitmapRef ref = canvas.LoadBitmapRef(entry.id, "", 1);
    ASSERT_NE(ref.image, nullptr) << entry.id;
    EXPECT_EQ(ref.width, entry.width) << entry.id;
    EXPECT_EQ(ref.height, entry.height) << entry.id;
  }
}

TEST(BitmapLoadingTest, OnlyTheEditorIdsAreInTheModuleAndTheFallbackFontIsLinkedIn) {
  EXPECT_EQ(FindImageResource(99).data, nullptr);
  EXPECT_EQ(FindImageResource(109).data, nullptr);
  EXPECT_EQ(FindImageResource(-1).size, 0u);
  const resources::EmbeddedBytes font = resources::EmbeddedFallbackFont();
  ASSERT_GT(font.size, 100000u);
  // A TrueType font file starts with the version 1.0 tag.
  EXPECT_EQ(font.data[0], 0);
  EXPECT_EQ(font.data[1], 1);
  EXPECT_EQ(font.data[2], 0);
  EXPECT_EQ(font.data[3], 0);
}

TEST(BitmapLoadingTest, SameIdTwiceGivesTheSameImageWithEachCallersFrameCount) {
  EditorCanvas first;
  EditorCanvas second;
  const BitmapRef a = first.LoadBitmapRef(106, "img/radio.png", 5);
  const size_t entries = BitmapCache::Instance().EntryCount();
  const BitmapRef b = second.LoadBitmapRef(106, "img/radio.png", 3);
  EXPECT_EQ(a.image, b.image);
  EXPECT_EQ(a.frames, 5);
  EXPECT_EQ(b.frames, 3);
  EXPECT_EQ(BitmapCache::Instance().EntryCount(), entries);
}

TEST(BitmapLoadingTest, MissingImagesGiveAnEmptyReferenceThatDrawsNothing) {
  EditorCanvas canvas;
  EXPECT_EQ(canvas.LoadBitmapRef(4242, "img/none.png", 1).image, nullptr);
  EXPECT_EQ(canvas.LoadImageResource(-1), nullptr);
  const BitmapRef ref = canvas.LoadBitmapRef(4243, "img/none.png", 2);
  EXPECT_EQ(ref.image, nullptr);
  EXPECT_EQ(ref.frames, 2);
  ASSERT_TRUE(canvas.CreateSurface(10, 10));
  canvas.SetDrawArea(Rect{0, 0, 10, 10});
  EXPECT_TRUE(canvas.DrawBitmapFrame(ref, Rect{0, 0, 10, 10}, 1, nullptr, true));
  EXPECT_TRUE(canvas.DrawRotatedBitmap(ref, 5, 5, 1.0, nullptr, 0.0f, 0.0f));
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

bool SameArea(const PixelImage& image, int32_t ax, int32_t ay, int32_t bx, int32_t by,
              int32_t width, int32_t height) {
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      if (image.Pixel(ax + x, ay + y) != image.Pixel(bx + x, by + y)) {
        return false;
      }
    }
  }
  return true;
}

// The Sweep Link picture (opaque) and the filter type frames are each drawn at two places:
// the background must look the same under both, or one of them would show a seam.
TEST(BitmapLoadingTest, SharedPicturesSitOnIdenticalBackground) {
  EditorCanvas canvas;
  const BitmapRef background = canvas.LoadBitmapRef(100, "img/bg.png", 1);
  ASSERT_NE(background.image, nullptr);
  EXPECT_TRUE(SameArea(*background.image, 99, 356, 340, 356, 60, 85));
  EXPECT_TRUE(SameArea(*background.image, 13, 229, 441, 229, 42, 22));
}

struct LitPicture {
  int32_t id;
  int32_t left;
  int32_t top;
  int32_t frames;
};

// Plug-in instances may be built on different host threads at once: all of them must end
// up with the one cached image of an id.
TEST(BitmapLoadingTest, ConcurrentLoadsOfOneIdShareOneImage) {
  constexpr int kThreads = 4;
  std::vector<const PixelImage*> images(kThreads, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&images, i] {
      EditorCanvas canvas;
      images[i] = canvas.LoadBitmapRef(103, "img/knob3.png", 1).image;
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  ASSERT_NE(images[0], nullptr);
  for (const PixelImage* image : images) {
    EXPECT_EQ(image, images[0]);
  }
}

// A lit picture is opaque exactly where it differs from the unlit look engraved in the
// background beneath it, and transparent elsewhere, so drawing it changes only what lights
// up; every frame lights something.
TEST(BitmapLoadingTest, LitPicturesChangeOnlyWhatLightsUp) {
  EditorCanvas canvas;
  const BitmapRef background = canvas.LoadBitmapRef(100, "img/bg.png", 1);
  ASSERT_NE(background.image, nullptr);
  for (const LitPicture& p : {LitPicture{105, 215, 220, 1}, LitPicture{106, 133, 102, 5},
                              LitPicture{108, 13, 229, 3}, LitPicture{108, 441, 229, 3}}) {
    const BitmapRef lit = canvas.LoadBitmapRef(p.id, "", p.frames);
    ASSERT_NE(lit.image, nullptr);
    const int32_t frameHeight = lit.height / p.frames;
    for (int32_t frame = 0; frame < p.frames; ++frame) {
      int drawn = 0;
      for (int32_t y = 0; y < frameHeight; ++y) {
        for (int32_t x = 0; x < lit.width; ++x) {
          // Ping Pong rows light in place; switch frames all sit on the switch's place.
          const int32_t sourceY = frame * frameHeight + y;
          const int32_t placeY = p.top + (p.id == 108 ? y : sourceY);
          const uint32_t pixel = lit.image->Pixel(x, sourceY);
          const uint32_t under = background.image->Pixel(p.left + x, placeY);
          const uint32_t alpha = pixel >> 24;
          ASSERT_TRUE(alpha == 0 || alpha == 255) << p.id << " at " << x << ", " << sourceY;
          if (alpha == 255) {
            EXPECT_NE(pixel & 0xFFFFFF, under & 0xFFFFFF) << p.id << " at " << x << ", " << y;
            ++drawn;
          }
        }
      }
      EXPECT_GT(drawn, 20) << p.id << " frame " << frame;
    }
  }
}

}  // namespace
}  // namespace velmora
