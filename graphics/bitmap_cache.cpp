#include "graphics/bitmap_cache.h"

#include "graphics/pixel_image.h"

namespace velmora {

BitmapCache& BitmapCache::Instance() {
  // Built on first use and destroyed when the module unloads, never earlier.
  static BitmapCache cache;
  return cache;
}

BitmapCache::~BitmapCache() {
  scaled_.clear();
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

int32_t BitmapCache::IdOf(const PixelImage* image) {
  std::lock_guard<std::mutex> guard(lock_);
  for (const auto& entry : entries_) {
    if (entry.second.get() == image) {
      return entry.first;
    }
  }
  return kAnonymous;
}

const PixelImage* BitmapCache::FindScaled(const PixelImage* base, int32_t percent) {
  std::lock_guard<std::mutex> guard(lock_);
  for (const Scaled& entry : scaled_) {
    if (entry.base == base && entry.percent == percent) {
      return entry.image.get();
    }
  }
  return nullptr;
}

const PixelImage* BitmapCache::InsertScaled(const PixelImage* base, int32_t percent,
                                            std::unique_ptr<PixelImage> image) {
  if (!image) {
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(lock_);
  for (const Scaled& entry : scaled_) {
    if (entry.base == base && entry.percent == percent) {
      return entry.image.get();
    }
  }
  scaled_.push_back(Scaled{base, percent, std::move(image)});
  return scaled_.back().image.get();
}

size_t BitmapCache::EntryCount() {
  std::lock_guard<std::mutex> guard(lock_);
  return entries_.size();
}

}  // namespace velmora
