// Every conversion path (AVX-512 and AVX where the processor has them, and the SSE2
// baseline) must give the plain per-sample rule's bits for every kind of sample: rounding
// to nearest, results below the smallest normal float written as 0 (also for sums),
// infinities, not-a-number, values beyond the float range, and counts that leave
// remainders. None may leave the upper register halves in use.
#include "frame/sample_conversion.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "tests/support/upper_vector_state.h"

namespace velmora {
namespace {

float PlainNarrow(double sample) {
  const float narrowed = static_cast<float>(sample);
  return std::fabs(narrowed) < FLT_MIN ? 0.0f : narrowed;
}

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

std::vector<double> Samples() {
  std::vector<double> samples = {0.0,
                                 -0.0,
                                 1.0,
                                 -1.0,
                                 0.1,
                                 1.0 + 0x1p-24,  // halfway: rounds to even
                                 1.0 + 0x1p-24 + 0x1p-40,
                                 FLT_MIN,
                                 -FLT_MIN,
                                 FLT_MIN * 0.75,
                                 static_cast<double>(FLT_MIN) * (1.0 - 0x1p-30),
                                 1e-300,
                                 -1e-300,
                                 static_cast<double>(FLT_MAX),
                                 static_cast<double>(FLT_MAX) * 1.5,
                                 1e300,
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN()};
  for (int i = 0; i < 100; ++i) {
    samples.push_back(std::sin(0.37 * i) * std::pow(10.0, (i % 17) - 12));
  }
  return samples;
}

class ConversionPaths : public ::testing::TestWithParam<ConversionPath> {
 protected:
  void SetUp() override {
    if (!ConversionPathSupported(GetParam())) {
      GTEST_SKIP() << "this processor lacks the path";
    }
    ASSERT_TRUE(UseConversionPath(GetParam()));
  }
  void TearDown() override { UseConversionPath(WidestConversionPath()); }
};

TEST_P(ConversionPaths, NarrowingFollowsThePlainRule) {
  const std::vector<double> in = Samples();
  for (int count : {0, 1, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, static_cast<int>(in.size())}) {
    std::vector<float> out(in.size(), 7.0f);
    NarrowSamples(in.data(), out.data(), count);
    for (int i = 0; i < count; ++i) {
      const float expected = PlainNarrow(in[i]);
      EXPECT_TRUE(SameBits(out[i], expected) || (std::isnan(out[i]) && std::isnan(expected)))
          << i << ": " << in[i];
    }
    for (size_t i = static_cast<size_t>(count); i < out.size(); ++i) {
      ASSERT_EQ(out[i], 7.0f) << "wrote beyond the count";
    }
  }
}

TEST_P(ConversionPaths, AccumulatingFollowsThePlainRule) {
  const std::vector<double> in = Samples();
  std::vector<float> before(in.size());
  for (size_t i = 0; i < before.size(); ++i) {
    // Sums that cancel into subnormals, others that stay normal.
    before[i] = i % 3 == 0 ? -PlainNarrow(in[i]) * 0.999999f : 0.25f;
  }
  const int count = static_cast<int>(in.size());
  std::vector<float> out = before;
  AddNarrowedSamples(in.data(), out.data(), count);
  for (int i = 0; i < count; ++i) {
    const float expected = PlainNarrow(static_cast<double>(before[i] + PlainNarrow(in[i])));
    EXPECT_TRUE(SameBits(out[i], expected) || (std::isnan(out[i]) && std::isnan(expected)))
        << i << ": " << in[i];
  }
}

TEST_P(ConversionPaths, WideningIsExact) {
  std::vector<float> in;
  for (double sample : Samples()) {
    in.push_back(static_cast<float>(sample));
  }
  in.push_back(std::numeric_limits<float>::denorm_min());
  for (int count : {0, 1, 3, 4, 5, 8, 9, 15, 16, 17, 31, 32, 33, static_cast<int>(in.size())}) {
    std::vector<double> out(in.size(), 7.0);
    WidenSamples(in.data(), out.data(), count);
    for (int i = 0; i < count; ++i) {
      const double expected = in[i];
      EXPECT_TRUE(std::memcmp(&out[i], &expected, sizeof(double)) == 0 ||
                  (std::isnan(out[i]) && std::isnan(expected)))
          << i;
    }
    for (size_t i = static_cast<size_t>(count); i < out.size(); ++i) {
      ASSERT_EQ(out[i], 7.0) << "wrote beyond the count";
    }
  }
}

TEST_P(ConversionPaths, LeavesTheUpperRegisterHalvesClean) {
  using velmora::testing::UpperState;
  using velmora::testing::UpperVectorState;
  if (UpperVectorState() != UpperState::kClean) {
    GTEST_SKIP() << "the processor does not report the state, or it is already in use";
  }
  std::vector<double> wide(37, 0.25);
  std::vector<float> narrow(37, 0.5f);
  for (int count : {32, 37}) {
    WidenSamples(narrow.data(), wide.data(), count);
    EXPECT_EQ(UpperVectorState(), UpperState::kClean) << "widen " << count;
    NarrowSamples(wide.data(), narrow.data(), count);
    EXPECT_EQ(UpperVectorState(), UpperState::kClean) << "narrow " << count;
    AddNarrowedSamples(wide.data(), narrow.data(), count);
    EXPECT_EQ(UpperVectorState(), UpperState::kClean) << "add " << count;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryWidth, ConversionPaths,
                         ::testing::Values(ConversionPath::kBaseline, ConversionPath::kAvx,
                                           ConversionPath::kAvx512),
                         [](const ::testing::TestParamInfo<ConversionPath>& info) {
                           switch (info.param) {
                             case ConversionPath::kAvx512:
                               return "Avx512";
                             case ConversionPath::kAvx:
                               return "Avx";
                             case ConversionPath::kBaseline:
                               break;
                           }
                           return "Baseline";
                         });

}  // namespace
}  // namespace velmora
