// Programs: every one selected and read back, selections in random order give the same
// parameters again, and a program's edits and name can be put back as they were.
#include <string>
#include <vector>

#include "tools/validate/plugin_instance.h"
#include "tools/validate/text_limits.h"

namespace velmora::validate {
namespace {

// Plug-ins with large banks get a sample of their programs, so the run stays short.
constexpr int32_t kMostProgramsVisited = 256;

std::vector<float> ReadParams(const host::PluginHost& plugin) {
  std::vector<float> values;
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    values.push_back(plugin.GetParameter(i));
  }
  return values;
}

// The first parameter whose value differs, as a one-line reason; empty when all agree.
std::string Difference(const std::vector<float>& expected, const std::vector<float>& got) {
  for (size_t i = 0; i < expected.size(); ++i) {
    if (!(expected[i] == got[i])) {
      return "parameter " + std::to_string(i) + " reads " + std::to_string(got[i]) +
             " instead of " + std::to_string(expected[i]);
    }
  }
  return "";
}

std::string VisitEach(host::PluginHost& plugin, int32_t count, Strictness strictness,
                      std::vector<std::vector<float>>& values) {
  for (int32_t p = 0; p < count; ++p) {
    plugin.SetProgram(p);
    const std::string prefix = "program " + std::to_string(p);
    if (plugin.CurrentProgram() != p) {
      return prefix + " selected, but the plug-in reports " +
             std::to_string(plugin.CurrentProgram());
    }
    std::string name = plugin.ProgramName();
    std::string indexed = plugin.ProgramNameIndexed(p);
    if (!indexed.empty() && indexed != name) {
      return prefix + " is \"" + name + "\" when selected but \"" + indexed + "\" by index";
    }
    if (strictness != Strictness::kBasic && name.size() > kLongestProgramName) {
      return prefix + " name \"" + name + "\" is longer than " +
             std::to_string(kLongestProgramName) + " characters";
    }
    values.push_back(ReadParams(plugin));
  }
  return "";
}

std::string RevisitRandomly(host::PluginHost& plugin, int32_t count,
                            const std::vector<std::vector<float>>& values, std::mt19937& random) {
  for (int32_t visit = 0; visit < 2 * count; ++visit) {
    int32_t p = std::uniform_int_distribution<int32_t>(0, count - 1)(random);
    plugin.SetProgram(p);
    std::string difference = Difference(values[static_cast<size_t>(p)], ReadParams(plugin));
    if (!difference.empty()) {
      return "program " + std::to_string(p) + " selected again: " + difference;
    }
  }
  return "";
}

// Random edits and a new name on one program, then the original values and name put back.
std::string EditAndRestore(host::PluginHost& plugin, int32_t count,
                           const std::vector<std::vector<float>>& values, std::mt19937& random) {
  int32_t p = std::uniform_int_distribution<int32_t>(0, count - 1)(random);
  plugin.SetProgram(p);
  const std::string originalName = plugin.ProgramName();
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    plugin.SetParameter(i, RandomUnit(random));
  }
  plugin.SetProgramName("Validator Edit");
  plugin.SetProgram((p + 1) % count);
  plugin.SetProgram(p);
  plugin.SetProgramName(originalName);
  const std::vector<float>& original = values[static_cast<size_t>(p)];
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    plugin.SetParameter(i, original[static_cast<size_t>(i)]);
  }
  std::string difference = Difference(original, ReadParams(plugin));
  if (!difference.empty()) {
    return "program " + std::to_string(p) + " after restoring its values: " + difference;
  }
  if (plugin.ProgramName() != originalName) {
    return "program " + std::to_string(p) + " renamed back to \"" + originalName + "\" reads \"" +
           plugin.ProgramName() + "\"";
  }
  return "";
}

}  // namespace

Outcome CheckPrograms(const CheckContext& context) {
  auto loaded = LoadInstance(context, 44100.0, 512);
  if (!loaded) {
    return Outcome::Fail(loaded.Error());
  }
  host::PluginHost& plugin = *loaded.Value();
  const int32_t count = std::min(plugin.NumPrograms(), kMostProgramsVisited);
  if (count == 0) {
    return Outcome::Pass("no programs");
  }
  std::mt19937 random = RandomFor(context, "programs");
  std::vector<std::vector<float>> values;
  std::string problem = VisitEach(plugin, count, context.strictness, values);
  if (problem.empty()) {
    problem = RevisitRandomly(plugin, count, values, random);
  }
  if (problem.empty()) {
    problem = EditAndRestore(plugin, count, values, random);
  }
  if (!problem.empty()) {
    return Outcome::Fail(problem);
  }
  return Outcome::Pass(std::to_string(count) + " programs selected, revisited and restored");
}

}  // namespace velmora::validate
