#pragma once

#include <cstdint>

namespace velmora {

// An area in editor pixels, origin top-left, y growing downwards; right and bottom lie one
// past the last pixel. All four values 0 means "no area", which intersection and union
// treat specially.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const Rect& other) const { return !(*this == other); }
};

// True when neither rectangle is empty and they share at least one pixel.
bool RectsOverlap(const Rect& a, const Rect& b);

// The common area of a and b, or the empty Rect when they do not overlap.
Rect IntersectRects(const Rect& a, const Rect& b);

// The bounding box of a and b; an empty operand is ignored.
Rect UniteRects(const Rect& a, const Rect& b);

}  // namespace velmora
