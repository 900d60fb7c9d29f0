// velmora-render with the Velmora plug-in of this build: the default plug-in, its
// parameters in their own units, the demo, and errors that leave nothing behind.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "tests/tools/temp_folder.h"
#include "tests/tools/tool_runner.h"

namespace velmora::render {
namespace {

using host::testing::ReadAudio;
using host::testing::RunTool;
using host::testing::TempFolder;
using host::testing::ToolRun;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    lines.push_back(line);
  }
  return lines;
}

// The listing's line for one parameter, with its runs of spaces squeezed to one.
std::string Squeezed(const std::string& line) {
  std::string out;
  for (char c : line) {
    if (c != ' ' || (!out.empty() && out.back() != ' ')) {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') {
    out.pop_back();
  }
  return out;
}

TEST(RenderVelmora, ListsTheTwentyTwoParametersWithTheirDefaults) {
  TempFolder folder;
  ToolRun run = RunTool(folder, "--list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 22u) << run.out;
  EXPECT_EQ(Squeezed(lines[0]), "0 Delay Rate 1/8");
  EXPECT_EQ(Squeezed(lines[1]), "1 Ping Pong Normal");
  EXPECT_EQ(Squeezed(lines[2]), "2 Pan Width 100 %");
  EXPECT_EQ(Squeezed(lines[4]), "4 Freq Left 3000 Hz");
  EXPECT_EQ(Squeezed(lines[8]), "8 Left Sweep Rate 1/2");
  EXPECT_EQ(Squeezed(lines[18]), "18 Filter Mirror Yes");
  EXPECT_EQ(Squeezed(lines[21]), "21 Bypass Ceil -60 dB");
}

TEST(RenderVelmora, SettingsInDisplayedUnits) {
  TempFolder folder;
  ToolRun run =
      RunTool(folder,
              "--set 'Delay Rate=1/4D' --set 'ping pong=triplet 2' --set 'Freq Left=1000' "
              "--set 'Pan Width=-100' --set 'Bypass Ceil=-50 dB' --set 3=25 "
              "--set 'Filter Right Type=Highpass' --set 'Right Sweep Rate=32/1' "
              "--list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 22u) << run.out;
  EXPECT_EQ(Squeezed(lines[0]), "0 Delay Rate 1/4D");
  EXPECT_EQ(Squeezed(lines[1]), "1 Ping Pong Triplet 2");
  EXPECT_EQ(Squeezed(lines[2]), "2 Pan Width -100 %");
  EXPECT_EQ(Squeezed(lines[3]), "3 Feedback 25 %");
  EXPECT_EQ(Squeezed(lines[4]), "4 Freq Left 1000 Hz");
  EXPECT_EQ(Squeezed(lines[13]), "13 Filter Right Type Highpass");
  EXPECT_EQ(Squeezed(lines[15]), "15 Right Sweep Rate 32/1");
  EXPECT_EQ(Squeezed(lines[21]), "21 Bypass Ceil -50 dB");
}

TEST(RenderVelmora, DemoRendersThroughTheDefaultPlugin) {
  TempFolder folder;
  ToolRun run = RunTool(folder, "--set 'Delay Rate=1/4' --tempo 100 --tail 0");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  SF_INFO info;
  std::vector<float> rendered = ReadAudio(folder.Path("out/demo.wav"), info);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.samplerate, 44100);
  EXPECT_EQ(info.frames, 7 * 44100);
  double energy = 0.0;
  for (float sample : rendered) {
    ASSERT_TRUE(std::isfinite(sample));
    energy += double(sample) * sample;
  }
  EXPECT_GT(energy, 1.0);
}

TEST(RenderVelmora, AutomaticTailLetsTheEchoesDieAway) {
  TempFolder folder;
  ToolRun run = RunTool(folder, "--set 'Delay Rate=1/4' --set Feedback=70 --tempo 100 --quiet");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  SF_INFO info;
  std::vector<float> rendered = ReadAudio(folder.Path("out/demo.wav"), info);
  ASSERT_EQ(info.channels, 2);
  // Echoes at 70 % feedback ring on well past the demo, then a quiet second ends the file.
  EXPECT_GT(info.frames, 7 * 44100 + 2 * 44100);
  EXPECT_LT(info.frames, 7 * 44100 + 60 * 44100);
  const float quiet = 1.5848932e-05f;  // -96 dBFS
  size_t lastLoud = 0;
  for (size_t i = 0; i < rendered.size(); ++i) {
    lastLoud = std::fabs(rendered[i]) >= quiet ? i / 2 : lastLoud;
  }
  EXPECT_EQ(static_cast<int64_t>(lastLoud) + 44100, info.frames - 1);

  // An endless echo stops at the limit of one minute.
  run = RunTool(folder, "--set 'Delay Rate=1/4' --set Feedback=100 --tempo 100 --quiet");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  rendered = ReadAudio(folder.Path("out/demo.wav"), info);
  EXPECT_EQ(info.frames, 7 * 44100 + 60 * 44100);
}

TEST(RenderVelmora, RefusedValuesLeaveNoOutput) {
  TempFolder folder;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--set 'Bypass Ceil=-40'", "Bypass Ceil value out of range (-100 .. -50)"},
      {"--set 'Freq Left=25000'", "Freq Left value out of range (20 .. 20000)"},
      {"--set 'Delay Rate=1/3'", "is not a value of Delay Rate"},
      {"--set 'Delay Rate=8/1'", "is not a value of Delay Rate"},
      {"--set 'Delay=1/8'", "unknown parameter"},
      {"--set 22=1", "unknown parameter"},
      {"missing.flac", "cannot read missing.flac"},
  };
  for (const auto& [arguments, expected] : cases) {
    ToolRun run = RunTool(folder, arguments + " --output o.wav");
    EXPECT_NE(run.exitCode, 0) << arguments;
    EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
    EXPECT_TRUE(folder.Entries().empty()) << arguments;
  }
}

TEST(RenderVelmora, ProgramFileRoundTrip) {
  TempFolder folder;
  ToolRun run = RunTool(folder,
                        "--set Feedback=30 --set 'Delay Rate=1/16T' --save-state v.fxp "
                        "--list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  run = RunTool(folder, "--load-state v.fxp --list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(Squeezed(lines[0]), "0 Delay Rate 1/16T");
  EXPECT_EQ(Squeezed(lines[3]), "3 Feedback 30 %");
}

TEST(RenderVelmora, ProgramsByNumberOrName) {
  TempFolder folder;
  ToolRun run = RunTool(folder, "--list-programs");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 60u);
  EXPECT_EQ(Squeezed(lines[0]).substr(0, 2), "0*");
  EXPECT_EQ(Squeezed(lines[12]), "12 Harp");

  ToolRun byName = RunTool(folder, "--program harp --list-params");
  ToolRun byNumber = RunTool(folder, "--program 12 --list-params");
  ToolRun defaults = RunTool(folder, "--list-params");
  ASSERT_EQ(byName.exitCode, 0) << byName.err;
  EXPECT_EQ(byName.out, byNumber.out);
  EXPECT_NE(byName.out, defaults.out);
  run = RunTool(folder, "--program 60");
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("unknown program \"60\""), std::string::npos) << run.err;
}

TEST(RenderVelmora, BankFileRoundTripAndForeignFiles) {
  TempFolder folder;
  ToolRun run = RunTool(folder,
                        "--program 'Bass Sweep' --set Feedback=10 --save-state all.fxb "
                        "--list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::ifstream bank(folder.Path("all.fxb"), std::ios::binary);
  std::string header(20, '\0');
  bank.read(header.data(), 20);
  EXPECT_EQ(header.substr(0, 4), "CcnK");
  EXPECT_EQ(header.substr(8, 4), "FxBk");
  EXPECT_EQ(header.substr(16, 4), "Qxvb");

  run = RunTool(folder, "--load-state all.fxb --program 26 --list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Squeezed(Lines(run.out)[3]), "3 Feedback 10 %");

  run = RunTool(folder, std::string("--plugin '") + FIXTURE_VSTMAIN +
                            "' --save-state fixture.fxp --list-params");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  run = RunTool(folder, "--load-state fixture.fxp --output o.wav");
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("made for another plug-in (ID Fxtr, expected Qxvb)"), std::string::npos)
      << run.err;
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"all.fxb", "fixture.fxp"}));
}

}  // namespace
}  // namespace velmora::render
