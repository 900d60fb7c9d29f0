// The controls the effect engine drives: the automatic-bypass lamp and the modulation strips.
// The engine keeps their state in its own display records and writes them from the audio
// thread without a lock; these controls read a record when they paint. Until a control is
// pointed at an engine record it shows a record of its own, which callers may write.
#pragma once

#include "controls/icontrol.h"
#include "engine/dsp/display_state.h"
#include "graphics/color.h"

namespace velmora {

// A round lamp: green while the effect processes, red while it is bypassed.
class IBypass : public IControl, public dsp::LampListener {
 public:
  static constexpr Color kOnColour{250, 55, 255, 55};
  static constexpr Color kOffColour{250, 255, 55, 55};

  IBypass(IEffectBase* owner, int centreX, int centreY, int radius);

  bool Paint(IEditorGraphics& graphics) override;
  // The engine switched the lamp: repaint it.
  void OnLampChanged(bool processing) override;

  // Shows the engine's lamp record from now on.
  void Follow(const dsp::LampDisplay* record) { shown_ = record != nullptr ? record : &own_; }
  // Sets the lamp's own record (used while it follows none) and repaints.
  void SetState(bool processing);
  bool State() const { return shown_->state.load(std::memory_order_relaxed); }

 private:
  dsp::LampDisplay own_;
  const dsp::LampDisplay* shown_ = &own_;
};

// A thin strip with a 6-pixel marker where the quantity stands within lower..upper. A
// negative current hides the marker; lower == upper != 0 parks a red marker at the left.
// Nothing marks the strip dirty: the editor repaints its area on every timer tick.
class GRAPH : public IControl {
 public:
  static constexpr int kMarkerWidth = 6;
  static constexpr Color kMarkerColour{150, 255, 255, 255};
  static constexpr Color kDisabledColour{150, 255, 5, 5};

  GRAPH(IEffectBase* owner, int left, int top, int right, int bottom);

  bool Paint(IEditorGraphics& graphics) override;
  // The marker's rectangle for the record's current state; empty when none is drawn.
  Rect MarkerRect() const;

  // Shows the engine's strip record from now on.
  void Follow(const dsp::GraphDisplay* record) { shown_ = record != nullptr ? record : &own_; }
  // The strip's own record, shown while it follows none.
  dsp::GraphDisplay& OwnRecord() { return own_; }

 private:
  dsp::GraphDisplay own_;
  const dsp::GraphDisplay* shown_ = &own_;
};

}  // namespace velmora
