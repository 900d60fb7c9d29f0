// The four quantities of the output stage and the feedback path that a sweep oscillator
// can move. Each has a base value, set from its parameter, and a current value, which the
// signal path uses and which link modulation may override.
#pragma once

namespace velmora::dsp {

// Slots are numbered like the Sweep Link values, so a side's link value selects its
// target directly. Slot 0 ("Off") belongs to no quantity: writes to it go nowhere.
enum LinkTarget : int {
  kLinkOff = 0,
  kLinkPanWidth = 1,
  kLinkFeedback = 2,
  kLinkDryMix = 3,
  kLinkWetMix = 4,
};

constexpr int kLinkSlotCount = 5;

// All values single precision: pan 0..1, feedback 0..100/101, dry and wet 0..1.
struct MixGains {
  float base[kLinkSlotCount] = {};
  float current[kLinkSlotCount] = {};

  float Pan() const { return current[kLinkPanWidth]; }
  float Feedback() const { return current[kLinkFeedback]; }
  float Dry() const { return current[kLinkDryMix]; }
  float Wet() const { return current[kLinkWetMix]; }

  // A new parameter value resets the current value too.
  void SetBase(int slot, float value) {
    base[slot] = value;
    current[slot] = value;
  }
};

}  // namespace velmora::dsp
