// The audio path allocates nothing after the first block, and a delay line that cannot be
// allocated leaves the engine working as if the host had no tempo. The global allocation
// functions are replaced in this executable to count calls and to refuse large requests.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

#include "engine_test_rig.h"

namespace {

std::atomic<long> allocationCount{0};
std::atomic<size_t> refuseAbove{0};  // 0: refuse nothing

void* Allocate(size_t size) {
  ++allocationCount;
  const size_t limit = refuseAbove.load();
  if (limit != 0 && size > limit) {
    return nullptr;
  }
  return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(size_t size) {
  void* memory = Allocate(size);
  if (memory == nullptr) {
    throw std::bad_alloc();
  }
  return memory;
}

}  // namespace

void* operator new(size_t size) {
  return AllocateOrThrow(size);
}
void* operator new[](size_t size) {
  return AllocateOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, size_t) noexcept {
  std::free(memory);
}

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

TEST(Allocation, NoneAfterTheFirstBlock) {
  EngineRig rig;
  rig.Open();
  rig.Set(kLeftSweepLink, kLinkPanWidth);
  rig.Set(kRightSweepLink, kLinkFeedback);
  StereoBuffer in(256, 0.25);
  StereoBuffer out(256);
  rig.Block(in, out, 0, 256);

  const long before = allocationCount.load();
  for (int block = 0; block < 400; ++block) {
    in.left[0] = block % 50 < 25 ? 0.5 : 0.0;
    rig.Block(in, out, 0, 256);
    if (block % 40 == 0) {
      rig.Set(kDelayRate, 6 + block % 7);
      rig.Set(kLeftSweepRate, block % 11);
      rig.Set(kLeftSweepLink, block % 5);
      rig.engine.ResetEngine();
    }
  }
  EXPECT_EQ(allocationCount.load(), before);
}

TEST(Allocation, RefusedLineMeansNoTempo) {
  EngineRig rig;
  rig.Open();
  refuseAbove = size_t{1} << 20;  // the line needs 14 MB
  StereoBuffer in(512, 0.3);
  StereoBuffer out(512);
  rig.Block(in, out, 0, 512);
  const long afterFirst = allocationCount.load();
  rig.Block(in, out, 0, 512);  // the failed tempo is not retried every block
  refuseAbove = 0;
  EXPECT_EQ(allocationCount.load(), afterFirst);
  EXPECT_EQ(rig.engine.Line().Length(), 0);
  EXPECT_EQ(rig.engine.SamplesPerWhole(), 0.0);
  EXPECT_EQ(rig.engine.Delay().rightTap, 0);
  for (size_t i = 0; i < out.left.size(); ++i) {
    ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i]));
  }

  // A new tempo tries again and succeeds.
  rig.host.samplesPerBeat = 24000.0;
  rig.Block(in, out, 0, 512);
  EXPECT_EQ(rig.engine.Line().Length(), 1920000);
}

}  // namespace
}  // namespace velmora::dsp
