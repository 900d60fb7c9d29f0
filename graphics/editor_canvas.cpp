#include "graphics/editor_canvas.h"

#include <algorithm>
#include <cmath>

#include "graphics/bitmap_cache.h"
#include "graphics/blit_image.h"
#include "graphics/device_scale.h"
#include "graphics/fill_shapes.h"
#include "graphics/image_resampling.h"
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

void EditorCanvas::SetDrawScale(double scale) {
  scale_ = scale;
  deviceFonts_.clear();
}

Rect EditorCanvas::ToDevice(const Rect& r) const {
  return scale_ == 1.0 ? r : device_scale::ToDevice(r, scale_);
}

int32_t EditorCanvas::ToDevice(int32_t editorPixels) const {
  return scale_ == 1.0 ? editorPixels : device_scale::ToDevice(editorPixels, scale_);
}

const PixelImage* EditorCanvas::DeviceImage(const BitmapRef& bitmap) {
  if (scale_ == 1.0 || bitmap.image == nullptr) {
    return bitmap.image;
  }
  const int32_t percent = device_scale::Percent(scale_);
  BitmapCache& cache = BitmapCache::Instance();
  if (const PixelImage* found = cache.FindScaled(bitmap.image, percent)) {
    return found;
  }
  return cache.InsertScaled(bitmap.image, percent, MakeDeviceImage(*bitmap.image));
}

std::unique_ptr<PixelImage> EditorCanvas::MakeDeviceImage(const PixelImage& base) {
  const int32_t width = ToDevice(base.Width());
  const int32_t height = ToDevice(base.Height());
  const int32_t artworkId = DoubleSizeResourceId(BitmapCache::Instance().IdOf(&base));
  std::unique_ptr<PixelImage> artwork = artworkId >= 0 ? LoadImageResource(artworkId) : nullptr;
  // Artwork that does not match its picture (a damaged resource) is not used.
  if (artwork != nullptr &&
      (artwork->Width() != 2 * base.Width() || artwork->Height() != 2 * base.Height())) {
    artwork.reset();
  }
  if (artwork == nullptr) {
    return ResampleImage(base, width, height);
  }
  if (artwork->Width() == width && artwork->Height() == height) {
    return artwork;
  }
  return ResampleImage(*artwork, width, height);
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

// The picture's origin (where its pixel 0, 0 lands) is scaled, so every part of a strip or
// a cut-out lines up with the same parts drawn elsewhere. At 100 % every conversion is the
// identity.
bool EditorCanvas::DrawBitmapAt(const BitmapRef& bitmap, const Rect& dest, int32_t sourceX,
                                int32_t sourceY, const Blend* blend) {
  const PixelImage* image = DeviceImage(bitmap);
  const Rect c = IntersectRects(ToDevice(dest), ToDevice(drawArea_));
  if (surface_ == nullptr || image == nullptr || c.IsEmpty()) {
    return true;
  }
  const int32_t originX = ToDevice(dest.left - sourceX);
  const int32_t originY = ToDevice(dest.top - sourceY);
  BlitImage(*surface_, *image, c.left, c.top, c.left - originX, c.top - originY, c.Width(),
            c.Height(), ResolveBlend(blend));
  return true;
}

// The picture covers the scaled place of its editor-pixel square, and turns about that
// square's centre.
bool EditorCanvas::DrawRotatedBitmap(const BitmapRef& bitmap, int32_t centreX, int32_t centreY,
                                     double angle, const Blend* blend, float sourceOffsetX,
                                     float sourceOffsetY) {
  const PixelImage* image = DeviceImage(bitmap);
  if (surface_ != nullptr && image != nullptr) {
    const auto left = static_cast<int32_t>(static_cast<float>(centreX) - bitmap.width / 2);
    const auto top = static_cast<int32_t>(static_cast<float>(centreY) - bitmap.height / 2);
    const auto scale = static_cast<float>(scale_);
    BlitRotated(*surface_, *image, ToDevice(left) + image->Width() / 2,
                ToDevice(top) + image->Height() / 2, angle, ResolveBlend(blend),
                sourceOffsetX * scale, sourceOffsetY * scale);
  }
  return true;
}

bool EditorCanvas::FillRectangle(const Color& colour, const Rect& r, const Blend* blend) {
  if (surface_ != nullptr) {
    velmora::FillRectangle(*surface_, colour, ToDevice(r), ResolveBlend(blend));
  }
  return true;
}

bool EditorCanvas::FillCircle(const Color& colour, float centreX, float centreY, float radius,
                              const Blend* blend, bool antiAlias) {
  if (surface_ != nullptr) {
    const auto scale = static_cast<float>(scale_);
    velmora::FillCircle(*surface_, colour, centreX * scale, centreY * scale, radius * scale,
                        ResolveBlend(blend), antiAlias);
  }
  return true;
}

}  // namespace velmora
