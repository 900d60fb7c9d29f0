// The per-sample chain of a block, in its fixed order: automatic-bypass test, tap reads
// (crossfaded while a crossfade runs), line write, left and right side chains, output
// stage, silence count. Everything that cannot change within a block is hoisted out of
// the loop; the loop itself calls nothing virtual and nothing of the host.
#include <cmath>

#include "engine/dsp/delay_engine.h"
#include "engine/dsp/link_modulation.h"

namespace velmora::dsp {

namespace {

// The link slot a side writes each sample. Slot 0 absorbs the writes of a side without a
// target, and of the right side when the left one already moves the same target.
int LinkSlot(const SweepSide& side, const SweepSide* winner) {
  if (side.linkTarget <= kLinkOff || side.linkTarget >= kLinkSlotCount) {
    return kLinkOff;
  }
  if (winner != nullptr && winner->linkTarget == side.linkTarget) {
    return kLinkOff;
  }
  return side.linkTarget;
}

// One side chain for tap value t; returns the side output.
inline double RunSide(SweepSide& side, double t, int slot, MixGains& gains, bool lastFrame,
                      GraphDisplay& graph) {
  if (!side.sideActive) {
    side.filterOut = t;
    return t;
  }
  const float x = LfoValue(side);
  gains.current[slot] = LinkModulatedValue(side, x);
  double out = t;
  if (side.filterType > kFilterOff) {
    const double g = SweptCoefficient(side, x);
    if (lastFrame) {
      graph.current.store(static_cast<float>(g), std::memory_order_relaxed);
    }
    out = RunSweepFilter(side, t, g);
  } else {
    side.filterOut = t;
  }
  AdvanceLfo(side);
  return out;
}

}  // namespace

void DelayEngine::ProcessFrames(double** inputs, double** outputs, int frames) {
  const double* inLeft = inputs[0];
  const double* inRight = inputs[1];
  double* outLeft = outputs[0];
  double* outRight = outputs[1];

  // Working copies the compiler can keep in registers; written back after the loop.
  DelayState d = delay_;
  SweepSide left = left_;
  SweepSide right = right_;
  MixGains gains = gains_;
  const double threshold = d.bypassThreshold;
  const int feedbackTap = 2 * d.rightTap;
  const int oldFeedbackTap = 2 * d.oldRightTap;
  const int leftSlot = LinkSlot(left, nullptr);
  const int rightSlot = LinkSlot(right, &left);
  const float crossfadeLength = static_cast<float>(d.crossfadeLength);

  for (int i = 0; i < frames; ++i) {
    // Both inputs are read before either output is written: hosts often pass the same
    // buffers for input and output.
    const double inL = inLeft[i];
    const double inR = inRight[i];
    if (std::fabs(inL) > threshold || std::fabs(inR) > threshold ||
        std::fabs(left.filterOut) > threshold || std::fabs(right.filterOut) > threshold) {
      d.silenceCount = 0;
    }
    if (d.silenceCount >= d.silenceLimit) {
      outLeft[i] = inL;
      outRight[i] = inR;
      AdvanceLfo(left);
      AdvanceLfo(right);
      d.crossfadeActive = false;
      continue;
    }

    double tapL = line_.Read(d.leftTap);
    double tapR = line_.Read(d.rightTap);
    double tapF = line_.Read(feedbackTap);
    if (d.crossfadeActive) {
      ++d.crossfadeCount;
      const float a = static_cast<float>(d.crossfadeCount) / crossfadeLength;
      const double oldL = line_.Read(d.oldLeftTap);
      const double oldR = line_.Read(d.oldRightTap);
      const double oldF = line_.Read(oldFeedbackTap);
      tapL = oldL + (tapL - oldL) * a;
      tapR = oldR + (tapR - oldR) * a;
      tapF = oldF + (tapF - oldF) * a;
      if (d.crossfadeCount >= d.crossfadeLength) {
        d.oldLeftTap = d.leftTap;
        d.oldRightTap = d.rightTap;
        d.crossfadeActive = false;
      }
    }
    line_.Write((inR + inL) * 0.5 + gains.Feedback() * tapF);

    const bool lastFrame = i == frames - 1;
    const double sideL = RunSide(left, tapL, leftSlot, gains, lastFrame, graphLeft_);
    const double sideR = RunSide(right, tapR, rightSlot, gains, lastFrame, graphRight_);

    const float p = gains.Pan();
    const float q = 1.0f - p;
    const double wet = gains.Wet();
    const double dry = gains.Dry();
    outLeft[i] =
        (static_cast<double>(q) * sideR + static_cast<double>(p) * sideL) * wet + dry * inL;
    outRight[i] =
        (static_cast<double>(q) * sideL + static_cast<double>(p) * sideR) * wet + dry * inR;
    ++d.silenceCount;
  }

  delay_ = d;
  left_ = left;
  right_ = right;
  gains_ = gains;
}

}  // namespace velmora::dsp
