// velmora-render's parts: command line, demo signal, progress reporting and the output file
// that only appears once complete.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>

#include "tests/tools/temp_folder.h"
#include "tools/render/audio_output.h"
#include "tools/render/demo_signal.h"
#include "tools/render/progress_bar.h"
#include "tools/render/render_options.h"
#include "tools/render/renderer.h"

namespace velmora::render {
namespace {

using host::testing::TempFolder;

TEST(RenderOptions, DefaultsBothValueFormsAndRepeatedSettings) {
  auto defaults = ParseRenderOptions({});
  ASSERT_TRUE(defaults.Ok());
  EXPECT_EQ(defaults.Value().tempo, 120.0);
  EXPECT_EQ(defaults.Value().blockSize, 512);
  EXPECT_FALSE(defaults.Value().sampleRate.has_value());
  EXPECT_TRUE(defaults.Value().inputPath.empty());

  auto parsed = ParseRenderOptions({"--rate=48000", "--tempo", "97.5", "in.flac", "--block=64",
                                    "--set", "Delay Rate=1/8", "--set=Feedback=30", "--quiet"});
  ASSERT_TRUE(parsed.Ok()) << parsed.Error();
  const RenderOptions& o = parsed.Value();
  EXPECT_EQ(o.sampleRate.value_or(0.0), 48000.0);
  EXPECT_EQ(o.tempo, 97.5);
  EXPECT_EQ(o.blockSize, 64);
  EXPECT_EQ(o.inputPath, "in.flac");
  ASSERT_EQ(o.settings.size(), 2u);
  EXPECT_EQ(o.settings[0], "Delay Rate=1/8");
  EXPECT_EQ(o.settings[1], "Feedback=30");
  EXPECT_TRUE(o.quiet);
}

TEST(RenderOptions, BadCommandLinesNameTheProblem) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--rate", "44100.5"}, "--rate expects"},
      {{"--rate", "4000"}, "--rate expects"},
      {{"--tempo", "0"}, "--tempo expects"},
      {{"--tempo", "97,5"}, "--tempo expects"},  // a decimal comma is not a number here
      {{"--block", "0"}, "--block expects"},
      {{"--block", "70000"}, "--block expects"},
      {{"--tail", "-1"}, "--tail expects"},
      {{"--output"}, "--output needs a value"},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"a.wav", "b.wav"}, "only one input file"},
  };
  for (const auto& [arguments, expected] : cases) {
    auto parsed = ParseRenderOptions(arguments);
    ASSERT_FALSE(parsed.Ok()) << arguments.front();
    EXPECT_NE(parsed.Error().find(expected), std::string::npos) << parsed.Error();
  }
}

TEST(RenderOptions, TailIsAutomaticUnlessGivenInSeconds) {
  auto byDefault = ParseRenderOptions({});
  ASSERT_TRUE(byDefault.Ok());
  EXPECT_TRUE(byDefault.Value().tailAuto);
  EXPECT_FALSE(byDefault.Value().tailGiven);
  auto automatic = ParseRenderOptions({"--tail", "auto"});
  ASSERT_TRUE(automatic.Ok());
  EXPECT_TRUE(automatic.Value().tailAuto && automatic.Value().tailGiven);
  auto none = ParseRenderOptions({"--tail=0"});
  ASSERT_TRUE(none.Ok());
  EXPECT_FALSE(none.Value().tailAuto);
  EXPECT_TRUE(none.Value().tailGiven);
  EXPECT_EQ(none.Value().tailSeconds, 0.0);
  EXPECT_FALSE(ParseRenderOptions({"--tail", "Auto"}).Ok());
}

TEST(RenderOptions, DefaultOutputPaths) {
  EXPECT_EQ(DefaultOutputPath(""), "out/demo.wav");
  EXPECT_EQ(DefaultOutputPath("music/take 3.flac"), "out/take 3-rendered.flac");
  EXPECT_EQ(DefaultOutputPath("loop.WAV"), "out/loop-rendered.WAV");
  EXPECT_EQ(DefaultOutputPath("noextension"), "out/noextension-rendered.wav");
}

TEST(DemoSignal, ShortPlucksWithSilentGapsTheSameEveryTime) {
  std::vector<float> demo = MakeDemoSignal(44100.0);
  ASSERT_EQ(demo.size(), size_t(kDemoSeconds * 44100.0));
  EXPECT_EQ(demo, MakeDemoSignal(44100.0));
  EXPECT_EQ(MakeDemoSignal(48000.0).size(), size_t(kDemoSeconds * 48000.0));

  auto peak = [&demo](double from, double to) {
    float largest = 0.0f;
    for (size_t i = size_t(from * 44100); i < size_t(to * 44100); ++i) {
      EXPECT_TRUE(std::isfinite(demo[i]));
      largest = std::max(largest, std::fabs(demo[i]));
    }
    return largest;
  };
  EXPECT_GT(peak(0.0, 0.18), 0.1f) << "the first pluck sounds";
  EXPECT_LT(peak(0.0, kDemoSeconds), 1.0f) << "no clipping";
  EXPECT_EQ(peak(0.95, 2.49), 0.0f) << "gap after the first phrase";
  EXPECT_EQ(peak(3.3, 4.99), 0.0f) << "gap after the second phrase";
  EXPECT_EQ(peak(5.2, kDemoSeconds), 0.0f) << "room for the last echoes";
}

