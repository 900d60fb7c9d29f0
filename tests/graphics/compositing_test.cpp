#include <gtest/gtest.h>

#include <memory>

#include "graphics/blit_image.h"
#include "graphics/pixel_image.h"
#include "graphics/rect.h"

namespace velmora {
namespace {

std::unique_ptr<PixelImage> Filled(int32_t width, int32_t height, uint32_t value) {
  auto image = std::make_unique<PixelImage>();
  image->Resize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      image->SetPixel(x, y, value);
    }
  }
  return image;
}

// Composites one source pixel onto one destination pixel.
uint32_t BlitOne(uint32_t source, uint32_t destination, PixelMode mode, float weight) {
  auto src = Filled(1, 1, source);
  auto dst = Filled(1, 1, destination);
  BlitImage(*dst, *src, 0, 0, 0, 0, 1, 1, PixelBlend{mode, weight});
  return dst->Pixel(0, 0);
}

TEST(RectTest, IntersectionAndUnionFollowTheEmptyRules) {
  const Rect a{0, 0, 10, 10};
  const Rect b{5, 5, 20, 20};
  EXPECT_EQ(IntersectRects(a, b), (Rect{5, 5, 10, 10}));
  EXPECT_EQ(UniteRects(a, b), (Rect{0, 0, 20, 20}));
  // Touching edges do not overlap; an empty operand empties the intersection.
  EXPECT_TRUE(IntersectRects(a, Rect{10, 0, 20, 10}).IsEmpty());
  EXPECT_TRUE(IntersectRects(a, Rect{}).IsEmpty());
  EXPECT_EQ(UniteRects(Rect{}, b), b);
  EXPECT_EQ(UniteRects(a, Rect{}), a);
  // Only all four zeros is empty: a zero-origin rectangle is a real area.
  EXPECT_FALSE((Rect{0, 0, 1, 1}).IsEmpty());
}

TEST(PixelImageTest, RowSpanIsWidthRoundedUpToFourAndGrowthKeepsLargerMemory) {
  PixelImage image;
  ASSERT_TRUE(image.Resize(5, 3));
  EXPECT_EQ(image.Span(), 8);
  const size_t capacity = image.Memory().CapacityPixels();
  EXPECT_EQ(capacity, 24u + 24u / 4);  // 5/4 of the need
  ASSERT_TRUE(image.Resize(4, 2));
  EXPECT_EQ(image.Memory().CapacityPixels(), capacity);  // shrinking keeps the memory
}

TEST(BlitImageTest, NormalModeAtFullWeight) {
  const uint32_t dst = 0x64325A78;  // alpha 100, red 50, green 90, blue 120
  EXPECT_EQ(BlitOne(0x00FFFFFF, dst, PixelMode::kNormal, 1.0f), dst);  // zero alpha
  EXPECT_EQ(BlitOne(0xFF102030, dst, PixelMode::kNormal, 1.0f), 0xFF102030u);
  // sA = 128: s + (d - s) x 127 / 256, truncating; alpha min(255, 100 + 128).
  // red 200 -> 200 + (50 - 200) x 127 / 256 = 200 - 74 = 126
  // green 10 -> 10 + 80 x 127 / 256 = 10 + 39 = 49; blue 0 -> 0 + 120 x 127 / 256 = 59
  EXPECT_EQ(BlitOne(0x80C80A00, dst, PixelMode::kNormal, 1.0f), 0xE47E313Bu);
  EXPECT_EQ(BlitOne(0xC8000000, 0xC8000000, PixelMode::kNormal, 1.0f) >> 24, 255u);
}

