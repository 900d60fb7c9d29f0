#include "frame/sample_conversion.h"

#include "frame/sample_conversion_avx512.h"

#include <immintrin.h>

#include <atomic>

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

void WidenBaseline(const float* in, double* out, int count) {
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

// The AVX forms: unaligned loads and stores, and no vector crosses a call or waits on the
// stack, which some toolchains cannot keep aligned for wide registers.
__attribute__((target("avx"))) void WidenAvx(const float* in, double* out, int count) {
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    _mm256_storeu_pd(out + i, _mm256_cvtps_pd(_mm_loadu_ps(in + i)));
    _mm256_storeu_pd(out + i + 4, _mm256_cvtps_pd(_mm_loadu_ps(in + i + 4)));
  }
  for (; i < count; ++i) {
    out[i] = in[i];
  }
}

__attribute__((target("avx"))) inline __m256 WithoutSubnormalsAvx(__m256 samples) {
  const __m256 magnitude =
      _mm256_and_ps(samples, _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF)));
  return _mm256_andnot_ps(_mm256_cmp_ps(magnitude, _mm256_set1_ps(FLT_MIN), _CMP_LT_OS), samples);
}

// Eight samples per step: two conversions of four doubles, one test and one store of eight
// floats.
template <bool kAccumulate>
__attribute__((target("avx"))) void NarrowAvx(const double* in, float* out, int count) {
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256 narrowed = WithoutSubnormalsAvx(
        _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(_mm256_loadu_pd(in + i))),
                             _mm256_cvtpd_ps(_mm256_loadu_pd(in + i + 4)), 1));
    if constexpr (kAccumulate) {
      _mm256_storeu_ps(out + i,
                       WithoutSubnormalsAvx(_mm256_add_ps(_mm256_loadu_ps(out + i), narrowed)));
    } else {
      _mm256_storeu_ps(out + i, narrowed);
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

struct Conversions {
  void (*widen)(const float*, double*, int);
  void (*narrow)(const double*, float*, int);
  void (*addNarrowed)(const double*, float*, int);
};

constexpr Conversions kBaseline{&WidenBaseline, &Narrow<false>, &Narrow<true>};
constexpr Conversions kAvx{&WidenAvx, &NarrowAvx<false>, &NarrowAvx<true>};
constexpr Conversions kAvx512{&WidenAvx512, &NarrowAvx512, &AddNarrowedAvx512};

const Conversions* ConversionsFor(ConversionPath path) {
  switch (path) {
    case ConversionPath::kAvx512:
      return &kAvx512;
    case ConversionPath::kAvx:
      return &kAvx;
    case ConversionPath::kBaseline:
      break;
  }
  return &kBaseline;
}

// Chosen on first use (thread-safe static initialisation); tests may switch it.
std::atomic<const Conversions*>& Active() {
  static std::atomic<const Conversions*> active{ConversionsFor(WidestConversionPath())};
  return active;
}

const Conversions& Current() {
  return *Active().load(std::memory_order_relaxed);
}

}  // namespace

bool ConversionPathSupported(ConversionPath path) {
  switch (path) {
    case ConversionPath::kAvx512:
      return Avx512ConversionsRunAtFullSpeed();
    case ConversionPath::kAvx:
      __builtin_cpu_init();
      return __builtin_cpu_supports("avx") != 0;
    case ConversionPath::kBaseline:
      return true;
  }
  return false;
}

ConversionPath WidestConversionPath() {
  if (ConversionPathSupported(ConversionPath::kAvx512)) {
    return ConversionPath::kAvx512;
  }
  return ConversionPathSupported(ConversionPath::kAvx) ? ConversionPath::kAvx
                                                       : ConversionPath::kBaseline;
}

bool UseConversionPath(ConversionPath path) {
  if (!ConversionPathSupported(path)) {
    return false;
  }
  Active().store(ConversionsFor(path), std::memory_order_relaxed);
  return true;
}

void WidenSamples(const float* in, double* out, int count) {
  Current().widen(in, out, count);
}

void NarrowSamples(const double* in, float* out, int count) {
  Current().narrow(in, out, count);
}

void AddNarrowedSamples(const double* in, float* out, int count) {
  Current().addNarrowed(in, out, count);
}

}  // namespace velmora
