#include "engine/quiet_scan.h"

#include <emmintrin.h>

#include <cmath>
#include <cstdint>

namespace velmora::dsp {

// Not below or equal: true for a loud sample and for not-a-number, one compare for both.
bool AnyLoudOrNotANumber(const double* a, const double* b, int count, double threshold) {
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX));
  const __m128d limit = _mm_set1_pd(threshold);
  __m128d found = _mm_setzero_pd();
  int k = 0;
  for (; k + 2 <= count; k += 2) {
    const __m128d fromA = _mm_cmpnle_pd(_mm_and_pd(_mm_loadu_pd(a + k), magnitude), limit);
    const __m128d fromB = _mm_cmpnle_pd(_mm_and_pd(_mm_loadu_pd(b + k), magnitude), limit);
    found = _mm_or_pd(found, _mm_or_pd(fromA, fromB));
  }
  bool any = _mm_movemask_pd(found) != 0;
  for (; k < count; ++k) {
    any |= !(std::fabs(a[k]) <= threshold) | !(std::fabs(b[k]) <= threshold);
  }
  return any;
}

// Every magnitude is at most the sum of all of them, and a sum that meets an infinity or
// not-a-number is no longer at most anything. A sum above the limit with every sample
// within it only costs the caller a needless copy. Four sums, so the additions do not wait
// on each other.
bool AllWithin(const double* a, const double* b, int count, double limit) {
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX));
  __m128d sums[4] = {_mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd()};
  int k = 0;
  for (; k + 4 <= count; k += 4) {
    sums[0] = _mm_add_pd(sums[0], _mm_and_pd(_mm_loadu_pd(a + k), magnitude));
    sums[1] = _mm_add_pd(sums[1], _mm_and_pd(_mm_loadu_pd(a + k + 2), magnitude));
    sums[2] = _mm_add_pd(sums[2], _mm_and_pd(_mm_loadu_pd(b + k), magnitude));
    sums[3] = _mm_add_pd(sums[3], _mm_and_pd(_mm_loadu_pd(b + k + 2), magnitude));
  }
  const __m128d pairs = _mm_add_pd(_mm_add_pd(sums[0], sums[1]), _mm_add_pd(sums[2], sums[3]));
  double sum = _mm_cvtsd_f64(pairs) + _mm_cvtsd_f64(_mm_unpackhi_pd(pairs, pairs));
  for (; k < count; ++k) {
    sum += std::fabs(a[k]) + std::fabs(b[k]);
  }
  return sum <= limit;
}

}  // namespace velmora::dsp
