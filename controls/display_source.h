// What the lamp and the strips show, as the effect reports it. The effect keeps these
// readings itself and may change them on the audio thread while the editor paints, so a
// source hands out a snapshot, read without a lock. A paint that sees a mix of an old and a
// new reading only draws one frame with a slightly wrong marker.
#pragma once

#include <atomic>

namespace velmora {

// The bypass lamp: true while the effect processes, false while it is bypassed.
class LampSource {
 public:
  virtual ~LampSource() = default;
  virtual bool Processing() const = 0;
};

// One modulation strip. A negative current hides the marker; lower == upper != 0 shows the
// disabled look (a red marker parked at the left end).
struct GraphReading {
  float current = -1.0f;
  float lower = 0.0f;
  float upper = 0.0f;
};

class GraphSource {
 public:
  virtual ~GraphSource() = default;
  virtual GraphReading Read() const = 0;
};

// A lamp reading a caller sets itself: what a lamp shows until it follows the effect.
class LampRecord final : public LampSource {
 public:
  bool Processing() const override { return state.load(std::memory_order_relaxed); }
  std::atomic<bool> state{false};
};

// A strip reading a caller sets itself, field by field.
class GraphRecord final : public GraphSource {
 public:
  GraphReading Read() const override {
    return GraphReading{current.load(std::memory_order_relaxed),
                        lower.load(std::memory_order_relaxed),
                        upper.load(std::memory_order_relaxed)};
  }
  std::atomic<float> current{-1.0f};
  std::atomic<float> lower{0.0f};
  std::atomic<float> upper{0.0f};
};

}  // namespace velmora
