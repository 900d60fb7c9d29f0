#include "controls/button_control.h"

#include "editor/editor_graphics.h"

namespace velmora {
namespace {

Rect ButtonRect(int left, int top, const BitmapRef& image) {
  const int frames = image.frames > 0 ? image.frames : 1;
  return Rect{left, top, left + image.width, top + image.height / frames};
}

}  // namespace

IButton::IButton(IEffectBase* owner, int paramIndex, int left, int top, const BitmapRef& image)
    : IControl(owner, ButtonRect(left, top, image), paramIndex), image_(image) {}

void IButton::HandleMouseDown(int, int, const MouseModifiers& modifiers) {
  if (!modifiers.right) {
    SetValue(Value() <= 0.5 ? 1.0 : 0.0);
  }
  MarkDirty(true);
}

bool IButton::Paint(IEditorGraphics& graphics) {
  if (IsOn()) {
    graphics.DrawBitmapFrame(image_, DrawRect(), 1, nullptr, false);
  }
  return true;
}

}  // namespace velmora
