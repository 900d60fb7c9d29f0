#include "controls/indicator_controls.h"

#include <cmath>

#include "editor/editor_graphics.h"

namespace velmora {

IBypass::IBypass(IEffectBase* owner, int centreX, int centreY, int radius)
    : IControl(owner, Rect{centreX - radius - 1, centreY - radius - 1, centreX + radius + 1,
                           centreY + radius + 1}) {}

bool IBypass::Paint(IEditorGraphics& graphics) {
  const Rect& rect = DrawRect();
  const auto centreX = static_cast<float>((rect.left + rect.right) * 0.5);
  const auto centreY = static_cast<float>((rect.top + rect.bottom) * 0.5);
  const auto radius = static_cast<float>((rect.right - rect.left - 2) * 0.5);
  const bool processing = State();
  painted_.store(processing ? 1 : 0, std::memory_order_relaxed);
  graphics.FillCircle(processing ? kOnColour : kOffColour, centreX, centreY, radius, nullptr,
                      false);
  return true;
}

bool IBypass::NeedsRepaint() const {
  // Before its first paint the lamp is dirty from construction or MarkAllDirty.
  const int painted = painted_.load(std::memory_order_relaxed);
  return IControl::NeedsRepaint() || (painted != kNeverPainted && painted != (State() ? 1 : 0));
}

void IBypass::OnLampChanged(bool) {
  RequestRepaint();
}

void IBypass::SetState(bool processing) {
  if (own_.state.exchange(processing, std::memory_order_relaxed) != processing) {
    RequestRepaint();
  }
}

GRAPH::GRAPH(IEffectBase* owner, int left, int top, int right, int bottom)
    : IControl(owner, Rect{left, top, right, bottom}) {}

Rect GRAPH::MarkerRect() const {
  return MarkerRectFor(shown_->Read());
}

Rect GRAPH::MarkerRectFor(const GraphReading& reading) const {
  const float current = reading.current;
  const float lower = reading.lower;
  const float upper = reading.upper;
  const Rect& rect = DrawRect();
  if (lower != 0.0f && lower == upper) {
    return Rect{rect.left, rect.top, rect.left + kMarkerWidth, rect.bottom};
  }
  // Not a number fails this test too; a zero range has nothing to place the marker in.
  if (!(current >= 0.0f) || upper == lower) {
    return Rect{};
  }
  const double position =
      (rect.right - rect.left - kMarkerWidth) * (current - lower) / (upper - lower);
  if (!std::isfinite(position)) {
    return Rect{};
  }
  const int offset = static_cast<int>(position < 0.0 ? position - 0.5 : position + 0.5);
  return Rect{rect.left + offset, rect.top, rect.left + offset + kMarkerWidth, rect.bottom};
}

// One reading serves both the marker's place and its colour, so they always agree.
bool GRAPH::Paint(IEditorGraphics& graphics) {
  const GraphReading reading = shown_->Read();
  const Rect marker = MarkerRectFor(reading);
  if (marker.IsEmpty()) {
    return true;
  }
  const bool disabled = reading.lower != 0.0f && reading.lower == reading.upper;
  graphics.FillRectangle(disabled ? kDisabledColour : kMarkerColour, marker, nullptr);
  return true;
}

}  // namespace velmora
