#include "engine/paired_sides.h"

#include <emmintrin.h>
#include <xmmintrin.h>

#include <cstdint>

namespace velmora::dsp {

namespace {

// Both lanes from two separate doubles: low lane first.
inline __m128d Pair(const double* low, const double* high) {
  return _mm_loadh_pd(_mm_load_sd(low), high);
}

inline void Store(__m128d pair, double* low, double* high) {
  _mm_storel_pd(low, pair);
  _mm_storeh_pd(high, pair);
}

// Both filters' recursion, each lane exactly SweepFilterCore::Run without the high-pass
// output. The clamp to -1..1 is rare, so it sits behind one branch that the predictor
// learns; the next frame's recursion does not wait for the comparison.
struct PairedFilter {
  PairedFilter(const SweepFilterCore& left, const SweepFilterCore& right)
      : damping(_mm_setr_pd(left.damping, right.damping)),
        velocity(_mm_setr_pd(left.velocity, right.velocity)),
        out(_mm_setr_pd(left.out, right.out)) {}

  __m128d Run(__m128d t, __m128d g) {
    const __m128d v = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(t, out), g), _mm_mul_pd(damping, velocity));
    velocity = v;
    __m128d y = _mm_add_pd(_mm_mul_pd(v, g), _mm_mul_pd(damping, out));
    const __m128d magnitude = _mm_and_pd(y, _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX)));
    // Not below 1 in magnitude, or not a number.
    if (_mm_movemask_pd(_mm_cmpnlt_pd(magnitude, _mm_set1_pd(1.0))) != 0) {
      // min(1, y) keeps y unless 1 < y, so not-a-number stays; max(.., -1) keeps the value
      // unless it is below -1 or not a number. That is y >= 1 ? 1 : y, then
      // y >= -1 ? y : -1, lane by lane.
      y = _mm_max_pd(_mm_min_pd(_mm_set1_pd(1.0), y), _mm_set1_pd(-1.0));
    }
    out = y;
    return y;
  }

  void Store(SweepFilterCore& left, SweepFilterCore& right) const {
    left.velocity = _mm_cvtsd_f64(velocity);
    left.out = _mm_cvtsd_f64(out);
    right.velocity = _mm_cvtsd_f64(_mm_unpackhi_pd(velocity, velocity));
    right.out = _mm_cvtsd_f64(_mm_unpackhi_pd(out, out));
  }

  const __m128d damping;
  __m128d velocity;
  __m128d out;
};

// The link value of each side for triangle values x, lane by lane: centre + depth x x for
// a positive depth, centre + (x - 0.5) x depth otherwise, in double, rounded to single.
// x - 0 is x, so one form serves both.
struct PairedLinkValues {
  PairedLinkValues(const SweepSide& left, const SweepSide& right)
      : centre(_mm_setr_pd(left.linkCentre, right.linkCentre)),
        depth(_mm_setr_pd(left.linkDepth, right.linkDepth)),
        shift(_mm_setr_pd(left.linkDepth > 0.0f ? 0.0 : 0.5, right.linkDepth > 0.0f ? 0.0 : 0.5)) {}

  __m128 At(__m128d x) const {
    return _mm_cvtpd_ps(_mm_add_pd(centre, _mm_mul_pd(_mm_sub_pd(x, shift), depth)));
  }

  const __m128d centre;
  const __m128d depth;
  const __m128d shift;
};

