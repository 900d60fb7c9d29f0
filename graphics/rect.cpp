#include "graphics/rect.h"

#include <algorithm>

namespace velmora {

bool RectsOverlap(const Rect& a, const Rect& b) {
  if (a.IsEmpty() || b.IsEmpty()) {
    return false;
  }
  return b.left < a.right && a.left < b.right && a.top < b.bottom && b.top < a.bottom;
}

Rect IntersectRects(const Rect& a, const Rect& b) {
  if (!RectsOverlap(a, b)) {
    return Rect{};
  }
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

Rect UniteRects(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) {
    return b;
  }
  if (b.IsEmpty()) {
    return a;
  }
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

}  // namespace velmora
