// Scans of a stretch of two channels, two samples at a time: whether it holds any sample
// above the bypass threshold (the test of a quiet chunk, which a bypassed effect runs on
// every block), and whether every sample is a finite number (run on every chunk).
#pragma once

namespace velmora::dsp {

// True when |a[k]| > threshold or |b[k]| > threshold for some k in 0..count-1 (strict, so
// a sample exactly at the threshold is quiet; not-a-number is quiet too).
bool AnyAbove(const double* a, const double* b, int count, double threshold);

// True when every a[k] and b[k], k in 0..count-1, is a finite number.
bool AllFinite(const double* a, const double* b, int count);

}  // namespace velmora::dsp
