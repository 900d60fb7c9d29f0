// process() allocates nothing after activation: not in the first block, not for parameter
// changes at offsets on every parameter, the bypass switching, a rising tempo, blocks longer
// than announced or double samples. The executable counts its allocations
// (tests/support/counting_allocator.h); the plug-in is linked in, so its calls are counted.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/counting_allocator.h"
#include "tools/vst3host/host_objects.h"
#include "vst3/class_ids.h"
#include "vst3/plugin_factory.h"

namespace velmora::vst3host::testing {
namespace {

TEST(Vst3Allocation, ProcessAllocatesNothingAfterActivation) {
  HostApplication application("allocation test");
  void* object = nullptr;
  ASSERT_EQ(vst3::PluginFactory::Instance().createInstance(vst3::kEffectClassId.bytes,
                                                           IComponent::kIid.bytes, &object),
            kResultOk);
  auto* component = static_cast<IComponent*>(object);
  ASSERT_EQ(component->initialize(&application), kResultOk);
  ASSERT_EQ(component->queryInterface(IAudioProcessor::kIid.bytes, &object), kResultOk);
  auto* processor = static_cast<IAudioProcessor*>(object);
  for (bool wide : {false, true}) {
    constexpr int kAnnounced = 512;
    ProcessSetup setup{kRealtime, wide ? kSample64 : kSample32, kAnnounced, 48000.0};
    ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(component->setActive(1), kResultOk);
    const int longest = 3 * kAnnounced + 7;
    std::vector<float> in32(longest, 0.25f), out32a(longest), out32b(longest);
    std::vector<double> in64(longest, 0.25), out64a(longest), out64b(longest);
    float* ins32[2] = {in32.data(), in32.data()};
    float* outs32[2] = {out32a.data(), out32b.data()};
    double* ins64[2] = {in64.data(), in64.data()};
    double* outs64[2] = {out64a.data(), out64b.data()};
    AudioBusBuffers input{}, output{};
    input.numChannels = output.numChannels = 2;
    if (wide) {
      input.channelBuffers64 = ins64;
      output.channelBuffers64 = outs64;
    } else {
      input.channelBuffers32 = ins32;
      output.channelBuffers32 = outs32;
    }
    ParamChanges changes;
    ProcessContext context{};
    ProcessData data{};
    data.symbolicSampleSize = setup.symbolicSampleSize;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &input;
    data.outputs = &output;
    data.inputParameterChanges = &changes;
    data.processContext = &context;
    const long before = velmora::testing::AllocationCount();
    int64_t position = 0;
    for (int block = 0; block < 300; ++block) {
      changes.Clear();
      for (ParamID id = 0; id < 22; ++id) {
        changes.Add(id, (block * 13 + static_cast<int>(id)) % kAnnounced,
                    ((block * 7 + static_cast<int>(id)) % 11) / 10.0);
      }
      changes.Add(23, 0, block % 40 < 5 ? 1.0 : 0.0);
      context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid;
      context.tempo = 120.0 + block * 0.25;
      context.projectTimeSamples = position;
      data.numSamples = block % 50 == 0 ? longest : 1 + (block * 37) % kAnnounced;
      ASSERT_EQ(processor->process(data), kResultOk);
      position += data.numSamples;
    }
    EXPECT_EQ(velmora::testing::AllocationCount() - before, 0) << (wide ? "double" : "float");
    ASSERT_EQ(component->setActive(0), kResultOk);
  }
  processor->release();
  component->terminate();
  component->release();
}

}  // namespace
}  // namespace velmora::vst3host::testing
