// The common case of a chunk, with signal present and no tap change under way. No frame of
// such a chunk can be bypassed, no crossfade runs and no tap reads what the chunk writes,
// so the per-sample loop sheds its bypass branch, its crossfade and its silence counter
// (only the last loud frame matters), and the mix values of the whole chunk are known
// ahead. The arithmetic and its order per sample are those of the general loop. What is
// left is the two filter recursions plus independent work that runs in their shadow.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/block_frames.h"
#include "engine/paired_sides.h"

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

// A crossfade between equal tap lengths, as every tempo change starts, blends each tap
// value v with itself: v + (v - v) x a, which is v + 0 for every finite v (and the line
// holds nothing else). Adding +0 changes only a negative zero; adding -0 changes nothing.
// So a steady chunk adds this to every tap value, and fades without the fade's work.
bool FadesBetweenEqualTaps(const ChunkContext& c) {
  return c.taps.left == c.taps.oldLeft && c.taps.right == c.taps.oldRight &&
         c.taps.feedback == c.taps.oldFeedback;
}

double TapBias(const ChunkContext& c) {
  return c.fading ? 0.0 : -0.0;
}

// Where a chunk's taps read and its writes go: straight runs of the line when none of
// them crosses the line's end, which is nearly always, otherwise the wrapping cursor.
struct ChunkLine {
  ChunkLine(const ChunkContext& c, DelayLine::Cursor& cursor)
      : cursor(cursor),
        bias(TapBias(c)),
        left(cursor.ContiguousRead(c.taps.left, c.count)),
        right(cursor.ContiguousRead(c.taps.right, c.count)),
        feedback(cursor.ContiguousRead(c.taps.feedback, c.count)),
        write(cursor.ContiguousWrite(c.count)) {}

  bool Contiguous() const {
    return left != nullptr && right != nullptr && feedback != nullptr && write != nullptr;
  }

  DelayLine::Cursor& cursor;
  const double bias;
  const double* left;
  const double* right;
  const double* feedback;
  double* write;
};

// The latest frame whose inputs are above the threshold, or -1. Scanned before the chunk
// is processed, since the outputs may overwrite the inputs.
int LastLoudInput(const ChunkContext& c, double threshold) {
  const double* inL = c.inLeft;
  const double* inR = c.inRight;
  for (int k = c.count - 1; k >= 0; --k) {
    if (LoudInput(inL[k], threshold) | LoudInput(inR[k], threshold)) {
      return k;
    }
  }
  return -1;
}

// The latest frame after frame `after` that found a side's filterOut, as the previous frame
// left it, above the threshold, or -1. Frames up to `after` are not looked at: the caller
// restarts the silence count at `after` itself when no later frame is loud. The values after
// frame k stand at k x stride in each side's run: apart, or in pairs for a paired chunk.
int LastLoudHeld(const double* heldL, const double* heldR, int stride, double startL, double startR,
                 int count, int after, double threshold) {
  for (int k = count - 1; k > after; --k) {
    const double l = k > 0 ? heldL[(k - 1) * stride] : startL;
    const double r = k > 0 ? heldR[(k - 1) * stride] : startR;
    if ((std::fabs(l) > threshold) | (std::fabs(r) > threshold)) {
      return k;
    }
  }
  return -1;
}

// One side's filter, or its tap passed through when no filter runs; the side's filterOut
// after the frame is kept for the silence count.
template <bool kFiltering>
inline double RunSteadySide(SweepFilterCore& filter, double t, double g, double& held) {
  if (!kFiltering) {
    filter.out = t;
    held = t;
    return t;
  }
  const double out = filter.Run(t, g);
  held = filter.out;
  return out;
}

