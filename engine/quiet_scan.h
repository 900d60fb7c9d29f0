// The scan of a stretch of two channels, two samples at a time, for any sample above the
// bypass threshold or not a number: the test of a quiet chunk, which a bypassed effect runs
// on every block. (Whether every sample is a finite number within a limit, run on every
// chunk that is processed, is AllWithin in wide_passes.h.)
#pragma once

#include "engine/wide_passes.h"

namespace velmora::dsp {

// True when |a[k]| > threshold or |b[k]| > threshold, or a sample is not a number, for some
// k in 0..count-1 (strict, so a sample exactly at the threshold is quiet). An infinity is
// loud, so a stretch without such samples is also finite.
bool AnyLoudOrNotANumber(const double* a, const double* b, int count, double threshold);

}  // namespace velmora::dsp
