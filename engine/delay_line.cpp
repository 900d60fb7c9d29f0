#include "engine/delay_line.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace velmora::dsp {

int64_t DelayLineLengthFor(double samplesPerWhole) {
  const double length = 20.0 * samplesPerWhole;
  if (!(length >= 0.0) || !(length + 0.5 < static_cast<double>(kMaxDelayLineLength) + 1.0)) {
    return -1;
  }
  return static_cast<int64_t>(length + 0.5);
}

DelayLine::~DelayLine() {
  Release();
}

void DelayLine::Release() {
  if (samples_ != &fallback_) {
    delete[] samples_;
  }
  samples_ = &fallback_;
  fallback_ = 0.0;
  length_ = 0;
  wrapLength_ = 1;
  writeIndex_ = 0;
}

bool DelayLine::Allocate(int64_t length) {
  // The old line goes first: two lines of this size need not fit in memory at once.
  Release();
  allocated_ = true;
  if (length < 0 || length > kMaxDelayLineLength) {
    return false;
  }
  if (length > 0) {
    double* samples = new (std::nothrow) double[static_cast<size_t>(length)];
    if (samples == nullptr) {
      return false;
    }
    std::fill(samples, samples + length, 0.0);
    samples_ = samples;
    length_ = static_cast<int>(length);
    wrapLength_ = static_cast<unsigned>(length);
  }
  return true;
}

void DelayLine::Clear() {
  std::fill(samples_, samples_ + wrapLength_, 0.0);
  writeIndex_ = 0;
}

}  // namespace velmora::dsp
