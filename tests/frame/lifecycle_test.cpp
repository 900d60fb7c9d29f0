// The dispatcher requests of opening, closing and the audio settings.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/frame/probe_plugin.h"

namespace velmora::testing {
namespace {

using Events = std::vector<std::string>;

intptr_t Dispatch(ProbePlugin* probe, int32_t opcode, intptr_t value = 0, float opt = 0.0f) {
  vst::AEffect* effect = probe->Effect();
  return effect->dispatcher(effect, opcode, 0, value, nullptr, opt);
}

TEST(Lifecycle, OpenAppliesEveryParameterInOrder) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  EXPECT_EQ(Dispatch(probe, vst::effOpen), 0);
  EXPECT_EQ(probe->applied, (std::vector<int>{0, 1}));
  bool closed = false;
  probe->closed = &closed;
  EXPECT_EQ(Dispatch(probe, vst::effClose), 0);
  EXPECT_TRUE(closed);
}

TEST(Lifecycle, SampleRateBlockSizeAndMains) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  EXPECT_EQ(Dispatch(probe, vst::effSetSampleRate, 0, 48000.0f), 0);
  EXPECT_EQ(probe->SampleRate(), 48000.0);
  // Rates that are not positive numbers keep the current rate; the engine is still reset.
  Dispatch(probe, vst::effSetSampleRate, 0, NAN);
  Dispatch(probe, vst::effSetSampleRate, 0, -44100.0f);
  Dispatch(probe, vst::effSetSampleRate, 0, 0.0f);
  EXPECT_EQ(probe->SampleRate(), 48000.0);
  EXPECT_EQ(probe->events, (Events{"reset", "reset", "reset", "reset"}));

  probe->events.clear();
  EXPECT_EQ(Dispatch(probe, vst::effSetBlockSize, 64), 0);
  EXPECT_EQ(probe->BlockLength(), 64);
  EXPECT_EQ(probe->events, (Events{"reset"}));

  probe->events.clear();
  EXPECT_EQ(Dispatch(probe, vst::effMainsChanged, 1), 0);
  EXPECT_EQ(Dispatch(probe, vst::effMainsChanged, 0), 0);
  EXPECT_EQ(probe->events, (Events{"on", "off", "reset"}));
  Dispatch(probe, vst::effClose);
}

TEST(Lifecycle, UnservedOpcodesAnswerZero) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  for (int32_t opcode : {9, 16, 20, 28, 36, 43, 52, 70, 73, 1000, -1}) {
    EXPECT_EQ(Dispatch(probe, opcode, 1, 1.0f), 0) << opcode;
  }
  EXPECT_TRUE(probe->events.empty());
  Dispatch(probe, vst::effClose);
}

TEST(Lifecycle, PluginClassEngineHooksTakeTheLock) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  // Reachable with the lock already held, as the dispatcher does.
  plugin.InstanceLock().Lock();
  plugin.SetActive(true);
  plugin.ResetEngine();
  plugin.ApplyParameter(0);
  plugin.InstanceLock().Unlock();
  EXPECT_EQ(instance.Dispatch(vst::effOpen), 0);
  EXPECT_EQ(plugin.StoredParamValue(4), 3000.0);
  EXPECT_EQ(plugin.StoredParamValue(22), 0.0);
  EXPECT_EQ(plugin.CurrentSampleRate(), 44100.0);
}

}  // namespace
}  // namespace velmora::testing
