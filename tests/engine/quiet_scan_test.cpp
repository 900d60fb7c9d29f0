// The quiet-chunk test reads two samples at a time: a loud sample, or one that is not a
// number, must be found wherever it sits (paired part or odd tail, either channel, either
// sign), and a sample exactly at the threshold counts as quiet, as in the per-sample bypass
// test. The range test finds every infinity, not-a-number and sample beyond its limit,
// wherever it sits.
#include "engine/quiet_scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace velmora::dsp {
namespace {

TEST(QuietScan, FindsEveryLoudSampleAndOnlyThose) {
  const double threshold = 0.001;
  for (int count : {0, 1, 2, 5, 8, 255, 256}) {
    const std::vector<double> a(count, 0.0005);
    const std::vector<double> b(count, -0.001);  // exactly at the threshold: quiet
    EXPECT_FALSE(AnyLoudOrNotANumber(a.data(), b.data(), count, threshold)) << count;
    EXPECT_TRUE(AllWithin(a.data(), b.data(), count, 1.0)) << count;
    for (int k = 0; k < count; ++k) {
      for (double loud : {0.0010000001, -0.0011, std::numeric_limits<double>::quiet_NaN(),
                          -std::numeric_limits<double>::infinity(), 2.0}) {
        std::vector<double> louder = b;
        louder[k] = loud;
        EXPECT_TRUE(AnyLoudOrNotANumber(a.data(), louder.data(), count, threshold))
            << count << " " << k;
        EXPECT_TRUE(AnyLoudOrNotANumber(louder.data(), a.data(), count, threshold))
            << count << " " << k;
        const bool finite = std::fabs(loud) <= 1.0;
        EXPECT_EQ(AllWithin(a.data(), louder.data(), count, 1.0), finite) << count << " " << k;
        EXPECT_EQ(AllWithin(louder.data(), a.data(), count, 1.0), finite) << count << " " << k;
      }
    }
  }
}

}  // namespace
}  // namespace velmora::dsp