// A fading chunk adds the tap bias to every tap value; others need not. Everything the
// loop reads is a local copy, so that its stores cannot send anything through memory:
// above all not the filter states, whose recursion sets the loop's pace.
template <bool kLinked, bool kHighpass, bool kFading>
void RunFrames(const PairedRuns& given, SweepSide& leftSide, SweepSide& rightSide,
               PairedLinks links, MixGains& gains, const MixView& fixed) {
  const PairedRuns runs = given;
  SweepFilterCore left(leftSide);
  SweepFilterCore right(rightSide);
  PairedFilter filter(left, right);
  const PairedLinkValues linkValues(leftSide, rightSide);
  const __m128d highpass =
      _mm_castsi128_pd(_mm_set_epi64x(right.highpass ? -1 : 0, left.highpass ? -1 : 0));
  const __m128d sweepScale = _mm_setr_pd(leftSide.sweepScale, rightSide.sweepScale);
  const __m128d sweepOffset = _mm_setr_pd(leftSide.sweepOffset, rightSide.sweepOffset);
  const __m128d baseCoeff = _mm_setr_pd(leftSide.baseCoeff, rightSide.baseCoeff);
  const __m128d tapBias = _mm_set1_pd(runs.tapBias);
  // Working copies of the current values; slot 0 takes the writes of a side without a
  // link.
  float current[kLinkSlotCount];
  for (int slot = 0; slot < kLinkSlotCount; ++slot) {
    current[slot] = gains.current[slot];
  }
  __m128d pan = _mm_set1_pd(fixed.pan);
  __m128d panRest = _mm_set1_pd(fixed.panRest);
  __m128d wet = _mm_set1_pd(fixed.wet);
  __m128d dry = _mm_set1_pd(fixed.dry);
  __m128d g = _mm_setzero_pd();
  for (int k = 0; k < runs.count; ++k) {
    // Both inputs are read before either output is written.
    const double l = runs.inLeft[k];
    const double r = runs.inRight[k];
    // The feedback value the previous frame's modulation left.
    const double feedback = kLinked ? current[kLinkFeedback] : fixed.feedback;
    const double tapF = kFading ? runs.tapFeedback[k] + runs.tapBias : runs.tapFeedback[k];
    runs.write[k] = (r + l) * 0.5 + feedback * tapF;

    const __m128d x = _mm_cvtps_pd(
        _mm_unpacklo_ps(_mm_load_ss(runs.triangleLeft + k), _mm_load_ss(runs.triangleRight + k)));
    if (kLinked) {
      // Left first: when both link the same target the right one writes slot 0.
      const __m128 link = linkValues.At(x);
      current[links.left] = _mm_cvtss_f32(link);
      current[links.right] = _mm_cvtss_f32(_mm_shuffle_ps(link, link, 1));
    }
    // g = (x x sweepScale + sweepOffset) x baseCoeff.
    g = _mm_mul_pd(_mm_add_pd(_mm_mul_pd(x, sweepScale), sweepOffset), baseCoeff);
    __m128d t = Pair(runs.tapLeft + k, runs.tapRight + k);
    if (kFading) {
      t = _mm_add_pd(t, tapBias);
    }
    const __m128d y = filter.Run(t, g);
    _mm_store_pd(runs.held + 2 * k, y);
    __m128d side = y;
    if (kHighpass) {
      side = _mm_or_pd(_mm_and_pd(highpass, _mm_sub_pd(t, y)), _mm_andnot_pd(highpass, y));
    }

    // Left output (panRest x R + pan x L) x wet + dry x l in the low lane, the mirror image
    // in the high lane, with this frame's pan, wet and dry.
    if (kLinked) {
      const float p = current[kLinkPanWidth];
      pan = _mm_set1_pd(p);
      panRest = _mm_set1_pd(1.0f - p);  // formed in single precision
      wet = _mm_set1_pd(current[kLinkWetMix]);
      dry = _mm_set1_pd(current[kLinkDryMix]);
    }
    const __m128d crossed = _mm_shuffle_pd(side, side, 1);
    const __m128d panned = _mm_add_pd(_mm_mul_pd(panRest, crossed), _mm_mul_pd(pan, side));
    const __m128d result = _mm_add_pd(_mm_mul_pd(panned, wet), _mm_mul_pd(dry, _mm_setr_pd(l, r)));
    Store(result, runs.outLeft + k, runs.outRight + k);
  }
  if (runs.count > 0) {
    Store(g, runs.coefficientLeft + runs.count - 1, runs.coefficientRight + runs.count - 1);
  }
  filter.Store(left, right);
  left.Store(leftSide);
  right.Store(rightSide);
  for (int slot = kLinkOff + 1; slot < kLinkSlotCount; ++slot) {
    gains.current[slot] = current[slot];
  }
}

template <bool kLinked, bool kHighpass>
void RunFramesFading(const PairedRuns& runs, SweepSide& left, SweepSide& right, PairedLinks links,
                     MixGains& gains, const MixView& mix) {
  if (runs.fading) {
    RunFrames<kLinked, kHighpass, true>(runs, left, right, links, gains, mix);
  } else {
    RunFrames<kLinked, kHighpass, false>(runs, left, right, links, gains, mix);
  }
}

}  // namespace

void RunPairedFrames(const PairedRuns& runs, SweepSide& left, SweepSide& right, PairedLinks links,
                     MixGains& gains, const MixView& mix) {
  const bool highpass = left.filterType == kFilterHighpass || right.filterType == kFilterHighpass;
  if (links.left != kLinkOff || links.right != kLinkOff) {
    if (highpass) {
      RunFramesFading<true, true>(runs, left, right, links, gains, mix);
    } else {
      RunFramesFading<true, false>(runs, left, right, links, gains, mix);
    }
  } else if (highpass) {
    RunFramesFading<false, true>(runs, left, right, links, gains, mix);
  } else {
    RunFramesFading<false, false>(runs, left, right, links, gains, mix);
  }
}

}  // namespace velmora::dsp
