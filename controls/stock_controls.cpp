#include "controls/stock_controls.h"

#include <cmath>

#include "graphics/editor_graphics.h"

namespace velmora {
namespace {

// A value a little above 1 still counts as the last frame; only beyond it the switch wraps.
constexpr double kWrapAbove = 1.001;

}  // namespace

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

void ISwitchControl::HandleMouseDown(int, int, const MouseModifiers& modifiers) {
  if (modifiers.right) {
    PromptForValue();
  } else {
    const int frames = Bitmap().frames;
    double value = Value() + (frames < 2 ? 1.0 : 1.0 / (frames - 1));
    if (value > kWrapAbove) {
      value = 0.0;
    }
    SetValue(value);
  }
  MarkDirty(true);
}

}  // namespace velmora