template <bool kLinked, bool kContiguous, bool kFilterL, bool kFilterR>
void RunSteadyFrames(const ChunkContext& c, BlockState& s, const MixView& mix,
                     const ChunkMix* chunkMix, ChunkLine& line, double* heldL, double* heldR) {
  const double* inL = c.inLeft;
  const double* inR = c.inRight;
  double* outL = c.io.outLeft + c.first;
  double* outR = c.io.outRight + c.first;
  const double* gL = c.leftChunk.coefficient;
  const double* gR = c.rightChunk.coefficient;
  SweepFilterCore left(s.left);
  SweepFilterCore right(s.right);
  for (int k = 0; k < c.count; ++k) {
    // Both inputs are read before either output is written.
    const double l = inL[k];
    const double r = inR[k];
    const double tapL =
        (kContiguous ? line.left[k] : line.cursor.ReadAhead(k, c.taps.left)) + line.bias;
    const double tapR =
        (kContiguous ? line.right[k] : line.cursor.ReadAhead(k, c.taps.right)) + line.bias;
    const double tapF =
        (kContiguous ? line.feedback[k] : line.cursor.ReadAhead(k, c.taps.feedback)) + line.bias;
    const double feedback = kLinked ? static_cast<double>(chunkMix->feedback[k]) : mix.feedback;
    const double written = (r + l) * 0.5 + feedback * tapF;
    if (kContiguous) {
      line.write[k] = written;
    } else {
      line.cursor.WriteAhead(k, written);
    }
    const double sideL = RunSteadySide<kFilterL>(left, tapL, gL[k], heldL[k]);
    const double sideR = RunSteadySide<kFilterR>(right, tapR, gR[k], heldR[k]);
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
  left.Store(s.left);
  right.Store(s.right);
}

// Both sides filtering on straight runs of the line, the common case: the two sides run
// side by side, with their coefficients and link values computed in the loop.
void RunPairedChunk(const ChunkContext& c, BlockState& s, MixView& mix, double* held) {
  const ChunkLine line(c, s.line);
  const PairedRuns runs{c.inLeft,
                        c.inRight,
                        c.io.outLeft + c.first,
                        c.io.outRight + c.first,
                        line.left,
                        line.right,
                        line.feedback,
                        line.write,
                        c.fading,
                        line.bias,
                        c.leftChunk.triangle,
                        c.rightChunk.triangle,
                        c.leftChunk.coefficient,
                        c.rightChunk.coefficient,
                        held,
                        c.count};
  const PairedLinks links{c.leftRole.slot, c.rightRole.slot};
  RunPairedFrames(runs, s.left, s.right, links, s.gains, mix);
  s.line.Advance(c.count);
  mix.Load(s.gains);
}

// Chooses the loop for the chunk's line layout and the two sides' filters.
template <bool kLinked>
void RunSteadyVariant(const ChunkContext& c, BlockState& s, const MixView& mix,
                      const ChunkMix* chunkMix, double* heldL, double* heldR) {
  ChunkLine line(c, s.line);
  const bool filterL = c.leftRole.filtering;
  const bool filterR = c.rightRole.filtering;
  if (!line.Contiguous()) {
    if (filterL && filterR) {
      RunSteadyFrames<kLinked, false, true, true>(c, s, mix, chunkMix, line, heldL, heldR);
    } else if (filterL) {
      RunSteadyFrames<kLinked, false, true, false>(c, s, mix, chunkMix, line, heldL, heldR);
    } else if (filterR) {
      RunSteadyFrames<kLinked, false, false, true>(c, s, mix, chunkMix, line, heldL, heldR);
    } else {
      RunSteadyFrames<kLinked, false, false, false>(c, s, mix, chunkMix, line, heldL, heldR);
    }
  } else if (filterL && filterR) {
    RunSteadyFrames<kLinked, true, true, true>(c, s, mix, chunkMix, line, heldL, heldR);
  } else if (filterL) {
    RunSteadyFrames<kLinked, true, true, false>(c, s, mix, chunkMix, line, heldL, heldR);
  } else if (filterR) {
    RunSteadyFrames<kLinked, true, false, true>(c, s, mix, chunkMix, line, heldL, heldR);
  } else {
    RunSteadyFrames<kLinked, true, false, false>(c, s, mix, chunkMix, line, heldL, heldR);
  }
  s.line.Advance(c.count);
}

// The fade's count moves on by the chunk's frames; a fade that ends on the chunk's last frame
// takes the new lengths as the old ones, as the per-sample loop does.
void FinishFade(int frames, DelayState& d) {
  d.crossfadeCount += static_cast<uint32_t>(frames);
  if (d.crossfadeCount >= d.crossfadeLength) {
    d.oldLeftTap = d.leftTap;
    d.oldRightTap = d.rightTap;
    d.crossfadeActive = false;
  }
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
  // A chunk may fade only if its fade ends no earlier than its last frame.
  if (d.crossfadeActive && (!FadesBetweenEqualTaps(c) ||
                            uint64_t{d.crossfadeCount} + c.count > uint64_t{d.crossfadeLength})) {
    return false;
  }
  // A loud first frame restarts the silence count before the bypass test can see it.
  const double threshold = d.bypassThreshold;
  const bool loudStart = LoudInput(c.inLeft[0], threshold) | LoudInput(c.inRight[0], threshold) |
                         (std::fabs(s.left.filterOut) > threshold) |
                         (std::fabs(s.right.filterOut) > threshold);
  const int64_t silence = loudStart ? 0 : int64_t{d.silenceCount};
  if (silence + c.count > int64_t{d.silenceLimit}) {
    return false;
  }
  const int shortest = std::min(c.taps.left, c.taps.right);
  const int longest = std::max(c.taps.left, c.taps.feedback);
  return shortest >= c.count && int64_t{longest} + c.count <= s.line.Length();
}

bool CanPairSides(const ChunkContext& c, const BlockState& s) {
  return c.leftRole.filtering && c.rightRole.filtering && ChunkLine(c, s.line).Contiguous();
}

void RunSteadyChunk(const ChunkContext& c, BlockState& s, MixView& mix, bool paired) {
  const double threshold = s.d.bypassThreshold;
  const double startL = s.left.filterOut;
  const double startR = s.right.filterOut;
  const int loudInput = LastLoudInput(c, threshold);
  // Each side's filterOut after every frame: in pairs for a paired chunk, otherwise the left
  // side's in the first half and the right side's in the second.
  alignas(16) double held[2 * kSweepChunk];
  double* heldL = held;
  double* heldR = held + kSweepChunk;
  const bool linked = (c.leftRole.active && c.leftRole.slot != kLinkOff) ||
                      (c.rightRole.active && c.rightRole.slot != kLinkOff);
  if (paired) {
    RunPairedChunk(c, s, mix, held);
  } else if (linked) {
    const ChunkMix chunkMix(c, s.gains);
    RunSteadyVariant<true>(c, s, mix, &chunkMix, heldL, heldR);
    KeepLastLinkValues(c, s, mix);
  } else {
    RunSteadyVariant<false>(c, s, mix, nullptr, heldL, heldR);
  }
  // A loud frame restarts the count; each frame after it adds one. Only frames after the
  // last loud input can move that frame, which on a playing signal leaves none to look at.
  const int loudHeld =
      paired ? LastLoudHeld(held, held + 1, 2, startL, startR, c.count, loudInput, threshold)
             : LastLoudHeld(heldL, heldR, 1, startL, startR, c.count, loudInput, threshold);
  const int lastLoud = std::max(loudInput, loudHeld);
  s.d.silenceCount = lastLoud >= 0 ? c.count - lastLoud : s.d.silenceCount + c.count;
  s.lastProcessed = c.first + c.count - 1;
  if (c.fading) {
    FinishFade(c.count, s.d);
  }
}

}  // namespace velmora::dsp
