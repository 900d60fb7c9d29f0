#pragma once

#include <windows.h>

#include <memory>

#include "graphics/platform_font.h"

namespace velmora {

// A GDI font. It renders single glyphs for the glyph cache (white on black in a shared
// glyph surface, the red channel taken as coverage) and draws whole opaque texts with
// DrawText straight into a DIB-backed image, or through a shared scratch surface when the
// image has no device context. The two shared surfaces live while any GdiFont does.
//
// Threads: glyph rendering and drawing take the shared surfaces' lock; the font handle
// itself is only read after construction.
class GdiFont final : public PlatformFont {
 public:
  // CreateFontA with the request's cell height, escapement and orientation in tenths of a
  // degree, weight 700 for bold else 400, italic from style bit 1, character set 0 and the
  // quality 0 / 1 / 2 / 3 -> DEFAULT, NONANTIALIASED, ANTIALIASED, CLEARTYPE. Null when GDI
  // makes no font.
  static std::unique_ptr<GdiFont> Create(const FontRequest& request);

  ~GdiFont() override;
  GdiFont(const GdiFont&) = delete;
  GdiFont& operator=(const GdiFont&) = delete;

  int32_t LineHeight() const override { return lineHeight_; }
  int32_t Ascent() const override { return ascent_; }
  int32_t Orientation() const override { return orientation_; }
  bool RenderGlyph(uint32_t codePoint, GlyphImage& out) override;

  bool HasDirectRenderer() const override { return true; }
  // Not under Wine: its renderer is not the one Windows users see, and text drawn through
  // the glyph cache looks the same on both.
  bool PrefersDirectRenderer() const override;
  void DrawDirect(PixelImage& image, const char* text, const Rect& r,
                  const DirectTextRequest& request) override;

  HFONT Handle() const { return font_; }

 private:
  GdiFont(HFONT font, int32_t orientation);
  // Draws with this font into dc within rc; the text's own flags plus the request's.
  void DrawInto(HDC dc, const char* text, RECT rc, const DirectTextRequest& request) const;
  void DrawThroughScratch(PixelImage& image, const char* text, const Rect& r,
                          const DirectTextRequest& request);
  SIZE Measure(HDC dc, const char* text, uint32_t drawFlags) const;

  HFONT font_;
  int32_t orientation_;
  int32_t lineHeight_ = 0;
  int32_t ascent_ = 0;
};

}  // namespace velmora
