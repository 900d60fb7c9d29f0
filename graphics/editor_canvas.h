#pragma once

#include <cstdint>
#include <memory>

#include "graphics/bitmap_ref.h"
#include "graphics/blend.h"
#include "graphics/color.h"
#include "graphics/editor_surface.h"
#include "graphics/rect.h"
#include "graphics/text_style.h"

namespace velmora {

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

 private:
  std::unique_ptr<EditorSurface> surface_;
  Rect drawArea_{};
};

}  // namespace velmora
