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
// removed: the images live until the module unloads.
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

 private:
  BitmapCache() = default;
  ~BitmapCache();

  std::mutex lock_;
  std::vector<std::pair<int32_t, std::unique_ptr<PixelImage>>> entries_;
};

}  // namespace velmora
