#include "frame/sample_conversion_avx512.h"

#include <immintrin.h>

#include <cfloat>
#include <cmath>

// GCC 12's own AVX-512 intrinsics start their results from a deliberately undefined value,
// which its uninitialised-use warning mistakes for a fault in the caller.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace velmora {
namespace {

// Every form finishes its remainder itself rather than calling a narrower form: the
// compiler may turn such a call into a jump that skips clearing the upper register halves,
// and every SSE instruction after it would then run slower. Unaligned loads and stores,
// and no vector crosses a call or waits on the stack.

inline float WithoutSubnormal(float sample) {
  return std::fabs(sample) < FLT_MIN ? 0.0f : sample;
}

__attribute__((target("avx512f,avx512dq"))) inline __m512 WithoutSubnormals(__m512 samples) {
  const __mmask16 tiny =
      _mm512_cmp_ps_mask(_mm512_abs_ps(samples), _mm512_set1_ps(FLT_MIN), _CMP_LT_OS);
  return _mm512_maskz_mov_ps(static_cast<__mmask16>(~tiny), samples);
}

__attribute__((target("avx512f,avx512dq"))) inline __m512 Narrowed(const double* in) {
  const __m256 low = _mm512_cvtpd_ps(_mm512_loadu_pd(in));
  const __m256 high = _mm512_cvtpd_ps(_mm512_loadu_pd(in + 8));
  return WithoutSubnormals(_mm512_insertf32x8(_mm512_castps256_ps512(low), high, 1));
}

}  // namespace

bool Avx512ConversionsRunAtFullSpeed() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") &&
         __builtin_cpu_supports("avx512vbmi2");
}

__attribute__((target("avx512f"))) void WidenAvx512(const float* in, double* out, int count) {
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    _mm512_storeu_pd(out + i, _mm512_cvtps_pd(_mm256_loadu_ps(in + i)));
    _mm512_storeu_pd(out + i + 8, _mm512_cvtps_pd(_mm256_loadu_ps(in + i + 8)));
  }
  for (; i < count; ++i) {
    out[i] = in[i];
  }
}

__attribute__((target("avx512f,avx512dq"))) void NarrowAvx512(const double* in, float* out,
                                                              int count) {
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    _mm512_storeu_ps(out + i, Narrowed(in + i));
  }
  for (; i < count; ++i) {
    out[i] = WithoutSubnormal(static_cast<float>(in[i]));
  }
}

__attribute__((target("avx512f,avx512dq"))) void AddNarrowedAvx512(const double* in, float* out,
                                                                   int count) {
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    _mm512_storeu_ps(out + i,
                     WithoutSubnormals(_mm512_add_ps(_mm512_loadu_ps(out + i), Narrowed(in + i))));
  }
  for (; i < count; ++i) {
    out[i] = WithoutSubnormal(out[i] + WithoutSubnormal(static_cast<float>(in[i])));
  }
}

}  // namespace velmora
