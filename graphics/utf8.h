#pragma once

#include <cstdint>

namespace velmora {

// The code point U+FFFD stands in for every malformed sequence.
constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Decodes the UTF-8 code point at text and advances text past it. Malformed, overlong or
// truncated sequences yield U+FFFD and consume one byte, so decoding always moves on.
// Must not be called at the terminating zero.
uint32_t NextCodePoint(const char*& text);

// True when the zero-terminated text holds at least one UTF-8 multi-byte sequence (a lead
// byte 0xC2..0xF4 followed by a continuation byte), i.e. it is not plain 8-bit text.
bool HasMultiByteSequence(const char* text);

}  // namespace velmora
