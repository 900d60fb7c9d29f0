// Every vector path must give the baseline's bits: the divisions alone over distances up
// to the largest periods, and whole sessions of the engine. A path this processor lacks is
// reported as skipped; the baseline always runs.
#include "engine/wide_passes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine_test_rig.h"
#include "tests/support/upper_vector_state.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

// Restores the path in use when a test ends.
class PathScope {
 public:
  PathScope() : saved_(ActiveVectorPath()) {}
  ~PathScope() { UseVectorPath(saved_); }

 private:
  VectorPath saved_;
};

const VectorPath kPaths[] = {VectorPath::kBaseline, VectorPath::kAvx2, VectorPath::kAvx512};

const char* Name(VectorPath path) {
  switch (path) {
    case VectorPath::kAvx512:
      return "AVX-512";
    case VectorPath::kAvx2:
      return "AVX2";
    case VectorPath::kBaseline:
      break;
  }
  return "baseline";
}

TEST(WidePasses, TheBaselineIsAlwaysThere) {
  EXPECT_TRUE(VectorPathSupported(VectorPath::kBaseline));
  PathScope scope;
  EXPECT_TRUE(UseVectorPath(VectorPath::kBaseline));
  EXPECT_EQ(ActiveVectorPath(), VectorPath::kBaseline);
}

TEST(WidePasses, AnUnsupportedPathChangesNothing) {
  PathScope scope;
  ASSERT_TRUE(UseVectorPath(VectorPath::kBaseline));
  for (VectorPath path : kPaths) {
    if (!VectorPathSupported(path)) {
      EXPECT_FALSE(UseVectorPath(path)) << Name(path);
      EXPECT_EQ(ActiveVectorPath(), VectorPath::kBaseline);
    }
  }
}

// Counts that leave remainders for every width, distances near 0, around 2^24 (where
// floats stop holding every integer) and up to half the longest period.
TEST(WidePasses, DivisionsMatchThePlainLoopOnEveryPath) {
  PathScope scope;
  std::vector<int32_t> distance;
  for (int32_t d = 0; d < 300; ++d) {
    distance.push_back(d);
  }
  for (int32_t d = (1 << 24) - 40; d < (1 << 24) + 40; ++d) {
    distance.push_back(d);
  }
  for (int32_t d = 1; d < (1 << 30); d = d * 3 + 7) {
    distance.push_back(d);
  }
  const float periods[] = {1.0f, 3.0f, 7.0f, 24000.0f, 96001.0f, 16777217.0f, 2147483648.0f};
  for (VectorPath path : kPaths) {
    if (!UseVectorPath(path)) {
      continue;
    }
    for (float period : periods) {
      for (int count : {0, 1, 7, 8, 15, 16, 17, 255, static_cast<int>(distance.size())}) {
        std::vector<float> x(distance.size(), -1.0f);
        DivideDistances(distance.data(), period, x.data(), count);
        for (int i = 0; i < count; ++i) {
          const float expected = static_cast<float>(distance[i]) / period;
          ASSERT_EQ(std::memcmp(&x[i], &expected, sizeof(float)), 0)
              << Name(path) << " " << distance[i] << " / " << period;
        }
        for (size_t i = static_cast<size_t>(count); i < x.size(); ++i) {
          ASSERT_EQ(x[i], -1.0f) << Name(path) << ": wrote beyond the count";
        }
      }
    }
  }
}

TEST(WidePasses, RunsMatchThePlainLoopOnEveryPath) {
  PathScope scope;
  const int32_t starts[] = {0, -5, -300, 17, -(1 << 24) - 3, (1 << 24) - 100, -2000000000};
  const float periods[] = {1.0f, 7.0f, 24000.0f, 16777217.0f, 4000000000.0f};
  for (VectorPath path : kPaths) {
    if (!UseVectorPath(path)) {
      continue;
    }
    for (int32_t start : starts) {
      for (float period : periods) {
        for (int count : {0, 1, 7, 8, 9, 256}) {
          std::vector<float> x(260, -1.0f);
          DivideRun(start, period, x.data(), count);
          for (int i = 0; i < count; ++i) {
            const float expected = static_cast<float>(std::abs(start + i)) / period;
            ASSERT_EQ(std::memcmp(&x[i], &expected, sizeof(float)), 0)
                << Name(path) << " " << start << " + " << i << " / " << period;
          }
          for (size_t i = static_cast<size_t>(count); i < x.size(); ++i) {
            ASSERT_EQ(x[i], -1.0f) << Name(path) << ": wrote beyond the count";
          }
        }
      }
    }
  }
}

