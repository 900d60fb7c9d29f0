#include "engine/wide_passes.h"

#include <immintrin.h>

#include <atomic>

namespace velmora::dsp {

namespace {

using DivideFunction = void (*)(const int32_t*, float, float*, int);

// The plain loop, also every path's remainder; the compiler turns it into SSE2 divisions of
// four at a time.
void DivideBaseline(const int32_t* distance, float period, float* x, int count) {
  for (int i = 0; i < count; ++i) {
    x[i] = static_cast<float>(distance[i]) / period;
  }
}

// Unaligned loads and stores, and no vector crosses a call or waits on the stack: some
// toolchains cannot keep wide registers aligned there.
__attribute__((target("avx"))) void DivideAvx(const int32_t* distance, float period, float* x,
                                              int count) {
  const __m256 divisor = _mm256_set1_ps(period);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(distance + i));
    _mm256_storeu_ps(x + i, _mm256_div_ps(_mm256_cvtepi32_ps(d), divisor));
  }
  for (; i < count; ++i) {
    x[i] = static_cast<float>(distance[i]) / period;
  }
}

DivideFunction DivideFor(VectorPath path) {
  switch (path) {
    case VectorPath::kAvx:
      return &DivideAvx;
    case VectorPath::kBaseline:
      break;
  }
  return &DivideBaseline;
}

VectorPath WidestSupported() {
  return VectorPathSupported(VectorPath::kAvx) ? VectorPath::kAvx : VectorPath::kBaseline;
}

struct ActivePath {
  ActivePath() : path(WidestSupported()), divide(DivideFor(path.load())) {}
  std::atomic<VectorPath> path;
  std::atomic<DivideFunction> divide;
};

// Chosen on first use, once (thread-safe static initialisation).
ActivePath& Active() {
  static ActivePath active;
  return active;
}

}  // namespace

bool VectorPathSupported(VectorPath path) {
  __builtin_cpu_init();
  switch (path) {
    case VectorPath::kAvx:
      return __builtin_cpu_supports("avx") != 0;
    case VectorPath::kBaseline:
      return true;
  }
  return false;
}

VectorPath ActiveVectorPath() {
  return Active().path.load(std::memory_order_relaxed);
}

bool UseVectorPath(VectorPath path) {
  if (!VectorPathSupported(path)) {
    return false;
  }
  Active().path.store(path, std::memory_order_relaxed);
  Active().divide.store(DivideFor(path), std::memory_order_relaxed);
  return true;
}

void DivideDistances(const int32_t* distance, float period, float* x, int count) {
  Active().divide.load(std::memory_order_relaxed)(distance, period, x, count);
}

}  // namespace velmora::dsp
