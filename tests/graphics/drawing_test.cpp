#include <gtest/gtest.h>

#include <cmath>

#include "graphics/bitmap_cache.h"
#include "graphics/editor_canvas.h"
#include "graphics/pixel_image.h"

namespace velmora {
namespace {

constexpr uint32_t kBackground = 0xFF000000;

// A strip whose every pixel records its own position: 0xFF000000 | y << 8 | x.
std::unique_ptr<PixelImage> PositionImage(int32_t width, int32_t height) {
  auto image = std::make_unique<PixelImage>();
  image->Resize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      image->SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y) << 8 | static_cast<uint32_t>(x));
    }
  }
  return image;
}

BitmapRef RefTo(const PixelImage& image, int32_t frames) {
  return BitmapRef{&image, image.Width(), image.Height(), frames};
}

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(canvas_.CreateSurface(100, 100));
    Clear(kBackground);
    canvas_.SetDrawArea(Rect{0, 0, 100, 100});
  }
  void Clear(uint32_t value) {
    for (int32_t y = 0; y < 100; ++y) {
      for (int32_t x = 0; x < 100; ++x) {
        Surface().SetPixel(x, y, value);
      }
    }
  }
  EditorSurface& Surface() { return *canvas_.Surface(); }
  uint32_t At(int32_t x, int32_t y) { return Surface().Pixel(x, y); }

  EditorCanvas canvas_;
};

TEST_F(CanvasTest, VerticalFrameOffsetsRoundTheStripPosition) {
  auto strip = PositionImage(10, 85);  // five frames of 17 rows
  const BitmapRef ref = RefTo(*strip, 5);
  const Rect dest{20, 20, 30, 37};
  // Frame 3: trunc(85 x 2 / 5 + 0.5) = 34.
  canvas_.DrawBitmapFrame(ref, dest, 3, nullptr, true);
  EXPECT_EQ(At(20, 20), 0xFF000000u | 34u << 8);
  EXPECT_EQ(At(29, 36), 0xFF000000u | 50u << 8 | 9u);
  // Frames 0 and 1 both show the first frame.
  for (int32_t frame : {0, 1}) {
    Clear(kBackground);
    canvas_.DrawBitmapFrame(ref, dest, frame, nullptr, true);
    EXPECT_EQ(At(20, 20), 0xFF000000u) << "frame " << frame;
  }
}

TEST_F(CanvasTest, HorizontalFramesAndFramesBeyondTheCount) {
  auto strip = PositionImage(42, 5);  // three frames of 14 columns
  const BitmapRef ref = RefTo(*strip, 3);
  canvas_.DrawBitmapFrame(ref, Rect{0, 0, 14, 5}, 2, nullptr, false);
  EXPECT_EQ(At(0, 0), 0xFF000000u | 14u);
  // Frame 4 of 3 is not clamped: it starts past the strip and draws nothing.
  Clear(kBackground);
  canvas_.DrawBitmapFrame(ref, Rect{0, 0, 14, 5}, 4, nullptr, false);
  EXPECT_EQ(At(0, 0), kBackground);
}

TEST_F(CanvasTest, DrawAreaClipsAndShiftsTheSource) {
  auto image = PositionImage(20, 20);
  canvas_.SetDrawArea(Rect{15, 12, 50, 50});
  EXPECT_TRUE(canvas_.DrawBitmapAt(RefTo(*image, 1), Rect{10, 10, 30, 30}, 0, 0, nullptr));
  EXPECT_EQ(At(14, 20), kBackground);  // left of the draw area
  EXPECT_EQ(At(20, 11), kBackground);  // above it
  EXPECT_EQ(At(15, 12), 0xFF000000u | 2u << 8 | 5u);
  EXPECT_EQ(At(29, 29), 0xFF000000u | 19u << 8 | 19u);
  // No draw area: nothing is drawn.
  Clear(kBackground);
  canvas_.SetDrawArea(Rect{});
  canvas_.DrawBitmapAt(RefTo(*image, 1), Rect{10, 10, 30, 30}, 0, 0, nullptr);
  EXPECT_EQ(At(15, 15), kBackground);
}

