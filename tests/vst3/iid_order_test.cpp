// Interface identifiers must reach each platform's hosts in the byte order they compare:
// a wrong order means every queryInterface fails and the plug-in does not load at all.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "vst3/abi/vst3_base.h"
#include "vst3/abi/vst3_controller.h"
#include "vst3/abi/vst3_processing.h"
#include "vst3/abi/vst3_view.h"

namespace velmora::vst3 {
namespace {

using Bytes = std::array<uint8_t, 16>;

Bytes BytesOf(const Iid& iid) {
  Bytes bytes{};
  for (int i = 0; i < 16; ++i) {
    bytes[i] = static_cast<uint8_t>(iid.bytes[i]);
  }
  return bytes;
}

// The base interface is COM's IUnknown, {00000000-0000-0000-C000-000000000046}: in COM order
// its bytes are those of that GUID, which Windows hosts compare against.
TEST(IidOrder, BaseInterfaceIsComUnknownInComOrder) {
  const Bytes com = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  EXPECT_EQ(BytesOf(MakeIid(words::kFUnknown, IidOrder::kCom)), com);
  EXPECT_EQ(BytesOf(MakeIid(words::kFUnknown, IidOrder::kPlain)), com);
}

TEST(IidOrder, PlainOrderIsFourBigEndianWords) {
  const Bytes plain = {0xE8, 0x31, 0xFF, 0x31, 0xF2, 0xD5, 0x43, 0x01,
                       0x92, 0x8E, 0xBB, 0xEE, 0x25, 0x69, 0x78, 0x02};
  EXPECT_EQ(BytesOf(MakeIid(words::kIComponent, IidOrder::kPlain)), plain);
}

// COM order: the first word little-endian, the second as two little-endian halves (high half
// first), the last eight bytes as published.
TEST(IidOrder, ComOrderSwapsTheFirstThreeFields) {
  const Bytes com = {0x31, 0xFF, 0x31, 0xE8, 0xD5, 0xF2, 0x01, 0x43,
                     0x92, 0x8E, 0xBB, 0xEE, 0x25, 0x69, 0x78, 0x02};
  EXPECT_EQ(BytesOf(MakeIid(words::kIComponent, IidOrder::kCom)), com);
  const Bytes processor = {0x99, 0x3F, 0x04, 0x42, 0xDA, 0xB7, 0x3C, 0x45,
                           0xA5, 0x69, 0xE7, 0x9D, 0x9A, 0xAE, 0xC3, 0x3D};
  EXPECT_EQ(BytesOf(MakeIid(words::kIAudioProcessor, IidOrder::kCom)), processor);
}

TEST(IidOrder, InterfacesUseThePlatformOrder) {
#if defined(_WIN32)
  constexpr IidOrder expected = IidOrder::kCom;
#else
  constexpr IidOrder expected = IidOrder::kPlain;
#endif
  EXPECT_EQ(BytesOf(IComponent::kIid), BytesOf(MakeIid(words::kIComponent, expected)));
  EXPECT_EQ(BytesOf(IEditController::kIid), BytesOf(MakeIid(words::kIEditController, expected)));
  EXPECT_EQ(BytesOf(IPlugView::kIid), BytesOf(MakeIid(words::kIPlugView, expected)));
}

TEST(IidOrder, SameIidComparesAllSixteenBytesAndRefusesNull) {
  Iid other = IComponent::kIid;
  EXPECT_TRUE(SameIid(other.bytes, IComponent::kIid));
  other.bytes[15] ^= 1;
  EXPECT_FALSE(SameIid(other.bytes, IComponent::kIid));
  EXPECT_FALSE(SameIid(nullptr, IComponent::kIid));
}

// Every identifier is distinct: a copy-paste slip would make two interfaces answer as one.
TEST(IidOrder, IdentifiersAreDistinct) {
  const IidWords all[] = {words::kFUnknown,         words::kIPluginBase,
                          words::kIPluginFactory,   words::kIPluginFactory2,
                          words::kIPluginFactory3,  words::kIBStream,
                          words::kIHostApplication, words::kIComponent,
                          words::kIAudioProcessor,  words::kIProcessContextRequirements,
                          words::kIParamValueQueue, words::kIParameterChanges,
                          words::kIEditController,  words::kIComponentHandler,
                          words::kIUnitInfo,        words::kIConnectionPoint,
                          words::kIPlugView,        words::kIPlugFrame,
                          words::kIRunLoop,         words::kIEventHandler,
                          words::kITimerHandler};
  const int count = static_cast<int>(sizeof all / sizeof all[0]);
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      EXPECT_NE(BytesOf(MakeIid(all[i])), BytesOf(MakeIid(all[j]))) << i << " " << j;
    }
  }
}

}  // namespace
}  // namespace velmora::vst3
