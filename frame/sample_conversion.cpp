#include "frame/sample_conversion.h"

#include <emmintrin.h>

#include <cfloat>
#include <cmath>

namespace velmora {
namespace {

// The conversion to float rounds to nearest, and a result below the smallest normal float
// is written as 0: hosts and the effects after this one would otherwise carry subnormal
// numbers, which cost many times the work of normal ones on common processors, through
// their own recursions. The accumulating form adds to the host's samples and applies the
// same rule to the sum. Four samples per step, then the remainder.
inline float WithoutSubnormal(float sample) {
  return std::fabs(sample) < FLT_MIN ? 0.0f : sample;
}

inline float ToFloatSample(double sample) {
  return WithoutSubnormal(static_cast<float>(sample));
}

inline __m128 WithoutSubnormals(__m128 samples) {
  const __m128 magnitude = _mm_and_ps(samples, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
  return _mm_andnot_ps(_mm_cmplt_ps(magnitude, _mm_set1_ps(FLT_MIN)), samples);
}

inline __m128 ToFloatSamples(const double* in) {
  const __m128 low = _mm_cvtpd_ps(_mm_loadu_pd(in));
  const __m128 high = _mm_cvtpd_ps(_mm_loadu_pd(in + 2));
  return WithoutSubnormals(_mm_movelh_ps(low, high));
}

template <bool kAccumulate>
void Narrow(const double* in, float* out, int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    if constexpr (kAccumulate) {
      _mm_storeu_ps(out + i,
                    WithoutSubnormals(_mm_add_ps(_mm_loadu_ps(out + i), ToFloatSamples(in + i))));
    } else {
      _mm_storeu_ps(out + i, ToFloatSamples(in + i));
    }
  }
  for (; i < count; ++i) {
    if constexpr (kAccumulate) {
      out[i] = WithoutSubnormal(out[i] + ToFloatSample(in[i]));
    } else {
      out[i] = ToFloatSample(in[i]);
    }
  }
}

}  // namespace

void WidenSamples(const float* in, double* out, int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    out[i] = in[i];
    out[i + 1] = in[i + 1];
    out[i + 2] = in[i + 2];
    out[i + 3] = in[i + 3];
  }
  for (; i < count; ++i) {
    out[i] = in[i];
  }
}

void NarrowSamples(const double* in, float* out, int count) {
  Narrow<false>(in, out, count);
}

void AddNarrowedSamples(const double* in, float* out, int count) {
  Narrow<true>(in, out, count);
}

}  // namespace velmora
