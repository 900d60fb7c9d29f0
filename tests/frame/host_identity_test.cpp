// Recognising the host from its product string, once per instance.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/host_identity.h"
#include "tests/frame/fake_host.h"

namespace velmora::testing {
namespace {

TEST(HostIdentity, TableOrderDecides) {
  EXPECT_EQ(IdentifyHost("REAPER"), 1);
  EXPECT_EQ(IdentifyHost("Cubase VST"), 3);
  EXPECT_EQ(IdentifyHost("My Live Rig"), 9);
  EXPECT_EQ(IdentifyHost("Express delivery"), 9);
  EXPECT_EQ(IdentifyHost("reaper inside cubase"), 3);
  EXPECT_EQ(IdentifyHost("Adobe Audition"), 17);
  EXPECT_EQ(IdentifyHost("Ardour"), 27);
  EXPECT_EQ(IdentifyHost("Example Host"), 0);
  EXPECT_EQ(IdentifyHost(""), 0);
  EXPECT_EQ(IdentifyHost(nullptr), 0);
}

TEST(HostIdentity, VersionIsRepacked) {
  EXPECT_EQ(PackHostVersion(30102), 0x30102);
  EXPECT_EQ(PackHostVersion(0), 0);
  EXPECT_EQ(PackHostVersion(-5), 0);
  EXPECT_EQ(PackHostVersion(1LL << 40), 0);
}

TEST(HostIdentity, AskedOnceAtOpen) {
  PluginInstance instance;
  FakeHost& host = instance.host();
  host.productString = "REAPER";
  host.vendorVersion = 30102;
  instance.Dispatch(vst::effOpen);
  EXPECT_EQ(instance.plugin().HostKind(), 1);
  EXPECT_EQ(instance.plugin().HostVersion(), 0x30102);
  instance.Dispatch(vst::effOpen);
  EXPECT_EQ(host.Count(vst::audioMasterGetProductString), 1);
  EXPECT_EQ(host.Count(vst::audioMasterGetVendorVersion), 1);
}

TEST(HostIdentity, EmptyProductStringSkipsTheVersion) {
  PluginInstance instance;
  FakeHost& host = instance.host();
  host.vendorVersion = 30102;
  EXPECT_EQ(instance.plugin().HostKind(), 0);
  EXPECT_EQ(instance.plugin().HostVersion(), 0);
  EXPECT_EQ(instance.plugin().HostKind(), 0);
  EXPECT_EQ(host.Count(vst::audioMasterGetProductString), 1);
  EXPECT_EQ(host.Count(vst::audioMasterGetVendorVersion), 0);
}

TEST(HostIdentity, RestrictedHostKeepsStereoConnected) {
  PluginInstance instance;
  instance.host().productString = "Adobe Audition CS6";
  instance.Dispatch(vst::effOpen);
  VSTCLASS& plugin = instance.plugin();
  EXPECT_EQ(plugin.HostKind(), 17);
  EXPECT_TRUE(plugin.InputConnected(0));
  EXPECT_TRUE(plugin.InputConnected(1));
  EXPECT_TRUE(plugin.OutputConnected(1));
  EXPECT_EQ(instance.effect()->numInputs, 2);
  EXPECT_EQ(instance.effect()->numOutputs, 2);
}

// A host that fills the whole buffer without ending the text: read no further than the
// buffer and terminate it ourselves.
intptr_t FloodingHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
  if (opcode == vst::audioMasterGetProductString) {
    std::memset(ptr, 'R', 256);
    return 1;
  }
  return 0;
}

TEST(HostIdentity, UnterminatedProductStringStaysInItsBuffer) {
  vst::AEffect* effect = VSTPluginMain(&FloodingHost);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->dispatcher(effect, vst::effOpen, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(IEffectVST::FromEffect(effect)->HostKind(), 0);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace velmora::testing