TEST_F(CanvasTest, CopyBlendIsBitExactWithAlphaAndZeroAlphaLeavesTheDestination) {
  PixelImage image;
  image.Resize(2, 1);
  image.SetPixel(0, 0, 0x00123456);
  image.SetPixel(1, 0, 0x7FABCDEF);
  const Blend copy{Blend::kCopy, 1.0f};
  canvas_.DrawBitmapAt(RefTo(image, 1), Rect{0, 0, 2, 1}, 0, 0, &copy);
  EXPECT_EQ(At(0, 0), 0x00123456u);
  EXPECT_EQ(At(1, 0), 0x7FABCDEFu);
  const Blend normal{Blend::kNormal, 1.0f};
  canvas_.DrawBitmapAt(RefTo(image, 1), Rect{0, 1, 2, 2}, 0, 0, &normal);
  EXPECT_EQ(At(0, 1), kBackground);
  // Unknown methods draw as normal.
  const Blend unknown{7, 1.0f};
  canvas_.DrawBitmapAt(RefTo(image, 1), Rect{0, 2, 2, 3}, 0, 0, &unknown);
  EXPECT_EQ(At(0, 2), kBackground);
}

TEST_F(CanvasTest, FillRectangleWeightRuleAndShiftShortcuts) {
  canvas_.FillRectangle(Color{255, 10, 20, 30}, Rect{-5, -5, 10, 10}, nullptr);
  EXPECT_EQ(At(0, 0), 0xFF0A141Eu);
  EXPECT_EQ(At(9, 9), 0xFF0A141Eu);
  EXPECT_EQ(At(10, 10), kBackground);

  // Alpha 128 at weight 1.0 -> weight 128 / 255 -> w 128: per-byte halves of both.
  Clear(0xFF204060);
  canvas_.FillRectangle(Color{128, 200, 100, 50}, Rect{0, 0, 1, 1}, nullptr);
  EXPECT_EQ(At(0, 0), (0x80C86432u >> 1 & 0x7F7F7F7Fu) + (0xFF204060u >> 1 & 0x7F7F7F7Fu));

  // w 64: (c >> 2) + (d >> 1) + (d >> 2) per byte.
  const Blend quarter{Blend::kNormal, 0.25f};
  canvas_.FillRectangle(Color{255, 200, 100, 40}, Rect{1, 0, 2, 1}, &quarter);
  // 0x3F32190A + 0x7F102030 + 0x3F081018
  EXPECT_EQ(At(1, 0), 0xFD4A4952u);

  // w 192: (c >> 1) + (c >> 2) + (d >> 2).
  const Blend threeQuarters{Blend::kCopy, 0.75f};
  canvas_.FillRectangle(Color{255, 200, 100, 40}, Rect{2, 0, 3, 1}, &threeQuarters);
  // 0x7F643214 + 0x3F32190A + 0x3F081018
  EXPECT_EQ(At(2, 0), 0xFD9E5B36u);

  // Any other w: colour c + (d - c) x (256 - w) / 256, alpha w + (dA - w) x (256 - w) / 256.
  const Blend tenth{Blend::kCopy, 0.4f};  // w 102
  canvas_.FillRectangle(Color{255, 200, 100, 40}, Rect{3, 0, 4, 1}, &tenth);
  // alpha 102 + 153 x 154 / 256 = 194; red 200 - 168 x 154 / 256 = 99;
  // green 100 - 36 x 154 / 256 = 79; blue 40 + 56 x 154 / 256 = 73
  EXPECT_EQ(At(3, 0), 0xC2634F49u);
}

TEST_F(CanvasTest, FillCircleCoversTheDiscWithSoftEdges) {
  canvas_.FillCircle(Color{255, 255, 255, 255}, 50.0f, 50.0f, 10.0f, nullptr, true);
  EXPECT_EQ(At(50, 50), 0xFFFFFFFFu);
  EXPECT_EQ(At(50, 41), 0xFFFFFFFFu);  // centre 9.5 from the disc's centre
  EXPECT_EQ(At(50, 38), kBackground);  // 11.5 away
  const uint32_t edge = At(56, 57);    // about 9.9 away: partly covered
  EXPECT_GT(edge & 0xFF, 0u);
  EXPECT_LT(edge & 0xFF, 255u);

  Clear(kBackground);
  canvas_.FillCircle(Color{255, 255, 255, 255}, 50.0f, 50.0f, -1.0f, nullptr, true);
  canvas_.FillCircle(Color{255, 255, 255, 255}, -50.0f, -50.0f, 10.0f, nullptr, true);
  canvas_.FillCircle(Color{255, 255, 255, 255}, 20.0f, 20.0f, 3.0f, nullptr, false);
  EXPECT_EQ(At(50, 50), kBackground);
  EXPECT_EQ(At(0, 0), kBackground);
  EXPECT_EQ(At(22, 19), 0xFFFFFFFFu);  // aliased: inside or not
  EXPECT_EQ(At(23, 23), kBackground);
}

