#include "graphics/cached_font.h"
#include "graphics/editor_canvas.h"
#include "graphics/font_cache.h"

namespace velmora {

bool EditorCanvas::DrawStyledText(TextStyle& style, const char* text, const Rect& r) {
  if (text == nullptr || *text == '\0') {
    return true;
  }
  if (style.cachedFont == nullptr) {
    style.cachedFont = FontCache::Instance().Acquire(style);
    if (style.cachedFont == nullptr) {
      return false;
    }
  }
  CachedFont& font = *style.cachedFont;
  font.textColour = style.colour.Packed();
  uint32_t flags = CachedFont::kNoClip;
  if (style.colour.alpha != 255) {
    flags |= CachedFont::kUseColourAlpha;
  }
  if (style.alignment == TextStyle::kAlignCentre) {
    flags |= CachedFont::kAlignCentre;
  } else if (style.alignment != TextStyle::kAlignLeft) {
    flags |= CachedFont::kAlignRight;
  }
  if (surface_ != nullptr) {
    font.DrawText(*surface_, text, r, flags);
  }
  return true;
}

}  // namespace velmora
