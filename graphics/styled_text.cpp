#include "graphics/cached_font.h"
#include "graphics/editor_canvas.h"
#include "graphics/font_cache.h"
#include "graphics/pixel_image.h"

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
  CachedFont* scaled = scale_ == 1.0 ? style.cachedFont : FontAtScale(style);
  if (scaled == nullptr) {
    return false;
  }
  CachedFont& font = *scaled;
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
    font.DrawText(*surface_, text, ToDevice(r), flags);
  }
  return true;
}

CachedFont* EditorCanvas::FontAtScale(TextStyle& style) {
  for (const DeviceFont& known : deviceFonts_) {
    if (known.base == style.cachedFont) {
      return known.font;
    }
  }
  // The same face, style and angle at the scaled cell height: a font of its own in the
  // process-wide cache, shared with every editor drawing at that scale.
  TextStyle device = style;
  device.size = ToDevice(style.size);
  device.cachedFont = nullptr;
  CachedFont* font = FontCache::Instance().Acquire(device);
  if (font != nullptr) {
    deviceFonts_.push_back(DeviceFont{style.cachedFont, font});
  }
  return font;
}

}  // namespace velmora
