#include "graphics/cached_font.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/pixel_compositing.h"
#include "graphics/pixel_image.h"
#include "graphics/utf8.h"

namespace velmora {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr uint32_t kCarriageReturn = 13;
constexpr uint32_t kLineFeed = 10;

// Glyph-path compositing of one colour channel: k is the mask's coverage, t the text's
// integer alpha (0..256). At full alpha the coverage itself is the weight.
int32_t GlyphChannel(int32_t c, int32_t d, int32_t k, int32_t t) {
  if (t == 256) {
    return c + (d - c) * (255 - k) / 256;
  }
  const int32_t h = 256 - std::min(256, t * k / 256);
  return c + (d - c) * h / 256;
}

}  // namespace

CachedFont::CachedFont(std::unique_ptr<PlatformFont> font) {
  ReplacePlatformFont(std::move(font));
}

void CachedFont::ReplacePlatformFont(std::unique_ptr<PlatformFont> font) {
  font_ = std::move(font);
  lineHeight_ = font_ ? font_->LineHeight() : 0;
  ascent_ = font_ ? font_->Ascent() : 0;
  const double angle = (font_ ? font_->Orientation() : 0) * kRadiansPerDegree;
  downX_ = font_ && font_->Orientation() != 0 ? std::sin(angle) : 0.0;
  downY_ = font_ && font_->Orientation() != 0 ? std::cos(angle) : 1.0;
  std::fill(std::begin(direct_), std::end(direct_), Glyph{});
  extra_.clear();
  // Offset 0 means "not rendered yet", so the store starts with one unused byte.
  store_.assign(1, 0);
}

CachedFont::Glyph* CachedFont::SlotFor(uint32_t codePoint) {
  if (codePoint < 128) {
    return &direct_[codePoint];
  }
  auto it = std::lower_bound(extra_.begin(), extra_.end(), codePoint,
                             [](const auto& entry, uint32_t cp) { return entry.first < cp; });
  if (it == extra_.end() || it->first != codePoint) {
    it = extra_.insert(it, {codePoint, Glyph{}});
  }
  return &it->second;
}

const CachedFont::Glyph* CachedFont::FindGlyph(uint32_t codePoint) {
  Glyph* glyph = SlotFor(codePoint);
  if (glyph->offset == 0) {
    Render(codePoint, *glyph);
  }
  return glyph->offset > 0 ? glyph : nullptr;
}

void CachedFont::Render(uint32_t codePoint, Glyph& glyph) {
  glyph.offset = -1;
  GlyphImage image;
  if (!font_ || lineHeight_ > kMaxGlyphLineHeight || !font_->RenderGlyph(codePoint, image)) {
    return;
  }
  // A glyph that neither advances nor has height is useless to the pen.
  if ((image.advanceX < 64 && image.advanceY < 64 && image.advanceY > -64) || lineHeight_ < 1) {
    return;
  }
  glyph.offset = static_cast<int32_t>(store_.size());
  glyph.width = image.width;
  glyph.height = image.height;
  glyph.advanceX = image.advanceX;
  glyph.advanceY = image.advanceY;
  glyph.left = image.left;
  glyph.verticalOffset = image.top;
  store_.insert(store_.end(), image.coverage.begin(), image.coverage.end());
}

size_t CachedFont::RenderedGlyphCount() const {
  size_t count = 0;
  for (const Glyph& glyph : direct_) {
    count += glyph.offset > 0 ? 1 : 0;
  }
  for (const auto& entry : extra_) {
    count += entry.second.offset > 0 ? 1 : 0;
  }
  return count;
}

int32_t CachedFont::MeasureWidth(const char* text, uint32_t drawFlags) {
  int64_t widest = 0;
  int64_t pen = 0;
  while (*text != '\0') {
    uint32_t cp = NextCodePoint(text);
    if (cp == kCarriageReturn) {
      continue;
    }
    if (cp == kLineFeed) {
      if ((drawFlags & kSingleLine) == 0) {
        pen = 0;
        continue;
      }
      cp = ' ';
    }
    if (const Glyph* glyph = FindGlyph(cp)) {
      // Length along the baseline, whatever the text's orientation.
      pen += std::llround(glyph->advanceX * downY_ - glyph->advanceY * downX_);
      widest = std::max(widest, pen);
    }
  }
  return static_cast<int32_t>((widest + 32) >> 6);
}

bool CachedFont::UsesPlatformRenderer(const char* text, uint32_t drawFlags) const {
  if (!font_ || !font_->HasDirectRenderer()) {
    return false;
  }
  if (lineHeight_ > kMaxCachedGlyphHeight) {
    return true;
  }
  const bool singleLine = (drawFlags & kSingleLine) != 0 || std::strchr(text, '\n') == nullptr;
  return (flags & kPrefersPlatformRenderer) != 0 && font_->PrefersDirectRenderer() &&
         (drawFlags & kUseColourAlpha) == 0 && (flags & (kVerticalText | kEffects)) == 0 &&
         (lineSpacing == 0 || singleLine);
}

