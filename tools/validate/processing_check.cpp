// Processing across sample rates and block sizes, on both sample types, with and without a
// host tempo: no non-finite output for finite input; subnormal single-precision output
// fails at the strictest level. Blocks longer than announced are their own check, as VST 2
// lets a plug-in rely on the announced size and only the strictest level asks more.
#include <algorithm>
#include <limits>
#include <string>

#include "tools/validate/plugin_instance.h"

namespace velmora::validate {
namespace {

constexpr double kSampleRates[] = {22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
constexpr int32_t kBlockSizes[] = {1, 64, 512, 1024, 4096};
// Frames of each run: half signal, half silence, so decaying states reach tiny numbers.
constexpr int32_t kRunFrames = 8192;

struct Tallies {
  SampleTally floats;
  SampleTally doubles;
};

template <typename Sample>
host::Status Run(host::PluginHost& plugin, int32_t block, std::mt19937& random, Sample unwritten,
                 SampleTally& tally) {
  const double rate = plugin.Config().sampleRate;
  host::AudioBuffers<Sample> in(plugin.NumInputs(), block), out(plugin.NumOutputs(), block);
  for (int32_t done = 0; done < kRunFrames; done += block) {
    FillSignal(in, done, block, rate, kRunFrames / 2, random);
    out.Fill(unwritten);
    host::Status status;
    if constexpr (sizeof(Sample) == sizeof(float)) {
      status = plugin.ProcessReplacing(in.Pointers(), out.Pointers(), block);
    } else {
      status = plugin.ProcessDoubleReplacing(in.Pointers(), out.Pointers(), block);
    }
    if (!status) {
      return status;
    }
    tally.Add(out, block);
  }
  return host::Status();
}

// A block of twice the announced size plus one, as some hosts send after all.
template <typename Sample>
void LongerBlock(host::PluginHost& plugin, int32_t block, std::mt19937& random,
                 SampleTally& tally) {
  const int32_t frames = 2 * block + 1;
  host::AudioBuffers<Sample> in(plugin.NumInputs(), frames), out(plugin.NumOutputs(), frames);
  FillSignal(in, 0, frames, plugin.Config().sampleRate, frames, random);
  if constexpr (sizeof(Sample) == sizeof(float)) {
    ProcessFloat(*plugin.Effect(), in, out, frames);
  } else {
    ProcessDouble(*plugin.Effect(), in, out, frames);
  }
  tally.Add(out, frames);
}

// One instance at one rate and block size: float and double runs, with the tempo known,
// then with it unknown. Adds to total, and names where float subnormals first appeared.
std::string RunInstance(const CheckContext& context, double rate, int32_t block,
                        std::mt19937& random, Tallies& total, std::string& firstSubnormal) {
  auto loaded = LoadInstance(context, rate, block);
  if (!loaded) {
    return loaded.Error();
  }
  host::PluginHost& plugin = *loaded.Value();
  const bool doubles = ProcessesDouble(*plugin.Effect());
  // Hosts hand over buffers with whatever they held: at strict, outputs start as NaN, so a
  // sample the plug-in leaves unwritten counts as non-finite.
  const bool strict = context.strictness == Strictness::kStrict;
  const float unwrittenFloat = strict ? std::numeric_limits<float>::quiet_NaN() : 0.0f;
  const double unwrittenDouble = strict ? std::numeric_limits<double>::quiet_NaN() : 0.0;
  const std::string note = strict ? " (outputs start as NaN, so unwritten samples count)" : "";
  for (bool tempo : {true, false}) {
    plugin.SetTempo(120.0, tempo);
    const int64_t subnormalBefore = total.floats.subnormal;
    host::Status status = Run<float>(plugin, block, random, unwrittenFloat, total.floats);
    if (status && doubles) {
      status = Run<double>(plugin, block, random, unwrittenDouble, total.doubles);
    }
    if (!status) {
      return status.Error();
    }
    const std::string where = std::to_string(static_cast<int>(rate)) + " Hz, block " +
                              std::to_string(block) + (tempo ? ", with tempo" : ", no tempo");
    if (!total.floats.Finite()) {
      return "float at " + where + ": " + total.floats.NonFiniteText() + note;
    }
    if (!total.doubles.Finite()) {
      return "double at " + where + ": " + total.doubles.NonFiniteText() + note;
    }
    if (firstSubnormal.empty() && total.floats.subnormal > subnormalBefore) {
      firstSubnormal = where;
    }
  }
  return "";
}

}  // namespace

Outcome CheckLongBlock(const CheckContext& context) {
  if (context.strictness != Strictness::kStrict) {
    return Outcome::Skip("runs at strict only (VST 2 lets a plug-in rely on the announced size)");
  }
  std::mt19937 random = RandomFor(context, "long-block");
  for (int32_t block : {1, 64, 512, 4096}) {
    auto loaded = LoadInstance(context, 44100.0, block);
    if (!loaded) {
      return Outcome::Fail(loaded.Error());
    }
    host::PluginHost& plugin = *loaded.Value();
    Tallies here;
    LongerBlock<float>(plugin, block, random, here.floats);
    if (ProcessesDouble(*plugin.Effect())) {
      LongerBlock<double>(plugin, block, random, here.doubles);
    }
    if (!here.floats.Finite() || !here.doubles.Finite()) {
      return Outcome::Fail("a block of " + std::to_string(2 * block + 1) + " frames (announced " +
                           std::to_string(block) + "): " +
                           (here.floats.Finite() ? here.doubles : here.floats).NonFiniteText());
    }
  }
  return Outcome::Pass(
      "blocks of 3, 129, 1025 and 8193 frames after announcing 1, 64, 512 and 4096");
}

Outcome CheckProcessing(const CheckContext& context) {
  std::mt19937 random = RandomFor(context, "processing");
  Tallies total;
  std::string firstSubnormal;
  for (double rate : kSampleRates) {
    for (int32_t block : kBlockSizes) {
      std::string problem = RunInstance(context, rate, block, random, total, firstSubnormal);
      if (!problem.empty()) {
        return Outcome::Fail(problem);
      }
    }
  }
  std::string counts = std::to_string(total.floats.samples) + " float and " +
                       std::to_string(total.doubles.samples) + " double samples finite, " +
                       std::to_string(total.floats.subnormal) + " and " +
                       std::to_string(total.doubles.subnormal) + " subnormal";
  if (context.strictness == Strictness::kStrict && total.floats.subnormal > 0) {
    return Outcome::Fail(counts + " (float output must not be subnormal; first at " +
                         firstSubnormal + ")");
  }
  return Outcome::Pass(counts);
}

}  // namespace velmora::validate
