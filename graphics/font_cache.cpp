#include "graphics/font_cache.h"

#include <cstring>

#include "graphics/cached_font.h"
#include "graphics/platform_font.h"
#include "graphics/text_style.h"

namespace velmora {

bool FontCache::Key::operator==(const Key& other) const {
  return size == other.size && orientation == other.orientation && style == other.style &&
         std::strncmp(face, other.face, sizeof(face)) == 0;
}

FontCache& FontCache::Instance() {
  // Built on first use and destroyed when the module unloads.
  static FontCache cache;
  return cache;
}

FontCache::~FontCache() = default;

CachedFont* FontCache::Find(const Key& key) {
  std::lock_guard<std::mutex> guard(lock_);
  for (const Entry& entry : entries_) {
    if (entry.key == key) {
      return entry.font.get();
    }
  }
  return nullptr;
}

CachedFont* FontCache::Acquire(const TextStyle& style) {
  Key key;
  key.size = style.size;
  key.orientation = style.orientation;
  key.style = style.style;
  // The face field holds at most 31 characters; a missing terminator is tolerated.
  const size_t length = strnlen(style.face, sizeof(style.face) - 1);
  std::memcpy(key.face, style.face, length);
  if (CachedFont* found = Find(key)) {
    return found;
  }
  FontRequest request;
  request.face = key.face;
  request.size = style.size;
  request.style = style.style;
  request.orientation = style.orientation;
  request.quality = style.quality;
  std::unique_ptr<PlatformFont> platformFont = CreatePlatformFont(request);
  if (!platformFont) {
    return nullptr;
  }
  auto font = std::make_unique<CachedFont>(std::move(platformFont));
  std::lock_guard<std::mutex> guard(lock_);
  // Another thread may have made the same font meanwhile; the first one stays.
  for (const Entry& entry : entries_) {
    if (entry.key == key) {
      return entry.font.get();
    }
  }
  entries_.push_back(Entry{key, std::move(font)});
  return entries_.back().font.get();
}

size_t FontCache::EntryCount() {
  std::lock_guard<std::mutex> guard(lock_);
  return entries_.size();
}

}  // namespace velmora
