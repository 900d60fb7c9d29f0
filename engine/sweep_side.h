// One side chain of the delay: a resonant two-state filter (off, low-pass, high-pass)
// whose coefficient a tempo-synchronised triangle oscillator sweeps, and the link that lets
// the same oscillator move one other quantity.
//
// Filter, per sample, with tap value t, swept coefficient g and damping d:
//   v[n] = (t - y[n-1]) * g + d * v[n-1]
//   y[n] = v[n] * g + d * y[n-1], held to -1..1
// Low-pass output is y, high-pass output t - y. With g still, a constant t settles at
// y = t / (1 + resoFactor^2), since d = 1 - resoFactor * baseCoeff.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace velmora::dsp {

enum FilterType : int16_t { kFilterOff = 0, kFilterLowpass = 1, kFilterHighpass = 2 };

struct SweepSide {
  int16_t filterType = kFilterOff;
  int cutoffHz = 0;
  double resoFactor = 0.0;   // 0.5^(Reso x 0.05): 1 at Reso 0, 1/32 at Reso 100
  int depthScaled = 0;       // round(Depth x 19980 x 0.01): 0..19980
  double baseCoeff = 0.0;    // 1 - exp(-2 pi cutoff / rate)
  double sweepScale = 0.0;   // 0..4
  double sweepOffset = 0.0;  // 1 - sweepScale / 4
  double damping = 0.0;      // 1 - resoFactor x baseCoeff
  uint32_t lfoPeriod = 0;
  uint32_t lfoCentre = 0;
  uint32_t lfoPhase = 0;
  bool sideActive = false;
  double filterVelocity = 0.0;
  double filterOut = 0.0;
  int16_t linkTarget = 0;
  int16_t linkParam = -1;  // parameter index of the link target, -1 when none
  float linkDepth = 0.0f;  // -2..2
  float linkCentre = 0.0f;
};

// The triangle: 0.5 at phase 0, 0 at the centre, back towards 0.5. A side without a
// period (no valid host tempo) sits at 0 instead of dividing by zero.
inline float LfoValue(const SweepSide& side) {
  if (side.lfoPeriod == 0) {
    return 0.0f;
  }
  const int32_t distance =
      static_cast<int32_t>(side.lfoPhase) - static_cast<int32_t>(side.lfoCentre);
  return static_cast<float>(std::abs(distance)) / static_cast<float>(side.lfoPeriod);
}

inline void AdvanceLfo(SweepSide& side) {
  if (++side.lfoPhase >= side.lfoPeriod) {
    side.lfoPhase = 0;
  }
}

// g runs from (1 - Depth) x baseCoeff at x = 0 to (1 + Depth) x baseCoeff at x = 0.5.
inline double SweptCoefficient(const SweepSide& side, float x) {
  return (static_cast<double>(x) * side.sweepScale + side.sweepOffset) * side.baseCoeff;
}

// The filter's recursion on working copies of its two states, so the per-sample loop keeps
// them in registers; Store writes them back.
struct SweepFilterCore {
  explicit SweepFilterCore(const SweepSide& side)
      : damping(side.damping),
        highpass(side.filterType == kFilterHighpass),
        velocity(side.filterVelocity),
        out(side.filterOut) {}

  // Runs the filter on tap value t with coefficient g; returns the side output.
  double Run(double t, double g) {
    const double v = (t - out) * g + damping * velocity;
    velocity = v;
    double y = v * g + damping * out;
    y = y >= 1.0 ? 1.0 : y;
    y = y >= -1.0 ? y : -1.0;  // also catches not-a-number
    out = y;
    return highpass ? t - y : y;
  }

  void Store(SweepSide& side) const {
    side.filterVelocity = velocity;
    side.filterOut = out;
  }

  double damping;
  bool highpass;
  double velocity;
  double out;
};

// baseCoeff, sweepScale and sweepOffset for the side's cutoff and depth at this rate.
void RecomputeSweepCoefficients(SweepSide& side, double sampleRate);

// Puts the oscillator at song position s: the centre (bottom of the triangle) plus s
// modulo the period, optionally a further half period on. A side without a period is
// held at phase 0.
void RelockLfo(SweepSide& side, uint64_t songPosition, bool halfPeriodOn);

}  // namespace velmora::dsp
