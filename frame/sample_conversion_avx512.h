// The AVX-512 forms of the sample conversions: sixteen samples per step, each converted on
// its own with the same rounding and the same rule for results below the smallest normal
// float as the narrower forms, so all give the same bits.
#pragma once

namespace velmora {

// Whether this processor and its operating system run AVX-512 (foundation, byte/word,
// doubleword/quadword and vector-length forms) without lowering their clock for it: the
// first generations, which do, lack VBMI2, which every later one has.
bool Avx512ConversionsRunAtFullSpeed();

void WidenAvx512(const float* in, double* out, int count);
void NarrowAvx512(const double* in, float* out, int count);
void AddNarrowedAvx512(const double* in, float* out, int count);

}  // namespace velmora
