// The LV2 plug-in against the VST 2 plug-in rendered by velmora-render: the same input,
// settings, tempo and block size must give the same float output, sample for sample.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "engine/parameter_index.h"
#include "lv2/bundle_names.h"
#include "lv2/port_index.h"
#include "tests/lv2/lilv_host.h"
#include "tests/lv2/test_audio.h"
#include "tests/tools/tool_runner.h"

namespace velmora::lv2::testing {
namespace {

using host::testing::ReadAudio;
using host::testing::RunTool;
using host::testing::TempFolder;

constexpr int kRate = 44100;

class Lv2RenderMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    input_ = MakeTestSignal(kRate, static_cast<size_t>(kRate) * 4);
    ASSERT_TRUE(WriteFloatWav(folder_.Path("input.wav"), input_, kRate));
    ASSERT_NE(world_.Plugin(), nullptr) << "the bundle in " << VELMORA_LV2_BUNDLE;
  }

  // velmora-render's output for the test file with the settings and the extra options.
  std::vector<float> RenderVst(const std::string& options, bool withSettings = true) {
    // No tail: the LV2 side renders exactly the input's length.
    std::string arguments = "input.wav --output vst.wav --quiet --tail 0 " + options;
    for (const RenderSetting& setting : kRenderSettings) {
      arguments += withSettings ? " --set '" + std::string(setting.text) + "'" : "";
    }
    auto run = RunTool(folder_, arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    SF_INFO info;
    return ReadAudio(folder_.Path("vst.wav"), info);
  }

  Lv2RenderSettings Lv2Settings(float tempo, uint32_t block) const {
    Lv2RenderSettings settings;
    settings.sampleRate = kRate;
    settings.block = block;
    settings.tempo = tempo;
    for (const RenderSetting& setting : kRenderSettings) {
      settings.controls.emplace_back(setting.index, static_cast<float>(setting.plain));
    }
    return settings;
  }

  // The port symbol of parameter index, as the bundle states it.
  std::string SymbolOf(int index) const {
    const LilvPort* port = lilv_plugin_get_port_by_index(world_.Plugin(), ParamPort(index));
    return lilv_node_as_string(lilv_port_get_symbol(world_.Plugin(), port));
  }

  static void Report(const std::string& what, const Comparison& comparison) {
    std::cout << "[ lv2 vs render ] " << what << ": " << comparison.Text() << std::endl;
  }

  TempFolder folder_;
  Lv2World world_;
  std::vector<float> input_;
};

TEST_F(Lv2RenderMatch, TimePositionAtTwoTemposMatchesTheVst2RenderBitForBit) {
  // The two tempos give different echoes, so the tempo really reaches the engine.
  const Comparison tempos = Compare(RenderThroughLv2(world_, input_, Lv2Settings(120.0f, 512)),
                                    RenderThroughLv2(world_, input_, Lv2Settings(93.0f, 512)));
  EXPECT_GT(tempos.differing, tempos.samples / 4);
  for (float tempo : {120.0f, 93.0f}) {
    for (uint32_t block : {512u, 100u}) {
      const std::string options =
          "--tempo " + std::to_string(tempo) + " --block " + std::to_string(block);
      const std::vector<float> vst = RenderVst(options);
      ASSERT_EQ(vst.size(), input_.size());
      // The echoes are there: the render is neither the input nor silence.
      EXPECT_GT(Compare(input_, vst).maxDifference, 0.05) << options;
      Lv2RenderSettings settings = Lv2Settings(tempo, block);
      // Once at the start (the plug-in moves the song position on itself), then every block.
      for (bool everyBlock : {false, true}) {
        settings.everyBlock = everyBlock;
        const Comparison comparison = Compare(vst, RenderThroughLv2(world_, input_, settings));
        const std::string what = options + (everyBlock ? ", position every block" : "");
        Report(what, comparison);
        EXPECT_TRUE(comparison.Identical()) << what << ": " << comparison.Text();
      }
    }
  }
}

TEST_F(Lv2RenderMatch, WithoutTimeItMatchesTheNoTempoRender) {
  const std::vector<float> vst = RenderVst("--no-tempo --block 512");
  const Comparison comparison = Compare(vst, RenderThroughLv2(world_, input_, Lv2Settings(0, 512)));
  Report("no time, block 512", comparison);
  EXPECT_TRUE(comparison.Identical()) << comparison.Text();
}

// A host that sends no time hears the effect as a host at 120 BPM does, in both formats:
// the echoes are there and every sample is the same.
TEST_F(Lv2RenderMatch, WithoutTimeBothFormatsPlayAsAt120Bpm) {
  const std::vector<float> noTempo = RenderVst("--no-tempo --block 512");
  const std::vector<float> at120 = RenderVst("--tempo 120 --block 512");
  EXPECT_GT(Compare(input_, noTempo).maxDifference, 0.05);
  EXPECT_TRUE(Compare(noTempo, at120).Identical()) << Compare(noTempo, at120).Text();
  const Comparison lv2 = Compare(RenderThroughLv2(world_, input_, Lv2Settings(0, 512)),
                                 RenderThroughLv2(world_, input_, Lv2Settings(120.0f, 512)));
  Report("no time against 120 BPM", lv2);
  EXPECT_TRUE(lv2.Identical()) << lv2.Text();
}

// Each preset, loaded through lilv, sounds as the VST 2 program of the same number.
TEST_F(Lv2RenderMatch, EveryPresetSoundsAsItsVst2Program) {
  input_.resize(2 * kRate);
  ASSERT_TRUE(WriteFloatWav(folder_.Path("input.wav"), input_, kRate));
  for (int number = 1; number <= 32; ++number) {
    const std::vector<float> vst =
        RenderVst("--tempo 110 --block 256 --program " + std::to_string(number), false);
    Lv2RenderSettings settings;
    settings.sampleRate = kRate;
    settings.block = 256;
    settings.tempo = 110.0f;
    settings.controls = PresetControls(world_, number);
    ASSERT_EQ(settings.controls.size(), static_cast<size_t>(kVelmoraParamCount)) << number;
    const Comparison comparison = Compare(vst, RenderThroughLv2(world_, input_, settings));
    EXPECT_TRUE(comparison.Identical()) << "preset " << number << ": " << comparison.Text();
  }
}

// lv2apply offers no URID map, so it sends no time, and it runs the plug-in one frame at a
// time: velmora-render matches it with no tempo and blocks of one frame.
TEST_F(Lv2RenderMatch, Lv2applyMatchesTheNoTempoRenderAtOneFrameBlocks) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "lv2apply cannot load a plug-in built with a sanitizer runtime";
#endif
  const std::vector<float> vst = RenderVst("--no-tempo --block 1");
  std::string command = "cd '" + folder_.Root().string() + "' && LV2_PATH='" +
                        std::filesystem::path(VELMORA_LV2_BUNDLE).parent_path().string() + "' '" +
                        LV2APPLY_TOOL + "' -i input.wav -o applied.wav";
  for (const RenderSetting& setting : kRenderSettings) {
    command +=
        " -c " + SymbolOf(setting.index) + " " + std::to_string(static_cast<float>(setting.plain));
  }
  command += std::string(" ") + kPluginUri + " >lv2apply.txt 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0)
      << host::testing::ReadText(folder_.Path("lv2apply.txt"));
  SF_INFO info;
  const Comparison comparison = Compare(vst, ReadAudio(folder_.Path("applied.wav"), info));
  Report("lv2apply, no time, one-frame blocks", comparison);
  EXPECT_TRUE(comparison.Identical()) << comparison.Text();
}

}  // namespace
}  // namespace velmora::lv2::testing
