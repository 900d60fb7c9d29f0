// The oscillator-driven values of one side for a run of frames, computed ahead of the
// per-sample loop. An active side's oscillator advances on every frame, processed or
// bypassed, so its values for the next frames do not depend on the signal; computing them
// in a separate pass keeps the divisions out of the sample-by-sample chain and lets the
// compiler do them several at a time.
#pragma once

#include <cstdint>

#include "engine/sweep_side.h"

namespace velmora::dsp {

// Frames per chunk. Every chunk hands the filter states from one pass to the next and
// computes its oscillator values in a pass of its own, which the filter recursions cannot
// overlap; a common host block of 256 frames is one chunk. Under 20 KiB of stack.
constexpr int kSweepChunk = 256;

struct SweepChunk {
  float triangle[kSweepChunk];      // x of each frame
  double coefficient[kSweepChunk];  // g of each frame, when the side's filter runs
  float linkValue[kSweepChunk];     // the modulated link target, when the side links one
};

// What PrepareSweepChunk fills besides the triangle values.
struct SweepChunkNeeds {
  bool coefficients;  // when the side's filter runs
  bool link;
};

// Fills the chunk for frames 0..frames-1 (frames <= kSweepChunk) from the side's current
// phase and advances the phase by frames; later entries are left as they were.
void PrepareSweepChunk(SweepSide& side, int frames, SweepChunkNeeds needs, SweepChunk& chunk);

// Advances the phase of an oscillator by frames, wrapping at its period.
void AdvanceLfoBy(SweepSide& side, uint32_t frames);

}  // namespace velmora::dsp
