// Which renderer draws a text: the platform's own for opaque, plain text where the platform
// recommends it (Windows outside Wine), the glyph cache otherwise. The Windows side is
// proven under Wine by velmora-editorcheck; here the rule itself, with stand-in fonts.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/cached_font.h"
#include "graphics/pixel_image.h"
#include "graphics/utf8.h"

namespace velmora::testing {
namespace {

// Draws every direct text as one mark at r's top-left, and no glyphs.
class StandInFont final : public PlatformFont {
 public:
  StandInFont(int32_t lineHeight, bool direct, bool prefers)
      : lineHeight_(lineHeight), direct_(direct), prefers_(prefers) {}
  int32_t LineHeight() const override { return lineHeight_; }
  int32_t Ascent() const override { return lineHeight_; }
  bool RenderGlyph(uint32_t, GlyphImage&) override { return false; }
  bool HasDirectRenderer() const override { return direct_; }
  bool PrefersDirectRenderer() const override { return prefers_; }
  void DrawDirect(PixelImage& image, const char* text, const Rect& r,
                  const DirectTextRequest& request) override {
    image.SetPixel(r.left, r.top, request.textColour);
    lastText = text;
    lastFlags = request.drawFlags;
  }
  std::string lastText;
  uint32_t lastFlags = 0;

 private:
  int32_t lineHeight_;
  bool direct_;
  bool prefers_;
};

TEST(TextPath, OpaquePlainTextGoesToThePlatformOnlyWhereItIsPreferred) {
  CachedFont preferred(std::make_unique<StandInFont>(16, true, true));
  CachedFont wine(std::make_unique<StandInFont>(16, true, false));
  CachedFont freeType(std::make_unique<StandInFont>(16, false, false));
  const uint32_t alpha = CachedFont::kUseColourAlpha;
  EXPECT_TRUE(preferred.UsesPlatformRenderer("Text", CachedFont::kNoClip));
  EXPECT_FALSE(preferred.UsesPlatformRenderer("Text", CachedFont::kNoClip | alpha));
  EXPECT_FALSE(wine.UsesPlatformRenderer("Text", CachedFont::kNoClip));
  EXPECT_FALSE(freeType.UsesPlatformRenderer("Text", CachedFont::kNoClip));

  // Line spacing keeps multi-line text on the glyph path, unless drawn as a single line.
  preferred.lineSpacing = 3;
  EXPECT_FALSE(preferred.UsesPlatformRenderer("Two\nlines", 0));
  EXPECT_TRUE(preferred.UsesPlatformRenderer("Two\nlines", CachedFont::kSingleLine));
  EXPECT_TRUE(preferred.UsesPlatformRenderer("One line", 0));
  preferred.lineSpacing = 0;
  preferred.flags |= CachedFont::kVerticalText;
  EXPECT_FALSE(preferred.UsesPlatformRenderer("Text", 0));
  preferred.flags &= ~(CachedFont::kVerticalText | CachedFont::kPrefersPlatformRenderer);
  EXPECT_FALSE(preferred.UsesPlatformRenderer("Text", 0));
}

TEST(TextPath, FontsTooTallForTheGlyphCacheAlwaysUseAPlatformRenderer) {
  CachedFont tall(std::make_unique<StandInFont>(256, true, false));
  CachedFont limit(std::make_unique<StandInFont>(255, true, false));
  EXPECT_TRUE(tall.UsesPlatformRenderer("Big", CachedFont::kUseColourAlpha));
  EXPECT_FALSE(limit.UsesPlatformRenderer("Big", CachedFont::kUseColourAlpha));
  CachedFont tallWithoutRenderer(std::make_unique<StandInFont>(300, false, false));
  EXPECT_FALSE(tallWithoutRenderer.UsesPlatformRenderer("Big", 0));
}

TEST(TextPath, ThePlatformRendererGetsTheTextWithoutPrefixProcessing) {
  auto owned = std::make_unique<StandInFont>(16, true, true);
  StandInFont* font = owned.get();
  CachedFont cached(std::move(owned));
  cached.textColour = 0xFF123456u;
  PixelImage image;
  ASSERT_TRUE(image.Resize(20, 20));
  image.SetPixel(3, 4, 0);
  cached.DrawText(image, "R&D", Rect{3, 4, 20, 20}, CachedFont::kNoClip | CachedFont::kAlignCentre);
  EXPECT_EQ(font->lastText, "R&D");
  EXPECT_EQ(font->lastFlags,
            CachedFont::kNoClip | CachedFont::kAlignCentre | CachedFont::kNoPrefix);
  EXPECT_EQ(image.Pixel(3, 4), 0xFF123456u);
}

TEST(TextPath, OnlyRealUtf8SequencesMakeATextWide) {
  EXPECT_FALSE(HasMultiByteSequence(""));
  EXPECT_FALSE(HasMultiByteSequence("Feedback & Mix"));
  EXPECT_TRUE(HasMultiByteSequence("Caf\xC3\xA9"));
  EXPECT_TRUE(HasMultiByteSequence("\xE2\x82\xAC 5"));
  EXPECT_FALSE(HasMultiByteSequence("\xC1\xA9"));  // overlong lead byte
  EXPECT_FALSE(HasMultiByteSequence("\xF5\x80\x80\x80"));
  EXPECT_FALSE(HasMultiByteSequence("trailing \xC3"));
  EXPECT_FALSE(HasMultiByteSequence("\xE9t\xE9"));  // Latin-1, not UTF-8
}

}  // namespace
}  // namespace velmora::testing
