#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "graphics/blend.h"
#include "graphics/platform_font.h"
#include "graphics/rect.h"

namespace velmora {

class PixelImage;

// A platform font with its glyphs cached as 8-bit coverage masks: each glyph is rendered
// once by the platform and afterwards composited from its mask. Code points below 128 are
// found by direct indexing, others by bisection in a sorted list. Fonts live in the
// process-wide font cache; only the editor window's thread draws, so no lock is taken here.
class CachedFont {
 public:
  // Drawing flags (the values of the platform text API they stand for).
  static constexpr uint32_t kAlignCentre = 0x1;
  static constexpr uint32_t kAlignRight = 0x2;
  static constexpr uint32_t kSingleLine = 0x20;
  static constexpr uint32_t kNoClip = 0x100;
  static constexpr uint32_t kMeasure = 0x400;
  static constexpr uint32_t kUseColourAlpha = 0x40000000;

  // Font flags.
  static constexpr uint32_t kVerticalText = 0x3;
  static constexpr uint32_t kEffects = 0x1F0;
  static constexpr uint32_t kOwnsPlatformFont = 0x200;
  static constexpr uint32_t kPrefersPlatformRenderer = 0x400;
  // Drawing flag the platform renderer always gets: "&" is shown, not an accelerator mark.
  static constexpr uint32_t kNoPrefix = 0x800;

  static constexpr int32_t kBackgroundTransparent = 1;
  static constexpr int32_t kBackgroundOpaque = 2;

  // Masks of fonts taller than this are not rendered.
  static constexpr int32_t kMaxGlyphLineHeight = 1023;
  // Fonts taller than this are drawn by the platform renderer whenever there is one.
  static constexpr int32_t kMaxCachedGlyphHeight = 255;

  struct Glyph {
    int32_t offset = 0;  // into the glyph store; 0 = not rendered yet, negative = unavailable
    int32_t width = 0;
    int32_t height = 0;
    int32_t advanceX = 0;  // 1/64 pixel
    int32_t advanceY = 0;
    int32_t left = 0;            // mask's left edge from the pen
    int32_t verticalOffset = 0;  // mask's top edge below the line's top
  };

  explicit CachedFont(std::unique_ptr<PlatformFont> font);

  uint32_t textColour = 0;
  int32_t backgroundColour = -1;  // -1: none
  int32_t effectColour = -1;
  int32_t backgroundMode = kBackgroundTransparent;
  PixelMode combineMode = PixelMode::kNormal;
  float combineAlpha = 1.0f;
  uint32_t flags = kOwnsPlatformFont | kPrefersPlatformRenderer;
  int32_t lineSpacing = 0;

  int32_t LineHeight() const { return lineHeight_; }
  bool HasPlatformFont() const { return font_ != nullptr; }

  // Swaps the platform font: every cached glyph is dropped and the line height re-measured.
  void ReplacePlatformFont(std::unique_ptr<PlatformFont> font);

  // The glyph of a code point, rendered on first use; null when it cannot be rendered.
  const Glyph* FindGlyph(uint32_t codePoint);
  const uint8_t* Coverage(const Glyph& glyph) const { return store_.data() + glyph.offset; }

  // Width in pixels of the widest line of the UTF-8 text.
  int32_t MeasureWidth(const char* text, uint32_t drawFlags);

  // Draws the UTF-8 text in textColour with its top-left at r's top-left, aligned within
  // r's width as the flags say, clipped to the image only: by the platform renderer when
  // UsesPlatformRenderer says so, otherwise through the glyph cache.
  void DrawText(PixelImage& image, const char* text, const Rect& r, uint32_t drawFlags);

  // The platform renderer draws opaque, plain text with a font that prefers it, where the
  // platform recommends its renderer (not under Wine on Windows), and any text of a font
  // too tall to cache glyphs for; everything else goes through the glyph cache.
  bool UsesPlatformRenderer(const char* text, uint32_t drawFlags) const;

  // Number of glyphs rendered so far (direct and extra).
  size_t RenderedGlyphCount() const;

 private:
  void DrawGlyphs(PixelImage& image, const char* text, const Rect& r, uint32_t drawFlags);
  Glyph* SlotFor(uint32_t codePoint);
  void Render(uint32_t codePoint, Glyph& glyph);
  void CompositeGlyph(PixelImage& image, const Glyph& glyph, int32_t x, int32_t y, int32_t t);

  std::unique_ptr<PlatformFont> font_;
  int32_t lineHeight_ = 0;
  int32_t ascent_ = 0;
  // Unit vector from a line's top towards its baseline (down the page for upright text).
  double downX_ = 0.0;
  double downY_ = 1.0;
  Glyph direct_[128]{};
  std::vector<std::pair<uint32_t, Glyph>> extra_;
  std::vector<uint8_t> store_;
};

}  // namespace velmora
