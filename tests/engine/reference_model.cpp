// The model's block processing and per-sample chain.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "reference_model.h"

namespace velmora::dsp::testing {

namespace {

// A sample that is not a finite number is processed as silence; finite samples are held
// to +-kInputCeiling, so no input can overflow the line or a filter.
double Scrubbed(double sample) {
  if (!std::isfinite(sample)) {
    return 0.0;
  }
  return std::min(std::max(sample, -ReferenceModel::kInputCeiling), ReferenceModel::kInputCeiling);
}

}  // namespace

void ReferenceModel::AllocateDelayLine(int length) {
  delayLine.assign(static_cast<size_t>(std::max(1, length)), 0.0);
  delayLineAllocated = true;
}

void ReferenceModel::ReapplyTimingParameters() {
  for (int index : {0, 8, 15}) {
    appliedValues[index] = kInvalid;
    ApplyParameter(index);
  }
}

double ReferenceModel::ReadTap(int d) const {
  int i = writeIndex - d;
  if (i < 0) {
    i += delayLineLength;
  }
  return delayLine[static_cast<size_t>(i)];
}

float ReferenceModel::LfoValue(const ModelSide& side) const {
  if (side.lfoPeriod == 0) {
    return 0.0f;
  }
  const int difference = static_cast<int>(side.lfoPhase) - static_cast<int>(side.lfoCentre);
  return static_cast<float>(std::abs(difference)) / static_cast<float>(side.lfoPeriod);
}

void ReferenceModel::AdvanceLfo(ModelSide& side) {
  side.lfoPhase += 1;
  if (side.lfoPhase >= side.lfoPeriod) {
    side.lfoPhase = 0;
  }
}

double ReferenceModel::RunSideChain(bool isRight, ModelSide& side, ModelGraph& graph, double t,
                                    bool lastFrame) {
  if (!side.sideActive) {
    side.filterOut = t;
    return t;
  }
  const float x = LfoValue(side);
  ApplyLinkModulation(isRight, side, x);
  double out;
  if (side.filterType > 0) {
    const double g = (static_cast<double>(x) * side.sweepScale + side.sweepOffset) * side.baseCoeff;
    if (lastFrame) {
      graph.current = static_cast<float>(g);
    }
    const double v = (t - side.filterOut) * g + side.damping * side.filterVelocity;
    side.filterVelocity = v;
    double y = v * g + side.damping * side.filterOut;
    if (y >= 1.0) {
      y = 1.0;
    } else if (!(y >= -1.0)) {
      y = -1.0;
    }
    side.filterOut = y;
    out = side.filterType == 1 ? y : t - y;
  } else {
    side.filterOut = t;
    out = t;
  }
  AdvanceLfo(side);
  return out;
}

void ReferenceModel::ProcessSample(double inL, double inR, double& outL, double& outR, int fbTap,
                                   int oldFbTap, bool lastFrame) {
  const double threshold = bypassThreshold;
  if (std::fabs(inL) > threshold || std::fabs(inR) > threshold ||
      std::fabs(left.filterOut) > threshold || std::fabs(right.filterOut) > threshold) {
    silenceCount = 0;
  }
  if (silenceCount >= silenceLimit) {
    outL = inL;
    outR = inR;
    AdvanceLfo(left);
    AdvanceLfo(right);
    crossfadeActive = false;
    return;
  }

  double leftValue = ReadTap(leftTap);
  double rightValue = ReadTap(rightTap);
  double feedbackValue = ReadTap(fbTap);
  if (crossfadeActive) {
    crossfadeCount += 1;
    const float a = static_cast<float>(crossfadeCount) / static_cast<float>(crossfadeLength);
    const double oldLeft = ReadTap(oldLeftTap);
    const double oldRight = ReadTap(oldRightTap);
    const double oldFeedback = ReadTap(oldFbTap);
    leftValue = oldLeft + (leftValue - oldLeft) * a;
    rightValue = oldRight + (rightValue - oldRight) * a;
    feedbackValue = oldFeedback + (feedbackValue - oldFeedback) * a;
    if (crossfadeCount >= crossfadeLength) {
      oldLeftTap = leftTap;
      oldRightTap = rightTap;
      crossfadeActive = false;
    }
  }

  delayLine[static_cast<size_t>(writeIndex)] =
      (inR + inL) * 0.5 + static_cast<double>(feedbackCurrent) * feedbackValue;
  writeIndex += 1;
  if (static_cast<unsigned>(writeIndex) >= static_cast<unsigned>(std::max(1, delayLineLength))) {
    writeIndex = 0;
  }

  const double l = RunSideChain(false, left, graphLeft, leftValue, lastFrame);
  const double r = RunSideChain(true, right, graphRight, rightValue, lastFrame);

  const float p = panCurrent;
  const float rest = 1.0f - p;
  const double pd = p;
  const double restd = rest;
  outL = (restd * r + pd * l) * static_cast<double>(wetCurrent) +
         static_cast<double>(dryCurrent) * inL;
  outR = (restd * l + pd * r) * static_cast<double>(wetCurrent) +
         static_cast<double>(dryCurrent) * inR;
  silenceCount += 1;
}

void ReferenceModel::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  const int frames = processingEnabled ? nFrames : 0;
  double w = 4.0 * host_.SamplesPerBeat();
  // No usable tempo (none, not a positive finite number, or a line beyond the cap): 120 BPM.
  if (!(std::isfinite(w) && w > 0.0) || Round(20.0 * w) > kLineCap) {
    w = 4.0 * (host_.CurrentSampleRate() * 60.0 / 120.0);
  }
  if (!(std::isfinite(w) && w >= 0.0) || Round(20.0 * w) > kLineCap) {
    w = 0.0;
  }

