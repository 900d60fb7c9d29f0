// State: random settings saved from one instance (as chunks when the plug-in has them, as
// parameter values otherwise) and restored on a fresh instance read back the same.
#include <string>
#include <vector>

#include "tools/validate/plugin_instance.h"

namespace velmora::validate {
namespace {

constexpr int kRounds = 3;

struct SavedState {
  std::vector<float> params;
  std::vector<uint8_t> bank;
  std::vector<uint8_t> program;
};

SavedState Save(const host::PluginHost& plugin, bool chunks) {
  SavedState state;
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    state.params.push_back(plugin.GetParameter(i));
  }
  if (chunks) {
    state.bank = plugin.GetChunk(false);
    state.program = plugin.GetChunk(true);
  }
  return state;
}

std::string CompareParams(const std::vector<float>& expected, const host::PluginHost& plugin) {
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    float got = plugin.GetParameter(i);
    if (!(got == expected[static_cast<size_t>(i)])) {
      return "parameter " + std::to_string(i) + " reads " + std::to_string(got) + " instead of " +
             std::to_string(expected[static_cast<size_t>(i)]);
    }
  }
  return "";
}

std::string CompareChunk(const std::vector<uint8_t>& expected, const std::vector<uint8_t>& got,
                         const char* which) {
  if (got.size() != expected.size()) {
    return std::string(which) + " chunk is " + std::to_string(got.size()) + " bytes, was " +
           std::to_string(expected.size());
  }
  for (size_t i = 0; i < got.size(); ++i) {
    if (got[i] != expected[i]) {
      return std::string(which) + " chunk differs at byte " + std::to_string(i);
    }
  }
  return "";
}

// Restores one saved chunk (bank or program) on a fresh instance and compares.
std::string RestoreChunk(const CheckContext& context, const SavedState& saved, bool program) {
  const std::vector<uint8_t>& chunk = program ? saved.program : saved.bank;
  const char* which = program ? "program" : "bank";
  if (chunk.empty()) {
    return "";
  }
  auto fresh = LoadInstance(context, 44100.0, 512);
  if (!fresh) {
    return fresh.Error();
  }
  host::PluginHost& plugin = *fresh.Value();
  if (!plugin.SetChunk(chunk, program)) {
    return std::string("a fresh instance refused the saved ") + which + " chunk";
  }
  // Some plug-ins apply loaded state at their next block, as a host would soon send one.
  host::AudioBuffers<float> in(plugin.NumInputs(), 512), out(plugin.NumOutputs(), 512);
  plugin.ProcessReplacing(in.Pointers(), out.Pointers(), 512);
  std::string problem = CompareChunk(chunk, plugin.GetChunk(program), which);
  if (!problem.empty() || context.strictness == Strictness::kBasic) {
    return problem;
  }
  // A plug-in may keep a raw value (0.42 on a switch) that its chunk stores as what it
  // means (off); basic strictness accepts that, the others want the values back as set.
  problem = CompareParams(saved.params, plugin);
  return problem.empty() ? "" : std::string("after the ") + which + " chunk: " + problem;
}

std::string RestoreParams(const CheckContext& context, const SavedState& saved) {
  auto fresh = LoadInstance(context, 44100.0, 512);
  if (!fresh) {
    return fresh.Error();
  }
  host::PluginHost& plugin = *fresh.Value();
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    plugin.SetParameter(i, saved.params[static_cast<size_t>(i)]);
  }
  std::string problem = CompareParams(saved.params, plugin);
  return problem.empty() ? "" : "after setting every parameter: " + problem;
}

std::string OneRound(const CheckContext& context, std::mt19937& random, bool& usedChunks) {
  auto source = LoadInstance(context, 44100.0, 512);
  if (!source) {
    return source.Error();
  }
  host::PluginHost& plugin = *source.Value();
  if (plugin.NumPrograms() > 1) {
    plugin.SetProgram(std::uniform_int_distribution<int32_t>(0, plugin.NumPrograms() - 1)(random));
  }
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    plugin.SetParameter(i, RandomUnit(random));
  }
  const bool chunks = (plugin.Effect()->flags & vst::effFlagsProgramChunks) != 0;
  SavedState saved = Save(plugin, chunks);
  usedChunks = chunks;
  if (chunks && saved.bank.empty() && saved.program.empty()) {
    return "the plug-in flags chunks but gives none";
  }
  std::string problem = RestoreParams(context, saved);
  if (problem.empty() && chunks) {
    problem = RestoreChunk(context, saved, false);
  }
  if (problem.empty() && chunks) {
    problem = RestoreChunk(context, saved, true);
  }
  return problem;
}

}  // namespace

Outcome CheckState(const CheckContext& context) {
  std::mt19937 random = RandomFor(context, "state");
  bool usedChunks = false;
  for (int round = 0; round < kRounds; ++round) {
    std::string problem = OneRound(context, random, usedChunks);
    if (!problem.empty()) {
      return Outcome::Fail(problem);
    }
  }
  return Outcome::Pass(
      std::to_string(kRounds) + " random settings restored on fresh instances" +
      (usedChunks ? " from parameters, bank and program chunks" : " from parameters (no chunks)"));
}

}  // namespace velmora::validate
