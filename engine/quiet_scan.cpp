#include "engine/quiet_scan.h"

#include <emmintrin.h>

#include <cmath>
#include <cstdint>

namespace velmora::dsp {

bool AnyAbove(const double* a, const double* b, int count, double threshold) {
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX));
  const __m128d limit = _mm_set1_pd(threshold);
  __m128d above = _mm_setzero_pd();
  int k = 0;
  for (; k + 2 <= count; k += 2) {
    const __m128d fromA = _mm_cmpgt_pd(_mm_and_pd(_mm_loadu_pd(a + k), magnitude), limit);
    const __m128d fromB = _mm_cmpgt_pd(_mm_and_pd(_mm_loadu_pd(b + k), magnitude), limit);
    above = _mm_or_pd(above, _mm_or_pd(fromA, fromB));
  }
  bool loud = _mm_movemask_pd(above) != 0;
  for (; k < count; ++k) {
    loud |= (std::fabs(a[k]) > threshold) | (std::fabs(b[k]) > threshold);
  }
  return loud;
}

}  // namespace velmora::dsp
