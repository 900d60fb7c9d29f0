// The stock picture controls: the bitmap control showing one frame of a strip chosen by its
// value, and a switch that steps through the strip's frames on each click.
#pragma once

#include "editor/bitmap_control.h"

namespace velmora {

class ISwitchControl : public IBitmapControl {
 public:
  using IBitmapControl::IBitmapControl;

  // Left: advances one frame, wrapping past the last to the first. Right: value entry.
  void HandleMouseDown(int x, int y, const MouseModifiers& modifiers) override;
};

}  // namespace velmora
