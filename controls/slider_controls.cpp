#include "controls/slider_controls.h"

#include "controls/value_text.h"
#include "editor/editor_graphics.h"

namespace velmora {
namespace {

int RoundHalfAway(double value) {
  return static_cast<int>(value < 0.0 ? value - 0.5 : value + 0.5);
}

}  // namespace

ISliderImg::ISliderImg(IEffectBase* owner, int paramIndex, const Rect& rect,
                       const BitmapRef& handle, const TextStyle& valueStyle, int trackLength,
                       bool horizontal)
    : IControl(owner, rect, paramIndex),
      valueStyle_(valueStyle),
      handle_(handle),
      trackLength_(trackLength),
      vertical_(!horizontal) {
  const double centre = (rect.left + rect.right) * 0.5;
  if (vertical_) {
    travel_ = trackLength - handle.height;
    track_ = Rect{RoundHalfAway(centre - handle.width * 0.5), rect.top,
                  RoundHalfAway(centre + handle.width * 0.5), rect.top + trackLength};
  } else {
    travel_ = trackLength - handle.width;
    track_ = Rect{RoundHalfAway(centre - trackLength / 2), rect.top,
                  RoundHalfAway(centre + trackLength / 2), rect.top + handle.height};
  }
}

void ISliderImg::HandleMouseDown(int x, int y, const MouseModifiers& modifiers) {
  if (modifiers.right) {
    PromptForValue();
    return;
  }
  SetFromPosition(x, y);
}

void ISliderImg::HandleMouseDrag(int x, int y, int, int, const MouseModifiers&) {
  SetFromPosition(x, y);
}

// Only points on the track count, so the handle stops following a pointer that leaves it.
void ISliderImg::SetFromPosition(int x, int y) {
  if (x < track_.left || x > track_.right || y < track_.top || y > track_.bottom || travel_ == 0) {
    return;
  }
  if (vertical_) {
    SetValue(1.0 - ((y - track_.top) - handle_.height * 0.5) / travel_);
  } else {
    SetValue(((x - track_.left) - handle_.width * 0.5) / travel_);
  }
  MarkDirty(true);
}

Rect ISliderImg::HandleRect(double normalised) const {
  if (vertical_) {
    const int top = RoundHalfAway(travel_ * (1.0 - normalised) + track_.top);
    return Rect{track_.left, top, track_.right, top + handle_.height};
  }
  const int left = RoundHalfAway(track_.left + travel_ * normalised);
  return Rect{left, track_.top, RoundHalfAway(handle_.width + track_.left + travel_ * normalised),
              DrawRect().bottom};
}

bool ISliderImg::Paint(IEditorGraphics& graphics) {
  const ParamDisplay display = ReadParamDisplay(Owner(), ParamIndex(), true);
  if (display.text[0] != '\0' && valueStyle_.size > 0) {
    valueStyle_.alignment = TextStyle::kAlignCentre;
    const Rect& rect = DrawRect();
    graphics.DrawStyledText(
        valueStyle_, display.text,
        Rect{rect.left, rect.bottom - valueStyle_.size, rect.right, rect.bottom});
  }
  // The handle shows where the parameter itself stands, not the control's own value.
  const double normalised = display.bound ? display.normalised : Value();
  graphics.DrawBitmapFrame(handle_, HandleRect(normalised), 1, &ControlBlend(), false);
  return true;
}

ISlider::ISlider(IEffectBase* owner, int paramIndex, const Rect& rect, const BitmapRef& handle,
                 const TextStyle& valueStyle, int trackLength, bool horizontal, const Color& fill,
                 int barWidth, int barInset)
    : ISliderImg(owner, paramIndex, rect, handle, valueStyle, trackLength, horizontal),
      fill_(fill),
      barTrack_(Track()),
      barWidth_(barWidth),
      barInset_(barInset) {}

Rect ISlider::BarRect() const {
  const double value = Value();
  const int halfBar = barWidth_ / 2;
  const int handleWidth = Handle().width;
  const int handleHeight = Handle().height;
  if (IsVertical()) {
    const double centre = (barTrack_.left + barTrack_.right) * 0.5;
    const double distance = Travel() * (1.0 - value);
    if (!(Travel() + handleHeight / 2 - barInset_ > distance)) {
      return Rect{};
    }
    return Rect{
        RoundHalfAway(centre - halfBar), RoundHalfAway(barTrack_.top + handleHeight / 2 + distance),
        RoundHalfAway(centre + halfBar), barTrack_.top + Travel() + handleHeight - barInset_};
  }
  const double centre = (barTrack_.top + barTrack_.bottom) * 0.5;
  if (!(Travel() * value + handleWidth / 2 > barInset_)) {
    return Rect{};
  }
  return Rect{barTrack_.left + barInset_, RoundHalfAway(centre - halfBar),
              RoundHalfAway(barTrack_.left + Travel() * value + handleWidth / 2),
              RoundHalfAway(centre + halfBar)};
}

bool ISlider::Paint(IEditorGraphics& graphics) {
  const Rect bar = BarRect();
  if (!bar.IsEmpty()) {
    graphics.FillRectangle(fill_, bar, &ControlBlend());
  }
  return ISliderImg::Paint(graphics);
}

}  // namespace velmora
