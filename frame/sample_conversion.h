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

// The conversions handle four doubles per instruction (eight samples per step) where the
// processor has AVX, two otherwise; both give the same bits (each sample is converted on its own,
// with the same rounding). Tests choose the narrower path to run both; false when AVX is missing.
bool UseWideConversions(bool wide);
bool WideConversionsSupported();

}  // namespace velmora
