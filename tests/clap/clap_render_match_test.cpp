// Velmora.clap in the CLAP test host against velmora-render (the VST 2 module under the VST 2
// host): the same input file, settings, tempo and block size must give the same float
// output, sample for sample.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "engine/parameter_index.h"
#include "tests/clap/clap_rig.h"
#include "tests/lv2/test_audio.h"
#include "tests/tools/tool_runner.h"

namespace velmora::claphost::testing {
namespace {

using host::testing::ReadAudio;
using host::testing::RunTool;
using host::testing::TempFolder;
using lv2::testing::Compare;
using lv2::testing::Comparison;
using lv2::testing::kRenderSettings;
using lv2::testing::RenderSetting;

constexpr int kRate = 44100;

class ClapRenderMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    input_ = lv2::testing::MakeTestSignal(kRate, static_cast<size_t>(kRate) * 4);
    ASSERT_TRUE(lv2::testing::WriteFloatWav(folder_.Path("input.wav"), input_, kRate));
    module_ = LoadVelmora();
    ASSERT_TRUE(module_);
  }

  std::vector<float> RenderVst(const std::string& options) {
    std::string arguments = "input.wav --output vst.wav --quiet --tail 0 " + options;
    for (const RenderSetting& setting : kRenderSettings) {
      arguments += " --set '" + std::string(setting.text) + "'";
    }
    auto run = RunTool(folder_, arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    SF_INFO info;
    return ReadAudio(folder_.Path("vst.wav"), info);
  }

  // The interleaved input through the module, blocks of block frames, transport each block
  // (none when tempo is 0).
  std::vector<float> RenderClap(double tempo, uint32_t block, bool doubles) {
    ClapHost host;
    auto plugin = MakeInstance(*module_, host);
    InputEventList settings;
    for (const RenderSetting& setting : kRenderSettings) {
      settings.AddValue(0, static_cast<clap::Id>(setting.index), setting.plain);
    }
    plugin->Flush(&settings, nullptr);
    EXPECT_TRUE(plugin->Activate(kRate, block) && plugin->StartProcessing());
    const size_t frames = input_.size() / 2;
    StereoBuffers<float> f(frames);
    StereoBuffers<double> d(frames);
    for (size_t i = 0; i < frames; ++i) {
      for (int c = 0; c < 2; ++c) {
        f.in[c][i] = input_[2 * i + c];
        d.in[c][i] = input_[2 * i + c];
      }
    }
    for (size_t at = 0; at < frames; at += block) {
      const auto n = static_cast<uint32_t>(std::min<size_t>(block, frames - at));
      TransportState state;
      state.tempo = tempo;
      state.positionSamples = static_cast<double>(at);
      const clap::EventTransport transport = MakeTransport(state);
      AudioIo io = doubles ? d.Io(at) : f.Io(at);
      plugin->Process(io, n, nullptr, nullptr, tempo > 0.0 ? &transport : nullptr);
    }
    std::vector<float> out(input_.size());
    for (size_t i = 0; i < frames; ++i) {
      for (int c = 0; c < 2; ++c) {
        out[2 * i + c] = doubles ? static_cast<float>(d.out[c][i]) : f.out[c][i];
      }
    }
    return out;
  }

  static void Report(const std::string& what, const Comparison& comparison) {
    std::cout << "[ clap vs render ] " << what << ": " << comparison.Text() << std::endl;
  }

  TempFolder folder_;
  std::unique_ptr<ClapModule> module_;
  std::vector<float> input_;
};

TEST_F(ClapRenderMatch, FloatBlocksAtTwoTemposMatchTheVst2RenderBitForBit) {
  for (double tempo : {120.0, 93.0}) {
    for (uint32_t block : {512u, 100u}) {
      const std::string options =
          "--tempo " + std::to_string(tempo) + " --block " + std::to_string(block);
      const std::vector<float> vst = RenderVst(options);
      ASSERT_EQ(vst.size(), input_.size());
      EXPECT_GT(Compare(input_, vst).maxDifference, 0.05) << options;  // the echoes are there
      const Comparison comparison = Compare(vst, RenderClap(tempo, block, false));
      Report(options, comparison);
      EXPECT_TRUE(comparison.Identical()) << options << ": " << comparison.Text();
    }
  }
}

// The double path computes the same doubles; narrowed to float as the VST 2 float path
// narrows them, they give the render's samples except where that path flushes subnormals.
TEST_F(ClapRenderMatch, DoubleBlocksNarrowToTheVst2Render) {
  const std::vector<float> vst = RenderVst("--tempo 120 --block 512");
  const Comparison comparison = Compare(vst, RenderClap(120.0, 512, true));
  Report("--tempo 120 --block 512, 64-bit", comparison);
  EXPECT_TRUE(comparison.Identical()) << comparison.Text();
}

TEST_F(ClapRenderMatch, WithoutATransportItMatchesTheNoTempoRender) {
  const std::vector<float> vst = RenderVst("--no-tempo --block 512");
  const Comparison comparison = Compare(vst, RenderClap(0.0, 512, false));
  Report("no transport, block 512", comparison);
  EXPECT_TRUE(comparison.Identical()) << comparison.Text();
}

}  // namespace
}  // namespace velmora::claphost::testing
