// Conversions between a host's float samples and the doubles the engine works in, shared by
// every binding so that all of them hand their hosts the same samples.
#pragma once

namespace velmora {

// float to double, exactly.
void WidenSamples(const float* in, double* out, int count);

// double to float, rounded to nearest; a result below the smallest normal float is written
// as 0.
void NarrowSamples(const double* in, float* out, int count);

// Adds the narrowed samples to out, with the same rule for the sum.
void AddNarrowedSamples(const double* in, float* out, int count);

// The conversions handle eight doubles per instruction where the processor runs AVX-512
// at full clock, four where it has AVX, two otherwise; all give the same bits (each sample
// is converted on its own, with the same rounding). The widest supported path is used;
// tests choose each path to run them all.
enum class ConversionPath { kBaseline, kAvx, kAvx512 };
bool ConversionPathSupported(ConversionPath path);
ConversionPath WidestConversionPath();
// False, with nothing changed, when the path is not supported.
bool UseConversionPath(ConversionPath path);

}  // namespace velmora
