#include "editor/x11/x11_screen_scale.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace velmora {
namespace {

constexpr double kBaseDpi = 96.0;

// A positive finite number that makes up the whole text (surrounding blanks aside); 0
// otherwise.
double WholeNumber(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (end == begin) {
    return 0.0;
  }
  while (*end == ' ' || *end == '\t') {
    ++end;
  }
  return *end == '\0' && std::isfinite(value) && value > 0.0 ? value : 0.0;
}

}  // namespace

double XftDpiOf(const std::string& resources) {
  // One "name:\tvalue" per line; the last Xft.dpi line wins, as in the resource database.
  double dpi = 0.0;
  size_t start = 0;
  while (start < resources.size()) {
    size_t end = resources.find('\n', start);
    if (end == std::string::npos) {
      end = resources.size();
    }
    const std::string line = resources.substr(start, end - start);
    start = end + 1;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
      continue;
    }
    std::string name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
      name.pop_back();
    }
    if (name != "Xft.dpi" && name != "*.dpi" && name != "*dpi") {
      continue;
    }
    size_t value = colon + 1;
    while (value < line.size() && (line[value] == ' ' || line[value] == '\t')) {
      ++value;
    }
    dpi = WholeNumber(line.substr(value));
  }
  return dpi;
}

double ReadScreenScale(Display* display) {
  const char* resources = display != nullptr ? XResourceManagerString(display) : nullptr;
  const double dpi = resources != nullptr ? XftDpiOf(resources) : 0.0;
  if (dpi > 0.0) {
    return dpi / kBaseDpi;
  }
  const char* gdkScale = std::getenv("GDK_SCALE");
  if (gdkScale != nullptr) {
    const double factor = WholeNumber(gdkScale);
    if (factor >= 1.0 && factor == std::floor(factor)) {
      return factor;
    }
  }
  return 0.0;
}

}  // namespace velmora