TEST(WidePasses, RangeChecksAgreeOnEveryPath) {
  PathScope scope;
  const double outside[] = {2.0, -2.0, HUGE_VAL, -HUGE_VAL, std::nan("")};
  for (VectorPath path : kPaths) {
    if (!UseVectorPath(path)) {
      continue;
    }
    for (int count : {0, 1, 3, 4, 5, 8, 13, 256}) {
      std::vector<double> a(static_cast<size_t>(count), 0.001);
      std::vector<double> b(static_cast<size_t>(count), -0.001);
      EXPECT_TRUE(AllWithin(a.data(), b.data(), count, 1.0)) << Name(path) << " " << count;
      for (int k = 0; k < count; ++k) {
        for (double sample : outside) {
          std::vector<double> loud = b;
          loud[static_cast<size_t>(k)] = sample;
          EXPECT_FALSE(AllWithin(a.data(), loud.data(), count, 1.0)) << Name(path) << " " << k;
          EXPECT_FALSE(AllWithin(loud.data(), a.data(), count, 1.0)) << Name(path) << " " << k;
        }
      }
    }
  }
}

// A path that returned with the upper register halves in use would slow every SSE loop
// after it, the filter recursions first, while giving the right bits.
TEST(WidePasses, EveryPathClearsTheUpperRegisterHalves) {
  using velmora::testing::UpperState;
  using velmora::testing::UpperVectorState;
  if (UpperVectorState() != UpperState::kClean) {
    GTEST_SKIP() << "the processor does not report the state, or it is already in use";
  }
  PathScope scope;
  std::vector<int32_t> distance(261, 7);
  std::vector<float> x(261);
  std::vector<double> a(261, 0.001);
  std::vector<double> b(261, -0.001);
  for (VectorPath path : kPaths) {
    if (!UseVectorPath(path)) {
      continue;
    }
    for (int count : {256, 261}) {
      DivideDistances(distance.data(), 1000.0f, x.data(), count);
      EXPECT_EQ(UpperVectorState(), UpperState::kClean) << Name(path) << " divide " << count;
      DivideRun(-100, 1000.0f, x.data(), count);
      EXPECT_EQ(UpperVectorState(), UpperState::kClean) << Name(path) << " run " << count;
      EXPECT_TRUE(AllWithin(a.data(), b.data(), count, 1.0));
      EXPECT_EQ(UpperVectorState(), UpperState::kClean) << Name(path) << " range " << count;
    }
  }
}

StereoBuffer Render(VectorPath path, std::initializer_list<std::pair<int, double>> settings) {
  EXPECT_TRUE(UseVectorPath(path));
  EngineRig rig;
  rig.host.sampleRate = 48000.0;
  rig.host.samplesPerBeat = 24000.0;
  rig.Open();
  for (const auto& [index, value] : settings) {
    rig.Set(index, value);
  }
  StereoBuffer in(60000);
  for (size_t i = 0; i < in.left.size(); ++i) {
    const double t = static_cast<double>(i);
    in.left[i] = 0.8 * std::sin(0.021 * t);
    in.right[i] = (i % 7000 < 5000) ? -0.6 * std::cos(0.009 * t) : 0.0;
  }
  return rig.Render(in, 300);
}

TEST(WidePasses, EverySupportedPathGivesTheBaselinesSession) {
  PathScope scope;
  const std::initializer_list<std::pair<int, double>> sessions[] = {
      {},
      {{kLeftSweepRate, 0}, {kRightSweepRate, 1}, {kLeftDepth, 100}, {kRightDepth, 100}},
      {{kLeftSweepLink, kLinkPanWidth}, {kRightSweepLink, kLinkWetMix}, {kFilterRightType, 0}},
  };
  for (const auto& settings : sessions) {
    const StereoBuffer baseline = Render(VectorPath::kBaseline, settings);
    for (VectorPath path : kPaths) {
      if (!VectorPathSupported(path)) {
        std::printf("[ SKIPPED  ] %s: not supported by this processor\n", Name(path));
        continue;
      }
      const StereoBuffer out = Render(path, settings);
      EXPECT_EQ(std::memcmp(out.left.data(), baseline.left.data(), sizeof(double) * 60000), 0)
          << Name(path);
      EXPECT_EQ(std::memcmp(out.right.data(), baseline.right.data(), sizeof(double) * 60000), 0)
          << Name(path);
    }
  }
}

}  // namespace
}  // namespace velmora::dsp
