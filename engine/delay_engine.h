// The effect's signal engine: one mono delay line fed with the sum of both inputs, a right
// tap at the "Delay Rate" time, a left tap at a multiple of it chosen by "Ping Pong", a
// feedback tap at twice the "Delay Rate" time, a short crossfade when tap lengths change,
// two swept side filters with link modulation, the output stage and the automatic bypass.
//
// Threading: the engine takes no lock of its own. The plug-in calls every public operation
// with its recursive instance lock held; the engine's own re-entries (a link change
// re-applying the old target, ResetEngine re-applying the cutoffs, a block re-applying the
// timing parameters) are plain calls under that same lock. Only the display records are
// read from another thread (the editor), without the lock.
#pragma once

#include <cstdint>

#include "engine/delay_line.h"
#include "engine/display_state.h"
#include "engine/engine_host.h"
#include "engine/mix_gains.h"
#include "engine/parameter_index.h"
#include "engine/sweep_side.h"

namespace velmora::dsp {

// An appliedValues entry no parameter can hold (the byte 155 four times), so the next
// application of that parameter always takes effect.
constexpr int kInvalidAppliedValue = static_cast<int>(0x9B9B9B9Bu);

// Tap lengths in samples, the tap crossfade and the automatic bypass.
struct DelayState {
  int rightTap = 0;
  int leftTap = 0;
  int oldRightTap = 0;
  int oldLeftTap = 0;
  bool crossfadeActive = false;
  uint32_t crossfadeCount = 0;
  uint32_t crossfadeLength = 0;  // 0.1 s, fixed at the first block
  int mode = 0;                  // "Ping Pong" value 0..4
  float bypassThreshold = 0.0f;  // linear amplitude
  int silenceCount = 0;
  int silenceLimit = 0;
};

// The tempo in beats per minute the effect follows when the host reports none it can use.
constexpr double kTempoWithoutHost = 120.0;

class DelayEngine {
 public:
  explicit DelayEngine(EngineHost& host);
  DelayEngine(const DelayEngine&) = delete;
  DelayEngine& operator=(const DelayEngine&) = delete;

  // Applies the stored value of parameter index (0..21, others ignored), rounded to a
  // whole number. An unchanged value does nothing.
  void ApplyParameter(int index);

  // Adopts the host's current sample rate (a rate that is not a positive finite number
  // counts as unchanged), re-locks the oscillators and silences the line.
  void ResetEngine();

  // Switching the effect on resets it.
  void SetActive(bool active);

  // Processes nFrames (>= 0) stereo frames: inputs and outputs hold two channel pointers,
  // 0 left and 1 right. Inputs and outputs may be the same buffers. Until every parameter
  // has been applied once, no frame is processed and the outputs are left untouched.
  void ProcessBlock(double** inputs, double** outputs, int nFrames);

  // Forces the next application of parameter index to take effect.
  void InvalidateAppliedValue(int index);

  // The editor's view. The listener (may be null) is told when the lamp switches.
  const LampDisplay& Lamp() const { return lamp_; }
  const GraphDisplay& LeftGraph() const { return graphLeft_; }
  const GraphDisplay& RightGraph() const { return graphRight_; }
  void SetLampListener(LampListener* listener) { lampListener_ = listener; }

  // Read-only views of the engine state, for diagnostics and tests.
  const DelayState& Delay() const { return delay_; }
  const MixGains& Gains() const { return gains_; }
  const SweepSide& LeftSide() const { return left_; }
  const SweepSide& RightSide() const { return right_; }
  const DelayLine& Line() const { return line_; }
  bool ProcessingEnabled() const { return processingEnabled_; }
  double EngineSampleRate() const { return engineSampleRate_; }
  double SamplesPerWhole() const { return samplesPerWhole_; }
  bool Mirror() const { return mirror_; }
  bool Bypassed() const { return delay_.silenceCount >= delay_.silenceLimit; }

  // Chunks with signal present and no tap change under way take a shorter path with the
  // same results; tests switch it off to compare the two.
  void SetSteadyPathEnabled(bool enabled) { steadyPathEnabled_ = enabled; }

 private:
  struct FollowUpFlags {
    bool left = false;
    bool right = false;
  };

  // Parameter application (parameter_application.cpp).
  FollowUpFlags ApplyIndexStep(int index, int value);
  void ApplyDelayRate(int value);
  void ApplySideStep(SweepSide& side, int offset, int value, FollowUpFlags& flags, bool left);
  void ApplySweepLink(SweepSide& side, int value);
  void RunFollowUps(int index, FollowUpFlags flags);
  void StartCrossfade();
  void SilenceForResync();
  void CountTowardsWarmUp(int index);
  void ReapplyParameter(int index);

  // Block start and end (delay_engine.cpp).
  double UsableSamplesPerWhole(double whole) const;
  void AllocateLine();
  void ReserveLine();
  void StartFirstBlock(double whole);
  void FollowTempoChange(double whole);
  void ReapplyTimingParameters();
  void ZeroFilterStates();
  void RelockOscillators();

  // The per-sample chain (sample_loop.cpp).
  void ProcessFrames(double** inputs, double** outputs, int frames);

  // Display records (display_update.cpp).
  void RefreshGraphRange(bool left);
  void UpdateDisplaysAtBlockEnd(bool bypassedAtStart);

  EngineHost& host_;
  DelayLine line_;
  DelayState delay_;
  MixGains gains_;
  SweepSide left_;
  SweepSide right_;
  double samplesPerWhole_ = 0.0;
  double engineSampleRate_ = 0.0;
  // The samples-per-whole-note value whose line could not be allocated, so a failure is
  // not retried every block; NaN when none failed.
  double failedWhole_;
  // Beats per minute of the last tempo the line was sized for; what the next reservation
  // expects.
  double tempoGuess_ = 120.0;
  bool mirror_ = false;
  bool started_ = false;
  bool resyncPending_ = false;
  // A "Delay Rate" or "Ping Pong" change arrived during a crossfade and still has to
  // move the taps.
  bool tapChangePending_ = false;
  bool processingEnabled_ = false;
  bool steadyPathEnabled_ = true;
  int appliedValues_[kParamCount];
  bool appliedOnce_[kParamCount] = {};
  int warmUpRemaining_ = kParamCount;

  LampDisplay lamp_;
  GraphDisplay graphLeft_;
  GraphDisplay graphRight_;
  LampListener* lampListener_ = nullptr;
};

}  // namespace velmora::dsp
