// Picture sliders: a handle moving along a track (ISliderImg), and the variant that also
// fills a coloured bar from the handle to the track's far end (ISlider). Both print the
// parameter's value with its unit in the bottom of their rectangle.
#pragma once

#include <cstdint>

#include "editor/icontrol.h"
#include "graphics/bitmap_ref.h"
#include "graphics/color.h"
#include "graphics/text_style.h"

namespace velmora {

class ISliderImg : public IControl {
 public:
  // trackLength: pixels along the slider's axis; horizontal false means value 1 at the top.
  ISliderImg(IEffectBase* owner, int paramIndex, const Rect& rect, const BitmapRef& handle,
             const TextStyle& valueStyle, int trackLength, bool horizontal);

  // Right button: value entry. Otherwise the value follows the pointer on the track.
  void HandleMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  void HandleMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& modifiers) override;
  bool Paint(IEditorGraphics& graphics) override;

  const Rect& Track() const { return track_; }
  int Travel() const { return travel_; }
  bool IsVertical() const { return vertical_; }
  const BitmapRef& Handle() const { return handle_; }

 private:
  void SetFromPosition(int x, int y);
  Rect HandleRect(double normalised) const;

  TextStyle valueStyle_;
  Rect track_;
  BitmapRef handle_;
  int32_t trackLength_;
  int32_t travel_;
  bool vertical_;
};

class ISlider : public ISliderImg {
 public:
  ISlider(IEffectBase* owner, int paramIndex, const Rect& rect, const BitmapRef& handle,
          const TextStyle& valueStyle, int trackLength, bool horizontal, const Color& fill,
          int barWidth, int barInset);

  // The bar first, from the control's value; then the slider.
  bool Paint(IEditorGraphics& graphics) override;
  // The bar's rectangle for the current value; empty when none is drawn.
  Rect BarRect() const;

 private:
  Color fill_;
  Rect barTrack_;
  int32_t barWidth_;
  int32_t barInset_;
};

}  // namespace velmora
