// What the engine shows on the editor: the automatic-bypass lamp and the two modulation
// strips. The engine writes these from the audio thread without a lock; the editor reads
// them when it paints. Each field is one 32-bit value, so relaxed atomics are enough: a
// paint that sees a mix of old and new fields only draws one frame with a slightly wrong
// marker.
#pragma once

#include <atomic>

namespace velmora::dsp {

// The bypass lamp: true while the effect processes, false while it is bypassed.
struct LampDisplay {
  std::atomic<bool> state{false};
};

// One modulation strip. A negative current hides the marker; lower == upper != 0 shows the
// disabled look (a red marker parked at the left end).
struct GraphDisplay {
  std::atomic<float> current{-1.0f};
  std::atomic<float> lower{0.0f};
  std::atomic<float> upper{0.0f};
};

// Told when the engine switches the lamp, so the editor can repaint it and pass the change
// on ("mark dirty with push"). Called on the audio thread with the instance lock held.
class LampListener {
 public:
  virtual ~LampListener() = default;
  virtual void OnLampChanged(bool processing) = 0;
};

}  // namespace velmora::dsp
