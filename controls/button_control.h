// An on/off button bound to a two-state parameter. Only the lit picture is drawn, when on;
// the background carries the off look.
#pragma once

#include "editor/icontrol.h"
#include "graphics/bitmap_ref.h"

namespace velmora {

class IButton : public IControl {
 public:
  IButton(IEffectBase* owner, int paramIndex, int left, int top, const BitmapRef& image);

  // Left click toggles (values up to 0.5 count as off). A right click only pushes the value.
  void HandleMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  bool Paint(IEditorGraphics& graphics) override;

  bool IsOn() const { return Value() > 0.5; }

 private:
  BitmapRef image_;
};

}  // namespace velmora
