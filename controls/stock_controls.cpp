#include "controls/stock_controls.h"

namespace velmora {
namespace {

// A value a little above 1 still counts as the last frame; only beyond it the switch wraps.
constexpr double kWrapAbove = 1.001;

}  // namespace

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
