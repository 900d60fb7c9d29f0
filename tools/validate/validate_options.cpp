#include "tools/validate/validate_options.h"

#include <cstdlib>

namespace velmora::validate {

const char* const kValidateUsage =
    "usage: velmora-validate [options] PLUGIN\n"
    "Checks a VST 2 plug-in as a demanding host would; one PASS, FAIL or SKIP line per check,\n"
    "exit status 1 when any check fails.\n"
    "  --strictness LEVEL    1|basic, 2|normal (default) or 3|strict\n"
    "  --only NAME[,NAME]    run only these checks (--list shows them)\n"
    "  --seed N              seed of the random settings (default 1)\n"
    "  --time-limit SECONDS  give up on a plug-in that takes longer (default 120)\n"
    "  --list                name every check\n"
    "  --help                this text\n";

namespace {

using OptionsResult = host::Result<ValidateOptions>;

bool ParseStrictness(const std::string& text, Strictness& strictness) {
  if (text == "1" || text == "basic") {
    strictness = Strictness::kBasic;
  } else if (text == "2" || text == "normal") {
    strictness = Strictness::kNormal;
  } else if (text == "3" || text == "strict") {
    strictness = Strictness::kStrict;
  } else {
    return false;
  }
  return true;
}

bool ParseWhole(const std::string& text, double low, double high, double& number) {
  char* end = nullptr;
  number = std::strtod(text.c_str(), &end);
  return !text.empty() && end != nullptr && *end == '\0' && number >= low && number <= high;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t comma = text.find(',');; comma = text.find(',', start)) {
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) {
      return parts;
    }
    start = comma + 1;
  }
}

// Applies one option that takes a value; an empty string means it was fine.
std::string ApplyValue(ValidateOptions& o, const std::string& name, const std::string& value) {
  double number = 0.0;
  if (name == "--strictness") {
    return ParseStrictness(value, o.strictness)
               ? ""
               : "--strictness expects 1, 2, 3, basic, normal or strict, got \"" + value + "\"";
  }
  if (name == "--only") {
    for (const std::string& check : SplitCommas(value)) {
      o.only.push_back(check);
    }
    return "";
  }
  if (name == "--seed") {
    if (!ParseWhole(value, 0.0, 4294967295.0, number)) {
      return "--seed expects a whole number, got \"" + value + "\"";
    }
    o.seed = static_cast<uint32_t>(number);
    return "";
  }
  if (!ParseWhole(value, 1.0, 3600.0, o.timeLimitSeconds)) {
    return "--time-limit expects seconds from 1 to 3600, got \"" + value + "\"";
  }
  return "";
}

bool TakesValue(const std::string& name) {
  return name == "--strictness" || name == "--only" || name == "--seed" || name == "--time-limit";
}

}  // namespace

OptionsResult ParseValidateOptions(const std::vector<std::string>& arguments) {
  ValidateOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    size_t equals = argument.find('=');
    std::string name = argument.substr(0, equals);
    if (TakesValue(name)) {
      std::string value;
      if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return OptionsResult::Failure(name + " needs a value");
      }
      std::string error = ApplyValue(options, name, value);
      if (!error.empty()) {
        return OptionsResult::Failure(error);
      }
    } else if (argument == "--list") {
      options.listChecks = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      return OptionsResult::Failure("unknown option " + argument + " (--help lists them)");
    } else if (!options.pluginPath.empty()) {
      return OptionsResult::Failure("one plug-in at a time, got \"" + options.pluginPath +
                                    "\" and \"" + argument + "\"");
    } else {
      options.pluginPath = argument;
    }
  }
  if (options.pluginPath.empty() && !options.help && !options.listChecks) {
    return OptionsResult::Failure("no plug-in given (--help shows the usage)");
  }
  return OptionsResult::Success(options);
}

}  // namespace velmora::validate
