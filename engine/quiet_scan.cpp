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

}  // namespace velmora::dsp
