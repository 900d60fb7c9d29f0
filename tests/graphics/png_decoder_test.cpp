#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "graphics/pixel_image.h"
#include "graphics/png_decoder.h"
#include "tests/graphics/png_writer.h"

namespace velmora {
namespace {

using test::EncodePng;
using test::PngRecipe;

std::unique_ptr<PixelImage> Decode(const PngRecipe& recipe) {
  const std::vector<uint8_t> bytes = EncodePng(recipe);
  EXPECT_FALSE(bytes.empty());
  return DecodePng(bytes.data(), bytes.size());
}

PngRecipe OneRow(int width, int colourType, int bitDepth, std::vector<uint8_t> row) {
  PngRecipe recipe;
  recipe.width = width;
  recipe.colourType = colourType;
  recipe.bitDepth = bitDepth;
  recipe.rows = {std::move(row)};
  return recipe;
}

TEST(PngDecoderTest, GreyOfEveryDepthBecomesOpaqueRgb) {
  // 1 bit: 1, 0 -> 255, 0
  auto one = Decode(OneRow(2, PNG_COLOR_TYPE_GRAY, 1, {0x80}));
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->Pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(one->Pixel(1, 0), 0xFF000000u);
  // 2 bits: 2 -> 170; 4 bits: 5 -> 85
  auto two = Decode(OneRow(1, PNG_COLOR_TYPE_GRAY, 2, {0x80}));
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->Pixel(0, 0), 0xFFAAAAAAu);
  auto four = Decode(OneRow(1, PNG_COLOR_TYPE_GRAY, 4, {0x50}));
  ASSERT_NE(four, nullptr);
  EXPECT_EQ(four->Pixel(0, 0), 0xFF555555u);
  auto eight = Decode(OneRow(1, PNG_COLOR_TYPE_GRAY, 8, {0x42}));
  ASSERT_NE(eight, nullptr);
  EXPECT_EQ(eight->Pixel(0, 0), 0xFF424242u);
  // 16 bits keep the high byte.
  auto sixteen = Decode(OneRow(1, PNG_COLOR_TYPE_GRAY, 16, {0x9A, 0xFF}));
  ASSERT_NE(sixteen, nullptr);
  EXPECT_EQ(sixteen->Pixel(0, 0), 0xFF9A9A9Au);
}

TEST(PngDecoderTest, GreyAlphaRgbAndRgbaKeepTheirChannels) {
  auto greyAlpha = Decode(OneRow(1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x30, 0x80}));
  ASSERT_NE(greyAlpha, nullptr);
  EXPECT_EQ(greyAlpha->Pixel(0, 0), 0x80303030u);
  auto greyAlpha16 = Decode(OneRow(1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0x30, 1, 0x80, 2}));
  ASSERT_NE(greyAlpha16, nullptr);
  EXPECT_EQ(greyAlpha16->Pixel(0, 0), 0x80303030u);
  auto rgb = Decode(OneRow(2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6}));
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb->Pixel(0, 0), 0xFF010203u);
  EXPECT_EQ(rgb->Pixel(1, 0), 0xFF040506u);
  auto rgb16 = Decode(OneRow(1, PNG_COLOR_TYPE_RGB, 16, {1, 9, 2, 9, 3, 9}));
  ASSERT_NE(rgb16, nullptr);
  EXPECT_EQ(rgb16->Pixel(0, 0), 0xFF010203u);
  auto rgba = Decode(OneRow(1, PNG_COLOR_TYPE_RGBA, 8, {0x10, 0x20, 0x30, 0x40}));
  ASSERT_NE(rgba, nullptr);
  EXPECT_EQ(rgba->Pixel(0, 0), 0x40102030u);
  auto rgba16 = Decode(OneRow(1, PNG_COLOR_TYPE_RGBA, 16, {0x10, 0, 0x20, 0, 0x30, 0, 0x40, 0}));
  ASSERT_NE(rgba16, nullptr);
  EXPECT_EQ(rgba16->Pixel(0, 0), 0x40102030u);
}

