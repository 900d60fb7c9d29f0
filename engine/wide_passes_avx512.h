// The AVX-512 forms of the passes in wide_passes.h, sixteen floats or eight doubles per
// instruction, each element given exactly the operation of the plain loop. Only for
// processors that wide_passes.cpp finds able to run them at full speed.
#pragma once

#include <cstdint>

namespace velmora::dsp {

// Whether this processor and its operating system run AVX-512 (foundation, byte/word,
// doubleword/quadword and vector-length forms) without lowering their clock for it. Those
// that do (the first generations) lack VBMI2, which every later one has.
bool Avx512RunsAtFullSpeed();

void DivideAvx512(const int32_t* distance, float period, float* x, int count);
void DivideRunAvx512(int32_t start, float period, float* x, int count);
bool AllWithinAvx512(const double* a, const double* b, int count, double limit);

}  // namespace velmora::dsp
