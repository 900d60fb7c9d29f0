// The steady chunk with both sides filtering, the two sides side by side in one register
// of two doubles: left in the low lane, right in the high lane. The two filters are
// independent, so each lane runs exactly the arithmetic of its side, in the same order and
// precision, and produces the same bits; what changes is that the loop issues half as
// many operations around the two recursions, which then set its pace.
#pragma once

#include "engine/dsp/block_frames.h"
#include "engine/dsp/sweep_chunk.h"

namespace velmora::dsp {

// One contiguous chunk: every run is count samples long and none crosses the line's end.
struct PairedRuns {
  const double* inLeft;
  const double* inRight;
  double* outLeft;
  double* outRight;
  const double* tapLeft;
  const double* tapRight;
  const double* tapFeedback;
  double* write;
  const SweepSide* left;  // sweep scale, offset and base coefficient of each side
  const SweepSide* right;
  const float* triangleLeft;  // x of each frame
  const float* triangleRight;
  double* coefficientLeft;  // g of each frame, written
  double* coefficientRight;
  double* heldLeft;  // each side's filterOut after every frame
  double* heldRight;
  int count;
};

// The mix values of every frame of a linked chunk, converted to double ahead: pan, the
// single-precision (1 - pan), wet and dry each twice over (once per lane), feedback once.
struct PairedMix {
  alignas(16) double pan[2 * kSweepChunk];
  alignas(16) double panRest[2 * kSweepChunk];
  alignas(16) double wet[2 * kSweepChunk];
  alignas(16) double dry[2 * kSweepChunk];
  double feedback[kSweepChunk];

  // From single-precision values of count frames.
  void Load(const float* panValues, const float* wetValues, const float* dryValues,
            const float* feedbackValues, int count);
};

// The chunk with mix values fixed for it, or with per-frame mix values (mix null or not).
void RunPairedFrames(const PairedRuns& runs, SweepFilterCore& left, SweepFilterCore& right,
                     const MixView& fixed, const PairedMix* perFrame);

}  // namespace velmora::dsp