  if (!started) {
    samplesPerWhole = w;
    started = true;
    engineSampleRate = 0.0;
    delayLineLength = static_cast<int>(Round(20.0 * w));
    AllocateDelayLine(delayLineLength);
    left.lfoPhase = right.lfoPhase = 0;
    writeIndex = 0;
    ZeroFilterStates();
    ResetEngine();
    crossfadeLength = static_cast<uint32_t>(Round(engineSampleRate * 0.1));
    crossfadeActive = false;
    ReapplyTimingParameters();
    oldRightTap = rightTap;
    oldLeftTap = leftTap;
  } else if (std::memcmp(&w, &samplesPerWhole, sizeof w) != 0) {
    samplesPerWhole = w;
    delayLineLength = static_cast<int>(Round(20.0 * w));
    AllocateDelayLine(delayLineLength);
    left.lfoPhase = right.lfoPhase = 0;
    writeIndex = 0;
    ZeroFilterStates();
    resyncPending = true;
    crossfadeActive = false;
    ReapplyTimingParameters();
    oldRightTap = rightTap;
    oldLeftTap = leftTap;
  }
  if (tapChangePending && !crossfadeActive) {
    appliedValues[0] = kInvalid;
    ApplyParameter(0);
  }

  const int fbTap = 2 * rightTap;
  const int oldFbTap = 2 * oldRightTap;

  if (resyncPending) {
    const uint64_t s = static_cast<uint64_t>(host_.HostSamplePosition());
    for (ModelSide* side : {&left, &right}) {
      if (side->lfoPeriod == 0) {
        side->lfoPhase = 0;
        continue;
      }
      side->lfoPhase = side->lfoCentre + static_cast<uint32_t>(s % side->lfoPeriod);
      if (side->lfoPhase >= side->lfoPeriod) {
        side->lfoPhase -= side->lfoPeriod;
      }
    }
    if (mirror && right.lfoPeriod != 0) {
      right.lfoPhase += right.lfoCentre;
      if (right.lfoPhase >= right.lfoPeriod) {
        right.lfoPhase -= right.lfoPeriod;
      }
    }
    resyncPending = false;
  }
  const bool bypassedAtStart = silenceCount >= silenceLimit;

  for (int i = 0; i < frames; ++i) {
    const double inL = Scrubbed(inputs[0][i]);
    const double inR = Scrubbed(inputs[1][i]);
    double outL = 0.0;
    double outR = 0.0;
    ProcessSample(inL, inR, outL, outR, fbTap, oldFbTap, i == frames - 1);
    outputs[0][i] = outL;
    outputs[1][i] = outR;
  }

  const bool bypassedNow = silenceCount >= silenceLimit;
  if (bypassedNow != bypassedAtStart) {
    bypassIndicator = !bypassedNow;
    ++bypassIndicatorPushes;
  }
  if (left.filterType == 0 && CurrentOf(left.linkTarget) != nullptr) {
    graphLeft.current = *CurrentOf(left.linkTarget);
  }
  if (right.filterType == 0 && CurrentOf(right.linkTarget) != nullptr) {
    graphRight.current = *CurrentOf(right.linkTarget);
  }
}

}  // namespace velmora::dsp::testing
