// Real-time safety: heap calls made inside the audio callbacks once the first block has
// been processed (a plug-in may set itself up in its first block). Parameter changes
// arrive between blocks, as automation does, and the host tempo rises now and then, as in
// an accelerando. Any heap call fails at the strictest level.
#include <string>

#include "tools/validate/allocation_counter.h"
#include "tools/validate/plugin_instance.h"

namespace velmora::validate {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr int32_t kBlock = 512;
constexpr int kSteadyBlocks = 128;  // on each sample type
constexpr int kBlocksPerChange = 8;
constexpr int kBlocksPerTempoStep = 16;
constexpr double kFirstTempo = 120.0;

template <typename Sample>
void Steady(host::PluginHost& plugin, std::mt19937& random, AllocationCounts& counts) {
  host::AudioBuffers<Sample> in(plugin.NumInputs(), kBlock), out(plugin.NumOutputs(), kBlock);
  for (int block = 0; block <= kSteadyBlocks; ++block) {
    if (block % kBlocksPerChange == kBlocksPerChange - 1 && plugin.NumParams() > 0) {
      auto index = static_cast<int32_t>(random() % static_cast<uint32_t>(plugin.NumParams()));
      plugin.SetParameter(index, RandomUnit(random));
    }
    if (block % kBlocksPerTempoStep == kBlocksPerTempoStep - 1) {
      plugin.SetTempo(plugin.Config().tempo + 1.0);
    }
    FillSignal(in, int64_t{block} * kBlock, kBlock, kSampleRate, INT64_MAX, random);
    // The first block of each sample type is not counted.
    AllocationCounts ignored;
    CountAllocations scope(block == 0 ? ignored : counts);
    if constexpr (sizeof(Sample) == sizeof(float)) {
      plugin.ProcessReplacing(in.Pointers(), out.Pointers(), kBlock);
    } else {
      plugin.ProcessDoubleReplacing(in.Pointers(), out.Pointers(), kBlock);
    }
  }
}

}  // namespace

Outcome CheckAllocation(const CheckContext& context) {
  if (!AllocationCountingAvailable()) {
    return Outcome::Skip("heap calls are counted only by the Linux build without sanitizers");
  }
  auto loaded = LoadInstance(context, kSampleRate, kBlock);
  if (!loaded) {
    return Outcome::Fail(loaded.Error());
  }
  host::PluginHost& plugin = *loaded.Value();
  std::mt19937 random = RandomFor(context, "allocation");
  plugin.SetTempo(kFirstTempo);
  AllocationCounts counts;
  Steady<float>(plugin, random, counts);
  int blocks = kSteadyBlocks;
  if (ProcessesDouble(*plugin.Effect())) {
    Steady<double>(plugin, random, counts);
    blocks *= 2;
  }
  std::string summary = std::to_string(counts.allocations) + " allocations and " +
                        std::to_string(counts.frees) + " frees in " + std::to_string(blocks) +
                        " steady blocks (tempo rising from 120 BPM)";
  if (counts.allocations + counts.frees == 0) {
    return Outcome::Pass(summary);
  }
  if (context.strictness == Strictness::kStrict) {
    return Outcome::Fail(summary);
  }
  return Outcome::Pass(summary + " (fails at strict)");
}

}  // namespace velmora::validate
