// Identity, counts, flags and the texts of every parameter at 0, 0.5 and 1.
#include <string>

#include "tools/validate/plugin_instance.h"
#include "tools/validate/text_limits.h"

namespace velmora::validate {
namespace {

constexpr int32_t kMostChannels = 64;
constexpr int32_t kMostParams = 100000;

std::string CheckRecord(const vst::AEffect& e) {
  if (e.numInputs > kMostChannels || e.numOutputs > kMostChannels || e.numOutputs < 1) {
    return "implausible channel counts " + std::to_string(e.numInputs) + " in / " +
           std::to_string(e.numOutputs) + " out";
  }
  if (e.numParams > kMostParams || e.numPrograms > kMostParams) {
    return "implausible counts: " + std::to_string(e.numParams) + " parameters, " +
           std::to_string(e.numPrograms) + " programs";
  }
  if ((e.flags & vst::effFlagsCanReplacing) == 0 || e.processReplacing == nullptr) {
    return "no processReplacing (flag or callback missing)";
  }
  if ((e.flags & vst::effFlagsCanDoubleReplacing) != 0 && e.processDoubleReplacing == nullptr) {
    return "double processing is flagged but has no callback";
  }
  if (e.setParameter == nullptr || e.getParameter == nullptr) {
    return "no parameter callbacks";
  }
  return "";
}

// A one-line complaint when text is longer than limit; empty when it fits.
std::string TooLong(const std::string& what, const std::string& text, size_t limit) {
  if (text.size() <= limit) {
    return "";
  }
  return what + " \"" + text + "\" is " + std::to_string(text.size()) +
         " characters (VST 2 limit " + std::to_string(limit) + ")";
}

std::string CheckIdentity(host::PluginHost& plugin, Strictness strictness) {
  if (strictness == Strictness::kBasic) {
    return "";
  }
  if (plugin.Effect()->uniqueID == 0) {
    return "the unique ID is 0";
  }
  std::string problem = TooLong("effect name", plugin.EffectName(), kLongestEffectName);
  if (problem.empty()) {
    problem = TooLong("vendor", plugin.VendorString(), kLongestVendorText);
  }
  if (problem.empty()) {
    problem = TooLong("product", plugin.ProductString(), kLongestVendorText);
  }
  return problem;
}

struct TextSurvey {
  std::string problem;
  int overShortLimit = 0;  // parameter texts over the 8-character convention
};

void SurveyParameter(host::PluginHost& plugin, int32_t index, Strictness strictness,
                     TextSurvey& survey) {
  const std::string prefix = "parameter " + std::to_string(index);
  std::string name = plugin.ParamName(index);
  std::string label = plugin.ParamLabel(index);
  const float original = plugin.GetParameter(index);
  std::string texts[3];
  const float values[3] = {0.0f, 0.5f, 1.0f};
  for (int v = 0; v < 3; ++v) {
    plugin.SetParameter(index, values[v]);
    texts[v] = plugin.ParamDisplay(index);
  }
  plugin.SetParameter(index, original);
  if (strictness == Strictness::kBasic) {
    return;
  }
  if (name.empty()) {
    survey.problem = prefix + " has no name";
    return;
  }
  std::string problem = TooLong(prefix + " name", name, kLongestParamText);
  if (problem.empty()) {
    problem = TooLong(prefix + " label", label,
                      strictness == Strictness::kStrict ? kShortParamText : kLongestParamText);
  }
  for (int v = 0; v < 3 && problem.empty(); ++v) {
    problem = TooLong(prefix + " display", texts[v], kLongestParamText);
    survey.overShortLimit += texts[v].size() > kShortParamText;
  }
  survey.overShortLimit += name.size() > kShortParamText;
  if (survey.problem.empty()) {
    survey.problem = problem;
  }
}

}  // namespace

Outcome CheckInfo(const CheckContext& context) {
  auto loaded = LoadInstance(context, 44100.0, 512);
  if (!loaded) {
    return Outcome::Fail(loaded.Error());
  }
  host::PluginHost& plugin = *loaded.Value();
  const vst::AEffect& e = *plugin.Effect();
  std::string problem = CheckRecord(e);
  if (problem.empty()) {
    problem = CheckIdentity(plugin, context.strictness);
  }
  TextSurvey survey;
  for (int32_t i = 0; i < e.numParams && problem.empty(); ++i) {
    SurveyParameter(plugin, i, context.strictness, survey);
    problem = survey.problem;
  }
  if (!problem.empty()) {
    return Outcome::Fail(problem);
  }
  std::string summary = "\"" + plugin.EffectName() + "\", " + std::to_string(e.numParams) +
                        " parameters, " + std::to_string(e.numPrograms) + " programs, " +
                        std::to_string(e.numInputs) + " in / " + std::to_string(e.numOutputs) +
                        " out";
  if (survey.overShortLimit > 0) {
    summary += "; " + std::to_string(survey.overShortLimit) +
               " parameter names and texts exceed the 8-character short limit";
  }
  return Outcome::Pass(summary);
}

}  // namespace velmora::validate
