#include "controls/knob_controls.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "controls/value_text.h"
#include "editor/editor_graphics.h"

namespace velmora {
namespace {

constexpr double kPi = 3.141592653589793;

// Half away from zero, as every pixel position of the editor.
int RoundHalfAway(double value) {
  return static_cast<int>(value < 0.0 ? value - 0.5 : value + 0.5);
}

}  // namespace

IKnobControl::IKnobControl(IEffectBase* owner, const Rect& rect, int paramIndex,
                           bool horizontalDrag, double gearing)
    : IControl(owner, rect, paramIndex),
      horizontalDrag_(horizontalDrag ? 1 : 0),
      gearing_(gearing) {}

void IKnobControl::HandleMouseDrag(int, int, int dx, int dy, const MouseModifiers& modifiers) {
  const double gearing = (modifiers.shift || modifiers.control) ? kFineGearing : gearing_;
  const Rect& rect = DrawRect();
  if (horizontalDrag_ != 0) {
    SetValue(Value() + dx / static_cast<double>(rect.right - rect.left) / gearing);
  } else {
    // top - bottom is minus the height, so moving up (dy < 0) raises the value.
    SetValue(Value() + dy / static_cast<double>(rect.top - rect.bottom) / gearing);
  }
  MarkDirty(true);
}

IKnobRotVal::IKnobRotVal(IEffectBase* owner, int paramIndex, int centreX, int centreY,
                         const BitmapRef& pointer, const TextStyle& valueStyle,
                         const KnobOptions& options)
    : IKnobControl(owner, KnobRect(centreX, centreY, pointer, valueStyle.size, options), paramIndex,
                   options.horizontalDrag, options.gearing),
      valueStyle_(valueStyle),
      pointer_(pointer),
      centreX_(centreX),
      centreY_(centreY),
      textGap_(options.textGap),
      angleRange_(options.angleRange),
      steps_(static_cast<int16_t>(options.valueCount - 1)),
      pointerWeight_(options.pointerWeight),
      showUnit_(options.showUnit),
      pointerBlend_{Blend::kNormal, options.pointerWeight} {}

// The rectangle holds the picture and, below it, the gap and the value text.
Rect IKnobRotVal::KnobRect(int centreX, int centreY, const BitmapRef& pointer, int textSize,
                           const KnobOptions& options) {
  int halfHeight = RoundHalfAway(pointer.height * 0.5);
  int halfWidth = 0;
  if (options.sizeOverride != 0) {
    halfWidth = options.sizeOverride / 2;
    halfHeight = halfWidth;
  } else {
    const int frames = pointer.frames > 0 ? pointer.frames : 1;
    halfWidth = RoundHalfAway(static_cast<double>(pointer.width) / frames * 0.5);
  }
  const int bottom = options.textGap > 0 ? centreY + halfHeight + options.textGap + textSize
                                         : centreY + halfHeight;
  return Rect{centreX - halfWidth, centreY - halfHeight, centreX + halfWidth, bottom};
}

void IKnobRotVal::HandleMouseUp(int, int, const MouseModifiers&) {
  if (steps_ > 0) {
    SetValue(std::floor(steps_ * Value() + 0.5) / steps_);
  }
  MarkDirty(true);
}

double IKnobRotVal::PointerAngle() const {
  // (value - 0.5) x range in radians, with the half-range constants in the single
  // precision the pictures were drawn against; the sum itself stays double.
  const auto half = static_cast<float>(angleRange_ * kPi / 360.0);
  const auto negativeHalf = static_cast<float>(-angleRange_ * kPi / 360.0);
  return half * Value() * 2.0 + negativeHalf;
}

bool IKnobRotVal::Paint(IEditorGraphics& graphics) {
  pointerBlend_ = Blend{Blend::kNormal, pointerWeight_};
  PaintValueText(graphics);
  const double angle = PointerAngle();
  const auto sourceOffset = static_cast<float>(-2.0 * std::fabs(Value() - 0.5));
  if (pointer_.frames < 2) {
    graphics.DrawRotatedBitmap(pointer_, centreX_, centreY_, angle, &pointerBlend_, sourceOffset,
                               sourceOffset);
  } else {
    PaintStripPointer(graphics, angle, sourceOffset);
  }
  return true;
}

void IKnobRotVal::PaintValueText(IEditorGraphics& graphics) {
  const ParamDisplay display = ReadParamDisplay(Owner(), ParamIndex(), showUnit_);
  if (display.text[0] == '\0' || valueStyle_.size <= 0) {
    return;
  }
  valueStyle_.alignment = TextStyle::kAlignCentre;
  const Rect& rect = DrawRect();
  const int gapShift = textGap_ < 0 ? textGap_ : 0;
  const Rect textRect{rect.left, rect.bottom + gapShift - valueStyle_.size, rect.right,
                      rect.bottom + gapShift};
  graphics.DrawStyledText(valueStyle_, display.text, textRect);
}

// A strip of two or more frames: its left half turns, its last frame is laid over it.
void IKnobRotVal::PaintStripPointer(IEditorGraphics& graphics, double angle, float sourceOffset) {
  BitmapRef& half = SpareBitmap();
  if (half.image == nullptr) {
    half = graphics.CropBitmap(pointer_,
                               Rect{0, 0, RoundHalfAway(pointer_.width * 0.5), pointer_.height});
  }
  graphics.DrawRotatedBitmap(half, centreX_, centreY_, angle, &pointerBlend_, sourceOffset,
                             sourceOffset);
  const double frameWidth = static_cast<double>(pointer_.width) / pointer_.frames;
  const Rect& rect = DrawRect();
  const Rect top{RoundHalfAway(centreX_ - frameWidth / 2), rect.top,
                 RoundHalfAway(centreX_ + frameWidth / 2),
                 rect.bottom - textGap_ - valueStyle_.size};
  graphics.DrawBitmapFrame(pointer_, top, pointer_.frames, &ControlBlend(), false);
}

}  // namespace velmora
