// The quiet-chunk test reads two samples at a time: a loud sample must be found wherever
// it sits (paired part or odd tail, either channel, either sign), and a sample exactly at
// the threshold or not a number counts as quiet, as in the per-sample bypass test.
#include "engine/quiet_scan.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace velmora::dsp {
namespace {

TEST(QuietScan, FindsEveryLoudSampleAndOnlyThose) {
  const double threshold = 0.001;
  for (int count : {0, 1, 2, 5, 8, 255, 256}) {
    std::vector<double> a(count, 0.0005);
    std::vector<double> b(count, -0.001);  // exactly at the threshold: quiet
    if (count > 0) {
      a[0] = std::numeric_limits<double>::quiet_NaN();
    }
    EXPECT_FALSE(AnyAbove(a.data(), b.data(), count, threshold)) << count;
    for (int k = 0; k < count; ++k) {
      for (double loud : {0.0010000001, -0.0011}) {
        std::vector<double> louder = b;
        louder[k] = loud;
        EXPECT_TRUE(AnyAbove(a.data(), louder.data(), count, threshold)) << count << " " << k;
        EXPECT_TRUE(AnyAbove(louder.data(), a.data(), count, threshold)) << count << " " << k;
      }
    }
  }
}

}  // namespace
}  // namespace velmora::dsp
