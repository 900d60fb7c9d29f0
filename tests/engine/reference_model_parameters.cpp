// The model's reaction to parameter changes and resets.
#include <algorithm>
#include <cmath>

#include "reference_model.h"

namespace velmora::dsp::testing {
namespace {

double ModeRatio(int mode) {
  switch (mode) {
    case 0:
      return 1.3333333333333333;
    case 1:
      return 1.5;
    case 3:
      return 2.333333333333333;
    case 4:
      return 2.5;
    default:
      return 2.0;
  }
}

int16_t LinkParamOf(int v) {
  static const int16_t kParams[5] = {-1, 2, 3, 19, 20};
  return kParams[v];
}

}  // namespace

ReferenceModel::ReferenceModel(EngineHost& host) : host_(host) {
  for (int& value : appliedValues) {
    value = kInvalid;
  }
}

double ReferenceModel::NoteLength(int index, double base) const {
  const int q = index / 3;
  const int r = index % 3;
  double length;
  if (r == 0) {
    length = base * std::ldexp(1.0, q);
  } else if (r == 1) {
    length = base * std::ldexp(1.0, q + 1) * 2.0 / 3.0;
  } else {
    length = base * std::ldexp(1.0, q) * 3.0 / 2.0;
  }
  return static_cast<float>(length);
}

float* ReferenceModel::CurrentOf(int linkTarget) {
  switch (linkTarget) {
    case 1:
      return &panCurrent;
    case 2:
      return &feedbackCurrent;
    case 3:
      return &dryCurrent;
    case 4:
      return &wetCurrent;
    default:
      return nullptr;
  }
}

float* ReferenceModel::BaseOf(int linkTarget) {
  switch (linkTarget) {
    case 1:
      return &panBase;
    case 2:
      return &feedbackBase;
    case 3:
      return &dryBase;
    case 4:
      return &wetBase;
    default:
      return nullptr;
  }
}

void ReferenceModel::SetActive(bool active) {
  if (active) {
    ResetEngine();
  }
}

void ReferenceModel::ResetEngine() {
  const double rate = host_.CurrentSampleRate();
  const bool usable = std::isfinite(rate) && rate > 0.0;
  if (usable && rate != engineSampleRate) {
    engineSampleRate = rate;
    appliedValues[4] = kInvalid;
    ApplyParameter(4);
    appliedValues[11] = kInvalid;
    ApplyParameter(11);
    RefreshGraphRange(true);
    RefreshGraphRange(false);
  }
  resyncPending = true;
  if (delayLineAllocated) {
    std::fill(delayLine.begin(), delayLine.end(), 0.0);
    writeIndex = 0;
  }
}

void ReferenceModel::StartCrossfade() {
  crossfadeCount = 0;
  crossfadeActive = true;
  leftTap = static_cast<int>(Round(rightTap * ModeRatio(mode)));
  const double limit = std::max(engineSampleRate, 2.0 * leftTap);
  silenceLimit = static_cast<int>(limit);
  silenceCount = silenceLimit;
}

void ReferenceModel::UpdateSweep(ModelSide& side) {
  side.baseCoeff = 1.0 - std::exp(side.cutoffHz / engineSampleRate * -6.283185307179586);
  side.sweepScale = static_cast<float>(side.depthScaled) * 0.0002002002f;
  side.sweepOffset = 1.0 - side.sweepScale * 0.25;
}

void ReferenceModel::UpdateLinkCentre(ModelSide& side) {
  const float* base = BaseOf(side.linkTarget);
  if (base == nullptr) {
    return;
  }
  const float d = std::fabs(side.linkDepth);
  float c = *base - d * 0.25f;
  if (c >= 1.0f - d * 0.5f) {
    c = 1.0f - d * 0.5f;
  }
  if (c < 0.0f) {
    c = 0.0f;
  }
  side.linkCentre = c;
}

void ReferenceModel::ApplyLinkModulation(bool isRight, ModelSide& side, float x) {
  if (isRight && right.linkTarget == left.linkTarget) {
    return;
  }
  float* current = CurrentOf(side.linkTarget);
  if (current == nullptr) {
    return;
  }
  const double c = side.linkCentre;
  const double d = side.linkDepth;
  if (side.linkDepth > 0.0f) {
    *current = static_cast<float>(c + d * static_cast<double>(x));
  } else {
    *current = static_cast<float>(c + (static_cast<double>(x) - 0.5) * d);
  }
}

void ReferenceModel::RefreshGraphRange(bool isLeft) {
  ModelSide& side = isLeft ? left : right;
  ModelGraph& graph = isLeft ? graphLeft : graphRight;
  if (side.filterType != 0) {
    graph.lower = static_cast<float>(1.0 - std::exp(-125.66370614359172 / engineSampleRate));
    graph.upper = static_cast<float>(1.0 - std::exp(-125663.70614359173 / engineSampleRate)) * 2.0f;
  } else if (side.linkTarget == 0) {
    graph.upper = 0.0f;
    graph.lower = 0.0f;
    graph.current = -1.0f;
  } else if (left.linkTarget == right.linkTarget) {
    graphRight.lower = -1.0f;
    graphRight.upper = -1.0f;
  } else {
    graph.lower = 0.0f;
    graph.upper = side.linkTarget == 2 ? 0.99f : 1.0f;
  }
}

void ReferenceModel::ZeroFilterStates() {
  left.filterVelocity = left.filterOut = 0.0;
  right.filterVelocity = right.filterOut = 0.0;
}

void ReferenceModel::ApplyLinkStep(ModelSide& side, int v) {
  side.linkTarget = static_cast<int16_t>(v);
  if (side.linkParam >= 0) {
    appliedValues[side.linkParam] = kInvalid;
    ApplyParameter(side.linkParam);
  }
  side.linkParam = LinkParamOf(v);
}

void ReferenceModel::ApplyParameter(int index) {
  if (index < 0 || index >= 22) {
    return;
  }
  const int v = static_cast<int>(Round(host_.StoredParamValue(index)));
  if (v == appliedValues[index]) {
    return;
  }
  appliedValues[index] = v;
  bool leftFlag = false;
  bool rightFlag = false;
  switch (index) {
    case 0:
      if (!crossfadeActive) {
        rightTap = static_cast<int>(Round(NoteLength(v, 1.0 / 64.0) * samplesPerWhole));
        tapChangePending = false;
      } else {
        tapChangePending = true;
      }
      break;
    case 1:
      mode = v;
      if (crossfadeActive) {
        tapChangePending = true;
      }
      break;
    case 2:
      panBase = panCurrent = (static_cast<float>(v) * 0.01f + 1.0f) * 0.5f;
      break;
    case 3:
      feedbackBase = feedbackCurrent = static_cast<float>(v) * 0.00990099f;
      break;
    case 4:
      left.cutoffHz = v;
      break;
    case 5:
      left.resoFactor = std::pow(0.5, v * 0.05);
      break;
    case 6:
      left.filterType = static_cast<int16_t>(v);
      leftFlag = true;
      break;
    case 7:
      left.depthScaled = static_cast<int>(Round(static_cast<float>(v) * 19980.0f * 0.01f));
      break;
    case 8:
      left.lfoPeriod = static_cast<uint32_t>(Round(NoteLength(v, 1.0 / 32.0) * samplesPerWhole));
      left.lfoCentre = left.lfoPeriod / 2;
      break;
    case 9:
      ApplyLinkStep(left, v);
      leftFlag = true;
      break;
    case 10:
      left.linkDepth = static_cast<float>(2 * v) * 0.01f;
      break;
    case 11:
      right.cutoffHz = v;
      break;
    case 12:
      right.resoFactor = std::pow(0.5, v * 0.05);
      break;
    case 13:
      right.filterType = static_cast<int16_t>(v);
      rightFlag = true;
      break;
    case 14:
      right.depthScaled = static_cast<int>(Round(static_cast<float>(v) * 19980.0f * 0.01f));
      break;
    case 15:
      right.lfoPeriod = static_cast<uint32_t>(Round(NoteLength(v, 1.0 / 32.0) * samplesPerWhole));
      right.lfoCentre = right.lfoPeriod / 2;
      break;
    case 16:
      ApplyLinkStep(right, v);
      rightFlag = true;
      break;
    case 17:
      right.linkDepth = static_cast<float>(2 * v) * 0.01f;
      break;
    case 18:
      mirror = v > 0;
      break;
    case 19:
      dryBase = dryCurrent = static_cast<float>(v) * 0.01f;
      break;
    case 20:
      wetBase = wetCurrent = static_cast<float>(v) * 0.01f;
      break;
    case 21:
      bypassThreshold = static_cast<float>(std::exp(v * 0.11512925464970228));
      break;
  }

  // Follow-up steps, in order.
  if (!crossfadeActive && (index == 0 || index == 1)) {
    StartCrossfade();
  }
  if ((leftFlag || index == 4 || index == 7) && left.filterType != 0) {
    UpdateSweep(left);
  }
  if ((rightFlag || index == 11 || index == 14) && right.filterType != 0) {
    UpdateSweep(right);
  }
  if (index == 11 || index == 12) {
    right.damping = 1.0 - right.resoFactor * right.baseCoeff;
  }
  if (index == 4 || index == 5) {
    left.damping = 1.0 - left.resoFactor * left.baseCoeff;
  }
  if (index == 8 || index == 15 || index == 18) {
    if (delayLineAllocated) {
      std::fill(delayLine.begin(), delayLine.end(), 0.0);
    }
    ZeroFilterStates();
    resyncPending = true;
    writeIndex = 0;
  }
  if (left.linkTarget > 0 && (index == 9 || index == 10 || index == left.linkParam)) {
    UpdateLinkCentre(left);
  }
  if (right.linkTarget > 0 && (index == 16 || index == 17 || index == right.linkParam)) {
    UpdateLinkCentre(right);
  }
  if (leftFlag) {
    left.sideActive = left.filterType > 0 || left.linkTarget > 0;
    RefreshGraphRange(true);
    resyncPending = true;
  }
  if (rightFlag) {
    right.sideActive = right.filterType > 0 || right.linkTarget > 0;
    RefreshGraphRange(false);
    resyncPending = true;
  }
  if (!processingEnabled && !appliedOnce[index]) {
    appliedOnce[index] = true;
    --remainingCount;
    if (remainingCount < 1) {
      processingEnabled = true;
    }
  }
}

}  // namespace velmora::dsp::testing
