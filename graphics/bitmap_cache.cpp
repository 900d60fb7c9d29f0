#include "graphics/bitmap_cache.h"

#include "graphics/pixel_image.h"

namespace velmora {

BitmapCache& BitmapCache::Instance() {
  // Built on first use and destroyed when the module unloads, never earlier.
  static BitmapCache cache;
  return cache;
}

BitmapCache::~BitmapCache() {
  for (auto& entry : entries_) {
    entry.second.reset();
  }
  entries_.clear();
}

const PixelImage* BitmapCache::Find(int32_t id) {
  if (id == kAnonymous) {
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(lock_);
  for (const auto& entry : entries_) {
    if (entry.first == id) {
      return entry.second.get();
    }
  }
  return nullptr;
}

const PixelImage* BitmapCache::Insert(int32_t id, std::unique_ptr<PixelImage> image) {
  if (!image) {
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(lock_);
  if (id != kAnonymous) {
    for (const auto& entry : entries_) {
      if (entry.first == id) {
        return entry.second.get();
      }
    }
  }
  entries_.emplace_back(id, std::move(image));
  return entries_.back().second.get();
}

size_t BitmapCache::EntryCount() {
  std::lock_guard<std::mutex> guard(lock_);
  return entries_.size();
}

}  // namespace velmora
