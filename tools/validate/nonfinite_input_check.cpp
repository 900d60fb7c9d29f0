// Recovery from non-finite input: a NaN or an infinity from an upstream plug-in may reach
// any effect. After one block carrying them, a second of ordinary signal must come out
// finite; a plug-in whose filters or delay line stay poisoned fails at strict.
#include <limits>
#include <string>

#include "tools/validate/plugin_instance.h"

namespace velmora::validate {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr int32_t kBlock = 512;
constexpr int32_t kRecoveryFrames = 44100;

// With randomized set, a random program and random parameter values: filters and feedback
// paths a plug-in's defaults leave idle get their turn.
template <typename Sample>
std::string PoisonAndRecover(const CheckContext& context, Sample poison, bool randomized,
                             std::mt19937& random) {
  auto loaded = LoadInstance(context, kSampleRate, kBlock);
  if (!loaded) {
    return loaded.Error();
  }
  host::PluginHost& plugin = *loaded.Value();
  if (randomized && plugin.NumPrograms() > 1) {
    plugin.SetProgram(std::uniform_int_distribution<int32_t>(0, plugin.NumPrograms() - 1)(random));
  }
  for (int32_t i = 0; randomized && i < plugin.NumParams(); ++i) {
    plugin.SetParameter(i, RandomUnit(random));
  }
  host::AudioBuffers<Sample> in(plugin.NumInputs(), kBlock), out(plugin.NumOutputs(), kBlock);
  SampleTally tally;
  for (int32_t done = 0; done <= kRecoveryFrames; done += kBlock) {
    FillSignal(in, done, kBlock, kSampleRate, INT64_MAX, random);
    if (done == 0) {
      for (int32_t c = 0; c < in.Channels(); ++c) {
        in.Channel(c)[kBlock / 2] = poison;
      }
    }
    if constexpr (sizeof(Sample) == sizeof(float)) {
      plugin.ProcessReplacing(in.Pointers(), out.Pointers(), kBlock);
    } else {
      plugin.ProcessDoubleReplacing(in.Pointers(), out.Pointers(), kBlock);
    }
    if (done > 0) {
      tally.Add(out, kBlock);
    }
  }
  if (tally.Finite()) {
    return "";
  }
  return std::string(sizeof(Sample) == sizeof(float) ? "float" : "double") + " input sample " +
         (poison != poison ? "NaN" : (poison > 0 ? "+Inf" : "-Inf")) +
         (randomized ? " (random settings)" : " (default settings)") + " leaves " +
         tally.NonFiniteText() + " of the second after it";
}

template <typename Sample>
std::string EveryPoison(const CheckContext& context, std::mt19937& random) {
  for (Sample poison :
       {std::numeric_limits<Sample>::quiet_NaN(), std::numeric_limits<Sample>::infinity(),
        -std::numeric_limits<Sample>::infinity()}) {
    for (bool randomized : {false, true}) {
      std::string problem = PoisonAndRecover<Sample>(context, poison, randomized, random);
      if (!problem.empty()) {
        return problem;
      }
    }
  }
  return "";
}

}  // namespace

Outcome CheckNonFiniteInput(const CheckContext& context) {
  std::mt19937 random = RandomFor(context, "nonfinite-input");
  std::string problem = EveryPoison<float>(context, random);
  if (problem.empty()) {
    auto probe = LoadInstance(context, kSampleRate, kBlock, false);
    if (probe && ProcessesDouble(*probe.Value()->Effect())) {
      problem = EveryPoison<double>(context, random);
    }
  }
  if (problem.empty()) {
    return Outcome::Pass(
        "finite output within a block after NaN, +Inf and -Inf input, with "
        "default and random settings");
  }
  return context.strictness == Strictness::kStrict ? Outcome::Fail(problem)
                                                   : Outcome::Pass(problem + " (fails at strict)");
}

}  // namespace velmora::validate
