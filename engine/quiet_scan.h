// Whether a stretch of two channels holds any sample above the bypass threshold: the
// test of a quiet chunk, which a bypassed effect runs on every block, two samples at a
// time.
#pragma once

namespace velmora::dsp {

// True when |a[k]| > threshold or |b[k]| > threshold for some k in 0..count-1 (strict, so
// a sample exactly at the threshold is quiet; not-a-number is quiet too).
bool AnyAbove(const double* a, const double* b, int count, double threshold);

}  // namespace velmora::dsp
