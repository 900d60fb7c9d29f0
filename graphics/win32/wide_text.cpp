#include "graphics/win32/wide_text.h"

#include <windows.h>

#include <new>

namespace velmora {

WideText::WideText(const char* utf8, int length) {
  if (utf8 == nullptr || length == 0 || (length < 0 && *utf8 == '\0')) {
    return;
  }
  const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8, length, nullptr, 0);
  if (needed <= 0) {
    return;
  }
  // With length -1 the count includes the terminating zero.
  const int characters = length < 0 ? needed - 1 : needed;
  wchar_t* out = inline_;
  if (characters > kMostInlineLength) {
    heap_.reset(new (std::nothrow) wchar_t[static_cast<size_t>(needed) + 1]);
    if (!heap_) {
      return;
    }
    out = heap_.get();
  }
  if (MultiByteToWideChar(CP_UTF8, 0, utf8, length, out, needed) != needed) {
    heap_.reset();
    return;
  }
  out[characters] = L'\0';
  data_ = out;
  length_ = characters;
}

}  // namespace velmora
