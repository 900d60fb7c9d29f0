#include "frame/text_field.h"

#include <cstring>

namespace velmora {

size_t BoundedLength(const char* text, size_t maxLength) {
  if (text == nullptr) {
    return 0;
  }
  size_t length = 0;
  while (length < maxLength && text[length] != '\0') {
    ++length;
  }
  return length;
}

void CopyBoundedText(char* destination, size_t size, const char* source, size_t sourceSize) {
  if (destination == nullptr || size == 0) {
    return;
  }
  const size_t limit = size - 1 < sourceSize ? size - 1 : sourceSize;
  const size_t length = BoundedLength(source, limit);
  if (length > 0) {
    std::memmove(destination, source, length);
  }
  destination[length] = '\0';
}

void CopyText(char* destination, size_t size, const char* source) {
  CopyBoundedText(destination, size, source, size);
}

}  // namespace velmora
