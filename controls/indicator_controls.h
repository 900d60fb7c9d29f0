// The controls the effect drives: the automatic-bypass lamp and the modulation strips. The
// effect keeps their readings itself and changes them from the audio thread without a lock;
// these controls read a source when they paint. Until a control follows the effect's source
// it shows a record of its own, which callers may write.
#pragma once

#include <atomic>

#include "controls/display_source.h"
#include "editor/icontrol.h"
#include "graphics/color.h"

namespace velmora {

// A round lamp: green while the effect processes, red while it is bypassed. The effect
// switches it from the audio thread while the editor's thread paints, so the lamp also
// remembers which state it last painted and asks for a repaint while the two differ: a
// change that lands between a paint pass's collection of dirty areas and its clean-up (in
// a pass that does not cover the lamp) is never lost.
class IBypass : public IControl {
 public:
  static constexpr Color kOnColour{250, 55, 255, 55};
  static constexpr Color kOffColour{250, 255, 55, 55};

  IBypass(IEffectBase* owner, int centreX, int centreY, int radius);

  bool Paint(IEditorGraphics& graphics) override;
  bool NeedsRepaint() const override;
  // The effect switched the lamp (any thread): repaint it.
  void OnLampChanged(bool processing);

  // Shows the effect's lamp from now on; null goes back to the lamp's own record.
  void Follow(const LampSource* source) { shown_ = source != nullptr ? source : &own_; }
  // Sets the lamp's own record (used while it follows none) and repaints.
  void SetState(bool processing);
  bool State() const { return shown_->Processing(); }

 private:
  static constexpr int kNeverPainted = -1;

  LampRecord own_;
  const LampSource* shown_ = &own_;
  std::atomic<int> painted_{kNeverPainted};  // the state last painted: 0 off, 1 on
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

  // Shows the effect's strip from now on; null goes back to the strip's own record.
  void Follow(const GraphSource* source) { shown_ = source != nullptr ? source : &own_; }
  // The strip's own record, shown while it follows none.
  GraphRecord& OwnRecord() { return own_; }

 private:
  Rect MarkerRectFor(const GraphReading& reading) const;

  GraphRecord own_;
  const GraphSource* shown_ = &own_;
};

}  // namespace velmora
