// The host side of the callback: calls made during creation, time info with and without a
// valid tempo, song position, product string and recording from many threads.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "tests/tools/fixture_paths.h"
#include "tools/host/audio_buffers.h"
#include "tools/host/host_callback.h"
#include "tools/host/plugin_host.h"

namespace velmora::host {
namespace {

using namespace velmora::host::testing;

std::unique_ptr<PluginHost> StartedFixture(HostConfig config = HostConfig()) {
  auto loaded = PluginHost::Load(kFixtureVstMain, config);
  EXPECT_TRUE(loaded.Ok()) << loaded.Error();
  if (!loaded.Ok()) {
    return nullptr;
  }
  loaded.Value()->Start();
  return std::move(loaded.Value());
}

TEST(HostCallback, CallsDuringCreationReachTheCreatingHost) {
  HostConfig config;
  config.productString = "A product name longer than the sixty-three characters VST 2 allows";
  auto host = StartedFixture(config);
  ASSERT_NE(host, nullptr);
  std::vector<HostCall> calls = host->Calls().Snapshot();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].opcode, vst::audioMasterVersion);
  EXPECT_EQ(calls[1].opcode, vst::audioMasterGetProductString);
  char product[256] = {};
  host->Dispatch(vst::effVendorSpecific, kVendorCreationProduct, 0, product);
  EXPECT_EQ(std::string(product), config.productString.substr(0, 63));
}

TEST(HostCallback, UnknownInstancesOnlyLearnTheVersion) {
  vst::AEffect stranger{};
  EXPECT_EQ(HostCallback(&stranger, vst::audioMasterVersion, 0, 0, nullptr, 0.0f), 2400);
  EXPECT_EQ(HostCallback(&stranger, vst::audioMasterGetTime, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(HostCallback(nullptr, vst::audioMasterGetSampleRate, 0, 0, nullptr, 0.0f), 0);
}

TEST(HostCallback, TimeInfoFollowsTempoValidityAndSongPosition) {
  HostConfig config;
  config.tempo = 140.0;
  config.sampleRate = 48000.0;
  config.blockSize = 256;
  auto host = StartedFixture(config);
  ASSERT_NE(host, nullptr);
  AudioBuffers<float> in(2, 256), out(2, 256);
  ASSERT_TRUE(host->ProcessReplacing(in.Pointers(), out.Pointers(), 256));
  EXPECT_EQ(host->Dispatch(vst::effVendorSpecific, kVendorLastTempo), 140000);
  auto flags = host->Dispatch(vst::effVendorSpecific, kVendorLastTimeFlags);
  EXPECT_NE(flags & vst::kVstTempoValid, 0);
  EXPECT_NE(flags & vst::kVstTransportPlaying, 0);

  host->SetTempo(90.0, false);
  ASSERT_TRUE(host->ProcessReplacing(in.Pointers(), out.Pointers(), 200));
  EXPECT_EQ(host->Dispatch(vst::effVendorSpecific, kVendorLastTimeFlags) & vst::kVstTempoValid, 0);
  EXPECT_EQ(host->Dispatch(vst::effVendorSpecific, kVendorLastTempo), 0)
      << "no tempo is offered when it is not valid";
  EXPECT_EQ(host->Config().samplePosition, 456.0);

  EXPECT_EQ(HostCallback(host->Effect(), vst::audioMasterGetSampleRate, 0, 0, nullptr, 0.0f),
            48000);
  EXPECT_EQ(HostCallback(host->Effect(), vst::audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 256);
  auto* info = reinterpret_cast<vst::VstTimeInfo*>(
      HostCallback(host->Effect(), vst::audioMasterGetTime, 0, 0, nullptr, 0.0f));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->samplePos, 456.0);
  EXPECT_EQ(info->sampleRate, 48000.0);
}

TEST(HostCallback, ProductStringAndVendorVersionAreAnswered) {
  auto host = StartedFixture();
  ASSERT_NE(host, nullptr);
  host->SetProductString("Studio", 30102);
  char product[256];
  std::memset(product, 'x', sizeof(product));
  EXPECT_EQ(HostCallback(host->Effect(), vst::audioMasterGetProductString, 0, 0, product, 0.0f), 1);
  EXPECT_STREQ(product, "Studio");
  EXPECT_EQ(product[7], 'x') << "nothing written after the terminator";
  EXPECT_EQ(HostCallback(host->Effect(), vst::audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f),
            30102);
  EXPECT_EQ(HostCallback(host->Effect(), vst::audioMasterGetProductString, 0, 0, nullptr, 0.0f), 0);
  char yes[] = "sendVstTimeInfo";
  char no[] = "sizeWindow";
  EXPECT_EQ(HostCallback(host->Effect(), vst::audioMasterCanDo, 0, 0, yes, 0.0f), 1);
  EXPECT_EQ(HostCallback(host->Effect(), vst::audioMasterCanDo, 0, 0, no, 0.0f), 0);
}

TEST(HostCallback, RecordsEveryCallFromManyThreadsInOrderPerThread) {
  auto host = StartedFixture();
  ASSERT_NE(host, nullptr);
  host->Calls().Clear();
  constexpr int kThreads = 4;
  constexpr int kCallsEach = 2000;
  host->Dispatch(vst::effVendorSpecific, kVendorAutomateFromThreads, kThreads, nullptr,
                 static_cast<float>(kCallsEach));
  EXPECT_EQ(host->Calls().Count(vst::audioMasterAutomate), size_t{kThreads * kCallsEach});
  std::map<int32_t, intptr_t> nextValue;
  for (const HostCall& call : host->Calls().Snapshot()) {
    ASSERT_EQ(call.opcode, vst::audioMasterAutomate);
    EXPECT_EQ(call.value, nextValue[call.index]++) << "thread " << call.index;
    EXPECT_EQ(call.opt, 0.5f);
  }
  EXPECT_EQ(nextValue.size(), size_t{kThreads});
}

}  // namespace
}  // namespace velmora::host

namespace velmora::host {
namespace {

TEST(CallLog, KeepsNothingWhileRecordingIsOff) {
  CallLog log;
  log.Record(HostCall{vst::audioMasterGetTime, 0, 0, 0.0f});
  log.SetRecording(false);
  log.Record(HostCall{vst::audioMasterAutomate, 1, 0, 0.5f});
  log.SetRecording(true);
  log.Record(HostCall{vst::audioMasterVersion, 0, 0, 0.0f});
  std::vector<HostCall> calls = log.Snapshot();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].opcode, vst::audioMasterGetTime);
  EXPECT_EQ(calls[1].opcode, vst::audioMasterVersion);
}

}  // namespace
}  // namespace velmora::host
