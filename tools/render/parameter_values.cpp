#include "tools/render/parameter_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

namespace velmora::render {
namespace {

// Grid of the first scan; fine enough to meet every value of enumerations with hundreds of
// entries, coarse enough to stay quick.
constexpr int kScanSteps = 400;
constexpr int kBisectionSteps = 40;
constexpr size_t kShortTextLength = 7;

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  return begin == std::string::npos ? "" : text.substr(begin, end - begin + 1);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool SameText(const std::string& a, const std::string& b) {
  return Lower(Trim(a)) == Lower(Trim(b));
}

// Whether shown is wanted cut to the short-text limit of 7 characters and a terminator.
bool IsCutTextOf(const std::string& shown, const std::string& wanted) {
  std::string cut = Lower(Trim(shown));
  return cut.size() == kShortTextLength && Lower(Trim(wanted)).compare(0, cut.size(), cut) == 0;
}

// The user may write the unit the plug-in shows beside the value: "250 Hz", "50%".
std::string WithoutLabel(const std::string& value, const std::string& label) {
  std::string trimmedLabel = Trim(label);
  std::string trimmed = Trim(value);
  if (trimmedLabel.empty() || trimmed.size() <= trimmedLabel.size()) {
    return trimmed;
  }
  std::string tail = trimmed.substr(trimmed.size() - trimmedLabel.size());
  return SameText(tail, trimmedLabel)
             ? Trim(trimmed.substr(0, trimmed.size() - trimmedLabel.size()))
             : trimmed;
}

class DisplayProbe {
 public:
  DisplayProbe(host::PluginHost& host, int32_t index) : host_(host), index_(index) {}

  std::string TextAt(float normalised) {
    host_.SetParameter(index_, normalised);
    return Trim(host_.ParamDisplay(index_));
  }

  bool NumberAt(float normalised, double& number) {
    return ParseNumber(TextAt(normalised), number);
  }

