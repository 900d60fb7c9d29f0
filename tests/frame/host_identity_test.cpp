// Recognising the host from its product string, once per instance.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
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

// Heap buffers of exactly the size given, so the address sanitizer reports any read past
// them: identification reads the text up to its terminator and never beyond 255 bytes.
TEST(HostIdentity, ReadsOnlyTheTextUpToItsTerminatorOrTheBufferEnd) {
  const std::string shortText = "Cubase";
  std::unique_ptr<char[]> exact(new char[shortText.size() + 1]);
  std::memcpy(exact.get(), shortText.c_str(), shortText.size() + 1);
  EXPECT_EQ(IdentifyHost(exact.get()), 3);

  // A full 256-byte buffer without any terminator: garbage, then a name in the last bytes
  // that still count (255 of them), then one more byte.
  std::unique_ptr<char[]> full(new char[256]);
  std::memset(full.get(), '#', 256);
  std::memcpy(full.get() + 249, "REAPER", 6);
  EXPECT_EQ(IdentifyHost(full.get()), 1);
  std::memcpy(full.get() + 249, "#REAPE", 6);
  full[255] = 'R';  // the 256th byte is past what a product string may hold
  EXPECT_EQ(IdentifyHost(full.get()), 0);

  // Bytes after the terminator are not part of the text, whatever they spell.
  std::unique_ptr<char[]> tail(new char[64]);
  std::memset(tail.get(), 'A', 64);
  std::memcpy(tail.get(), "Example\0ableton live reaper", 28);
  tail[63] = '\0';
  EXPECT_EQ(IdentifyHost(tail.get()), 0);
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
