#include "engine/wide_passes_avx512.h"

#include <immintrin.h>

#include <cmath>
#include <cstdlib>

// GCC 12's own AVX-512 intrinsics start their results from a deliberately undefined value,
// which its uninitialised-use warning mistakes for a fault in the caller.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace velmora::dsp {

// Each form finishes its remainder itself rather than calling a narrower form: the
// compiler may turn such a call into a jump that skips clearing the upper register halves,
// and every SSE instruction after it would then run slower. Unaligned loads and stores,
// and no vector crosses a call or waits on the stack.

bool Avx512RunsAtFullSpeed() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") &&
         __builtin_cpu_supports("avx512vbmi2");
}

__attribute__((target("avx512f"))) void DivideAvx512(const int32_t* distance, float period,
                                                     float* x, int count) {
  const __m512 divisor = _mm512_set1_ps(period);
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m512i d = _mm512_loadu_si512(distance + i);
    _mm512_storeu_ps(x + i, _mm512_div_ps(_mm512_cvtepi32_ps(d), divisor));
  }
  for (; i < count; ++i) {
    x[i] = static_cast<float>(distance[i]) / period;
  }
}

__attribute__((target("avx512f"))) void DivideRunAvx512(int32_t start, float period, float* x,
                                                        int count) {
  const __m512 divisor = _mm512_set1_ps(period);
  const __m512i step = _mm512_set1_epi32(16);
  __m512i run =
      _mm512_add_epi32(_mm512_set1_epi32(start),
                       _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    _mm512_storeu_ps(x + i, _mm512_div_ps(_mm512_cvtepi32_ps(_mm512_abs_epi32(run)), divisor));
    run = _mm512_add_epi32(run, step);
  }
  for (; i < count; ++i) {
    x[i] = static_cast<float>(std::abs(start + i)) / period;
  }
}

// A magnitude compared "not at most limit" is true for a loud sample and for not-a-number
// alike; the results gather in a mask register, which waits on nothing.
__attribute__((target("avx512f"))) bool AllWithinAvx512(const double* a, const double* b, int count,
                                                        double limit) {
  const __m512d ceiling = _mm512_set1_pd(limit);
  __mmask8 outside = 0;
  int k = 0;
  for (; k + 8 <= count; k += 8) {
    outside |= _mm512_cmp_pd_mask(_mm512_abs_pd(_mm512_loadu_pd(a + k)), ceiling, _CMP_NLE_UQ);
    outside |= _mm512_cmp_pd_mask(_mm512_abs_pd(_mm512_loadu_pd(b + k)), ceiling, _CMP_NLE_UQ);
  }
  bool within = outside == 0;
  for (; k < count; ++k) {
    within &= (std::fabs(a[k]) <= limit) & (std::fabs(b[k]) <= limit);
  }
  return within;
}

}  // namespace velmora::dsp
