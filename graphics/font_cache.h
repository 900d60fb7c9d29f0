#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace velmora {

class CachedFont;
struct TextStyle;

// The process-wide list of cached fonts, one per (size, orientation, style bits, face),
// shared by every plug-in instance and never pruned. Colour, alignment and quality are not
// part of the key: the first style that creates a font fixes its quality.
class FontCache {
 public:
  static FontCache& Instance();

  // The font for the style's key, created on first use; null when the platform cannot
  // make the font (nothing is cached then, so a later call tries again).
  CachedFont* Acquire(const TextStyle& style);

  size_t EntryCount();

 private:
  struct Key {
    int32_t size = 0;
    int32_t orientation = 0;
    int32_t style = 0;
    char face[36] = {};
    bool operator==(const Key& other) const;
  };
  struct Entry {
    Key key;
    std::unique_ptr<CachedFont> font;
  };

  FontCache() = default;
  ~FontCache();
  CachedFont* Find(const Key& key);

  std::mutex lock_;
  std::vector<Entry> entries_;
};

}  // namespace velmora
