#include "engine/wide_passes.h"

#include "engine/wide_passes_avx512.h"

#include <immintrin.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace velmora::dsp {

namespace {

// The plain loops, also every path's remainder; the compiler turns them into SSE2 code of
// two to four elements at a time.
void DivideBaseline(const int32_t* distance, float period, float* x, int count) {
  for (int i = 0; i < count; ++i) {
    x[i] = static_cast<float>(distance[i]) / period;
  }
}

void DivideRunBaseline(int32_t start, float period, float* x, int count) {
  for (int i = 0; i < count; ++i) {
    x[i] = static_cast<float>(std::abs(start + i)) / period;
  }
}

// Every magnitude is at most the sum of all of them, and a sum that meets an infinity or
// not-a-number is no longer at most anything. Four sums, so the additions do not wait on
// each other.
bool AllWithinBaseline(const double* a, const double* b, int count, double limit) {
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

// The AVX2 forms: unaligned loads and stores, and no vector crosses a call or waits on the
// stack, which some toolchains cannot keep aligned for wide registers.
__attribute__((target("avx2"))) void DivideAvx2(const int32_t* distance, float period, float* x,
                                                int count) {
  const __m256 divisor = _mm256_set1_ps(period);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(distance + i));
    _mm256_storeu_ps(x + i, _mm256_div_ps(_mm256_cvtepi32_ps(d), divisor));
  }
  DivideBaseline(distance + i, period, x + i, count - i);
}

// The distances cost nothing here: the loop waits on the divider anyway.
__attribute__((target("avx2"))) void DivideRunAvx2(int32_t start, float period, float* x,
                                                   int count) {
  const __m256 divisor = _mm256_set1_ps(period);
  const __m256i step = _mm256_set1_epi32(8);
  __m256i run =
      _mm256_add_epi32(_mm256_set1_epi32(start), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    _mm256_storeu_ps(x + i, _mm256_div_ps(_mm256_cvtepi32_ps(_mm256_abs_epi32(run)), divisor));
    run = _mm256_add_epi32(run, step);
  }
  DivideRunBaseline(start + i, period, x + i, count - i);
}

__attribute__((target("avx2"))) bool AllWithinAvx2(const double* a, const double* b, int count,
                                                   double limit) {
  const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX));
  __m256d sumA = _mm256_setzero_pd();
  __m256d sumB = _mm256_setzero_pd();
  int k = 0;
  for (; k + 4 <= count; k += 4) {
    sumA = _mm256_add_pd(sumA, _mm256_and_pd(_mm256_loadu_pd(a + k), magnitude));
    sumB = _mm256_add_pd(sumB, _mm256_and_pd(_mm256_loadu_pd(b + k), magnitude));
  }
  const __m256d both = _mm256_add_pd(sumA, sumB);
  const __m128d pairs = _mm_add_pd(_mm256_castpd256_pd128(both), _mm256_extractf128_pd(both, 1));
  double sum = _mm_cvtsd_f64(pairs) + _mm_cvtsd_f64(_mm_unpackhi_pd(pairs, pairs));
  for (; k < count; ++k) {
    sum += std::fabs(a[k]) + std::fabs(b[k]);
  }
  return sum <= limit;
}

struct Passes {
  VectorPath path;
  void (*divide)(const int32_t*, float, float*, int);
  void (*divideRun)(int32_t, float, float*, int);
  bool (*allWithin)(const double*, const double*, int, double);
};

constexpr Passes kBaselinePasses{VectorPath::kBaseline, &DivideBaseline, &DivideRunBaseline,
                                 &AllWithinBaseline};
constexpr Passes kAvx2Passes{VectorPath::kAvx2, &DivideAvx2, &DivideRunAvx2, &AllWithinAvx2};
constexpr Passes kAvx512Passes{VectorPath::kAvx512, &DivideAvx512, &DivideRunAvx512,
                               &AllWithinAvx512};

const Passes* PassesFor(VectorPath path) {
  switch (path) {
    case VectorPath::kAvx512:
      return &kAvx512Passes;
    case VectorPath::kAvx2:
      return &kAvx2Passes;
    case VectorPath::kBaseline:
      break;
  }
  return &kBaselinePasses;
}

VectorPath WidestSupported() {
  for (VectorPath path : {VectorPath::kAvx512, VectorPath::kAvx2}) {
    if (VectorPathSupported(path)) {
      return path;
    }
  }
  return VectorPath::kBaseline;
}

// Chosen on first use, once (thread-safe static initialisation); the table names its path.
std::atomic<const Passes*>& Active() {
  static std::atomic<const Passes*> active{PassesFor(WidestSupported())};
  return active;
}

const Passes& Current() {
  return *Active().load(std::memory_order_relaxed);
}

}  // namespace

bool VectorPathSupported(VectorPath path) {
  __builtin_cpu_init();
  switch (path) {
    case VectorPath::kAvx512:
      return Avx512RunsAtFullSpeed();
    case VectorPath::kAvx2:
      return __builtin_cpu_supports("avx2") != 0;
    case VectorPath::kBaseline:
      return true;
  }
  return false;
}

VectorPath ActiveVectorPath() {
  return Current().path;
}

bool UseVectorPath(VectorPath path) {
  if (!VectorPathSupported(path)) {
    return false;
  }
  Active().store(PassesFor(path), std::memory_order_relaxed);
  return true;
}

void DivideDistances(const int32_t* distance, float period, float* x, int count) {
  Current().divide(distance, period, x, count);
}

void DivideRun(int32_t start, float period, float* x, int count) {
  Current().divideRun(start, period, x, count);
}

bool AllWithin(const double* a, const double* b, int count, double limit) {
  return Current().allWithin(a, b, count, limit);
}

}  // namespace velmora::dsp
