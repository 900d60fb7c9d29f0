// What the delay engine needs from the plug-in frame. The frame implements it; tests give
// the engine a scripted stand-in. Every call is made with the plug-in's instance lock held
// (from ProcessBlock on the audio thread, or from a parameter change on a host thread).
#pragma once

#include <cstdint>

namespace velmora {

class EngineHost {
 public:
  virtual ~EngineHost() = default;

  // The stored real value (in the parameter's own units) of parameter 0..21.
  virtual double StoredParamValue(int index) const = 0;

  // The frame's current sample rate in Hz.
  virtual double CurrentSampleRate() const = 0;

  // Sample rate x 60 / host tempo; 0 when the host reports no valid tempo (the engine then
  // plays at kTempoWithoutHost).
  virtual double SamplesPerBeat() = 0;

  // The host song position rounded to a whole sample; 0 when unavailable or negative.
  // Kept in 64 bits so songs longer than 2^31 samples stay in step.
  virtual int64_t HostSamplePosition() = 0;
};

}  // namespace velmora
