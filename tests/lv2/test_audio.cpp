#include "tests/lv2/test_audio.h"

#include <sndfile.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>

namespace velmora::lv2::testing {

std::vector<float> MakeTestSignal(double rate, size_t frames) {
  std::vector<float> samples(2 * frames);
  uint32_t noise = 12345;
  const auto burstEvery = static_cast<size_t>(rate * 0.37);
  for (size_t i = 0; i < frames; ++i) {
    noise = noise * 1664525u + 1013904223u;
    const double white = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
    const double sinceBurst = static_cast<double>(i % burstEvery) / rate;
    const double burst = white * std::exp(-sinceBurst * 40.0);
    // A quiet stretch in the middle lets the automatic bypass take over.
    const bool quiet = i > frames / 2 && i < frames / 2 + static_cast<size_t>(rate * 0.6);
    const double tone = 0.2 * std::sin(2.0 * M_PI * 220.0 * static_cast<double>(i) / rate);
    samples[2 * i] = quiet ? 0.0f : static_cast<float>(0.5 * burst);
    samples[2 * i + 1] = quiet ? 0.0f : static_cast<float>(0.3 * burst + tone);
  }
  return samples;
}

bool WriteFloatWav(const std::string& path, const std::vector<float>& interleaved, int rate) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    return false;
  }
  const sf_count_t frames = static_cast<sf_count_t>(interleaved.size() / 2);
  const bool written = sf_writef_float(file, interleaved.data(), frames) == frames;
  return sf_close(file) == 0 && written;
}

std::string Comparison::Text() const {
  std::ostringstream text;
  text << samples << " samples, " << differing << " differing, largest difference " << maxDifference
       << ", " << flushedSubnormals << " below the smallest normal float on both sides"
       << (sameLength ? "" : ", lengths differ");
  return text.str();
}

Comparison Compare(const std::vector<float>& expected, const std::vector<float>& actual) {
  Comparison result;
  result.sameLength = expected.size() == actual.size();
  result.samples = std::min(expected.size(), actual.size());
  for (size_t i = 0; i < result.samples; ++i) {
    if (std::memcmp(&expected[i], &actual[i], sizeof(float)) != 0) {
      const bool flushed = std::fabs(expected[i]) < FLT_MIN && std::fabs(actual[i]) < FLT_MIN;
      if (flushed) {
        ++result.flushedSubnormals;
        continue;
      }
      ++result.differing;
      const double difference = std::fabs(static_cast<double>(expected[i]) - actual[i]);
      result.maxDifference = std::max(result.maxDifference, difference);
    }
  }
  return result;
}

}  // namespace velmora::lv2::testing
