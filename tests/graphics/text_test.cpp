#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "graphics/cached_font.h"
#include "graphics/editor_canvas.h"
#include "graphics/font_cache.h"
#include "graphics/pixel_image.h"
#include "graphics/utf8.h"

namespace velmora {
namespace {

// A font whose every glyph is a 2 x 1 mask of coverage 255 and 128 at the line's top-left,
// advancing 10 pixels; it records which code points were asked for.
class FakeFont : public PlatformFont {
 public:
  explicit FakeFont(std::vector<uint32_t>* requests) : requests_(requests) {}
  int32_t LineHeight() const override { return 12; }
  int32_t Ascent() const override { return 9; }
  bool RenderGlyph(uint32_t codePoint, GlyphImage& out) override {
    requests_->push_back(codePoint);
    if (codePoint == 0x2603) {
      return false;  // the platform cannot draw a snowman
    }
    out.coverage = {255, 128};
    out.width = 2;
    out.height = 1;
    out.left = 0;
    out.top = 9;  // at the line's top
    out.advanceX = 10 * 64;
    out.advanceY = 0;
    return true;
  }

 private:
  std::vector<uint32_t>* requests_;
};

class GlyphPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = std::make_unique<CachedFont>(std::make_unique<FakeFont>(&requests_));
    image_.Resize(100, 40);
    Clear();
  }
  void Clear() {
    for (int32_t y = 0; y < image_.Height(); ++y) {
      for (int32_t x = 0; x < image_.Width(); ++x) {
        image_.SetPixel(x, y, kBackground);
      }
    }
  }
  static constexpr uint32_t kBackground = 0x40102030;

  std::vector<uint32_t> requests_;
  std::unique_ptr<CachedFont> font_;
  PixelImage image_;
};

TEST_F(GlyphPathTest, FullAlphaUsesTheCoverageAsWeight) {
  font_->textColour = 0xFFFFFFFF;
  font_->DrawText(image_, "A", Rect{5, 3, 50, 20}, CachedFont::kNoClip);
  // k = 255: c + (d - c) x 0 / 256 = c; alpha 255.
  EXPECT_EQ(image_.Pixel(5, 3), 0xFFFFFFFFu);
  // k = 128: c + (d - c) x 127 / 256: red 255 - 239 x 127 / 256 = 137, green 255 - 223 x 127
  // / 256 = 145, blue 255 - 207 x 127 / 256 = 153; alpha 255 - 191 x 127 / 256 = 161.
  EXPECT_EQ(image_.Pixel(6, 3), 0xA1899199u);
  EXPECT_EQ(image_.Pixel(7, 3), kBackground);
}

TEST_F(GlyphPathTest, PartialAlphaScalesTheCoverage) {
  // Alpha 100 -> t = round-down(100 / 255 x 256) = 100.
  font_->textColour = 0x64FFFFFF;
  font_->DrawText(image_, "A", Rect{5, 3, 50, 20}, CachedFont::kUseColourAlpha);
  // k = 255: h = 256 - 100 x 255 / 256 = 157; red 255 - 239 x 157 / 256 = 109,
  // green 255 - 223 x 157 / 256 = 119, blue 255 - 207 x 157 / 256 = 129, alpha
  // 255 - 191 x 157 / 256 = 138.
  EXPECT_EQ(image_.Pixel(5, 3), 0x8A6D7781u);
  // k = 128: h = 256 - 50 = 206; red 255 - 239 x 206 / 256 = 63.
  EXPECT_EQ((image_.Pixel(6, 3) >> 16) & 0xFF, 63u);

  // Alpha 254 goes the glyph path at t = 254, not at full strength.
  Clear();
  font_->textColour = 0xFEFFFFFF;
  font_->DrawText(image_, "A", Rect{5, 3, 50, 20}, CachedFont::kUseColourAlpha);
  // h = 256 - 254 x 255 / 256 = 3: red 255 - 239 x 3 / 256 = 253
  EXPECT_EQ((image_.Pixel(5, 3) >> 16) & 0xFF, 253u);

  Clear();
  font_->textColour = 0x00FFFFFF;
  font_->DrawText(image_, "A", Rect{5, 3, 50, 20}, CachedFont::kUseColourAlpha);
  EXPECT_EQ(image_.Pixel(5, 3), kBackground);
}

