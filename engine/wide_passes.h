// Passes over a chunk with no dependency from one frame to the next, run in the widest
// registers the processor offers. Every path does the same IEEE operation on each element
// as the plain loop, in the same precision and with the same rounding, so every path gives
// the same bits; only how many elements one instruction handles differs. That matters most
// for division, which the processor does one instruction at a time however wide it is.
#pragma once

#include <cstdint>

namespace velmora::dsp {

enum class VectorPath { kBaseline, kAvx };

// Whether this processor (and its operating system) runs the path.
bool VectorPathSupported(VectorPath path);

// The path in use: AVX where supported, unless a test chose the baseline. (AVX-512 divides
// no faster per element than AVX on the processors measured, so it has no path of its own.)
VectorPath ActiveVectorPath();

// Makes path the one in use; false, with nothing changed, when it is not supported. For
// tests, which run every supported path; not for use while audio runs.
bool UseVectorPath(VectorPath path);

// x[i] = float(distance[i]) / period for i in 0..count-1.
void DivideDistances(const int32_t* distance, float period, float* x, int count);

}  // namespace velmora::dsp
