// Parameters under pressure: random automation every 32 frames while processing, and
// values (and texts) no host should send, after which every read-back must lie in 0..1.
#include <cmath>
#include <limits>
#include <string>

#include "tools/validate/plugin_instance.h"

namespace velmora::validate {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr int32_t kAnnouncedBlock = 512;
constexpr int32_t kAutomationStep = 32;
constexpr int32_t kAutomationFrames = 88200;  // two seconds, half on each sample type

template <typename Sample>
std::string Automate(host::PluginHost& plugin, std::mt19937& random) {
  host::AudioBuffers<Sample> in(plugin.NumInputs(), kAutomationStep),
      out(plugin.NumOutputs(), kAutomationStep);
  SampleTally tally;
  for (int32_t done = 0; done < kAutomationFrames / 2; done += kAutomationStep) {
    for (int n = 0; n < 3 && plugin.NumParams() > 0; ++n) {
      auto index = static_cast<int32_t>(random() % static_cast<uint32_t>(plugin.NumParams()));
      plugin.SetParameter(index, RandomUnit(random));
    }
    FillSignal(in, done, kAutomationStep, kSampleRate, INT64_MAX, random);
    if constexpr (sizeof(Sample) == sizeof(float)) {
      plugin.ProcessReplacing(in.Pointers(), out.Pointers(), kAutomationStep);
    } else {
      plugin.ProcessDoubleReplacing(in.Pointers(), out.Pointers(), kAutomationStep);
    }
    tally.Add(out, kAutomationStep);
    if (!tally.Finite()) {
      return std::string(sizeof(Sample) == sizeof(float) ? "float" : "double") +
             " output under automation after " + std::to_string(done) +
             " frames: " + tally.NonFiniteText();
    }
  }
  return "";
}

const float kHostileValues[] = {-1.0f,
                                -0.25f,
                                1.25f,
                                2.0f,
                                1e30f,
                                -1e30f,
                                1e-40f,
                                -0.0f,
                                std::numeric_limits<float>::quiet_NaN(),
                                -std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::max(),
                                std::numeric_limits<float>::lowest()};

const char* const kHostileTexts[] = {"",
                                     " ",
                                     "abc",
                                     "1e999",
                                     "-1e999",
                                     "nan",
                                     "-nan",
                                     "inf",
                                     "-inf",
                                     "0x7fffffff",
                                     "99999999999999999999",
                                     "--5",
                                     "1,5",
                                     "\xff\xfe"};

std::string Describe(float value) {
  return std::isnan(value) ? std::string("NaN") : std::to_string(value);
}

// Every hostile value and text on every parameter; the first read-back outside 0..1 as a
// one-line reason, or empty when all held.
std::string Fuzz(host::PluginHost& plugin) {
  std::string first;
  auto note = [&first](int32_t index, const std::string& sent, float got) {
    if (first.empty() && !(got >= 0.0f && got <= 1.0f)) {
      first = "parameter " + std::to_string(index) + " " + sent + " reads back " + Describe(got);
    }
  };
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    for (float value : kHostileValues) {
      plugin.SetParameter(i, value);
      note(i, "set to " + Describe(value), plugin.GetParameter(i));
      plugin.ParamDisplay(i);
    }
    for (const char* text : kHostileTexts) {
      plugin.String2Parameter(i, text);
      note(i, "given the text \"" + std::string(text) + "\"", plugin.GetParameter(i));
    }
    plugin.String2Parameter(i, std::string(4000, '9'));
  }
  return first;
}

}  // namespace

Outcome CheckAutomation(const CheckContext& context) {
  auto loaded = LoadInstance(context, kSampleRate, kAnnouncedBlock);
  if (!loaded) {
    return Outcome::Fail(loaded.Error());
  }
  host::PluginHost& plugin = *loaded.Value();
  std::mt19937 random = RandomFor(context, "automation");
  std::string problem = Automate<float>(plugin, random);
  if (problem.empty() && ProcessesDouble(*plugin.Effect())) {
    problem = Automate<double>(plugin, random);
  }
  if (!problem.empty()) {
    return Outcome::Fail(problem);
  }
  return Outcome::Pass(std::to_string(kAutomationFrames / kAutomationStep) +
                       " blocks of 32 frames with random parameter changes before each");
}

Outcome CheckParameterFuzz(const CheckContext& context) {
  auto loaded = LoadInstance(context, kSampleRate, kAnnouncedBlock);
  if (!loaded) {
    return Outcome::Fail(loaded.Error());
  }
  host::PluginHost& plugin = *loaded.Value();
  std::string outOfRange = Fuzz(plugin);
  // Whatever the parameters hold now, audio must stay finite.
  host::AudioBuffers<float> in(plugin.NumInputs(), kAnnouncedBlock),
      out(plugin.NumOutputs(), kAnnouncedBlock);
  std::mt19937 random = RandomFor(context, "fuzz");
  SampleTally tally;
  for (int block = 0; block < 8; ++block) {
    FillSignal(in, block * kAnnouncedBlock, kAnnouncedBlock, kSampleRate, INT64_MAX, random);
    plugin.ProcessReplacing(in.Pointers(), out.Pointers(), kAnnouncedBlock);
    tally.Add(out, kAnnouncedBlock);
  }
  const std::string audio =
      tally.Finite() ? "" : "after hostile parameter values: " + tally.NonFiniteText();
  if (!outOfRange.empty() && context.strictness != Strictness::kBasic) {
    return Outcome::Fail(outOfRange + (audio.empty() ? "" : "; " + audio));
  }
  if (!audio.empty()) {
    return Outcome::Fail(audio);
  }
  if (!outOfRange.empty()) {
    return Outcome::Pass("audio stays finite, but " + outOfRange + " (fails at normal)");
  }
  return Outcome::Pass(std::to_string(plugin.NumParams()) +
                       " parameters keep 0..1 under out-of-range, NaN and infinite values and "
                       "junk texts");
}

}  // namespace velmora::validate
