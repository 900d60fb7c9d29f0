// Rotating knobs. IKnobControl turns mouse drags into value changes; IKnobRotVal draws its
// picture turned by the value and prints the parameter's value with its unit underneath.
#pragma once

#include <cstdint>

#include "editor/icontrol.h"
#include "graphics/bitmap_ref.h"
#include "graphics/blend.h"
#include "graphics/text_style.h"

namespace velmora {

class IKnobControl : public IControl {
 public:
  static constexpr double kGearing = 4.0;
  static constexpr double kFineGearing = 40.0;

  IKnobControl(IEffectBase* owner, const Rect& rect, int paramIndex, bool horizontalDrag,
               double gearing);

  // One full sweep takes gearing times the control's height (or width) of movement; shift
  // or control gives ten times finer steps. Dragging up or right raises the value.
  void HandleMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& modifiers) override;

  double Gearing() const { return gearing_; }

 private:
  int32_t horizontalDrag_;
  double gearing_;
};

// How an IKnobRotVal is placed and drawn.
struct KnobOptions {
  int textGap = 0;       // pixels between the picture and the value text; < 0 moves it up
  int angleRange = 300;  // degrees from value 0 to value 1
  double gearing = IKnobControl::kGearing;
  int sizeOverride = 0;  // 0: the picture's own size
  bool horizontalDrag = false;
  float pointerWeight = 1.0f;
  bool showUnit = true;
  int valueCount = 0;  // positions the value snaps to on release; < 2 = no snapping
};

class IKnobRotVal : public IKnobControl {
 public:
  IKnobRotVal(IEffectBase* owner, int paramIndex, int centreX, int centreY,
              const BitmapRef& pointer, const TextStyle& valueStyle, const KnobOptions& options);

  // Snaps the value to the nearest of its steps, then pushes it.
  void HandleMouseUp(int x, int y, const MouseModifiers& modifiers) override;
  bool Paint(IEditorGraphics& graphics) override;

  // The pointer's turn in radians for the current value: 0 at 0.5, +-range/2 at the ends.
  double PointerAngle() const;
  int Steps() const { return steps_; }
  int CentreX() const { return centreX_; }
  int CentreY() const { return centreY_; }

 private:
  static Rect KnobRect(int centreX, int centreY, const BitmapRef& pointer, int textSize,
                       const KnobOptions& options);
  void PaintValueText(IEditorGraphics& graphics);
  void PaintStripPointer(IEditorGraphics& graphics, double angle, float sourceOffset);

  TextStyle valueStyle_;
  BitmapRef pointer_;
  int centreX_;
  int centreY_;
  int textGap_;
  int angleRange_;
  int16_t steps_;
  float pointerWeight_;
  bool showUnit_;
  Blend pointerBlend_;
};

}  // namespace velmora
