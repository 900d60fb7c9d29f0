// The common case of a chunk, with signal present and no tap change under way. No frame of
// such a chunk can be bypassed, no crossfade runs and no tap reads what the chunk writes,
// so the per-sample loop sheds its bypass branch, its crossfade and its silence counter
// (only the last loud frame matters), and the mix values of the whole chunk are known
// ahead. The arithmetic and its order per sample are those of the general loop. What is
// left is the two filter recursions plus independent work that runs in their shadow.
#include <algorithm>
#include <cstdint>

#include "engine/dsp/block_frames.h"

namespace velmora::dsp {

namespace {

// The link values each slot takes at frame k of the chunk: a linking side's value at that
// frame, otherwise the value the slot holds.
const float* LinkValuesOf(int slot, const ChunkContext& c) {
  if (c.leftRole.active && c.leftRole.slot == slot) {
    return c.leftChunk.linkValue;
  }
  if (c.rightRole.active && c.rightRole.slot == slot) {
    return c.rightChunk.linkValue;
  }
  return nullptr;
}

void FillSlot(int slot, const ChunkContext& c, const MixGains& gains, float* values) {
  const float* linked = LinkValuesOf(slot, c);
  if (linked != nullptr) {
    std::copy(linked, linked + c.count, values);
  } else {
    std::fill(values, values + c.count, gains.current[slot]);
  }
}

// The mix values of every frame of a chunk with link modulation: pan, dry and wet as this
// frame's modulation leaves them, feedback as the previous frame's left it.
struct ChunkMix {
  float pan[kSweepChunk];
  float dry[kSweepChunk];
  float wet[kSweepChunk];
  float feedback[kSweepChunk];

  ChunkMix(const ChunkContext& c, const MixGains& gains) {
    FillSlot(kLinkPanWidth, c, gains, pan);
    FillSlot(kLinkDryMix, c, gains, dry);
    FillSlot(kLinkWetMix, c, gains, wet);
    feedback[0] = gains.current[kLinkFeedback];
    const float* linked = LinkValuesOf(kLinkFeedback, c);
    for (int k = 1; k < c.count; ++k) {
      feedback[k] = linked != nullptr ? linked[k - 1] : feedback[0];
    }
  }
};

// A side without a running filter passes its tap and holds it as its filterOut.
inline double RunSteadySide(bool filtering, SweepFilterCore& filter, double t, double g) {
  if (!filtering) {
    filter.out = t;
    return t;
  }
  return filter.Run(t, g);
}

template <bool kLinked>
void RunSteadyFrames(const ChunkContext& c, BlockState& s, const MixView& mix,
                     const ChunkMix* chunkMix) {
  const double* inL = c.io.inLeft + c.first;
  const double* inR = c.io.inRight + c.first;
  double* outL = c.io.outLeft + c.first;
  double* outR = c.io.outRight + c.first;
  const double* gL = c.leftChunk.coefficient;
  const double* gR = c.rightChunk.coefficient;
  const bool filterL = c.leftRole.filtering;
  const bool filterR = c.rightRole.filtering;
  const double threshold = s.d.bypassThreshold;
  SweepFilterCore left(s.left);
  SweepFilterCore right(s.right);
  int lastLoud = -1;
  for (int k = 0; k < c.count; ++k) {
    // Both inputs are read before either output is written.
    const double l = inL[k];
    const double r = inR[k];
    if (AboveThreshold(l, r, left.out, right.out, threshold)) {
      lastLoud = k;
    }
    const double tapL = s.line.ReadAhead(k, c.taps.left);
    const double tapR = s.line.ReadAhead(k, c.taps.right);
    const double tapF = s.line.ReadAhead(k, c.taps.feedback);
    const double feedback = kLinked ? static_cast<double>(chunkMix->feedback[k]) : mix.feedback;
    s.line.WriteAhead(k, (r + l) * 0.5 + feedback * tapF);
    const double sideL = RunSteadySide(filterL, left, tapL, gL[k]);
    const double sideR = RunSteadySide(filterR, right, tapR, gR[k]);
    if (kLinked) {
      const float p = chunkMix->pan[k];
      const double pan = p;
      const double panRest = 1.0f - p;
      const double wet = chunkMix->wet[k];
      const double dry = chunkMix->dry[k];
      outL[k] = (panRest * sideR + pan * sideL) * wet + dry * l;
      outR[k] = (panRest * sideL + pan * sideR) * wet + dry * r;
    } else {
      outL[k] = (mix.panRest * sideR + mix.pan * sideL) * mix.wet + mix.dry * l;
      outR[k] = (mix.panRest * sideL + mix.pan * sideR) * mix.wet + mix.dry * r;
    }
  }
  s.line.Advance(c.count);
  left.Store(s.left);
  right.Store(s.right);
  s.d.silenceCount = lastLoud >= 0 ? c.count - lastLoud : s.d.silenceCount + c.count;
}

// Every processed frame writes its link value; the chunk's last one remains.
void KeepLastLinkValues(const ChunkContext& c, BlockState& s, MixView& mix) {
  const int last = c.count - 1;
  if (c.leftRole.active && c.leftRole.slot != kLinkOff) {
    s.gains.current[c.leftRole.slot] = c.leftChunk.linkValue[last];
  }
  if (c.rightRole.active && c.rightRole.slot != kLinkOff) {
    s.gains.current[c.rightRole.slot] = c.rightChunk.linkValue[last];
  }
  mix.Load(s.gains);
}

}  // namespace

bool CanRunSteady(const ChunkContext& c, const BlockState& s) {
  const DelayState& d = s.d;
  if (d.crossfadeActive || int64_t{d.silenceCount} + c.count > int64_t{d.silenceLimit}) {
    return false;
  }
  const int shortest = std::min(c.taps.left, c.taps.right);
  const int longest = std::max(c.taps.left, c.taps.feedback);
  return shortest >= c.count && int64_t{longest} + c.count <= s.line.Length();
}

void RunSteadyChunk(const ChunkContext& c, BlockState& s, MixView& mix) {
  const bool linked = (c.leftRole.active && c.leftRole.slot != kLinkOff) ||
                      (c.rightRole.active && c.rightRole.slot != kLinkOff);
  if (linked) {
    const ChunkMix chunkMix(c, s.gains);
    RunSteadyFrames<true>(c, s, mix, &chunkMix);
    KeepLastLinkValues(c, s, mix);
  } else {
    RunSteadyFrames<false>(c, s, mix, nullptr);
  }
  s.lastProcessed = c.first + c.count - 1;
}

}  // namespace velmora::dsp
