// The state as a binding saves and restores it: the 180-byte VST 2 chunk; anything else is
// refused and changes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "binding/hosted_effect.h"
#include "binding/state_chunk.h"
#include "engine/parameter_index.h"

namespace velmora::binding {
namespace {

std::vector<double> Values(const HostedEffect& hosted) {
  std::vector<double> values;
  for (int i = 0; i < hosted.ParamCount(); ++i) {
    values.push_back(hosted.PlainValue(i));
  }
  return values;
}

TEST(HostedState, SavesTheVst2ChunkAndRestoresItOnAFreshInstance) {
  auto a = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(a);
  a->SetPlain(kFeedback, 42);
  a->SetPlain(kFreqRight, 777);
  a->SetPlain(kBypassCeil, -77);
  uint8_t bytes[256] = {};
  ASSERT_EQ(a->SaveState(bytes, sizeof(bytes)), 180u);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, 10000);
  double feedback = 0.0;
  std::memcpy(&feedback, bytes + 4 + 8 * kFeedback, 8);
  EXPECT_EQ(feedback, 42.0);
  EXPECT_EQ(a->SaveState(bytes, 179), 0u);
  EXPECT_EQ(a->SaveState(nullptr, 180), 0u);

  auto b = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(b);
  ASSERT_TRUE(b->LoadState(bytes, 180));
  EXPECT_EQ(Values(*a), Values(*b));
}

TEST(HostedState, EmptyTruncatedForeignOrDamagedStateChangesNothing) {
  auto source = HostedEffect::Create(HostIdentity{}, nullptr);
  auto target = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(source && target);
  source->SetPlain(kFeedback, 5);
  uint8_t good[180];
  ASSERT_EQ(source->SaveState(good, sizeof(good)), 180u);
  target->SetPlain(kWetMix, 12);
  const std::vector<double> before = Values(*target);

  EXPECT_FALSE(target->LoadState(nullptr, 180));
  EXPECT_FALSE(target->LoadState(good, 0));
  EXPECT_FALSE(target->LoadState(good, 100));
  EXPECT_FALSE(target->LoadState(good, 179));
  uint8_t longer[181] = {};
  std::memcpy(longer, good, 180);
  EXPECT_FALSE(target->LoadState(longer, 181));
  uint8_t foreign[180];
  std::memcpy(foreign, good, 180);
  foreign[0] = 0x11;  // another version
  EXPECT_FALSE(target->LoadState(foreign, 180));
  std::memcpy(foreign, good, 180);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::memcpy(foreign + 4 + 8 * 7, &nan, 8);
  EXPECT_FALSE(IsOwnState(foreign, 180));
  EXPECT_FALSE(target->LoadState(foreign, 180));
  EXPECT_EQ(Values(*target), before);

  // Values out of range in an otherwise good chunk are clamped, as the VST 2 chunk is.
  std::memcpy(foreign, good, 180);
  const double huge = 1e9;
  std::memcpy(foreign + 4 + 8 * kFeedback, &huge, 8);
  EXPECT_TRUE(target->LoadState(foreign, 180));
  EXPECT_EQ(target->PlainValue(kFeedback), 100.0);
}

}  // namespace
}  // namespace velmora::binding