TEST(BlitImageTest, NormalModeBelowFullWeight) {
  const uint32_t dst = 0x64325A78;
  // weight 0.5 -> w 128; sA 255 -> a = 128 x 256 / 256 = 128.
  // red 200 + (50 - 200) x 128 / 256 = 125; alpha min(255, 100 + 128) = 228
  EXPECT_EQ(BlitOne(0xFFC80A00, dst, PixelMode::kNormal, 0.5f), 0xE47D323Cu);
  EXPECT_EQ(BlitOne(0x00C80A00, dst, PixelMode::kNormal, 0.5f), dst);
  // weight 0.3 -> w 76; sA 99 -> a = 76 x 100 / 256 = 29; red 200 + (-150) x 227 / 256 = 67
  EXPECT_EQ((BlitOne(0x63C80A00, dst, PixelMode::kNormal, 0.3f) >> 16) & 0xFF, 67u);
  EXPECT_EQ(BlitOne(0x63C80A00, dst, PixelMode::kNormal, 0.3f) >> 24, 129u);
}

TEST(BlitImageTest, CopyModeIgnoresSourceAlpha) {
  EXPECT_EQ(BlitOne(0x00123456, 0xFFFFFFFF, PixelMode::kCopy, 1.0f), 0x00123456u);
  // Exactly one half averages per byte.
  EXPECT_EQ(BlitOne(0x80FF0203, 0x40010305, PixelMode::kCopy, 0.5f), 0x607F0203u);
  // weight 0.25 -> w 64: s + (d - s) x 192 / 256 per byte, alpha included.
  // alpha 0 + 255 x 192 / 256 = 191; red 200 + (0 - 200) x 192 / 256 = 50
  EXPECT_EQ(BlitOne(0x00C80000, 0xFF000000, PixelMode::kCopy, 0.25f), 0xBF320000u);
}

TEST(BlitImageTest, AddAndDodgeModes) {
  // add, w 256, sA 255 -> a 256: d + s, capped at 255, on every channel.
  EXPECT_EQ(BlitOne(0xFF80C010, 0x10905010, PixelMode::kAdd, 1.0f), 0xFFFFFF20u);
  EXPECT_EQ(BlitOne(0x00FFFFFF, 0x10203040, PixelMode::kAdd, 1.0f), 0x10203040u);
  // add, sA 127 -> a = 256 x 128 / 256 = 128: d + 128 x s / 256.
  EXPECT_EQ(BlitOne(0x7F804020, 0x00000000, PixelMode::kAdd, 1.0f), 0x3F402010u);
  // dodge, sA 255 -> a 256: t = s; d x 256 / (256 - t); t > 254 saturates non-zero d.
  EXPECT_EQ(BlitOne(0xFFFF8000, 0x00401020, PixelMode::kDodge, 1.0f), 0x00FF2020u);
  EXPECT_EQ(BlitOne(0xFFFF0000, 0x00000000, PixelMode::kDodge, 1.0f), 0x00000000u);
}

TEST(BlitImageTest, ZeroWeightDrawsNothing) {
  EXPECT_EQ(BlitOne(0xFF102030, 0x11223344, PixelMode::kCopy, 0.0f), 0x11223344u);
  EXPECT_EQ(BlitOne(0xFF102030, 0x11223344, PixelMode::kNormal, 0.0f), 0x11223344u);
}

TEST(BlitImageTest, NegativePositionsShiftBothSides) {
  PixelImage source;
  source.Resize(4, 4);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      source.SetPixel(x, y, static_cast<uint32_t>(y * 16 + x));
    }
  }
  auto dest = Filled(3, 3, 0xEEEEEEEE);
  // Destination -1, -1: the copy starts at source (1, 1) into destination (0, 0).
  BlitImage(*dest, source, -1, -1, 0, 0, 4, 4, PixelBlend{PixelMode::kCopy, 1.0f});
  EXPECT_EQ(dest->Pixel(0, 0), 0x11u);
  EXPECT_EQ(dest->Pixel(2, 2), 0x33u);
  // Source -2: destination moves by 2 as well; only one column is left.
  auto second = Filled(3, 3, 0xEEEEEEEE);
  BlitImage(*second, source, 0, 0, -2, 0, 3, 1, PixelBlend{PixelMode::kCopy, 1.0f});
  EXPECT_EQ(second->Pixel(0, 0), 0xEEEEEEEEu);
  EXPECT_EQ(second->Pixel(1, 0), 0xEEEEEEEEu);
  EXPECT_EQ(second->Pixel(2, 0), 0x00u);
}

}  // namespace
}  // namespace velmora
