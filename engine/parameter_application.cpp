// How applying each parameter changes the engine, and the follow-up steps that depend on
// which parameter was applied.
#include <cmath>

#include "engine/delay_engine.h"
#include "engine/link_modulation.h"
#include "engine/note_length.h"
#include "engine/rounding.h"

namespace velmora::dsp {

namespace {

// Left-tap multiples of the right tap for the "Ping Pong" values "Triplet", "Dotted",
// "Normal" (handled as an exact doubling), "Triplet 2" and "Dotted 2".
// Feedback percent to gain: v/101 as a single-precision factor, so that 100 % stays just
// short of unity (0.990099) and the loop always decays.
constexpr float kFeedbackPerPercent = 0.00990099f;

// ln(10)/20: exp(dB x this) is 10^(dB/20), the amplitude of a level in decibels.
constexpr double kNepersPerDecibel = 0.11512925464970228;

constexpr double kModeRatios[5] = {1.3333333333333333, 1.5, 2.0, 2.333333333333333, 2.5};

// The left side uses parameters 4..10, the right side 11..17, in this order.
enum SideOffset : int {
  kSideFreq = 0,
  kSideReso = 1,
  kSideType = 2,
  kSideDepth = 3,
  kSideSweepRate = 4,
  kSideSweepLink = 5,
  kSideDepthLink = 6,
};

int ClampToRange(int index, int value) {
  const ParamRange range = kParamRanges[index];
  return value < range.minimum ? range.minimum : value > range.maximum ? range.maximum : value;
}

}  // namespace

void DelayEngine::ApplyParameter(int index) {
  if (index < 0 || index >= kParamCount) {
    return;
  }
  const int value = ClampToRange(index, RoundToInt(host_.StoredParamValue(index)));
  if (value == appliedValues_[index]) {
    return;
  }
  appliedValues_[index] = value;
  RunFollowUps(index, ApplyIndexStep(index, value));
}

DelayEngine::FollowUpFlags DelayEngine::ApplyIndexStep(int index, int value) {
  FollowUpFlags flags;
  const float v = static_cast<float>(value);
  switch (index) {
    case kDelayRate:
      ApplyDelayRate(value);
      break;
    case kPingPong:
      delay_.mode = value;
      if (delay_.crossfadeActive) {
        tapChangePending_ = true;
      }
      break;
    case kPanWidth:
      gains_.SetBase(kLinkPanWidth, (v * 0.01f + 1.0f) * 0.5f);
      break;
    case kFeedback:
      gains_.SetBase(kLinkFeedback, v * kFeedbackPerPercent);
      break;
    case kFilterMirror:
      mirror_ = value > 0;
      break;
    case kDryMix:
      gains_.SetBase(kLinkDryMix, v * 0.01f);
      break;
    case kWetMix:
      gains_.SetBase(kLinkWetMix, v * 0.01f);
      break;
    case kBypassCeil:
      delay_.bypassThreshold = static_cast<float>(std::exp(value * kNepersPerDecibel));
      break;
    default:
      if (index < kFreqRight) {
        ApplySideStep(left_, index - kFreqLeft, value, flags, true);
      } else {
        ApplySideStep(right_, index - kFreqRight, value, flags, false);
      }
      break;
  }
  return flags;
}

// While a crossfade runs the taps stay put; the change is carried over to the first block
// that finds no crossfade running, so it is never lost.
void DelayEngine::ApplyDelayRate(int value) {
  if (delay_.crossfadeActive) {
    tapChangePending_ = true;
    return;
  }
  const double noteLength = NoteLength(value, kDelayRateBase);
  delay_.rightTap = RoundToInt(noteLength * samplesPerWhole_);
  tapChangePending_ = false;
}

void DelayEngine::ApplySideStep(SweepSide& side, int offset, int value, FollowUpFlags& flags,
                                bool left) {
  const float v = static_cast<float>(value);
  switch (offset) {
    case kSideFreq:
      side.cutoffHz = value;
      break;
    case kSideReso:
      side.resoFactor = std::pow(0.5, value * 0.05);
      break;
    case kSideType:
      side.filterType = static_cast<int16_t>(value);
      (left ? flags.left : flags.right) = true;
      break;
    case kSideDepth:
      side.depthScaled = RoundToInt(v * 19980.0f * 0.01f);
      break;
    case kSideSweepRate: {
      const double noteLength = NoteLength(value, kSweepRateBase);
      side.lfoPeriod = RoundToUnsigned(noteLength * samplesPerWhole_);
      side.lfoCentre = side.lfoPeriod / 2;
      break;
    }
    case kSideSweepLink:
      ApplySweepLink(side, value);
      (left ? flags.left : flags.right) = true;
      break;
    case kSideDepthLink:
      side.linkDepth = static_cast<float>(2 * value) * 0.01f;
      break;
    default:
      break;
  }
}

// Moving the link away from a target first re-applies that target's parameter, which puts
// its current value back to its base value.
void DelayEngine::ApplySweepLink(SweepSide& side, int value) {
  side.linkTarget = static_cast<int16_t>(value);
  if (side.linkParam >= 0) {
    ReapplyParameter(side.linkParam);
  }
  side.linkParam = LinkParamFor(value);
}

void DelayEngine::RunFollowUps(int index, FollowUpFlags flags) {
  if (!delay_.crossfadeActive && (index == kDelayRate || index == kPingPong)) {
    StartCrossfade();
  }
  if ((flags.left || index == kFreqLeft || index == kLeftDepth) && left_.filterType != kFilterOff) {
    RecomputeSweepCoefficients(left_, engineSampleRate_);
  }
  if ((flags.right || index == kFreqRight || index == kRightDepth) &&
      right_.filterType != kFilterOff) {
    RecomputeSweepCoefficients(right_, engineSampleRate_);
  }
  if (index == kFreqRight || index == kResoRight) {
    right_.damping = 1.0 - right_.resoFactor * right_.baseCoeff;
  }
  if (index == kFreqLeft || index == kResoLeft) {
    left_.damping = 1.0 - left_.resoFactor * left_.baseCoeff;
  }
  if (index == kLeftSweepRate || index == kRightSweepRate || index == kFilterMirror) {
    SilenceForResync();
  }
  if (left_.linkTarget > 0 &&
      (index == kLeftSweepLink || index == kLeftDepthLink || index == left_.linkParam)) {
    UpdateLinkCentre(left_, gains_);
  }
  if (right_.linkTarget > 0 &&
      (index == kRightSweepLink || index == kRightDepthLink || index == right_.linkParam)) {
    UpdateLinkCentre(right_, gains_);
  }
  if (flags.left) {
    left_.sideActive = left_.filterType > 0 || left_.linkTarget > 0;
    RefreshGraphRange(true);
    resyncPending_ = true;
  }
  if (flags.right) {
    right_.sideActive = right_.filterType > 0 || right_.linkTarget > 0;
    RefreshGraphRange(false);
    resyncPending_ = true;
  }
  CountTowardsWarmUp(index);
}

// New tap lengths fade in over 0.1 s. The silence counter jumps to its limit, so a quiet
// effect stays bypassed through the change instead of replaying a fade of old echoes.
void DelayEngine::StartCrossfade() {
  delay_.crossfadeCount = 0;
  delay_.crossfadeActive = true;
  if (delay_.mode == 2) {
    delay_.leftTap = 2 * delay_.rightTap;
  } else {
    delay_.leftTap = RoundToInt(delay_.rightTap * kModeRatios[delay_.mode]);
  }
  const double twiceLeft = 2.0 * delay_.leftTap;
  const int limit = TruncateToInt(engineSampleRate_ > twiceLeft ? engineSampleRate_ : twiceLeft);
  delay_.silenceLimit = limit;
  delay_.silenceCount = limit;
}

// A new sweep rate or mirror setting restarts both oscillators from the song position;
// the echoes of the old sweep are dropped with them.
void DelayEngine::SilenceForResync() {
  line_.Clear();
  ZeroFilterStates();
  resyncPending_ = true;
}

// Processing stays off until every parameter has been applied at least once.
void DelayEngine::CountTowardsWarmUp(int index) {
  if (processingEnabled_ || appliedOnce_[index]) {
    return;
  }
  appliedOnce_[index] = true;
  if (--warmUpRemaining_ < 1) {
    processingEnabled_ = true;
  }
}

}  // namespace velmora::dsp
