#include "graphics/editor_canvas.h"

#include <algorithm>
#include <cmath>

#include "graphics/bitmap_cache.h"
#include "graphics/blit_image.h"
#include "graphics/fill_shapes.h"
#include "graphics/module_resources.h"
#include "graphics/png_decoder.h"
#include "graphics/rotated_blit.h"

namespace velmora {
namespace {

// Shorter resources cannot even hold a PNG signature.
constexpr size_t kMinimumResourceSize = 8;

BitmapRef RefTo(const PixelImage* image, int32_t frames) {
  if (image == nullptr) {
    return BitmapRef{nullptr, 0, 0, frames};
  }
  return BitmapRef{image, image->Width(), image->Height(), frames};
}

}  // namespace

bool EditorCanvas::CreateSurface(int32_t width, int32_t height,
                                 std::unique_ptr<PixelMemory> memory) {
  surface_ = std::make_unique<EditorSurface>(width, height, std::move(memory));
  return surface_->IsValid();
}

BitmapRef EditorCanvas::LoadBitmapRef(int32_t id, const char*, int32_t frames) {
  BitmapCache& cache = BitmapCache::Instance();
  const PixelImage* image = cache.Find(id);
  if (image == nullptr) {
    // The lock is not held while decoding; Insert keeps the first image of a racing load.
    image = cache.Insert(id, LoadImageResource(id));
  }
  return RefTo(image, frames);
}

BitmapRef EditorCanvas::CropBitmap(const BitmapRef& source, const Rect& r) {
  if (source.image == nullptr || r.Width() <= 0 || r.Height() <= 0) {
    return BitmapRef{nullptr, 0, 0, source.frames};
  }
  auto copy = std::make_unique<PixelImage>();
  if (!copy->Resize(r.Width(), r.Height())) {
    return BitmapRef{nullptr, 0, 0, source.frames};
  }
  // Parts of r outside the source stay transparent black rather than stale memory.
  for (int32_t y = 0; y < copy->Height(); ++y) {
    std::fill(copy->Row(y), copy->Row(y) + copy->Width(), 0u);
  }
  BlitImage(*copy, *source.image, 0, 0, r.left, r.top, r.Width(), r.Height(),
            PixelBlend{PixelMode::kCopy, 1.0f});
  const PixelImage* cached =
      BitmapCache::Instance().Insert(BitmapCache::kAnonymous, std::move(copy));
  return RefTo(cached, source.frames);
}

std::unique_ptr<PixelImage> EditorCanvas::LoadImageResource(int32_t id) {
  const ResourceBytes bytes = FindImageResource(id);
  if (bytes.data == nullptr || bytes.size < kMinimumResourceSize) {
    return nullptr;
  }
  return DecodePng(bytes.data, bytes.size);
}

bool EditorCanvas::DrawBitmapFrame(const BitmapRef& bitmap, const Rect& dest, int32_t frame,
                                   const Blend* blend, bool framesVertical) {
  int32_t sourceX = 0;
  int32_t sourceY = 0;
  if (bitmap.frames > 1 && frame > 1) {
    const double extent = framesVertical ? bitmap.height : bitmap.width;
    const auto offset =
        static_cast<int32_t>(std::trunc(extent * (frame - 1) / bitmap.frames + 0.5));
    (framesVertical ? sourceY : sourceX) = offset;
  }
  return DrawBitmapAt(bitmap, dest, sourceX, sourceY, blend);
}

bool EditorCanvas::DrawBitmapAt(const BitmapRef& bitmap, const Rect& dest, int32_t sourceX,
                                int32_t sourceY, const Blend* blend) {
  const Rect c = IntersectRects(dest, drawArea_);
  if (surface_ == nullptr || bitmap.image == nullptr || c.IsEmpty()) {
    return true;
  }
  BlitImage(*surface_, *bitmap.image, c.left, c.top, sourceX + c.left - dest.left,
            sourceY + c.top - dest.top, c.Width(), c.Height(), ResolveBlend(blend));
  return true;
}

bool EditorCanvas::DrawRotatedBitmap(const BitmapRef& bitmap, int32_t centreX, int32_t centreY,
                                     double angle, const Blend* blend, float sourceOffsetX,
                                     float sourceOffsetY) {
  if (surface_ != nullptr && bitmap.image != nullptr) {
    BlitRotated(*surface_, *bitmap.image, centreX, centreY, angle, ResolveBlend(blend),
                sourceOffsetX, sourceOffsetY);
  }
  return true;
}

bool EditorCanvas::FillRectangle(const Color& colour, const Rect& r, const Blend* blend) {
  if (surface_ != nullptr) {
    velmora::FillRectangle(*surface_, colour, r, ResolveBlend(blend));
  }
  return true;
}

bool EditorCanvas::FillCircle(const Color& colour, float centreX, float centreY, float radius,
                              const Blend* blend, bool antiAlias) {
  if (surface_ != nullptr) {
    velmora::FillCircle(*surface_, colour, centreX, centreY, radius, ResolveBlend(blend),
                        antiAlias);
  }
  return true;
}

}  // namespace velmora
