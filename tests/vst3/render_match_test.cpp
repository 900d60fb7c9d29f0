// The VST 3 bundle against the VST 2 plug-in rendered by velmora-render: the same input,
// settings (sent as parameter changes at the start of the first block), tempo and block
// size must give the same float output, sample for sample.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "engine/parameter_index.h"
#include "tests/lv2/test_audio.h"
#include "tests/tools/tool_runner.h"
#include "tests/vst3/bundle_rig.h"

namespace velmora::vst3host::testing {
namespace {

using host::testing::ReadAudio;
using host::testing::RunTool;
using host::testing::TempFolder;
using lv2::testing::Compare;
using lv2::testing::Comparison;
using lv2::testing::kRenderSettings;
using lv2::testing::RenderSetting;

constexpr int kRate = 44100;

struct Vst3Render {
  double tempo = 120.0;  // 0: the context carries no valid tempo
  int block = 512;
  bool wide = false;
  bool settings = true;
  int program = -1;  // selected through the program parameter before the first block
};

class Vst3RenderMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    input_ = lv2::testing::MakeTestSignal(kRate, static_cast<size_t>(kRate) * 4);
    ASSERT_TRUE(lv2::testing::WriteFloatWav(folder_.Path("input.wav"), input_, kRate));
  }

  std::vector<float> RenderVst2(const std::string& options, bool withSettings = true) {
    std::string arguments = "input.wav --output vst.wav --quiet --tail 0 " + options;
    for (const RenderSetting& setting : kRenderSettings) {
      arguments += withSettings ? " --set '" + std::string(setting.text) + "'" : "";
    }
    auto run = RunTool(folder_, arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    SF_INFO info;
    return ReadAudio(folder_.Path("vst.wav"), info);
  }

  std::vector<float> RenderVst3(const Vst3Render& render) {
    BundleRig rig;
    EXPECT_TRUE(rig.Valid());
    if (!rig.Valid()) {
      return {};
    }
    Vst3Plugin& plugin = rig.Plugin();
    EXPECT_TRUE(plugin.Start(kRate, render.block, render.wide).Ok());
    if (render.program >= 0) {
      rig.Controller().setParamNormalized(22, render.program / 59.0);
    }
    const int total = static_cast<int>(input_.size() / 2);
    std::vector<float> out(input_.size());
    for (int done = 0; done < total; done += render.block) {
      const int frames = std::min(render.block, total - done);
      HostBuffers buffers(2, frames, render.wide);
      for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
          const float x = input_[2 * (done + i) + c];
          if (render.wide) {
            buffers.in64[c][i] = x;
          } else {
            buffers.in32[c][i] = x;
          }
        }
      }
      ParamChanges changes;
      for (const RenderSetting& setting : kRenderSettings) {
        if (done == 0 && render.settings) {
          changes.Add(setting.index, 0, rig.Normalised(setting.index, setting.plain));
        }
      }
      ProcessContext context = PlayingContext(kRate, render.tempo, done);
      if (render.tempo <= 0.0) {
        context.state = ProcessContext::kPlaying;
        context.tempo = 0.0;
      }
      EXPECT_EQ(plugin.Process(buffers, frames, &changes, &context), kResultOk);
      for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
          out[2 * (done + i) + c] =
              render.wide ? static_cast<float>(buffers.out64[c][i]) : buffers.out32[c][i];
        }
      }
    }
    return out;
  }

  static void Report(const std::string& what, const Comparison& comparison) {
    std::cout << "[ vst3 vs render ] " << what << ": " << comparison.Text() << std::endl;
  }

  TempFolder folder_;
  std::vector<float> input_;
};

TEST_F(Vst3RenderMatch, TwoTemposAndTwoBlockSizesMatchTheVst2RenderBitForBit) {
  for (double tempo : {120.0, 93.0}) {
    for (int block : {512, 100}) {
      const std::string options =
          "--tempo " + std::to_string(tempo) + " --block " + std::to_string(block);
      const std::vector<float> vst2 = RenderVst2(options);
      ASSERT_EQ(vst2.size(), input_.size());
      EXPECT_GT(Compare(input_, vst2).maxDifference, 0.05) << options;
      Vst3Render render;
      render.tempo = tempo;
      render.block = block;
      const Comparison comparison = Compare(vst2, RenderVst3(render));
      Report(options, comparison);
      EXPECT_TRUE(comparison.Identical()) << options << ": " << comparison.Text();
    }
  }
}

// The double path computes in doubles throughout; narrowed at the end it is the float
// path's output, since the VST 2 float path widens, computes in doubles and narrows too.
TEST_F(Vst3RenderMatch, DoubleSamplesNarrowToTheFloatRender) {
  const std::vector<float> vst2 = RenderVst2("--tempo 120 --block 512");
  Vst3Render render;
  render.wide = true;
  const Comparison comparison = Compare(vst2, RenderVst3(render));
  Report("double samples, --tempo 120 --block 512", comparison);
  EXPECT_TRUE(comparison.Identical()) << comparison.Text();
}

TEST_F(Vst3RenderMatch, WithoutTempoItMatchesTheNoTempoRender) {
  const std::vector<float> vst2 = RenderVst2("--no-tempo --block 512");
  Vst3Render render;
  render.tempo = 0.0;
  const Comparison comparison = Compare(vst2, RenderVst3(render));
  Report("no tempo, block 512", comparison);
  EXPECT_TRUE(comparison.Identical()) << comparison.Text();
}

TEST_F(Vst3RenderMatch, ProgramsThroughTheProgramParameterSoundAsTheVst2Programs) {
  input_.resize(2 * kRate);
  ASSERT_TRUE(lv2::testing::WriteFloatWav(folder_.Path("input.wav"), input_, kRate));
  int identical = 0;
  for (int program = 1; program <= 32; ++program) {
    const std::vector<float> vst2 =
        RenderVst2("--tempo 110 --block 256 --program " + std::to_string(program), false);
    Vst3Render render;
    render.tempo = 110.0;
    render.block = 256;
    render.settings = false;
    render.program = program;
    const Comparison comparison = Compare(vst2, RenderVst3(render));
    EXPECT_TRUE(comparison.Identical()) << "program " << program << ": " << comparison.Text();
    identical += comparison.Identical() ? 1 : 0;
  }
  std::cout << "[ vst3 vs render ] programs 1..32: " << identical << " of 32 identical"
            << std::endl;
}

}  // namespace
}  // namespace velmora::vst3host::testing