TEST(ProgressBar, ReportsLongRendersLineByLineAndKeepsShortOnesQuiet) {
  std::FILE* log = std::tmpfile();
  ASSERT_NE(log, nullptr);
  ProgressBar quiet(log, 44100, 44100.0, true);
  quiet.Update(44100);
  quiet.Finish();
  ProgressBar disabled(log, 44100 * 100, 44100.0, false);
  disabled.Update(44100 * 100);
  EXPECT_EQ(std::ftell(log), 0L);

  const int64_t total = 44100 * 90;
  ProgressBar loud(log, total, 44100.0, true);
  for (int64_t done = 0; done <= total; done += 4410) {
    loud.Update(done);
  }
  loud.Finish();
  std::rewind(log);
  char line[128];
  int lines = 0;
  std::string last;
  while (std::fgets(line, sizeof(line), log) != nullptr) {
    ++lines;
    last = line;
  }
  std::fclose(log);
  EXPECT_EQ(lines, 11) << "0%, 10%, ... 100%";
  EXPECT_EQ(last, "velmora-render: 100%\n");
}

std::vector<float> ReadAll(const std::string& path, SF_INFO& info) {
  info = SF_INFO{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    return {};
  }
  std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
  sf_readf_float(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

TEST(AudioOutput, AppearsOnlyWhenCommitted) {
  TempFolder folder;
  const std::string path = folder.Path("take.wav");
  const float frames[] = {0.5f, -0.5f, 1.5f, -2.0f};
  {
    auto output = AudioOutput::Create(path, 2, 48000.0);
    ASSERT_TRUE(output.Ok()) << output.Error();
    ASSERT_TRUE(output.Value()->Write(frames, 2));
    EXPECT_EQ(folder.Entries().size(), 1u);
    EXPECT_EQ(folder.Entries()[0].rfind(".take.wav.", 0), 0u) << folder.Entries()[0];
  }
  EXPECT_TRUE(folder.Entries().empty()) << "an abandoned render leaves nothing";

  auto output = AudioOutput::Create(path, 2, 48000.0);
  ASSERT_TRUE(output.Ok());
  ASSERT_TRUE(output.Value()->Write(frames, 2));
  ASSERT_TRUE(output.Value()->Commit());
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"take.wav"});
  SF_INFO info;
  std::vector<float> back = ReadAll(path, info);
  EXPECT_EQ(info.samplerate, 48000);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(back, std::vector<float>(frames, frames + 4)) << "float WAV keeps overs";
}

TEST(AudioOutput, FlacAndRefusedNames) {
  TempFolder folder;
  auto flac = AudioOutput::Create(folder.Path("a.FLAC"), 1, 44100.0);
  ASSERT_TRUE(flac.Ok()) << flac.Error();
  const float samples[] = {0.25f, 2.0f};
  ASSERT_TRUE(flac.Value()->Write(samples, 2));
  ASSERT_TRUE(flac.Value()->Commit());
  SF_INFO info;
  std::vector<float> back = ReadAll(folder.Path("a.FLAC"), info);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_NEAR(back[0], 0.25f, 1e-6);
  EXPECT_NEAR(back[1], 1.0f, 1e-6) << "24-bit output clips instead of wrapping";

  EXPECT_FALSE(AudioOutput::Create(folder.Path("a.mp3"), 2, 44100.0).Ok());
  EXPECT_FALSE(AudioOutput::Create(folder.Path("missing/a.wav"), 2, 44100.0).Ok());
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"a.FLAC"});
}

TEST(Renderer, SourceChannelsMustFitThePlugin) {
  EXPECT_TRUE(CheckChannels(1, 2, 2)) << "mono feeds every input";
  EXPECT_TRUE(CheckChannels(2, 2, 2));
  EXPECT_TRUE(CheckChannels(1, 0, 2)) << "an instrument ignores its input";
  EXPECT_TRUE(CheckChannels(2, 4, 2)) << "spare inputs get silence";
  host::Status tooMany = CheckChannels(6, 2, 2);
  ASSERT_FALSE(tooMany.Ok());
  EXPECT_EQ(tooMany.Error(), "the input has 6 channels but the plug-in takes 2");
  EXPECT_FALSE(CheckChannels(2, 2, 0).Ok());
}

TEST(RenderOptions, HelpListsEveryOption) {
  auto parsed = ParseRenderOptions({"--help"});
  ASSERT_TRUE(parsed.Ok());
  EXPECT_TRUE(parsed.Value().help);
  for (const char* option : {"--plugin", "--output", "--rate", "--tempo", "--block", "--tail",
                             "--set", "--program", "--load-state", "--save-state", "--list-params",
                             "--list-programs", "--quiet", "--no-tempo"}) {
    EXPECT_NE(std::string(kRenderUsage).find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace velmora::render
