#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/bitmap_ref.h"
#include "graphics/blend.h"
#include "graphics/color.h"
#include "graphics/editor_surface.h"
#include "graphics/rect.h"
#include "graphics/text_style.h"

namespace velmora {

class CachedFont;

// The drawing half of the editor's graphics object: it owns the off-screen surface, knows
// the area of the current paint pass and offers the drawing operations controls call from
// Paint, plus image loading through the process-wide bitmap cache. The editor's graphics
// object derives from it; a window layer overrides LoadImageResource only if it must.
//
// Threads: loading may happen on any thread (the cache locks); drawing happens only on
// the editor window's thread, during a paint pass.
class EditorCanvas {
 public:
  EditorCanvas() = default;
  virtual ~EditorCanvas() = default;
  EditorCanvas(const EditorCanvas&) = delete;
  EditorCanvas& operator=(const EditorCanvas&) = delete;

  // Creates the surface (once, at the editor's size). The memory decides where the pixels
  // live; the default is the heap. False when the pixels could not be obtained.
  bool CreateSurface(int32_t width, int32_t height,
                     std::unique_ptr<PixelMemory> memory = MakeHeapPixelMemory());
  EditorSurface* Surface() { return surface_.get(); }
  const EditorSurface* Surface() const { return surface_.get(); }

  // Device pixels per editor pixel (1 unless a high-density scale is set). Every drawing
  // operation below takes editor pixels and draws at device pixels: rectangles are scaled
  // edge by edge, images come from their artwork for the scale, text is set at the scaled
  // size. At 1 the operations draw exactly as they always have. The caller sizes the
  // surface to match (CreateSurface in device pixels).
  void SetDrawScale(double scale);
  double DrawScale() const { return scale_; }
  Rect ToDevice(const Rect& r) const;
  int32_t ToDevice(int32_t editorPixels) const;

  // The area the current paint pass repaints; every bitmap draw is clipped to it.
  void SetDrawArea(const Rect& area) { drawArea_ = area; }
  const Rect& DrawArea() const { return drawArea_; }

  // The cached image of this resource id, loading and caching it on first use. The name
  // ("img/bg.png") documents the picture; lookup is by id on every platform. The frame
  // count is the caller's. On failure the reference has no image and draws nothing.
  BitmapRef LoadBitmapRef(int32_t id, const char* name, int32_t frames);

  // A copy of r of the source (alpha included), kept in the cache as an anonymous entry for
  // the life of the module; the frame count is the source's.
  BitmapRef CropBitmap(const BitmapRef& source, const Rect& r);

  // Finds and decodes the module's PNG resource with this id; null when it is missing,
  // 7 bytes or shorter, or not a decodable PNG.
  virtual std::unique_ptr<PixelImage> LoadImageResource(int32_t id);

  // Draws frame (1-based; below 1 shows frame 1) of a strip of equal frames stacked
  // vertically or side by side into dest, clipped to the draw area.
  bool DrawBitmapFrame(const BitmapRef& bitmap, const Rect& dest, int32_t frame, const Blend* blend,
                       bool framesVertical);

  // Copies the bitmap unscaled into dest starting at (sourceX, sourceY) of the image,
  // clipped to the draw area (the source moves with the clipped edge). Always true.
  bool DrawBitmapAt(const BitmapRef& bitmap, const Rect& dest, int32_t sourceX, int32_t sourceY,
                    const Blend* blend);

  // Draws the whole bitmap turned by angle radians (positive = clockwise) about
  // (centreX, centreY), bilinearly filtered, clipped to the surface only. Always true.
  bool DrawRotatedBitmap(const BitmapRef& bitmap, int32_t centreX, int32_t centreY, double angle,
                         const Blend* blend, float sourceOffsetX, float sourceOffsetY);

  // Fills r, clipped to the surface. Always true.
  bool FillRectangle(const Color& colour, const Rect& r, const Blend* blend);

  // Fills a disc, clipped to the surface; anti-aliased edges when asked. Always true.
  bool FillCircle(const Color& colour, float centreX, float centreY, float radius,
                  const Blend* blend, bool antiAlias);

  // Draws UTF-8 text with the style, starting at r.top and aligned within r's width; the
  // text is clipped to the surface, not to r. Fills the style's cached font on first use.
  // True when drawn (or empty); false when the style's font cannot be created.
  bool DrawStyledText(TextStyle& style, const char* text, const Rect& r);

  // The picture drawn for a bitmap at the current scale: the bitmap itself at 1, else its
  // double-size artwork, resized when the scale is not 2 (or the bitmap itself resized when
  // it has no artwork), made once per process and scale. Null when there is none.
  const PixelImage* DeviceImage(const BitmapRef& bitmap);

 private:
  struct DeviceFont {
    const CachedFont* base;
    CachedFont* font;
  };

  std::unique_ptr<PixelImage> MakeDeviceImage(const PixelImage& base);
  // The font of the style's size scaled to device pixels; the style's own font first.
  CachedFont* FontAtScale(TextStyle& style);

  std::unique_ptr<EditorSurface> surface_;
  Rect drawArea_{};
  double scale_ = 1.0;
  std::vector<DeviceFont> deviceFonts_;  // editor thread only
};

}  // namespace velmora