void CachedFont::DrawText(PixelImage& image, const char* text, const Rect& r, uint32_t drawFlags) {
  if (!UsesPlatformRenderer(text, drawFlags)) {
    DrawGlyphs(image, text, r, drawFlags);
    return;
  }
  DirectTextRequest request;
  request.drawFlags = (drawFlags & ~kUseColourAlpha) | kNoPrefix;
  request.textColour = textColour;
  request.backgroundMode = backgroundMode;
  request.backgroundColour = backgroundColour;
  font_->DrawDirect(image, text, r, request);
}

void CachedFont::DrawGlyphs(PixelImage& image, const char* text, const Rect& r,
                            uint32_t drawFlags) {
  float alpha = combineAlpha;
  if ((drawFlags & kUseColourAlpha) != 0) {
    alpha = combineAlpha * static_cast<float>((textColour >> 24) & 0xFF) / 255.0f;
  }
  const int32_t t = WeightTo256(alpha);
  if (t <= 0) {
    return;
  }
  int32_t startX = r.left;
  if ((drawFlags & (kAlignCentre | kAlignRight)) != 0) {
    const int32_t width = MeasureWidth(text, drawFlags);
    startX = (drawFlags & kAlignCentre) != 0 ? (r.left + r.right - width) / 2 : r.right - width;
  }
  // Pen in 1/64 pixel so that rotated text can advance by fractions; alignment moves the
  // start along the baseline, and lines follow each other at right angles to it.
  const int64_t shift = int64_t{startX - r.left} * 64;
  int64_t lineX = int64_t{r.left} * 64 + std::llround(shift * downY_);
  int64_t lineY = int64_t{r.top} * 64 - std::llround(shift * downX_);
  int64_t penX = lineX;
  int64_t penY = lineY;
  const int64_t ascentX = std::llround(ascent_ * 64 * downX_);
  const int64_t ascentY = std::llround(ascent_ * 64 * downY_);
  const double lineStep = (lineHeight_ + lineSpacing) * 64.0;
  while (*text != '\0') {
    uint32_t cp = NextCodePoint(text);
    if (cp == kCarriageReturn) {
      continue;
    }
    if (cp == kLineFeed) {
      if ((drawFlags & kSingleLine) == 0) {
        lineX += std::llround(lineStep * downX_);
        lineY += std::llround(lineStep * downY_);
        penX = lineX;
        penY = lineY;
        continue;
      }
      cp = ' ';
    }
    const Glyph* glyph = FindGlyph(cp);
    if (glyph == nullptr) {
      continue;
    }
    const auto x = static_cast<int32_t>((penX + ascentX + 32) >> 6);
    const auto y = static_cast<int32_t>((penY + ascentY + 32) >> 6);
    if (backgroundMode == kBackgroundOpaque && backgroundColour != -1) {
      const uint32_t fill = static_cast<uint32_t>(backgroundColour);
      const int32_t boxTop = y - ascent_;
      for (int32_t row = std::max(0, boxTop); row < std::min(image.Height(), boxTop + lineHeight_);
           ++row) {
        const int32_t end = std::min(image.Width(), x + ((glyph->advanceX + 32) >> 6));
        std::fill(image.Row(row) + std::max(0, x), image.Row(row) + std::max(0, end), fill);
      }
    }
    CompositeGlyph(image, *glyph, x + glyph->left, y - glyph->verticalOffset, t);
    penX += glyph->advanceX;
    penY += glyph->advanceY;
  }
}

void CachedFont::CompositeGlyph(PixelImage& image, const Glyph& glyph, int32_t x, int32_t y,
                                int32_t t) {
  const int32_t x0 = std::max(0, -x), x1 = std::min(glyph.width, image.Width() - x);
  const int32_t y0 = std::max(0, -y), y1 = std::min(glyph.height, image.Height() - y);
  const uint8_t* mask = Coverage(glyph);
  const int32_t cr = pixel::Channel(textColour, 16), cg = pixel::Channel(textColour, 8),
                cb = pixel::Channel(textColour, 0);
  const uint32_t opaqueColour = textColour | 0xFF000000u;
  for (int32_t row = y0; row < y1; ++row) {
    uint32_t* out = image.Row(y + row) + x;
    const uint8_t* coverage = mask + static_cast<size_t>(row) * glyph.width;
    for (int32_t col = x0; col < x1; ++col) {
      const int32_t k = coverage[col];
      if (k == 0) {
        continue;
      }
      const uint32_t d = out[col];
      if (combineMode != PixelMode::kNormal) {
        const int32_t w = t * k / 256;
        if (w > 0) {
          out[col] = pixel::Composite(pixel::PixelOp{combineMode, w, false}, opaqueColour, d);
        }
        continue;
      }
      // The alpha byte moves towards 255 in the same proportion as the colour.
      out[col] = pixel::Pack(GlyphChannel(255, pixel::Channel(d, 24), k, t),
                             GlyphChannel(cr, pixel::Channel(d, 16), k, t),
                             GlyphChannel(cg, pixel::Channel(d, 8), k, t),
                             GlyphChannel(cb, pixel::Channel(d, 0), k, t));
    }
  }
}

}  // namespace velmora
