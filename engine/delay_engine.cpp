#include "engine/delay_engine.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/rounding.h"

namespace velmora::dsp {

namespace {

// "Differs in any bit": a tempo change so small that the values compare equal after
// rounding still counts, and NaN equals itself.
bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

DelayEngine::DelayEngine(EngineHost& host)
    : host_(host), failedWhole_(std::numeric_limits<double>::quiet_NaN()) {
  for (int& value : appliedValues_) {
    value = kInvalidAppliedValue;
  }
}

void DelayEngine::InvalidateAppliedValue(int index) {
  if (index >= 0 && index < kParamCount) {
    appliedValues_[index] = kInvalidAppliedValue;
  }
}

void DelayEngine::SetActive(bool active) {
  if (active) {
    ResetEngine();
  }
}

void DelayEngine::ResetEngine() {
  const double rate = host_.CurrentSampleRate();
  // A host that announces a rate of zero, a negative or a non-finite rate keeps the last
  // good one: a zero rate would make the crossfade length zero and divide by it.
  const bool usable = rate > 0.0 && std::isfinite(rate);
  if (usable && rate != engineSampleRate_) {
    engineSampleRate_ = rate;
    ReapplyParameter(kFreqLeft);
    ReapplyParameter(kFreqRight);
    RefreshGraphRange(true);
    RefreshGraphRange(false);
  }
  resyncPending_ = true;
  ReserveLine();
  line_.Clear();
}

// Set-up and resume are where the host expects work to be done, so the line's memory is
// found here for the rate just adopted, at the tempo last seen (120 BPM before any), with
// the usual headroom. The audio thread then allocates only when the tempo falls below two
// thirds of that, or when this reservation could not be had.
void DelayEngine::ReserveLine() {
  if (engineSampleRate_ <= 0.0) {
    return;
  }
  const int64_t length = DelayLineLengthFor(4.0 * engineSampleRate_ * 60.0 / tempoGuess_);
  if (length > 0) {
    line_.Reserve(static_cast<int64_t>(static_cast<double>(length) * kLineHeadroom));
  }
}

void DelayEngine::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  const int frames = processingEnabled_ && nFrames > 0 ? nFrames : 0;
  const double whole = UsableSamplesPerWhole(4.0 * host_.SamplesPerBeat());
  if (!started_) {
    StartFirstBlock(whole);
  } else if (!SameBits(whole, samplesPerWhole_)) {
    FollowTempoChange(whole);
  }
  // A tap change that arrived during a crossfade moves the taps now that none runs.
  if (tapChangePending_ && !delay_.crossfadeActive) {
    ReapplyParameter(kDelayRate);
  }
  if (resyncPending_) {
    RelockOscillators();
  }
  const bool bypassedAtStart = Bypassed();
  if (frames > 0) {
    ProcessFrames(inputs, outputs, frames);
  }
  UpdateDisplaysAtBlockEnd(bypassedAtStart);
}

// Without a valid host tempo (none, zero, negative, not finite, or one whose line would
// exceed the cap) the effect plays at kTempoWithoutHost, computed exactly as the bindings
// compute a host's tempo, so it sounds bit for bit as a host at that tempo does. Only a line
// that could not be allocated leaves zero lengths over a one-sample line.
double DelayEngine::UsableSamplesPerWhole(double whole) const {
  if (!(whole > 0.0) || DelayLineLengthFor(whole) < 0) {
    whole = 4.0 * (host_.CurrentSampleRate() * 60.0 / kTempoWithoutHost);
  }
  if (!(whole > 0.0) || DelayLineLengthFor(whole) < 0 || SameBits(whole, failedWhole_)) {
    return 0.0;
  }
  return whole;
}

// Allocates only when the line must grow beyond what it holds; otherwise this is a clear.
void DelayEngine::AllocateLine() {
  if (line_.Allocate(DelayLineLengthFor(samplesPerWhole_))) {
    failedWhole_ = std::numeric_limits<double>::quiet_NaN();
    const double rate = host_.CurrentSampleRate();
    if (samplesPerWhole_ > 0.0 && rate > 0.0 && std::isfinite(rate)) {
      tempoGuess_ = 4.0 * rate * 60.0 / samplesPerWhole_;
    }
    return;
  }
  failedWhole_ = samplesPerWhole_;
  samplesPerWhole_ = 0.0;
}

void DelayEngine::StartFirstBlock(double whole) {
  samplesPerWhole_ = whole;
  started_ = true;
  engineSampleRate_ = 0.0;  // so that ResetEngine takes the host rate as new
  AllocateLine();
  left_.lfoPhase = 0;
  right_.lfoPhase = 0;
  ZeroFilterStates();
  ResetEngine();
  // At least one sample, so the crossfade never divides by zero whatever the rate.
  const uint32_t length = RoundToUnsigned(engineSampleRate_ * 0.1);
  delay_.crossfadeLength = length > 0 ? length : 1;
  delay_.crossfadeActive = false;
  ReapplyTimingParameters();
  delay_.oldRightTap = delay_.rightTap;
  delay_.oldLeftTap = delay_.leftTap;
}

void DelayEngine::FollowTempoChange(double whole) {
  // A running crossfade still holds the old tempo's lengths, which may lie beyond the new
  // line; ending it lets the re-applied "Delay Rate" recompute the taps for the new line.
  delay_.crossfadeActive = false;
  samplesPerWhole_ = whole;
  AllocateLine();
  left_.lfoPhase = 0;
  right_.lfoPhase = 0;
  ZeroFilterStates();
  resyncPending_ = true;
  ReapplyTimingParameters();
  delay_.oldRightTap = delay_.rightTap;
  delay_.oldLeftTap = delay_.leftTap;
}

void DelayEngine::ReapplyTimingParameters() {
  ReapplyParameter(kDelayRate);
  ReapplyParameter(kLeftSweepRate);
  ReapplyParameter(kRightSweepRate);
}

void DelayEngine::ReapplyParameter(int index) {
  InvalidateAppliedValue(index);
  ApplyParameter(index);
}

void DelayEngine::ZeroFilterStates() {
  left_.filterVelocity = 0.0;
  left_.filterOut = 0.0;
  right_.filterVelocity = 0.0;
  right_.filterOut = 0.0;
}

// The whole 64-bit song position modulo each period, so the oscillators stay in step with
// the song however long it runs.
void DelayEngine::RelockOscillators() {
  const int64_t position = host_.HostSamplePosition();
  const uint64_t songPosition = position > 0 ? static_cast<uint64_t>(position) : 0;
  RelockLfo(left_, songPosition, false);
  RelockLfo(right_, songPosition, mirror_);
  resyncPending_ = false;
}

}  // namespace velmora::dsp
