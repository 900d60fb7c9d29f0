#include "vst3/utf16_text.h"

#include <cstdint>

namespace velmora::vst3 {
namespace {

// Reads one code point from UTF-8; malformed bytes read as themselves (Latin-1), so no
// input can stall the loop.
uint32_t NextCodePoint(const unsigned char*& p) {
  const uint32_t lead = *p++;
  int extra = 0;
  uint32_t point = lead;
  if (lead >= 0xF0 && lead < 0xF8) {
    extra = 3;
    point = lead & 0x07;
  } else if (lead >= 0xE0) {
    extra = 2;
    point = lead & 0x0F;
  } else if (lead >= 0xC0) {
    extra = 1;
    point = lead & 0x1F;
  } else {
    return lead;
  }
  const unsigned char* start = p;
  for (int i = 0; i < extra; ++i) {
    if ((p[i] & 0xC0) != 0x80) {
      p = start;
      return lead;
    }
  }
  for (int i = 0; i < extra; ++i) {
    point = (point << 6) | (*p++ & 0x3F);
  }
  return point;
}

}  // namespace

void CopyToUtf16(const char* text, char16* field, size_t capacity) {
  if (field == nullptr || capacity == 0) {
    return;
  }
  size_t used = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(text != nullptr ? text : "");
  while (*p != 0) {
    const uint32_t point = NextCodePoint(p);
    if (point >= 0x10000) {
      if (used + 2 >= capacity) {
        break;
      }
      const uint32_t v = point - 0x10000;
      field[used++] = static_cast<char16>(0xD800 + (v >> 10));
      field[used++] = static_cast<char16>(0xDC00 + (v & 0x3FF));
    } else {
      if (used + 1 >= capacity) {
        break;
      }
      field[used++] = static_cast<char16>(point);
    }
  }
  field[used] = 0;
}

void CopyToUtf8(const char16* text, size_t capacity, char* out, size_t size) {
  if (out == nullptr || size == 0) {
    return;
  }
  size_t used = 0;
  for (size_t i = 0; text != nullptr && i < capacity && text[i] != 0; ++i) {
    uint32_t point = text[i];
    if (point >= 0xD800 && point < 0xDC00 && i + 1 < capacity && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      point = 0x10000 + ((point - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    char bytes[4];
    int count = 0;
    if (point < 0x80) {
      bytes[count++] = static_cast<char>(point);
    } else if (point < 0x800) {
      bytes[count++] = static_cast<char>(0xC0 | (point >> 6));
      bytes[count++] = static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
      bytes[count++] = static_cast<char>(0xE0 | (point >> 12));
      bytes[count++] = static_cast<char>(0x80 | ((point >> 6) & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | (point & 0x3F));
    } else {
      bytes[count++] = static_cast<char>(0xF0 | (point >> 18));
      bytes[count++] = static_cast<char>(0x80 | ((point >> 12) & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | ((point >> 6) & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | (point & 0x3F));
    }
    if (used + count >= size) {
      break;
    }
    for (int b = 0; b < count; ++b) {
      out[used++] = bytes[b];
    }
  }
  out[used] = '\0';
}

}  // namespace velmora::vst3
