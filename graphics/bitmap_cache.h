#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace velmora {

class PixelImage;

// The process-wide store of decoded images, shared by every plug-in instance. Entries are
// keyed by resource id (-1 for anonymous copies such as cropped knob halves) and are never
// removed: the images live until the module unloads. Each image may carry its pictures for
// high-density scales, made once per scale.
class BitmapCache {
 public:
  static constexpr int32_t kAnonymous = -1;

  static BitmapCache& Instance();

  // The image cached under id, or null. Anonymous entries are never found.
  const PixelImage* Find(int32_t id);

  // Takes ownership of image and returns the image now cached under id. When another
  // thread cached the same id in the meantime, its image is kept and returned so that an id
  // always names one image. A null image is not stored.
  const PixelImage* Insert(int32_t id, std::unique_ptr<PixelImage> image);

  size_t EntryCount();

  // The resource id an image is cached under; kAnonymous for copies and unknown images.
  int32_t IdOf(const PixelImage* image);

  // The picture of a cached image drawn at a device scale (in percent, above 100), kept
  // beside the image itself for the life of the module; null until one is inserted.
  const PixelImage* FindScaled(const PixelImage* base, int32_t percent);
  // As Insert: a racing insert of the same picture keeps the first.
  const PixelImage* InsertScaled(const PixelImage* base, int32_t percent,
                                 std::unique_ptr<PixelImage> image);

 private:
  struct Scaled {
    const PixelImage* base;
    int32_t percent;
    std::unique_ptr<PixelImage> image;
  };

  BitmapCache() = default;
  ~BitmapCache();

  std::mutex lock_;
  std::vector<std::pair<int32_t, std::unique_ptr<PixelImage>>> entries_;
  std::vector<Scaled> scaled_;
};

}  // namespace velmora
