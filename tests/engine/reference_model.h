// A deliberately plain second implementation of the delay engine, written only to check the
// real one sample by sample: every step is spelled out in the order and precision the
// engine promises (single precision for gains, link values and the quantities named so,
// double elsewhere, lengths rounded half away from zero), with no chunking, no precomputed
// oscillator runs and no shortcuts. It is slow on purpose; clarity is its only job.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/engine_host.h"

namespace velmora::dsp::testing {

// An appliedValues entry no parameter can hold: the byte 155 four times.
constexpr int kInvalid = static_cast<int>(0x9B9B9B9Bu);

// Half away from zero: add or subtract 0.5, then truncate.
inline int64_t Round(double x) {
  return x >= 0.0 ? static_cast<int64_t>(x + 0.5) : static_cast<int64_t>(x - 0.5);
}

// One side chain: filter, oscillator and link, fields as the engine documents them.
struct ModelSide {
  int16_t filterType = 0;
  int cutoffHz = 0;
  double resoFactor = 0.0;
  int depthScaled = 0;
  double baseCoeff = 0.0;
  double sweepScale = 0.0;
  double sweepOffset = 0.0;
  double damping = 0.0;
  uint32_t lfoPeriod = 0;
  uint32_t lfoCentre = 0;
  uint32_t lfoPhase = 0;
  bool sideActive = false;
  double filterVelocity = 0.0;
  double filterOut = 0.0;
  int16_t linkTarget = 0;
  int16_t linkParam = -1;
  float linkDepth = 0.0f;
  float linkCentre = 0.0f;
};

// What the editor's modulation strip shows.
struct ModelGraph {
  float current = -1.0f;
  float lower = 0.0f;
  float upper = 0.0f;
};

class ReferenceModel {
 public:
  explicit ReferenceModel(EngineHost& host);

  void ApplyParameter(int index);
  void ResetEngine();
  void SetActive(bool active);
  void ProcessBlock(double** inputs, double** outputs, int nFrames);

  // The line length beyond which a tempo counts as invalid.
  static constexpr int64_t kLineCap = int64_t{1} << 26;
  // The largest magnitude an input sample keeps.
  static constexpr double kInputCeiling = 0x1p900;

  // Delay line and taps.
  std::vector<double> delayLine;
  bool delayLineAllocated = false;
  int delayLineLength = 0;
  int writeIndex = 0;
  double samplesPerWhole = 0.0;
  int rightTap = 0;
  int leftTap = 0;
  int oldRightTap = 0;
  int oldLeftTap = 0;
  bool crossfadeActive = false;
  uint32_t crossfadeCount = 0;
  uint32_t crossfadeLength = 0;
  int mode = 0;

  // Gains, single precision.
  float feedbackBase = 0.0f;
  float feedbackCurrent = 0.0f;
  float panBase = 0.0f;
  float panCurrent = 0.0f;
  float dryBase = 0.0f;
  float dryCurrent = 0.0f;
  float wetBase = 0.0f;
  float wetCurrent = 0.0f;

  // Automatic bypass.
  float bypassThreshold = 0.0f;
  int silenceCount = 0;
  int silenceLimit = 0;

  ModelSide left;
  ModelSide right;
  bool mirror = false;

  ModelGraph graphLeft;
  ModelGraph graphRight;
  bool bypassIndicator = false;
  int bypassIndicatorPushes = 0;

  int appliedValues[22];
  bool processingEnabled = false;
  bool appliedOnce[22] = {};
  int remainingCount = 22;
  double engineSampleRate = 0.0;
  bool started = false;
  bool resyncPending = false;
  bool tapChangePending = false;

 private:
  double NoteLength(int index, double base) const;
  void StartCrossfade();
  void UpdateSweep(ModelSide& side);
  void UpdateLinkCentre(ModelSide& side);
  void ApplyLinkModulation(bool isRight, ModelSide& side, float x);
  void RefreshGraphRange(bool isLeft);
  void ZeroFilterStates();
  void AllocateDelayLine(int length);
  void ReapplyTimingParameters();
  void ApplyLinkStep(ModelSide& side, int v);
  double ReadTap(int d) const;
  float LfoValue(const ModelSide& side) const;
  static void AdvanceLfo(ModelSide& side);
  double RunSideChain(bool isRight, ModelSide& side, ModelGraph& graph, double t, bool lastFrame);
  void ProcessSample(double inL, double inR, double& outL, double& outR, int fbTap, int oldFbTap,
                     bool lastFrame);
  float* CurrentOf(int linkTarget);
  float* BaseOf(int linkTarget);

  EngineHost& host_;
};

}  // namespace velmora::dsp::testing
