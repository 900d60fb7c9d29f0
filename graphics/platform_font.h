#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/rect.h"

namespace velmora {

class PixelImage;

// What a text style asks of the platform's font machinery.
struct FontRequest {
  const char* face = "";    // face name, e.g. "Arial"
  int32_t size = 0;         // cell height (ascent + descent) in pixels
  int32_t style = 0;        // bit 0 bold, bit 1 italic
  int32_t orientation = 0;  // baseline angle in degrees, counter-clockwise
  int32_t quality = 0;      // 1 asks for aliased (two-level) glyphs
};

// One rendered glyph: an 8-bit coverage mask and where it sits relative to the pen, which
// stands on the baseline. Advances are in 1/64 pixel and follow the text's orientation.
struct GlyphImage {
  std::vector<uint8_t> coverage;  // width x height, rows top to bottom
  int32_t width = 0;
  int32_t height = 0;
  int32_t left = 0;  // mask's left edge from the pen, pixels, x to the right
  int32_t top = 0;   // mask's top edge above the baseline, pixels
  int32_t advanceX = 0;
  int32_t advanceY = 0;  // y downwards
};

// What the platform's own text renderer is asked to draw: the text flags (alignment,
// single line, no clipping, in the platform text API's values) and the colours.
struct DirectTextRequest {
  uint32_t drawFlags = 0;
  uint32_t textColour = 0;        // 0xAARRGGBB; the renderer uses red, green and blue
  int32_t backgroundMode = 1;     // 1 transparent, 2 opaque
  int32_t backgroundColour = -1;  // 0xAARRGGBB, used when opaque
};

// A platform font that can render single glyphs. Each platform supplies CreatePlatformFont
// in its own source file (FreeType and fontconfig on Linux, GDI on Windows, which also
// draws whole texts itself).
class PlatformFont {
 public:
  virtual ~PlatformFont() = default;

  // The font's text-metric height in pixels (the distance between lines).
  virtual int32_t LineHeight() const = 0;

  // Distance from a line's top to its baseline, in pixels.
  virtual int32_t Ascent() const = 0;

  // Angle of the baseline in degrees, counter-clockwise; 0 for upright text.
  virtual int32_t Orientation() const { return 0; }

  // Renders one code point; false when the platform cannot render it.
  virtual bool RenderGlyph(uint32_t codePoint, GlyphImage& out) = 0;

  // Whether the platform can draw whole texts itself (DrawDirect); FreeType cannot.
  virtual bool HasDirectRenderer() const { return false; }
  // Whether that renderer should draw the texts it can draw well (opaque, plain ones).
  virtual bool PrefersDirectRenderer() const { return false; }
  // Draws the UTF-8 text with its top-left at r's top-left, aligned within r as the flags
  // say, clipped to the image only. Called only when HasDirectRenderer is true.
  virtual void DrawDirect(PixelImage& /*image*/, const char* /*text*/, const Rect& /*r*/,
                          const DirectTextRequest& /*request*/) {}
};

// Null when no font can be made for the request.
std::unique_ptr<PlatformFont> CreatePlatformFont(const FontRequest& request);

}  // namespace velmora
