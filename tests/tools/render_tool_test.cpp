// velmora-render as users run it: the demo, files, listings, preset files, and every error
// ending with one line on stderr, a non-zero exit and no output file left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "tests/tools/fixture_paths.h"
#include "tests/tools/temp_folder.h"
#include "tests/tools/tool_runner.h"
#include "tools/render/demo_signal.h"

namespace velmora::render {
namespace {

using host::testing::ReadAudio;
using host::testing::RunTool;
using host::testing::TempFolder;
using host::testing::ToolRun;

std::string Fixture() {
  return std::string("--plugin '") + host::testing::kFixtureVstMain + "'";
}

TEST(RenderTool, DemoGoesThroughThePluginIntoOutDemoWav) {
  TempFolder folder;
  // The fixture's gain at 50 % is exactly 1: the output must be the demo itself.
  ToolRun run = RunTool(folder, Fixture() + " --set Gain=50");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out"});
  SF_INFO info;
  std::vector<float> rendered = ReadAudio(folder.Path("out/demo.wav"), info);
  EXPECT_EQ(info.samplerate, 44100);
  ASSERT_EQ(info.channels, 2);
  std::vector<float> demo = MakeDemoSignal(44100.0);
  // A gain has no tail: the automatic tail stops after one quiet second.
  ASSERT_EQ(rendered.size(), (demo.size() + 44100) * 2);
  for (size_t i = 0; i < demo.size(); i += 97) {
    ASSERT_EQ(rendered[2 * i], demo[i]) << i;
    ASSERT_EQ(rendered[2 * i + 1], demo[i]) << i;
  }
}

TEST(RenderTool, FileInputRateTailAndBlockSize) {
  TempFolder folder;
  SF_INFO info{};
  info.samplerate = 48000;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(folder.Path("in.wav").c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  std::vector<float> ramp(4800);
  for (size_t i = 0; i < ramp.size(); ++i) {
    ramp[i] = 0.5f * static_cast<float>(i) / ramp.size();
  }
  sf_writef_float(file, ramp.data(), static_cast<sf_count_t>(ramp.size()));
  sf_close(file);

  ToolRun run =
      RunTool(folder, Fixture() + " in.wav --output rendered.flac --tail 0.5 --block 100");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::vector<float> rendered = ReadAudio(folder.Path("rendered.flac"), info);
  EXPECT_EQ(info.samplerate, 48000);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.frames, 4800 + 24000);
  EXPECT_EQ(rendered.back(), 0.0f) << "the tail is silence through a gain";

  run = RunTool(folder, Fixture() + " in.wav --output again.wav --rate 44100");
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("does not resample"), std::string::npos) << run.err;
}

TEST(RenderTool, ListsParametersAndPrograms) {
  TempFolder folder;
  ToolRun run = RunTool(folder, Fixture() + " --list-params --set Mode=Hot");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("  0  Gain"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(" 50 "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Hot"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("ms"), std::string::npos) << run.out;
  run = RunTool(folder, Fixture() + " --list-programs --program Quiet");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "  0  Unity\n  1* Quiet\n");
  EXPECT_TRUE(folder.Entries().empty()) << "listing writes no file";
}

TEST(RenderTool, SavedProgramFileLoadsBack) {
  TempFolder folder;
  ToolRun run = RunTool(folder, Fixture() + " --set Time=500 --save-state t.fxp --list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  run = RunTool(folder, Fixture() + " --load-state t.fxp --list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("500.0"), std::string::npos) << run.out;
  std::ofstream(folder.Path("junk.fxp")) << "not a preset";
  run = RunTool(folder, Fixture() + " --load-state junk.fxp");
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("cannot load junk.fxp"), std::string::npos) << run.err;
}

TEST(RenderTool, EveryFailureIsOneLineNonZeroAndLeavesNoOutput) {
  TempFolder folder;
  std::ofstream(folder.Path("text.wav")) << "this is not audio\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Fixture() + " missing.wav --output o.wav", "cannot read missing.wav"},
      {Fixture() + " text.wav --output o.wav", "cannot read text.wav"},
      {"--plugin /nonexistent/plugin.so --output o.wav", "cannot load plug-in"},
      {std::string("--plugin '") + host::testing::kFixtureNoEntry + "' --output o.wav",
       "exports neither"},
      {std::string("--plugin '") + host::testing::kFixtureRefuse + "' --output o.wav", "refused"},
      {Fixture() + " --set Volume=3 --output o.wav", "unknown parameter \"Volume\""},
      {Fixture() + " --set Gain=101 --output o.wav", "out of range"},
      {Fixture() + " --output o.mp3", "use a .wav or .flac"},
      {Fixture() + " --output nowhere/o.wav", "cannot write nowhere/o.wav"},
      {Fixture() + " --program 7 --output o.wav", "unknown program"},
      {Fixture() + " --tempo fast", "--tempo expects"},
  };
  for (const auto& [arguments, expected] : cases) {
    ToolRun run = RunTool(folder, arguments);
    EXPECT_NE(run.exitCode, 0) << arguments;
    EXPECT_EQ(run.err.rfind("velmora-render: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"text.wav"}) << arguments;
  }
}

TEST(RenderTool, InterruptedRenderLeavesNothing) {
  TempFolder folder;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // An hour of tail: far longer than the moment this test lets it run.
    execl(VELMORA_RENDER_TOOL, VELMORA_RENDER_TOOL, "--plugin", host::testing::kFixtureVstMain,
          "--quiet", "--tail", "3600", "--output", folder.Path("long.wav").c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  bool started = false;
  for (int wait = 0; wait < 500 && !started; ++wait) {
    std::vector<std::string> entries = folder.Entries();
    started = !entries.empty() && entries[0].find(".part") != std::string::npos;
    usleep(10000);
  }
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(started) << "the render never began";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_TRUE(folder.Entries().empty()) << folder.Entries()[0];
}

}  // namespace
}  // namespace velmora::render