 private:
  host::PluginHost& host_;
  int32_t index_;
};

// Between inside (whose display matches) and outside (whose does not), the last value that
// still matches.
float MatchEdge(DisplayProbe& probe, float inside, float outside,
                const std::function<bool(const std::string&)>& matches) {
  for (int step = 0; step < kBisectionSteps && inside != outside; ++step) {
    float middle = 0.5f * (inside + outside);
    if (middle == inside || middle == outside) {
      break;
    }
    (matches(probe.TextAt(middle)) ? inside : outside) = middle;
  }
  return inside;
}

// The middle of the run of values around x (whose display matches) that all display the
// same: robust against hosts and plug-ins that round the value on the way.
float MiddleOfMatch(DisplayProbe& probe, float x, const std::vector<float>& grid,
                    const std::function<bool(const std::string&)>& matches) {
  float lowEdge = 0.0f;
  float inside = x;
  for (size_t j = grid.size(); j-- > 0;) {
    if (grid[j] >= inside) {
      continue;
    }
    if (!matches(probe.TextAt(grid[j]))) {
      lowEdge = MatchEdge(probe, inside, grid[j], matches);
      break;
    }
    inside = grid[j];
  }
  float highEdge = 1.0f;
  inside = x;
  for (size_t j = 0; j < grid.size(); ++j) {
    if (grid[j] <= inside) {
      continue;
    }
    if (!matches(probe.TextAt(grid[j]))) {
      highEdge = MatchEdge(probe, inside, grid[j], matches);
      break;
    }
    inside = grid[j];
  }
  return 0.5f * (lowEdge + highEdge);
}

std::string ChoicesText(const std::vector<std::string>& texts) {
  std::vector<std::string> distinct;
  for (const std::string& text : texts) {
    if (distinct.empty() || distinct.back() != text) {
      distinct.push_back(text);
    }
  }
  std::string list;
  for (size_t i = 0; i < distinct.size() && i < 40; ++i) {
    list += (i == 0 ? "" : ", ") + distinct[i];
  }
  return distinct.size() > 40 ? list + ", ..." : list;
}

host::Result<float> FindNumber(DisplayProbe& probe, const std::vector<float>& grid,
                               const std::vector<std::string>& texts, double target,
                               const std::string& name) {
  std::vector<double> numbers(grid.size(), NAN);
  double lowest = INFINITY, highest = -INFINITY;
  std::string lowestText, highestText;
  for (size_t i = 0; i < grid.size(); ++i) {
    if (!ParseNumber(texts[i], numbers[i])) {
      continue;
    }
    if (numbers[i] < lowest) {
      lowest = numbers[i];
      lowestText = texts[i];
    }
    if (numbers[i] > highest) {
      highest = numbers[i];
      highestText = texts[i];
    }
  }
  if (!(lowest <= highest)) {
    return host::Result<float>::Failure(name + " takes one of: " + ChoicesText(texts));
  }
  if (target < lowest || target > highest) {
    return host::Result<float>::Failure(name + " value out of range (" + lowestText + " .. " +
                                        highestText + ")");
  }
  for (size_t i = 0; i + 1 < grid.size(); ++i) {
    double a = numbers[i], b = numbers[i + 1];
    if (std::isnan(a) || std::isnan(b) || target < std::min(a, b) || target > std::max(a, b)) {
      continue;
    }
    // Bisect for the display closest to the target, keeping target between the two ends.
    float lo = grid[i], hi = grid[i + 1];
    float best = std::fabs(a - target) <= std::fabs(b - target) ? lo : hi;
    double bestDistance = std::min(std::fabs(a - target), std::fabs(b - target));
    for (int step = 0; step < kBisectionSteps && bestDistance > 0.0; ++step) {
      float middle = 0.5f * (lo + hi);
      double value = 0.0;
      if (middle == lo || middle == hi || !probe.NumberAt(middle, value)) {
        break;
      }
      if (std::fabs(value - target) < bestDistance) {
        best = middle;
        bestDistance = std::fabs(value - target);
      }
      ((value - target) * (a - target) > 0.0 ? lo : hi) = middle;
    }
    std::string bestText = probe.TextAt(best);
    auto matches = [&bestText](const std::string& text) { return text == bestText; };
    return host::Result<float>::Success(MiddleOfMatch(probe, best, grid, matches));
  }
  return host::Result<float>::Failure(name + " never shows " + std::to_string(target));
}

}  // namespace

bool ParseNumber(const std::string& text, double& number) {
  std::string trimmed = Trim(text);
  if (trimmed.empty()) {
    return false;
  }
  // from_chars ignores the process locale: the decimal point is '.' whatever the user's
  // environment (or a library that called setlocale) says.
  const char* begin = trimmed.c_str();
  const char* end = begin + trimmed.size();
  if (*begin == '+') {
    ++begin;
  }
  auto [stop, error] = std::from_chars(begin, end, number, std::chars_format::fixed);
  return error == std::errc() && stop == end && std::isfinite(number);
}

host::Result<int32_t> FindParameter(const host::PluginHost& host, const std::string& nameOrIndex) {
  for (int32_t i = 0; i < host.NumParams(); ++i) {
    if (SameText(host.ParamName(i), nameOrIndex)) {
      return host::Result<int32_t>::Success(i);
    }
  }
  double index = 0.0;
  if (ParseNumber(nameOrIndex, index) && index >= 0 && index < host.NumParams() &&
      index == std::floor(index)) {
    return host::Result<int32_t>::Success(static_cast<int32_t>(index));
  }
  return host::Result<int32_t>::Failure("unknown parameter \"" + nameOrIndex +
                                        "\" (--list-params shows them)");
}

host::Result<float> NormalisedForDisplay(host::PluginHost& host, int32_t index,
                                         const std::string& value) {
  const std::string name = host.ParamName(index);
  const float previous = host.GetParameter(index);
  const std::string wanted = WithoutLabel(value, host.ParamLabel(index));
  DisplayProbe probe(host, index);

  std::vector<float> grid(kScanSteps + 1);
  std::vector<std::string> texts(grid.size());
  for (size_t i = 0; i < grid.size(); ++i) {
    grid[i] = static_cast<float>(i) / kScanSteps;
    texts[i] = probe.TextAt(grid[i]);
  }

  std::function<bool(const std::string&)> matchesWanted = [&wanted](const std::string& text) {
    return SameText(text, wanted);
  };
  auto exact = std::find_if(texts.begin(), texts.end(), matchesWanted);
  if (exact == texts.end()) {
    // Many plug-ins cut their display texts to the 8 bytes VST 2 once allowed ("Distanc").
    matchesWanted = [&wanted](const std::string& text) { return IsCutTextOf(text, wanted); };
    exact = std::find_if(texts.begin(), texts.end(), matchesWanted);
  }
  host::Result<float> result = host::Result<float>::Failure("");
  double number = 0.0;
  if (exact != texts.end()) {
    size_t slot = static_cast<size_t>(exact - texts.begin());
    result = host::Result<float>::Success(MiddleOfMatch(probe, grid[slot], grid, matchesWanted));
  } else if (ParseNumber(wanted, number)) {
    result = FindNumber(probe, grid, texts, number, name);
  } else {
    result = host::Result<float>::Failure("\"" + value + "\" is not a value of " + name +
                                          "; it takes one of: " + ChoicesText(texts));
  }
  host.SetParameter(index, result.Ok() ? result.Value() : previous);
  return result;
}

host::Status ApplySetting(host::PluginHost& host, const std::string& setting) {
  size_t equals = setting.find('=');
  if (equals == std::string::npos || equals == 0) {
    return host::Status::Failure("--set expects NAME=VALUE, got \"" + setting + "\"");
  }
  auto index = FindParameter(host, Trim(setting.substr(0, equals)));
  if (!index) {
    return host::Status::Failure(index.Error());
  }
  auto normalised = NormalisedForDisplay(host, index.Value(), setting.substr(equals + 1));
  return normalised ? host::Status() : host::Status::Failure(normalised.Error());
}

}  // namespace velmora::render
