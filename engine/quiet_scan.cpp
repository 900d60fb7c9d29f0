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

// x x 0 is a zero for a finite x and not-a-number otherwise. The bits of such products,
// gathered with or, keep a not-a-number's exponent once they have met one; or waits on
// nothing slower than itself, so the scan runs at the pace of the loads.
bool AllFinite(const double* a, const double* b, int count) {
  const __m128d zero = _mm_setzero_pd();
  __m128d gathered = zero;
  int k = 0;
  for (; k + 2 <= count; k += 2) {
    gathered = _mm_or_pd(gathered, _mm_mul_pd(_mm_loadu_pd(a + k), zero));
    gathered = _mm_or_pd(gathered, _mm_mul_pd(_mm_loadu_pd(b + k), zero));
  }
  bool finite = _mm_movemask_pd(_mm_cmpunord_pd(gathered, gathered)) == 0;
  for (; k < count; ++k) {
    finite &= std::isfinite(a[k]) & std::isfinite(b[k]);
  }
  return finite;
}

}  // namespace velmora::dsp
