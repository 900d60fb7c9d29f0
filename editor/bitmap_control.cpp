#include "editor/bitmap_control.h"

#include <cmath>

#include "editor/editor_graphics.h"

namespace velmora {

IBitmapControl::IBitmapControl(IEffectBase* owner, const Rect& rect, int paramIndex,
                               const BitmapRef& bitmap, bool framesVertical, const Blend& blend)
    : IControl(owner, rect, paramIndex, blend), bitmap_(bitmap), framesVertical_(framesVertical) {}

int IBitmapControl::FrameForValue() const {
  const int frames = bitmap_.frames;
  if (frames < 2) {
    return 1;
  }
  const int frame = static_cast<int>(std::trunc((frames - 1) * Value() + 0.5)) + 1;
  return frame < 1 ? 1 : (frame > frames ? frames : frame);
}

bool IBitmapControl::Paint(IEditorGraphics& graphics) {
  graphics.DrawBitmapFrame(bitmap_, DrawRect(), FrameForValue(), &ControlBlend(), framesVertical_);
  return true;
}

}  // namespace velmora
