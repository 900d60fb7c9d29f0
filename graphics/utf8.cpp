#include "graphics/utf8.h"

namespace velmora {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

uint32_t NextCodePoint(const char*& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const unsigned char lead = bytes[0];
  int length = 0;
  uint32_t value = 0;
  uint32_t minimum = 0;
  if (lead < 0x80) {
    ++text;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    ++text;
    return kReplacementCharacter;
  }
  for (int i = 1; i < length; ++i) {
    if (!IsContinuation(bytes[i])) {
      ++text;
      return kReplacementCharacter;
    }
    value = value << 6 | (bytes[i] & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++text;
    return kReplacementCharacter;
  }
  text += length;
  return value;
}

bool HasMultiByteSequence(const char* text) {
  for (const auto* bytes = reinterpret_cast<const unsigned char*>(text); *bytes != 0; ++bytes) {
    if (bytes[0] >= 0xC2 && bytes[0] <= 0xF4 && IsContinuation(bytes[1])) {
      return true;
    }
  }
  return false;
}

}  // namespace velmora