TEST_F(GlyphPathTest, AlignmentLinesAndControlCharacters) {
  font_->textColour = 0xFFFFFFFF;
  // Two glyphs, 20 pixels wide: centred in 0..100 starts at 40, right-aligned at 80.
  font_->DrawText(image_, "ab", Rect{0, 0, 100, 20}, CachedFont::kAlignCentre);
  EXPECT_EQ(image_.Pixel(40, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image_.Pixel(50, 0), 0xFFFFFFFFu);
  font_->DrawText(image_, "ab", Rect{0, 0, 100, 20}, CachedFont::kAlignRight);
  EXPECT_EQ(image_.Pixel(80, 0), 0xFFFFFFFFu);
  EXPECT_EQ(font_->MeasureWidth("abc\nd", 0), 30);

  // Carriage return is skipped; line feed starts a new line at line height + spacing.
  Clear();
  font_->lineSpacing = 2;
  font_->DrawText(image_, "a\r\nb", Rect{3, 1, 50, 20}, 0);
  EXPECT_EQ(image_.Pixel(3, 1), 0xFFFFFFFFu);
  EXPECT_EQ(image_.Pixel(3, 15), 0xFFFFFFFFu);
  EXPECT_EQ(image_.Pixel(13, 1), kBackground);
  // Single-line text counts a line feed as a space.
  Clear();
  font_->DrawText(image_, "a\nb", Rect{3, 1, 50, 20}, CachedFont::kSingleLine);
  EXPECT_EQ(image_.Pixel(23, 1), 0xFFFFFFFFu);
  EXPECT_EQ(std::count(requests_.begin(), requests_.end(), '\r'), 0);
}

TEST_F(GlyphPathTest, Utf8AmpersandAndUnrenderableGlyphs) {
  font_->textColour = 0xFFFFFFFF;
  // "&x", e acute, a snowman the platform cannot render, then "z".
  font_->DrawText(image_, "&x\xC3\xA9\xE2\x98\x83z", Rect{0, 0, 100, 20}, 0);
  EXPECT_EQ(requests_, (std::vector<uint32_t>{'&', 'x', 0xE9, 0x2603, 'z'}));
  // The ampersand is a glyph like any other; the snowman is skipped without advancing.
  EXPECT_EQ(image_.Pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image_.Pixel(30, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image_.Pixel(40, 0), kBackground);
  // Every glyph is rendered once per font.
  font_->DrawText(image_, "&x\xC3\xA9\xE2\x98\x83z", Rect{0, 20, 100, 40}, 0);
  EXPECT_EQ(requests_.size(), 5u);
  EXPECT_EQ(font_->RenderedGlyphCount(), 4u);
}

TEST_F(GlyphPathTest, ExtraGlyphsStaySortedAndReplacingTheFontClearsThem) {
  for (uint32_t cp : {0x3A9u, 0xE9u, 0x1F600u, 0x100u}) {
    ASSERT_NE(font_->FindGlyph(cp), nullptr);
  }
  EXPECT_NE(font_->FindGlyph(0xE9), nullptr);
  EXPECT_EQ(requests_.size(), 4u);
  font_->ReplacePlatformFont(std::make_unique<FakeFont>(&requests_));
  EXPECT_EQ(font_->RenderedGlyphCount(), 0u);
  font_->FindGlyph(0xE9);
  EXPECT_EQ(requests_.size(), 5u);
}

TEST(Utf8Test, DecodesAndReplacesMalformedSequences) {
  const char* text = "a\xC3\xA9\xF0\x9F\x98\x80\xC0\xAF\xE2\x82";
  EXPECT_EQ(NextCodePoint(text), 'a');
  EXPECT_EQ(NextCodePoint(text), 0xE9u);
  EXPECT_EQ(NextCodePoint(text), 0x1F600u);
  EXPECT_EQ(NextCodePoint(text), kReplacementCharacter);  // overlong lead byte
  EXPECT_EQ(NextCodePoint(text), kReplacementCharacter);  // stray continuation
  EXPECT_EQ(NextCodePoint(text), kReplacementCharacter);  // truncated sequence
  EXPECT_EQ(NextCodePoint(text), kReplacementCharacter);
  EXPECT_EQ(*text, '\0');
}

TextStyle MakeStyle(const char* face, int32_t size, int32_t alpha, int32_t alignment) {
  TextStyle style;
  std::strncpy(style.face, face, sizeof(style.face) - 1);
  style.size = size;
  style.colour = Color{alpha, 255, 255, 255};
  style.alignment = alignment;
  return style;
}

class StyledTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(canvas_.CreateSurface(200, 60));
    for (int32_t y = 0; y < 60; ++y) {
      for (int32_t x = 0; x < 200; ++x) {
        canvas_.Surface()->SetPixel(x, y, 0xFF000000);
      }
    }
  }
  int CountLit(const Rect& r) {
    int lit = 0;
    for (int32_t y = r.top; y < r.bottom; ++y) {
      for (int32_t x = r.left; x < r.right; ++x) {
        lit += (canvas_.Surface()->Pixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
      }
    }
    return lit;
  }
  EditorCanvas canvas_;
};

TEST_F(StyledTextTest, EmptyTextReturnsTrueWithoutAFont) {
  TextStyle style = MakeStyle("Verdana", 13, 100, 0);
  EXPECT_TRUE(canvas_.DrawStyledText(style, "", Rect{0, 0, 50, 20}));
  EXPECT_TRUE(canvas_.DrawStyledText(style, nullptr, Rect{0, 0, 50, 20}));
  EXPECT_EQ(style.cachedFont, nullptr);
  EXPECT_EQ(CountLit(Rect{0, 0, 200, 60}), 0);
}

TEST_F(StyledTextTest, StylesShareFontsByKeyOnly) {
  TextStyle caption = MakeStyle("Verdana", 13, 100, 0);
  TextStyle captionRight = MakeStyle("Verdana", 13, 230, 2);
  TextStyle bigger = MakeStyle("Verdana", 14, 100, 0);
  TextStyle bold = MakeStyle("Verdana", 13, 100, 0);
  bold.style = TextStyle::kBold;
  ASSERT_TRUE(canvas_.DrawStyledText(caption, "x", Rect{0, 0, 50, 20}));
  ASSERT_TRUE(canvas_.DrawStyledText(captionRight, "x", Rect{0, 0, 50, 20}));
  ASSERT_TRUE(canvas_.DrawStyledText(bigger, "x", Rect{0, 0, 50, 20}));
  ASSERT_TRUE(canvas_.DrawStyledText(bold, "x", Rect{0, 0, 50, 20}));
  EXPECT_EQ(caption.cachedFont, captionRight.cachedFont);
  EXPECT_NE(caption.cachedFont, bigger.cachedFont);
  EXPECT_NE(caption.cachedFont, bold.cachedFont);
  EXPECT_EQ(caption.cachedFont->LineHeight(), 13);
  TextStyle again = MakeStyle("Verdana", 13, 255, 1);
  ASSERT_TRUE(canvas_.DrawStyledText(again, "x", Rect{0, 0, 50, 20}));
  EXPECT_EQ(again.cachedFont, caption.cachedFont);
}

TEST(FontCacheTest, ConcurrentFirstUsesShareOneFont) {
  constexpr int kThreads = 4;
  std::vector<CachedFont*> fonts(kThreads, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&fonts, i] {
      TextStyle style = MakeStyle("Arial", 21, 100 + i, i % 3);
      fonts[i] = FontCache::Instance().Acquire(style);
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  ASSERT_NE(fonts[0], nullptr);
  for (CachedFont* font : fonts) {
    EXPECT_EQ(font, fonts[0]);
  }
}

TEST_F(StyledTextTest, EditorStylesDrawLegibleTextNotClippedToTheRect) {
  TextStyle value = MakeStyle("Arial", 16, 230, 1);
  ASSERT_TRUE(canvas_.DrawStyledText(value, "120.0ms", Rect{50, 10, 90, 26}));
  // Centred on 70, wider than the 40-pixel rectangle, and within one line height.
  EXPECT_GT(CountLit(Rect{50, 10, 90, 26}), 30);
  EXPECT_GT(CountLit(Rect{30, 10, 50, 26}), 0);
  EXPECT_GT(CountLit(Rect{90, 10, 110, 26}), 0);
  EXPECT_EQ(CountLit(Rect{0, 0, 200, 10}), 0);
  EXPECT_EQ(CountLit(Rect{0, 27, 200, 60}), 0);
  // The translucent colour never reaches full white.
  uint32_t brightest = 0;
  for (int32_t x = 0; x < 200; ++x) {
    for (int32_t y = 0; y < 60; ++y) {
      brightest = std::max(brightest, (canvas_.Surface()->Pixel(x, y) >> 16) & 0xFF);
    }
  }
  EXPECT_GT(brightest, 200u);
  EXPECT_LT(brightest, 255u);
}

TEST_F(StyledTextTest, TextRunningOffTheSurfaceIsClippedSafely) {
  TextStyle style = MakeStyle("Arial", 16, 255, 0);
  style.style = TextStyle::kBold | TextStyle::kItalic;
  EXPECT_TRUE(canvas_.DrawStyledText(style, "Feedback Feedback Feedback", Rect{150, 50, 200, 60}));
  EXPECT_TRUE(canvas_.DrawStyledText(style, "Left", Rect{-20, -8, 10, 10}));
  TextStyle turned = MakeStyle("Verdana", 13, 255, 0);
  turned.orientation = 90;
  EXPECT_TRUE(canvas_.DrawStyledText(turned, "Up", Rect{100, 40, 150, 60}));
  EXPECT_GT(CountLit(Rect{0, 0, 200, 60}), 0);
}

}  // namespace
}  // namespace velmora