TEST(PngDecoderTest, PalettesExpandAndTransparencyBecomesAlpha) {
  PngRecipe palette = OneRow(4, PNG_COLOR_TYPE_PALETTE, 2, {0x1B});  // indices 0, 1, 2, 3
  palette.paletteRgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  auto opaque = Decode(palette);
  ASSERT_NE(opaque, nullptr);
  EXPECT_EQ(opaque->Pixel(0, 0), 0xFF0A141Eu);
  EXPECT_EQ(opaque->Pixel(3, 0), 0xFF646E78u);

  palette.transparencyAlphas = {0, 128};  // entries beyond stay opaque
  auto translucent = Decode(palette);
  ASSERT_NE(translucent, nullptr);
  EXPECT_EQ(translucent->Pixel(0, 0), 0x000A141Eu);
  EXPECT_EQ(translucent->Pixel(1, 0), 0x8028323Cu);
  EXPECT_EQ(translucent->Pixel(2, 0), 0xFF46505Au);

  PngRecipe grey = OneRow(2, PNG_COLOR_TYPE_GRAY, 8, {7, 8});
  grey.hasTransparentColour = true;
  grey.transparentGrey = 7;
  auto keyedGrey = Decode(grey);
  ASSERT_NE(keyedGrey, nullptr);
  EXPECT_EQ(keyedGrey->Pixel(0, 0), 0x00070707u);
  EXPECT_EQ(keyedGrey->Pixel(1, 0), 0xFF080808u);

  PngRecipe rgb = OneRow(2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6});
  rgb.hasTransparentColour = true;
  rgb.transparentRed = 4;
  rgb.transparentGreen = 5;
  rgb.transparentBlue = 6;
  auto keyedRgb = Decode(rgb);
  ASSERT_NE(keyedRgb, nullptr);
  EXPECT_EQ(keyedRgb->Pixel(0, 0), 0xFF010203u);
  EXPECT_EQ(keyedRgb->Pixel(1, 0), 0x00040506u);
}

TEST(PngDecoderTest, SizeAndRowSpanFollowTheImage) {
  PngRecipe recipe;
  recipe.width = 5;
  recipe.height = 3;
  recipe.colourType = PNG_COLOR_TYPE_RGB;
  for (int y = 0; y < 3; ++y) {
    std::vector<uint8_t> row(5 * 3, 0);
    for (int x = 0; x < 5; ++x) {
      row[3 * x] = static_cast<uint8_t>(x);
      row[3 * x + 1] = static_cast<uint8_t>(y);
    }
    recipe.rows.push_back(row);
  }
  auto image = Decode(recipe);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 5);
  EXPECT_EQ(image->Height(), 3);
  EXPECT_EQ(image->Span(), 8);
  EXPECT_EQ(image->Pixel(4, 2), 0xFF040200u);
}

TEST(PngDecoderTest, BrokenDataGivesNoImage) {
  const std::vector<uint8_t> good = EncodePng(OneRow(2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6}));
  ASSERT_NE(DecodePng(good.data(), good.size()), nullptr);
  EXPECT_EQ(DecodePng(nullptr, 100), nullptr);
  EXPECT_EQ(DecodePng(good.data(), 7), nullptr);
  // Cut inside the header, inside the image data, and just before the end chunk.
  for (size_t length : {size_t{20}, size_t{40}, good.size() - 13}) {
    EXPECT_EQ(DecodePng(good.data(), length), nullptr) << length;
  }
  std::vector<uint8_t> badSignature = good;
  badSignature[1] = 'X';
  EXPECT_EQ(DecodePng(badSignature.data(), badSignature.size()), nullptr);
  // A damaged header chunk fails its checksum.
  std::vector<uint8_t> badHeader = good;
  badHeader[17] ^= 0x40;
  EXPECT_EQ(DecodePng(badHeader.data(), badHeader.size()), nullptr);
  // Damaged compressed data.
  std::vector<uint8_t> badData = good;
  for (size_t i = 41; i < 50 && i < badData.size(); ++i) {
    badData[i] = 0xFF;
  }
  EXPECT_EQ(DecodePng(badData.data(), badData.size()), nullptr);
  const std::vector<uint8_t> noise(300, 0x5A);
  EXPECT_EQ(DecodePng(noise.data(), noise.size()), nullptr);
}

TEST(PngDecoderTest, ImpossibleSizesAreRefusedBeforeAllocation) {
  PngRecipe recipe = OneRow(1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3});
  std::vector<uint8_t> bytes = EncodePng(recipe);
  // Claim a width of 100000 pixels in the header (bytes 16..19) and fix its checksum.
  bytes[16] = 0, bytes[17] = 0x01, bytes[18] = 0x86, bytes[19] = 0xA0;
  const uLong crc = crc32(crc32(0, nullptr, 0), bytes.data() + 12, 17);
  bytes[29] = static_cast<uint8_t>(crc >> 24), bytes[30] = static_cast<uint8_t>(crc >> 16);
  bytes[31] = static_cast<uint8_t>(crc >> 8), bytes[32] = static_cast<uint8_t>(crc);
  EXPECT_EQ(DecodePng(bytes.data(), bytes.size()), nullptr);
}

}  // namespace
}  // namespace velmora
