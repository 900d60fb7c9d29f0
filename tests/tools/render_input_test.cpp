// velmora-render with damaged and empty input files, and the tail after the input.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include "tests/tools/fixture_paths.h"
#include "tests/tools/temp_folder.h"
#include "tests/tools/tool_runner.h"

namespace velmora::render {
namespace {

using host::testing::ReadAudio;
using host::testing::RunTool;
using host::testing::TempFolder;
using host::testing::ToolRun;

void Put32(std::ofstream& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.put(static_cast<char>((value >> shift) & 0xFF));
  }
}

void Put16(std::ofstream& out, uint16_t value) {
  out.put(static_cast<char>(value & 0xFF));
  out.put(static_cast<char>(value >> 8));
}

// A mono 16-bit WAV file whose header announces announced frames but which holds only
// present frames, each sample 0x1000.
void WriteWav(const std::string& path, uint32_t announced, uint32_t present) {
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  Put32(out, 36 + announced * 2);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, 44100);
  Put32(out, 88200);
  Put16(out, 2);   // bytes per frame
  Put16(out, 16);  // bits
  out.write("data", 4);
  Put32(out, announced * 2);
  for (uint32_t i = 0; i < present; ++i) {
    Put16(out, 0x1000);
  }
}

std::string Fixture() {
  return std::string("--plugin '") + host::testing::kFixtureVstMain + "' --quiet";
}

TEST(RenderInput, TruncatedWavWarnsOnceAndRendersWhatIsThere) {
  TempFolder folder;
  WriteWav(folder.Path("cut.wav"), 1000000, 1000);
  ToolRun run = RunTool(folder, Fixture() + " cut.wav --output o.wav --tail 0");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err,
            "velmora-render: warning: cut.wav is truncated: its header announces 1000000 frames, "
            "only 1000 are there; rendering those\n");
  SF_INFO info;
  std::vector<float> rendered = ReadAudio(folder.Path("o.wav"), info);
  ASSERT_EQ(info.frames, 1000);
  EXPECT_EQ(rendered[2 * 999], 0.125f) << "gain 1 passes the last sample through";

  // A whole file says nothing.
  WriteWav(folder.Path("whole.wav"), 1000, 1000);
  run = RunTool(folder, Fixture() + " whole.wav --output w.wav --tail 0");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
}

TEST(RenderInput, FileWithoutFramesNeedsATail) {
  TempFolder folder;
  WriteWav(folder.Path("empty.wav"), 0, 0);
  ToolRun run = RunTool(folder, Fixture() + " empty.wav --output o.wav");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "velmora-render: empty.wav holds no audio frames (--tail renders the plug-in's tail "
            "alone)\n");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"empty.wav"});

  run = RunTool(folder, Fixture() + " empty.wav --output half.wav --tail 0.5");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  SF_INFO info;
  ReadAudio(folder.Path("half.wav"), info);
  EXPECT_EQ(info.frames, 22050);

  run = RunTool(folder, Fixture() + " empty.wav --output auto.wav --tail auto");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ReadAudio(folder.Path("auto.wav"), info);
  EXPECT_EQ(info.frames, 44100) << "silence through a gain: one quiet second";
}

TEST(RenderInput, TailZeroEndsWithTheInputAndAutoAddsTheQuietSecond) {
  TempFolder folder;
  WriteWav(folder.Path("in.wav"), 1000, 1000);
  ToolRun run = RunTool(folder, Fixture() + " in.wav --output zero.wav --tail 0 --block 64");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  SF_INFO info;
  ReadAudio(folder.Path("zero.wav"), info);
  EXPECT_EQ(info.frames, 1000);
  // Silence in the input's own last frames does not count towards the quiet second.
  run = RunTool(folder, Fixture() + " in.wav --output auto.wav --block 64 --set Gain=0");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ReadAudio(folder.Path("auto.wav"), info);
  EXPECT_EQ(info.frames, 1000 + 44100);
}

}  // namespace
}  // namespace velmora::render
