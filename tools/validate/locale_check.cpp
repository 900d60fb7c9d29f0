// Texts under a comma-decimal locale: a host running in German or French must see the
// same parameter texts, and have the same texts understood, as one running in "C".
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/validate/plugin_instance.h"

namespace velmora::validate {
namespace {

const float kProbeValues[] = {0.0f, 0.1f, 0.25f, 0.5f, 0.75f, 1.0f};

// What the plug-in shows for every parameter at every probe value, then what each of those
// texts reads back as through effString2Parameter.
struct TextRecord {
  std::vector<std::string> texts;
  std::vector<float> parsed;
};

TextRecord Record(host::PluginHost& plugin) {
  TextRecord record;
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    for (float value : kProbeValues) {
      plugin.SetParameter(i, value);
      record.texts.push_back(plugin.ParamDisplay(i));
    }
  }
  size_t at = 0;
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    for (size_t v = 0; v < sizeof(kProbeValues) / sizeof(kProbeValues[0]); ++v) {
      plugin.SetParameter(i, 0.5f);
      plugin.String2Parameter(i, record.texts[at++]);
      record.parsed.push_back(plugin.GetParameter(i));
    }
  }
  return record;
}

// Switches the C library to the first comma-decimal locale this system has.
class CommaLocale {
 public:
  CommaLocale() {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    previous_ = previous != nullptr ? previous : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                             "German_Germany.1252", "de-DE", "German"}) {
      if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',') {
        name_ = name;
        return;
      }
    }
    std::setlocale(LC_ALL, previous_.c_str());
  }
  ~CommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  const std::string& Name() const { return name_; }

 private:
  std::string previous_;
  std::string name_;
};

std::string FirstDifference(const TextRecord& plain, const TextRecord& comma,
                            const std::string& localeName) {
  const size_t perParam = sizeof(kProbeValues) / sizeof(kProbeValues[0]);
  for (size_t at = 0; at < plain.texts.size(); ++at) {
    const std::string where = "parameter " + std::to_string(at / perParam) + " at " +
                              std::to_string(kProbeValues[at % perParam]) + " under " + localeName;
    if (comma.texts[at] != plain.texts[at]) {
      return where + " shows \"" + comma.texts[at] + "\" instead of \"" + plain.texts[at] + "\"";
    }
    if (!(comma.parsed[at] == plain.parsed[at])) {
      return where + ": its text \"" + plain.texts[at] + "\" reads back as " +
             std::to_string(comma.parsed[at]) + " instead of " + std::to_string(plain.parsed[at]);
    }
  }
  return "";
}

}  // namespace

Outcome CheckLocale(const CheckContext& context) {
  auto loaded = LoadInstance(context, 44100.0, 512);
  if (!loaded) {
    return Outcome::Fail(loaded.Error());
  }
  host::PluginHost& plugin = *loaded.Value();
  if (plugin.NumParams() == 0) {
    return Outcome::Pass("no parameters");
  }
  TextRecord plain = Record(plugin);
  TextRecord comma;
  std::string localeName;
  {
    CommaLocale locale;
    if (locale.Name().empty()) {
      return Outcome::Skip(
          "no comma-decimal locale installed (de_DE.UTF-8 or fr_FR.UTF-8; "
          "LOCPATH may point at one built with localedef)");
    }
    localeName = locale.Name();
    comma = Record(plugin);
  }
  std::string problem = FirstDifference(plain, comma, localeName);
  if (!problem.empty()) {
    // Most hosts keep the "C" number format; only the strictest level insists.
    return context.strictness == Strictness::kStrict
               ? Outcome::Fail(problem)
               : Outcome::Pass(problem + " (fails at strict)");
  }
  return Outcome::Pass(std::to_string(plain.texts.size()) + " texts and their read-back " +
                       "unchanged under " + localeName);
}

}  // namespace velmora::validate
