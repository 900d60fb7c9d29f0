// The host library against the fixture plug-in: loading under both entry names, failures,
// lifecycle, audio calls, parameters, programs and chunks.
#include <gtest/gtest.h>

#include "tests/tools/fixture_paths.h"
#include "tools/host/audio_buffers.h"
#include "tools/host/plugin_host.h"

namespace velmora::host {
namespace {

using namespace velmora::host::testing;

std::unique_ptr<PluginHost> LoadFixture(const char* path, HostConfig config = HostConfig()) {
  auto loaded = PluginHost::Load(path, config);
  EXPECT_TRUE(loaded.Ok()) << loaded.Error();
  return loaded.Ok() ? std::move(loaded.Value()) : nullptr;
}

TEST(PluginHost, FindsTheEntryPointUnderEitherName) {
  for (const char* path : {kFixtureVstMain, kFixtureMain}) {
    auto host = LoadFixture(path);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->Effect()->magic, vst::kEffectMagic);
    EXPECT_EQ(host->NumParams(), 3);
    EXPECT_EQ(host->NumPrograms(), 2);
    EXPECT_EQ(host->NumInputs(), 2);
    EXPECT_EQ(host->NumOutputs(), 2);
    host->Start();
    EXPECT_EQ(host->EffectName(), "Fixture Gain");
    EXPECT_EQ(host->VendorString(), "Velmora Tests");
    EXPECT_EQ(host->VendorVersion(), 10203);
    EXPECT_EQ(host->VstVersion(), 2400);
    EXPECT_EQ(host->CanDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(host->CanDo("ReceiveVstTimeInfo"), 0);
    EXPECT_FALSE(host->EditorRect().has_value());
  }
}

TEST(PluginHost, LoadFailuresComeBackAsOneLineMessages) {
  struct Case {
    std::string path;
    std::string expected;
  };
  const Case cases[] = {
      {"/nonexistent/plugin.so", "cannot load plug-in /nonexistent/plugin.so"},
      {"/etc/hostname", "cannot load plug-in /etc/hostname"},
      {kFixtureNoEntry, "exports neither VSTPluginMain nor main"},
      {kFixtureRefuse, "refused to create an instance"},
  };
  for (const Case& c : cases) {
    auto loaded = PluginHost::Load(c.path);
    ASSERT_FALSE(loaded.Ok()) << c.path;
    EXPECT_NE(loaded.Error().find(c.expected), std::string::npos) << loaded.Error();
    EXPECT_EQ(loaded.Error().find('\n'), std::string::npos) << loaded.Error();
  }
}

TEST(PluginHost, ReplacingAccumulatingAndDoubleProcessing) {
  auto host = LoadFixture(kFixtureVstMain);
  ASSERT_NE(host, nullptr);
  host->Start();
  host->SetParameter(0, 0.25f);  // the fixture's gain is 2 x normalised: 0.5

  AudioBuffers<float> in(2, 512), out(2, 512);
  in.Fill(0.5f);
  out.Fill(0.125f);
  ASSERT_TRUE(host->ProcessReplacing(in.Pointers(), out.Pointers(), 512));
  EXPECT_EQ(out.Channel(0)[0], 0.25f);
  EXPECT_EQ(out.Channel(1)[511], 0.25f);
  ASSERT_TRUE(host->ProcessAccumulating(in.Pointers(), out.Pointers(), 512));
  EXPECT_EQ(out.Channel(1)[100], 0.5f);

  AudioBuffers<double> inD(2, 512), outD(2, 512);
  inD.Fill(-1.0);
  ASSERT_TRUE(host->ProcessDoubleReplacing(inD.Pointers(), outD.Pointers(), 512));
  EXPECT_EQ(outD.Channel(0)[511], -0.5);
}

TEST(PluginHost, RefusesBlocksLargerThanAnnouncedAndCallsAfterClose) {
  HostConfig config;
  config.blockSize = 64;
  auto host = LoadFixture(kFixtureVstMain, config);
  ASSERT_NE(host, nullptr);
  host->Start();
  AudioBuffers<float> in(2, 128), out(2, 128);
  out.Fill(7.0f);
  Status tooLong = host->ProcessReplacing(in.Pointers(), out.Pointers(), 65);
  EXPECT_FALSE(tooLong.Ok());
  EXPECT_NE(tooLong.Error().find("block size 64"), std::string::npos) << tooLong.Error();
  EXPECT_FALSE(host->ProcessReplacing(in.Pointers(), out.Pointers(), -1).Ok());
  EXPECT_FALSE(host->ProcessReplacing(nullptr, out.Pointers(), 16).Ok());
  EXPECT_EQ(out.Channel(0)[0], 7.0f) << "a refused block must not reach the plug-in";

  host->Close();
  host->Close();
  EXPECT_FALSE(host->IsOpen());
  EXPECT_FALSE(host->ProcessReplacing(in.Pointers(), out.Pointers(), 16).Ok());
  EXPECT_EQ(host->EffectName(), "");
  EXPECT_EQ(host->GetParameter(0), 0.0f);
}

TEST(PluginHost, ParameterTextsAndValues) {
  auto host = LoadFixture(kFixtureVstMain);
  ASSERT_NE(host, nullptr);
  host->Start();
  EXPECT_EQ(host->ParamName(0), "Gain");
  EXPECT_EQ(host->ParamLabel(0), "%");
  EXPECT_EQ(host->ParamDisplay(0), "50");
  EXPECT_EQ(host->ParamName(1), "Mode");
  host->SetParameter(1, 1.0f);
  EXPECT_EQ(host->ParamDisplay(1), "Hot");
  EXPECT_EQ(host->GetParameter(1), 1.0f);
  // Out-of-range indices never reach the plug-in.
  host->SetParameter(3, 1.0f);
  host->SetParameter(-1, 1.0f);
  EXPECT_EQ(host->GetParameter(3), 0.0f);
  EXPECT_EQ(host->ParamName(3), "");
  EXPECT_EQ(host->ParamDisplay(-1), "");
}

TEST(PluginHost, ProgramsAndChunks) {
  auto host = LoadFixture(kFixtureVstMain);
  ASSERT_NE(host, nullptr);
  host->Start();
  EXPECT_EQ(host->CurrentProgram(), 0);
  EXPECT_EQ(host->ProgramNameIndexed(1), "Quiet");
  EXPECT_EQ(host->ProgramNameIndexed(2), "");
  host->SetProgram(1);
  EXPECT_EQ(host->CurrentProgram(), 1);
  EXPECT_EQ(host->ProgramName(), "Quiet");
  host->SetProgram(5);
  EXPECT_EQ(host->CurrentProgram(), 1) << "an invalid program is not sent";
  host->SetProgramName("Renamed");
  EXPECT_EQ(host->ProgramNameIndexed(1), "Renamed");

  host->SetParameter(2, 0.75f);
  std::vector<uint8_t> chunk = host->GetChunk(true);
  ASSERT_EQ(chunk.size(), 3 * sizeof(float));
  host->SetParameter(2, 0.0f);
  EXPECT_TRUE(host->SetChunk(chunk, true));
  EXPECT_EQ(host->GetParameter(2), 0.75f);
  EXPECT_FALSE(host->SetChunk({1, 2, 3}, true));
}

TEST(PluginHost, TwoInstancesOfTwoBinariesKeepTheirOwnHosts) {
  HostConfig a, b;
  a.productString = "Host A";
  b.productString = "Host B";
  auto first = LoadFixture(kFixtureVstMain, a);
  auto second = LoadFixture(kFixtureMain, b);
  auto third = LoadFixture(kFixtureVstMain, b);
  ASSERT_TRUE(first && second && third);
  for (auto* host : {first.get(), second.get(), third.get()}) {
    char product[64] = {};
    host->Dispatch(vst::effVendorSpecific, kVendorCreationProduct, 0, product);
    EXPECT_EQ(std::string(product), host->Config().productString);
  }
  first.reset();
  // The survivors still reach their hosts after another instance of the same binary left.
  third->Start();
  third->SetTempo(99.0);
  AudioBuffers<float> in(2, 16), out(2, 16);
  ASSERT_TRUE(third->ProcessReplacing(in.Pointers(), out.Pointers(), 16));
  EXPECT_EQ(third->Dispatch(vst::effVendorSpecific, kVendorLastTempo), 99000);
}

}  // namespace
}  // namespace velmora::host
