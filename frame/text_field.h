// Fixed-size, zero-terminated text fields as the host interface uses them. Copies never
// write past the destination and always terminate it; sources are read only up to the
// given bound, so an unterminated host buffer is never read beyond its end.
#pragma once

#include <cstddef>

namespace velmora {

// Copies at most size - 1 characters of source (stopping at its terminator) and terminates.
// A null source gives the empty text; a null or zero-sized destination is left alone.
void CopyText(char* destination, size_t size, const char* source);

// Like CopyText, but reads no more than sourceSize bytes of source.
void CopyBoundedText(char* destination, size_t size, const char* source, size_t sourceSize);

// Length of the text, counting at most maxLength characters.
size_t BoundedLength(const char* text, size_t maxLength);

}  // namespace velmora
