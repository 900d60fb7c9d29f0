// Passes over a chunk with no dependency from one frame to the next, run in the widest
// registers the processor offers. Every path does the same IEEE operation on each element
// as the plain loop, in the same precision and with the same rounding, so every path gives
// the same bits; only how many elements one instruction handles differs. That matters most
// for division, which the processor does one instruction at a time however wide it is.
#pragma once

#include <cstdint>

namespace velmora::dsp {

// AVX-512 is used only where it runs at full clock (wide_passes_avx512.h); where its
// divider is as wide as its registers it halves the cost of the triangle values.
enum class VectorPath { kBaseline, kAvx2, kAvx512 };

// Whether this processor (and its operating system) runs the path.
bool VectorPathSupported(VectorPath path);

// The path in use: the widest supported, unless a test chose a narrower one.
VectorPath ActiveVectorPath();

// Makes path the one in use; false, with nothing changed, when it is not supported. For
// tests, which run every supported path; not for use while audio runs.
bool UseVectorPath(VectorPath path);

// x[i] = float(distance[i]) / period for i in 0..count-1.
void DivideDistances(const int32_t* distance, float period, float* x, int count);

// x[i] = float(|start + i|) / period for i in 0..count-1 (start + count - 1 must not
// overflow): the triangle values of a run of phases without a wrap.
void DivideRun(int32_t start, float period, float* x, int count);

// True when every |a[k]| and |b[k]|, k in 0..count-1, is at most limit (so finite); may
// also be false when their sum exceeds limit, which only costs the caller a needless copy.
bool AllWithin(const double* a, const double* b, int count, double limit);

}  // namespace velmora::dsp
