// Program changes, renames and chunk requests allocate nothing, not even the first of each:
// hosts that follow MIDI program changes make them on their audio thread. The executable
// counts every allocation (tests/support/counting_allocator.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/vst2.h"
#include "tests/support/counting_allocator.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace velmora {
namespace {

using testing::AllocationCount;

// Records nothing, so the host side of each call allocates nothing either.
intptr_t QuietHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == vst::audioMasterVersion ? 2400 : 0;
}

class Instance {
 public:
  Instance() : effect_(VSTPluginMain(&QuietHost)) {
    Dispatch(vst::effOpen);
    Dispatch(vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(vst::effSetBlockSize, 0, 512);
    Dispatch(vst::effMainsChanged, 0, 1);
  }
  ~Instance() { Dispatch(vst::effClose); }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
  }

  // The allocations one dispatcher call makes.
  long AllocationsOf(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr) {
    const long before = AllocationCount();
    Dispatch(opcode, index, value, ptr);
    return AllocationCount() - before;
  }

 private:
  vst::AEffect* effect_;
};

TEST(ProgramAllocation, FirstProgramChangesRenamesAndChunksAllocateNothing) {
  ASSERT_GE(AllocationCount(), 0);
  Instance instance;
  char name[] = "Forty";
  void* bytes = nullptr;
  // Program 0 has never been stored: leaving it stores it for the first time; 40 has never
  // been used; the rename stores 40 for the first time.
  EXPECT_EQ(instance.AllocationsOf(vst::effSetProgram, 0, 40), 0);
  EXPECT_EQ(instance.AllocationsOf(vst::effSetProgramName, 0, 0, name), 0);
  EXPECT_EQ(instance.AllocationsOf(vst::effSetProgram, 0, 3), 0);
  EXPECT_EQ(instance.AllocationsOf(vst::effSetProgram, 0, 59), 0);
  EXPECT_EQ(instance.AllocationsOf(vst::effSetProgram, 0, 0), 0);
  EXPECT_EQ(instance.Dispatch(vst::effGetProgram), 0);

  for (int32_t form : {0, 1}) {  // bank, then program
    const long before = AllocationCount();
    const intptr_t size = instance.Dispatch(vst::effGetChunk, form, 0, &bytes);
    EXPECT_EQ(AllocationCount() - before, 0) << "form " << form;
    ASSERT_EQ(size, 180);
    // Handing the chunk back as a host does (a copy of it) fits the room held as well.
    std::vector<uint8_t> copy(static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + size);
    EXPECT_EQ(instance.AllocationsOf(vst::effSetChunk, form, size, copy.data()), 0);
    // The plug-in's own bytes handed back unchanged still load.
    EXPECT_EQ(instance.Dispatch(vst::effSetChunk, form, size, bytes), 1);
  }
}

}  // namespace
}  // namespace velmora