TEST_F(CanvasTest, RotationByZeroReproducesTheImageAndQuarterTurnsGoClockwise) {
  auto image = PositionImage(9, 9);
  const BitmapRef ref = RefTo(*image, 1);
  canvas_.DrawRotatedBitmap(ref, 50, 50, 0.0, nullptr, 0.0f, 0.0f);
  // left = 50 - 9 / 2 = 46
  EXPECT_EQ(At(46, 46), 0xFF000000u);
  EXPECT_EQ(At(54, 54), 0xFF000000u | 8u << 8 | 8u);
  EXPECT_EQ(At(45, 46), kBackground);

  // A quarter turn clockwise: destination (x, y) samples source (y, 9 - x), so the top
  // rows come out on the right; column 0 would sample row 9, outside the image.
  Clear(kBackground);
  canvas_.DrawRotatedBitmap(ref, 50, 50, M_PI / 2, nullptr, 0.0f, 0.0f);
  EXPECT_EQ(At(54, 50), 0xFF000000u | 1u << 8 | 4u);
  EXPECT_EQ(At(50, 54), 0xFF000000u | 5u << 8 | 8u);
  EXPECT_EQ(At(46, 50), kBackground);
}

TEST_F(CanvasTest, RotationSamplesBilinearlyWithEdgeRules) {
  PixelImage image;
  image.Resize(2, 2);
  image.SetPixel(0, 0, 0xFF000000);
  image.SetPixel(1, 0, 0xFF0000C8);
  image.SetPixel(0, 1, 0xFF006400);
  image.SetPixel(1, 1, 0xFFFF0000);
  // Half a pixel to the right and down: fx = fy = 32768, w11 = 16384, every weight 1/4.
  canvas_.DrawRotatedBitmap(RefTo(image, 1), 50, 50, 0.0, nullptr, 0.5f, 0.5f);
  // left = top = 49; blue (0 + 200 + 0 + 0) / 4, green 100 / 4, red 255 / 4
  EXPECT_EQ(At(49, 49), 0xFF3F1932u);
  // Last column: only the vertical pair: pixel (1, 0) with (1, 1).
  EXPECT_EQ(At(50, 49), 0xFF7F0064u);
  // Last pixel is taken as it is.
  EXPECT_EQ(At(50, 50), 0xFFFF0000u);
  // Positions before the image are not drawn.
  Clear(kBackground);
  canvas_.DrawRotatedBitmap(RefTo(image, 1), 50, 50, 0.0, nullptr, -0.5f, 0.0f);
  EXPECT_EQ(At(49, 49), kBackground);
  EXPECT_EQ(At(50, 49), 0xFF000064u);
}

TEST_F(CanvasTest, CropBitmapMakesAnExactAnonymousCopy) {
  auto image = PositionImage(20, 10);
  image->SetPixel(5, 2, 0x12345678);
  const size_t before = BitmapCache::Instance().EntryCount();
  const BitmapRef crop = canvas_.CropBitmap(RefTo(*image, 2), Rect{5, 2, 15, 8});
  ASSERT_NE(crop.image, nullptr);
  EXPECT_EQ(BitmapCache::Instance().EntryCount(), before + 1);
  EXPECT_EQ(crop.width, 10);
  EXPECT_EQ(crop.height, 6);
  EXPECT_EQ(crop.frames, 2);
  EXPECT_EQ(crop.image->Pixel(0, 0), 0x12345678u);
  EXPECT_EQ(crop.image->Pixel(9, 5), 0xFF000000u | 7u << 8 | 14u);
  // A crop reaching past the source is transparent there.
  const BitmapRef edge = canvas_.CropBitmap(RefTo(*image, 1), Rect{18, 8, 22, 12});
  ASSERT_NE(edge.image, nullptr);
  EXPECT_EQ(edge.image->Pixel(1, 1), 0xFF000000u | 9u << 8 | 19u);
  EXPECT_EQ(edge.image->Pixel(2, 2), 0u);
}

}  // namespace
}  // namespace velmora
