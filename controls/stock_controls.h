// The stock picture controls: a bitmap showing one frame of a strip chosen by its value, and
// a switch that steps through the strip's frames on each click.
#pragma once

#include "controls/icontrol.h"
#include "graphics/bitmap_ref.h"

namespace velmora {

class IBitmapControl : public IControl {
 public:
  IBitmapControl(IEffectBase* owner, const Rect& rect, int paramIndex, const BitmapRef& bitmap,
                 bool framesVertical, const Blend& blend = Blend{});

  // Frame trunc((N - 1) x value + 0.5) + 1 of N, held to 1..N.
  bool Paint(IEditorGraphics& graphics) override;
  int FrameForValue() const;

  const BitmapRef& Bitmap() const { return bitmap_; }

 private:
  BitmapRef bitmap_;
  bool framesVertical_;
};

class ISwitchControl : public IBitmapControl {
 public:
  using IBitmapControl::IBitmapControl;

  // Left: advances one frame, wrapping past the last to the first. Right: value entry.
  void HandleMouseDown(int x, int y, const MouseModifiers& modifiers) override;
};

}  // namespace velmora
