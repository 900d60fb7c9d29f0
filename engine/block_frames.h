// What one block's per-sample work shares: the block's buffers, taps and side roles, the
// working copies of the engine state, and the mix values of the output stage. Internal to
// the engine's sample loop.
#pragma once

#include <cfloat>
#include <cmath>

#include "engine/delay_engine.h"
#include "engine/delay_line.h"
#include "engine/sweep_chunk.h"

namespace velmora::dsp {

// The link slot a side writes each sample: none for a side without a target, and none
// for the right side when the left one already moves the same target.
inline int LinkSlot(const SweepSide& side, const SweepSide* winner) {
  if (side.linkTarget <= kLinkOff || side.linkTarget >= kLinkSlotCount) {
    return kLinkOff;
  }
  if (winner != nullptr && winner->linkTarget == side.linkTarget) {
    return kLinkOff;
  }
  return side.linkTarget;
}

// The coefficient a running filter used on its latest processed frame.
struct GraphTrace {
  double g = 0.0;
  int frame = -1;
};

// What one side does on a processed frame, fixed for the block.
struct SideRole {
  bool active;
  bool filtering;
  int slot;  // link slot written, kLinkOff for none
};

// The mix values of the output stage and the feedback path. Without link modulation they
// stay fixed for the block and are converted once.
struct MixView {
  explicit MixView(const MixGains& gains) { Load(gains); }
  void Load(const MixGains& gains) {
    const float p = gains.Pan();
    pan = p;
    panRest = 1.0f - p;  // formed in single precision
    feedback = gains.Feedback();
    dry = gains.Dry();
    wet = gains.Wet();
  }
  double pan;
  double panRest;
  double feedback;
  double dry;
  double wet;
};

struct BlockIo {
  const double* inLeft;
  const double* inRight;
  double* outLeft;
  double* outRight;
  int frames;
};

struct BlockTaps {
  int left;
  int right;
  int feedback;
  int oldLeft;
  int oldRight;
  int oldFeedback;
};

// A chunk's input samples as the engine processes them: a sample that is not a finite
// number as 0, so it is processed exactly as silence would be and cannot poison the line
// or a filter, nor hold the bypass open; a finite one held to +-kInputCeiling, so that fed
// back at full gain (link modulation can reach 1) the line grows at most by that much per
// pass, and neither it nor a filter can overflow in any time anything runs. No sound a
// host can play comes anywhere near it.
constexpr double kInputCeiling = 0x1p900;

inline double ScrubbedInput(double sample) {
  if (!std::isfinite(sample)) {
    return 0.0;
  }
  return sample > kInputCeiling ? kInputCeiling : sample < -kInputCeiling ? -kInputCeiling : sample;
}

// Whether an input sample, as processed, is above the threshold: an infinity is not, since
// it is processed as 0; not-a-number fails the comparison anyway.
inline bool LoudInput(double sample, double threshold) {
  const double magnitude = std::fabs(sample);
  return (magnitude > threshold) & (magnitude <= DBL_MAX);
}

inline bool AboveThreshold(double inL, double inR, double outL, double outR, double threshold) {
  // Non-short-circuit: four compares and no branches; strict, so a value exactly at the
  // threshold is silence.
  return (std::fabs(inL) > threshold) | (std::fabs(inR) > threshold) |
         (std::fabs(outL) > threshold) | (std::fabs(outR) > threshold);
}

// The state one block works on: local copies the compiler can keep in registers.
struct BlockState {
  DelayState& d;
  SweepSide& left;
  SweepSide& right;
  MixGains& gains;
  DelayLine::Cursor& line;
  int lastProcessed = -1;  // the block's latest processed frame
  bool steadyPathEnabled = true;
};

// One chunk of a block: frames first..first+count-1 (count <= kSweepChunk), with the
// oscillator values computed ahead for each side.
struct ChunkContext {
  const BlockIo& io;
  int first;
  int count;
  // The chunk's inputs from its first frame on: the block's own, or a copy in which every
  // sample that is not a finite number reads as 0.
  const double* inLeft;
  const double* inRight;
  bool fading;  // a crossfade runs as the chunk starts
  const BlockTaps& taps;
  const SideRole& leftRole;
  const SideRole& rightRole;
  SweepChunk& leftChunk;  // a paired chunk writes the coefficients it computes
  SweepChunk& rightChunk;
};

// Whether a chunk may take the steady path (RunSteadyChunk): no crossfade runs, or one
// between equal tap lengths that does not end before the chunk does; the silence count
// cannot reach its limit within the chunk (so no frame is bypassed); and
// every tap reaches back beyond the chunk without reaching into what the chunk writes.
bool CanRunSteady(const ChunkContext& c, const BlockState& s);

// Whether such a chunk runs its two sides side by side: both filter, and no tap or write
// of the chunk crosses the line's end. Its coefficients are then computed in its loop from
// the triangle values.
bool CanPairSides(const ChunkContext& c, const BlockState& s);

// Such a chunk without the bypass and crossfade steps, side by side when paired (the
// chunk's CanPairSides). Produces exactly what the per-sample loop produces for it.
void RunSteadyChunk(const ChunkContext& c, BlockState& s, MixView& mix, bool paired);

}  // namespace velmora::dsp
