#include "engine/delay_line.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace velmora::dsp {

namespace {

const double kSilence[kSilentRunLength] = {};

}  // namespace

int64_t DelayLineLengthFor(double samplesPerWhole) {
  const double length = 20.0 * samplesPerWhole;
  if (!(length >= 0.0) || !(length + 0.5 < static_cast<double>(kMaxDelayLineLength) + 1.0)) {
    return -1;
  }
  return static_cast<int64_t>(length + 0.5);
}

const double* DelayLine::SilentRun() {
  return kSilence;
}

DelayLine::~DelayLine() {
  Release();
}

void DelayLine::Release() {
  if (samples_ != &fallback_) {
    delete[] samples_;
  }
  samples_ = &fallback_;
  capacity_ = 0;
  length_ = 0;
  wrapLength_ = 1;
  Clear();
}

// Growing needs no zero fill: nothing is read before it has been written since the clear.
bool DelayLine::Hold(int64_t samples) {
  if (samples <= capacity_) {
    return true;
  }
  // The old samples go first: two lines of this size need not fit in memory at once.
  Release();
  double* memory = new (std::nothrow) double[static_cast<size_t>(samples)];
  if (memory == nullptr) {
    return false;
  }
  samples_ = memory;
  capacity_ = samples;
  return true;
}

bool DelayLine::Allocate(int64_t length) {
  allocated_ = true;
  Clear();
  bool held = length >= 0 && length <= kMaxDelayLineLength;
  if (held && length > capacity_ && length > 1) {
    const double roomy = std::min(static_cast<double>(length) * kLineHeadroom,
                                  static_cast<double>(kMaxDelayLineLength));
    held = Hold(static_cast<int64_t>(roomy)) || Hold(length);
  }
  length_ = held ? static_cast<int>(length) : 0;
  wrapLength_ = length_ > 0 ? static_cast<unsigned>(length_) : 1;
  return held;
}

// Off the audio thread the old and the new memory may both be held for a moment, so a
// failure can leave the line as it was.
bool DelayLine::Reserve(int64_t samples) {
  samples = std::min(samples, kMaxDelayLineLength);
  if (samples <= capacity_ || samples <= 1) {
    return true;
  }
  double* memory = new (std::nothrow) double[static_cast<size_t>(samples)];
  if (memory == nullptr) {
    return false;
  }
  if (samples_ != &fallback_) {
    delete[] samples_;
  }
  samples_ = memory;
  capacity_ = samples;
  Clear();
  return true;
}

}  // namespace velmora::dsp
