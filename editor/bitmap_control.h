// The editor's own picture control: a bitmap showing one frame of a strip chosen by its value.
// The editor makes one for its background; the concrete controls build on it.
#pragma once

#include "editor/icontrol.h"
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

}  // namespace velmora
