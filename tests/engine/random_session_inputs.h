// Seeded random inputs for the engine's differential sessions: parameter values the way
// the store may hold them, host tempos and rates, song positions and input signals.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/parameter_index.h"

namespace velmora::dsp::testing {

// A small deterministic generator, independent of the standard library's distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

 private:
  uint64_t state_;
};

// A parameter value the way the store may hold it: mostly whole, sometimes a real value
// inside the range (the "Freq" shapes give those), now and then exactly half-way.
// Quiet sessions keep echoes short and faint, so the automatic bypass engages often.
inline double RandomValue(Random& rng, int index, bool quiet) {
  const ParamRange range = kParamRanges[index];
  int whole = rng.Between(range.minimum, range.maximum);
  if (quiet &&
      (index == kDelayRate || index == kFeedback || index == kResoLeft || index == kResoRight)) {
    whole = rng.Between(range.minimum, range.minimum + 8);
  }
  if (quiet && index == kBypassCeil) {
    whole = rng.Between(-55, -50);
  }
  if (index == kDelayRate && rng.Chance(70)) {
    whole = rng.Between(0, 12);  // short taps, so the bypass gets its chance
  }
  if (index == kFeedback && rng.Chance(50)) {
    whole = rng.Between(0, 40);  // echoes that die away
  }
  if (index == kBypassCeil && rng.Chance(50)) {
    whole = rng.Between(-60, -50);
  }
  if (rng.Chance(75) || whole == range.maximum) {
    return whole;
  }
  return rng.Chance(30) ? whole + 0.5 : whole + rng.Unit() * 0.999;
}

inline double RandomSamplesPerBeat(Random& rng, double rate) {
  const int kind = rng.Below(20);
  if (kind == 0) {
    return 0.0;  // no valid tempo
  }
  if (kind == 1) {
    return 1.0e7 + rng.Unit();  // a line beyond the cap
  }
  if (kind == 2) {
    return 1.0 + rng.Unit() * 200.0;  // taps shorter than a block
  }
  const double tempo = 60.0 + rng.Unit() * 240.0;
  return rate * 60.0 / tempo;
}

inline double RandomRate(Random& rng) {
  // 8005 Hz makes the crossfade 800.5 samples before rounding.
  static const double kRates[] = {8000.0, 8000.0, 8005.0, 11025.0, 16000.0, 22050.0, 44100.0};
  return kRates[rng.Below(7)];
}

inline int64_t RandomSongPosition(Random& rng) {
  switch (rng.Below(5)) {
    case 0:
      return 0;
    case 1:
      return (int64_t{1} << 31) - rng.Between(0, 5000);
    case 2:
      return (int64_t{1} << 32) + rng.Between(0, 100000);
    case 3:
      return (int64_t{1} << 40) + rng.Between(0, 1 << 30);
    default:
      return rng.Between(0, 1 << 30);
  }
}

// The input of one block: the session keeps a current kind of signal for a stretch.
struct Signal {
  // 0 silence, 1 whisper below any threshold, 2 constant, 3 impulses, 4 noise, 5 rare
  // non-finite samples in silence
  int kind = 0;
  int remaining = 0;
  double level = 0.0;
};

inline double NextSample(Random& rng, Signal& s) {
  switch (s.kind) {
    case 1:
      return (rng.Unit() - 0.5) * 1.0e-6;
    case 2:
      return s.level;
    case 3:
      return rng.Chance(1) ? (rng.Chance(50) ? s.level : -s.level) : 0.0;
    case 4:
      return (rng.Unit() * 2.0 - 1.0) * s.level;
    case 5:
      if (rng.Chance(1)) {
        return rng.Chance(50) ? std::nan("") : -HUGE_VAL;
      }
      return 0.0;
    default:
      return 0.0;
  }
}

}  // namespace velmora::dsp::testing
