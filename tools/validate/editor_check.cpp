// The editor: opened in a real parent window and closed twice, then twice more while
// another thread keeps processing audio, as hosts do when a user opens a plug-in mid-song.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "tools/validate/editor_parent.h"
#include "tools/validate/plugin_instance.h"

namespace velmora::validate {
namespace {

constexpr int kIdleRounds = 5;
constexpr int32_t kBlock = 512;
constexpr double kSampleRate = 44100.0;

// One open, a few idle calls and a close; empty when it all went through.
std::string OpenIdleClose(host::PluginHost& plugin, EditorParent& parent, Strictness strictness,
                          std::mt19937& random) {
  if (plugin.Dispatch(vst::effEditOpen, 0, 0, parent.Handle()) == 0) {
    return "effEditOpen refused a parent window";
  }
  for (int i = 0; i < kIdleRounds; ++i) {
    if (plugin.NumParams() > 0) {
      // Values change while the editor shows them, as automation does.
      auto index = static_cast<int32_t>(random() % static_cast<uint32_t>(plugin.NumParams()));
      plugin.SetParameter(index, RandomUnit(random));
    }
    plugin.Dispatch(vst::effEditIdle);
    parent.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::optional<vst::ERect> rect = plugin.EditorRect();
  plugin.Dispatch(vst::effEditClose);
  parent.Pump();
  if (strictness != Strictness::kBasic &&
      (!rect || rect->right - rect->left <= 0 || rect->bottom - rect->top <= 0)) {
    return "the open editor reports no size through effEditGetRect";
  }
  return "";
}

// Processes blocks of a test signal until stop is set; counts what came out.
void ProcessUntil(host::PluginHost& plugin, const std::atomic<bool>& stop, SampleTally& tally,
                  std::mt19937 random) {
  host::AudioBuffers<float> in(plugin.NumInputs(), kBlock), out(plugin.NumOutputs(), kBlock);
  for (int64_t done = 0; !stop; done += kBlock) {
    FillSignal(in, done, kBlock, kSampleRate, INT64_MAX, random);
    plugin.ProcessReplacing(in.Pointers(), out.Pointers(), kBlock);
    tally.Add(out, kBlock);
  }
}

}  // namespace

Outcome CheckEditor(const CheckContext& context) {
  auto loaded = LoadInstance(context, kSampleRate, kBlock);
  if (!loaded) {
    return Outcome::Fail(loaded.Error());
  }
  host::PluginHost& plugin = *loaded.Value();
  if ((plugin.Effect()->flags & vst::effFlagsHasEditor) == 0) {
    return Outcome::Pass("no editor");
  }
  std::optional<vst::ERect> rect = plugin.EditorRect();
  int width = rect ? rect->right - rect->left : 0;
  int height = rect ? rect->bottom - rect->top : 0;
  auto parent = EditorParent::Create(width > 0 ? width : 640, height > 0 ? height : 480);
  if (!parent) {
    return Outcome::Skip(parent.Error());
  }
  std::mt19937 random = RandomFor(context, "editor");
  for (int round = 0; round < 2; ++round) {
    std::string problem = OpenIdleClose(plugin, *parent.Value(), context.strictness, random);
    if (!problem.empty()) {
      return Outcome::Fail(problem);
    }
  }
  std::atomic<bool> stop{false};
  SampleTally tally;
  std::thread audio(ProcessUntil, std::ref(plugin), std::cref(stop), std::ref(tally), random);
  std::string problem;
  for (int round = 0; round < 2 && problem.empty(); ++round) {
    problem = OpenIdleClose(plugin, *parent.Value(), context.strictness, random);
  }
  stop = true;
  audio.join();
  if (!problem.empty()) {
    return Outcome::Fail(problem + " (while processing)");
  }
  if (!tally.Finite()) {
    return Outcome::Fail("while the editor opened and closed: " + tally.NonFiniteText());
  }
  return Outcome::Pass("opened and closed twice, and twice more while processing " +
                       std::to_string(tally.samples / std::max(1, plugin.NumOutputs())) +
                       " frames");
}

}  // namespace velmora::validate
