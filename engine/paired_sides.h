// The steady chunk with both sides filtering, the two sides side by side in one register
// of two doubles: left in the low lane, right in the high lane. The two sides are
// independent, so each lane runs exactly the arithmetic of its side, in the same order and
// precision, and produces the same bits; what changes is that the loop issues half as
// many operations around the two recursions, which then set its pace. The coefficients
// and link values come from the triangle values inside the loop, where they run in the
// shadow of the recursions instead of in a pass of their own.
#pragma once

#include "engine/block_frames.h"
#include "engine/sweep_chunk.h"

namespace velmora::dsp {

// One contiguous chunk: every run is count samples long and none crosses the line's end.
// The inputs are as the engine processes them (ScrubbedInput).
struct PairedRuns {
  const double* inLeft;
  const double* inRight;
  double* outLeft;
  double* outRight;
  const double* tapLeft;
  const double* tapRight;
  const double* tapFeedback;
  double* write;
  bool fading;                // a crossfade between equal tap lengths runs through the chunk
  double tapBias;             // added to every tap value of a fading chunk
  const float* triangleLeft;  // x of each frame
  const float* triangleRight;
  // g of the chunk's last frame is written at count - 1, for the graph; no other entry.
  double* coefficientLeft;
  double* coefficientRight;
  // Each side's filterOut after every frame, left and right of frame k at 2k and 2k + 1;
  // 16-byte aligned, 2 x count entries.
  double* held;
  int count;
};

// The link slot each side writes on every frame, kLinkOff for none.
struct PairedLinks {
  int left;
  int right;
};

// Runs the chunk on both sides' filter states and the current mix values, which linking
// sides move frame by frame; mix holds the values fixed for an unlinked chunk.
void RunPairedFrames(const PairedRuns& runs, SweepSide& left, SweepSide& right, PairedLinks links,
                     MixGains& gains, const MixView& mix);

}  // namespace velmora::dsp
