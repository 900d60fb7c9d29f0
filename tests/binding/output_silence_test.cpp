// The silence answer a host acts on: a channel counts as silent only when every sample of the
// block is zero, whatever the sample size, and a missing buffer never counts as silent.
#include "binding/output_silence.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::binding {
namespace {

TEST(OutputSilence, OnlyChannelsOfZerosAreSilent) {
  std::vector<float> quiet(64, 0.0f), loud(64, 0.0f);
  loud[63] = 1e-30f;  // the last sample alone
  float* floats[2] = {quiet.data(), loud.data()};
  AudioBlock block;
  block.frames = 64;
  block.outputChannels = 2;
  block.out32 = floats;
  EXPECT_EQ(SilentOutputs(block), 1u);
  EXPECT_FALSE(OutputsSilent(block));
  floats[1] = quiet.data();
  EXPECT_EQ(SilentOutputs(block), 3u);
  EXPECT_TRUE(OutputsSilent(block));
  floats[1] = nullptr;
  EXPECT_FALSE(OutputsSilent(block));

  std::vector<double> doubleQuiet(64, -0.0), doubleLoud(64, 0.0);
  doubleLoud[0] = 0.5;
  double* doubles[2] = {doubleLoud.data(), doubleQuiet.data()};
  block.out64 = doubles;  // double output wins over the float pointers
  EXPECT_EQ(SilentOutputs(block), 2u);
}

}  // namespace
}  // namespace velmora::binding
