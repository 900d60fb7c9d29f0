#include "editor/web_address.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

namespace velmora {
namespace {

bool StartsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != *prefix) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool IsOpenableWebAddress(const char* address) {
  if (address == nullptr) {
    return false;
  }
  size_t schemeLength = 0;
  for (const char* scheme : {"http://", "https://", "mailto:"}) {
    if (StartsWithIgnoringCase(address, scheme)) {
      schemeLength = std::strlen(scheme);
      break;
    }
  }
  if (schemeLength == 0 || address[schemeLength] == '\0') {
    return false;
  }
  for (const char* c = address; *c != '\0'; ++c) {
    if (static_cast<unsigned char>(*c) <= ' ' || *c == 0x7F) {
      return false;
    }
  }
  return true;
}

}  // namespace velmora
