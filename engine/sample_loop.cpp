// The per-sample chain of a block, in its fixed order: automatic-bypass test, tap reads
// (crossfaded while a crossfade runs), line write, left and right side chains, output
// stage, silence count. Everything that cannot change within a block is hoisted out of
// the loop; the loop itself calls nothing virtual and nothing of the host.
#include <cmath>
#include <cstring>

#include "engine/block_frames.h"
#include "engine/delay_engine.h"
#include "engine/link_modulation.h"
#include "engine/quiet_scan.h"

namespace velmora::dsp {

namespace {

// A chunk's inputs as the engine processes them (ScrubbedInput).
struct ScrubbedInputs {
  void From(const double* inLeft, const double* inRight, int count) {
    for (int k = 0; k < count; ++k) {
      left[k] = ScrubbedInput(inLeft[k]);
      right[k] = ScrubbedInput(inRight[k]);
    }
  }
  double left[kSweepChunk];
  double right[kSweepChunk];
};

// One side chain for tap value t on frame i of the chunk; returns the side output. The
// oscillator has already been stepped for the chunk.
inline double RunSide(const SideRole& role, SweepFilterCore& filter, const SweepChunk& chunk, int i,
                      double t, MixGains& gains) {
  if (role.active && role.slot != kLinkOff) {
    gains.current[role.slot] = chunk.linkValue[i];
  }
  if (!role.filtering) {
    filter.out = t;
    return t;
  }
  return filter.Run(t, chunk.coefficient[i]);
}

// Frames first..first+count-1 (count <= kSweepChunk) with the side roles and taps of the
// block; returns the number of frames that were bypassed.
template <bool kLinked>
int RunChunk(const ChunkContext& c, BlockState& s, MixView& mix) {
  const BlockIo& io = c.io;
  const BlockTaps& taps = c.taps;
  DelayState& d = s.d;
  const double threshold = d.bypassThreshold;
  const float crossfadeLength = static_cast<float>(d.crossfadeLength);
  SweepFilterCore leftFilter(s.left);
  SweepFilterCore rightFilter(s.right);
  int bypassed = 0;
  for (int k = 0; k < c.count; ++k) {
    const int i = c.first + k;
    // Both inputs are read before either output is written: hosts often pass the same
    // buffers for input and output.
    const double inL = c.inLeft[k];
    const double inR = c.inRight[k];
    if (AboveThreshold(inL, inR, leftFilter.out, rightFilter.out, threshold)) {
      d.silenceCount = 0;
    }
    if (d.silenceCount >= d.silenceLimit) {
      io.outLeft[i] = inL;
      io.outRight[i] = inR;
      d.crossfadeActive = false;
      ++bypassed;
      continue;
    }

    double tapL = s.line.Read(taps.left);
    double tapR = s.line.Read(taps.right);
    double tapF = s.line.Read(taps.feedback);
    if (d.crossfadeActive) {
      ++d.crossfadeCount;
      const float a = static_cast<float>(d.crossfadeCount) / crossfadeLength;
      const double oldL = s.line.Read(taps.oldLeft);
      const double oldR = s.line.Read(taps.oldRight);
      const double oldF = s.line.Read(taps.oldFeedback);
      tapL = oldL + (tapL - oldL) * a;
      tapR = oldR + (tapR - oldR) * a;
      tapF = oldF + (tapF - oldF) * a;
      if (d.crossfadeCount >= d.crossfadeLength) {
        d.oldLeftTap = d.leftTap;
        d.oldRightTap = d.rightTap;
        d.crossfadeActive = false;
      }
    }
    s.line.Write((inR + inL) * 0.5 + mix.feedback * tapF);
    s.lastProcessed = i;

    const double sideL = RunSide(c.leftRole, leftFilter, c.leftChunk, k, tapL, s.gains);
    const double sideR = RunSide(c.rightRole, rightFilter, c.rightChunk, k, tapR, s.gains);
    if (kLinked) {
      // This very sample's modulation moves pan, dry and wet now, feedback at the next
      // write.
      mix.Load(s.gains);
    }
    io.outLeft[i] = (mix.panRest * sideR + mix.pan * sideL) * mix.wet + mix.dry * inL;
    io.outRight[i] = (mix.panRest * sideL + mix.pan * sideR) * mix.wet + mix.dry * inR;
    ++d.silenceCount;
  }
  leftFilter.Store(s.left);
  rightFilter.Store(s.right);
  return bypassed;
}

// A chunk that starts bypassed and stays quiet throughout passes its input unchanged;
// both oscillators advance on every frame and nothing else moves. Returns false, having
// done nothing, when some frame of the chunk would be processed.
bool PassQuietChunk(const ChunkContext& c, BlockState& s) {
  const int first = c.first;
  const int count = c.count;
  DelayState& d = s.d;
  if (d.silenceCount < d.silenceLimit) {
    return false;
  }
  const double threshold = d.bypassThreshold;
  if ((std::fabs(s.left.filterOut) > threshold) | (std::fabs(s.right.filterOut) > threshold)) {
    return false;
  }
  if (AnyLoudOrNotANumber(c.inLeft, c.inRight, count, threshold)) {
    return false;
  }
  // In place (the same buffers, nothing scrubbed) there is nothing to copy.
  if (c.io.outLeft + first != c.inLeft) {
    std::memmove(c.io.outLeft + first, c.inLeft, sizeof(double) * count);
  }
  if (c.io.outRight + first != c.inRight) {
    std::memmove(c.io.outRight + first, c.inRight, sizeof(double) * count);
  }
  AdvanceLfoBy(s.left, static_cast<uint32_t>(count));
  AdvanceLfoBy(s.right, static_cast<uint32_t>(count));
  d.crossfadeActive = false;
  return true;
}

// Steps an oscillator through a chunk: an active side's phase moves on every frame (and
// its values are computed ahead), an inactive side's only on bypassed frames. A chunk whose
// two sides run side by side computes the coefficients and link values itself.
void PrepareSide(SweepSide& side, const SideRole& role, int count, bool paired, SweepChunk& chunk) {
  if (role.active) {
    PrepareSweepChunk(side, count, {!paired, !paired && role.slot != kLinkOff}, chunk);
  }
}

void FinishSide(SweepSide& side, const SideRole& role, int bypassed) {
  if (!role.active && bypassed > 0) {
    AdvanceLfoBy(side, static_cast<uint32_t>(bypassed));
  }
}

// The filter's coefficient on frame i of the chunk, if the side filtered that frame.
void TraceSide(const SideRole& role, const SweepChunk& chunk, int first, int count,
               int lastProcessed, GraphTrace& trace) {
  if (role.active && role.filtering && lastProcessed >= first && lastProcessed < first + count) {
    trace.g = chunk.coefficient[lastProcessed - first];
    trace.frame = lastProcessed;
  }
}

template <bool kLinked>
void RunFrames(const BlockIo& io, BlockState& s, GraphTrace& leftTrace, GraphTrace& rightTrace) {
  const DelayState& d = s.d;
  const BlockTaps taps{d.leftTap,    d.rightTap,    2 * d.rightTap,
                       d.oldLeftTap, d.oldRightTap, 2 * d.oldRightTap};
  const SideRole leftRole{s.left.sideActive, s.left.sideActive && s.left.filterType > kFilterOff,
                          s.left.sideActive ? LinkSlot(s.left, nullptr) : kLinkOff};
  const SideRole rightRole{s.right.sideActive,
                           s.right.sideActive && s.right.filterType > kFilterOff,
                           s.right.sideActive ? LinkSlot(s.right, &s.left) : kLinkOff};
  MixView mix(s.gains);
  SweepChunk leftChunk;
  SweepChunk rightChunk;
  ScrubbedInputs scrubbed;
  for (int first = 0; first < io.frames; first += kSweepChunk) {
    const int count = io.frames - first < kSweepChunk ? io.frames - first : kSweepChunk;
    const double* inLeft = io.inLeft + first;
    const double* inRight = io.inRight + first;
    const bool fading = s.d.crossfadeActive;
    const ChunkContext given{io,   first,    count,     inLeft,    inRight,   fading,
                             taps, leftRole, rightRole, leftChunk, rightChunk};
    // The quiet test passes only finite, quiet chunks; any other chunk is checked here, and
    // one that needs it runs on a scrubbed copy.
    if (PassQuietChunk(given, s)) {
      continue;
    }
    const bool steady = s.steadyPathEnabled && CanRunSteady(given, s);
    const bool paired = steady && CanPairSides(given, s);
    const bool scrub = !AllWithin(inLeft, inRight, count, kInputCeiling);
    if (scrub) {
      scrubbed.From(inLeft, inRight, count);
    }
    const ChunkContext chunk{io,
                             first,
                             count,
                             scrub ? scrubbed.left : inLeft,
                             scrub ? scrubbed.right : inRight,
                             fading,
                             taps,
                             leftRole,
                             rightRole,
                             leftChunk,
                             rightChunk};
    if (scrub && PassQuietChunk(chunk, s)) {
      continue;
    }
    PrepareSide(s.left, leftRole, count, paired, leftChunk);
    PrepareSide(s.right, rightRole, count, paired, rightChunk);
    int bypassed = 0;
    if (steady) {
      RunSteadyChunk(chunk, s, mix, paired);
    } else {
      bypassed = RunChunk<kLinked>(chunk, s, mix);
    }
    FinishSide(s.left, leftRole, bypassed);
    FinishSide(s.right, rightRole, bypassed);
    // Only the block's last frame matters, and only if it was processed.
    if (first + count == io.frames && s.lastProcessed == io.frames - 1) {
      TraceSide(leftRole, leftChunk, first, count, s.lastProcessed, leftTrace);
      TraceSide(rightRole, rightChunk, first, count, s.lastProcessed, rightTrace);
    }
  }
}

}  // namespace

void DelayEngine::ProcessFrames(double** inputs, double** outputs, int frames) {
  const BlockIo io{inputs[0], inputs[1], outputs[0], outputs[1], frames};
  DelayState d = delay_;
  SweepSide left = left_;
  SweepSide right = right_;
  MixGains gains = gains_;
  DelayLine::Cursor line(line_);
  BlockState state{d, left, right, gains, line, -1, steadyPathEnabled_};
  GraphTrace leftTrace;
  GraphTrace rightTrace;

  const bool linked = (left.sideActive && LinkSlot(left, nullptr) != kLinkOff) ||
                      (right.sideActive && LinkSlot(right, &left) != kLinkOff);
  if (linked) {
    RunFrames<true>(io, state, leftTrace, rightTrace);
  } else {
    RunFrames<false>(io, state, leftTrace, rightTrace);
  }

  delay_ = d;
  left_ = left;
  right_ = right;
  gains_ = gains;
  line.Commit(line_);
  // A running filter's strip shows the coefficient of the block's last frame.
  if (leftTrace.frame == frames - 1) {
    graphLeft_.current.store(static_cast<float>(leftTrace.g), std::memory_order_relaxed);
  }
  if (rightTrace.frame == frames - 1) {
    graphRight_.current.store(static_cast<float>(rightTrace.g), std::memory_order_relaxed);
  }
}

}  // namespace velmora::dsp
