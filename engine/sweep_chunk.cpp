#include "engine/sweep_chunk.h"

#include <cstdlib>

#include "engine/wide_passes.h"

namespace velmora::dsp {

namespace {

// The triangle value of each of the chunk's frames: |phase - centre| / period in single
// precision, 0 for an oscillator without a period. The divisions, the costly part, run as
// wide as the processor allows.
void TriangleValues(const SweepSide& side, int frames, float* x) {
  const uint32_t period = side.lfoPeriod;
  if (period == 0) {
    for (int i = 0; i < frames; ++i) {
      x[i] = 0.0f;
    }
    return;
  }
  const uint32_t phase = side.lfoPhase;
  const int32_t centre = static_cast<int32_t>(side.lfoCentre);
  if (phase < period && period - phase >= static_cast<uint32_t>(frames)) {
    // No wrap within the chunk: one run of distances, made where they are divided.
    DivideRun(static_cast<int32_t>(phase) - centre, static_cast<float>(period), x, frames);
    return;
  }
  int32_t distance[kSweepChunk];
  uint32_t running = phase;
  for (int i = 0; i < frames; ++i) {
    distance[i] = std::abs(static_cast<int32_t>(running) - centre);
    if (++running >= period) {
      running = 0;
    }
  }
  DivideDistances(distance, static_cast<float>(period), x, frames);
}

}  // namespace

void AdvanceLfoBy(SweepSide& side, uint32_t frames) {
  side.lfoPhase = side.lfoPeriod == 0 ? 0 : (side.lfoPhase + frames) % side.lfoPeriod;
}

void PrepareSweepChunk(SweepSide& side, int frames, SweepChunkNeeds needs, SweepChunk& chunk) {
  float* x = chunk.triangle;
  TriangleValues(side, frames, x);
  if (needs.coefficients && side.filterType > kFilterOff) {
    for (int i = 0; i < frames; ++i) {
      chunk.coefficient[i] = SweptCoefficient(side, x[i]);
    }
  }
  if (needs.link) {
    // The linked quantity rises with x for a positive depth and falls for a negative one,
    // covering [centre, centre + |depth| / 2]. Products in double, result in single.
    const double centre = side.linkCentre;
    const double depth = side.linkDepth;
    if (side.linkDepth > 0.0f) {
      for (int i = 0; i < frames; ++i) {
        chunk.linkValue[i] = static_cast<float>(centre + depth * static_cast<double>(x[i]));
      }
    } else {
      for (int i = 0; i < frames; ++i) {
        chunk.linkValue[i] = static_cast<float>(centre + (static_cast<double>(x[i]) - 0.5) * depth);
      }
    }
  }
  AdvanceLfoBy(side, static_cast<uint32_t>(frames));
}

}  // namespace velmora::dsp
