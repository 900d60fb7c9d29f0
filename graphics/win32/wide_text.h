#pragma once

#include <cstddef>
#include <memory>

namespace velmora {

// UTF-8 text converted to UTF-16 for the wide-character Windows text calls. Texts of up to
// 999 UTF-16 characters use the inline buffer; longer ones one heap buffer.
class WideText {
 public:
  static constexpr int kInlineCharacters = 1024;
  static constexpr int kMostInlineLength = 999;

  // Converts length bytes of UTF-8 (-1: up to the terminating zero, which is not part of
  // the result). Malformed bytes become U+FFFD. An empty or unconvertible text gives an
  // empty result.
  explicit WideText(const char* utf8, int length = -1);
  WideText(const WideText&) = delete;
  WideText& operator=(const WideText&) = delete;

  const wchar_t* Data() const { return data_; }
  int Length() const { return length_; }
  bool OnHeap() const { return heap_ != nullptr; }

 private:
  wchar_t inline_[kInlineCharacters] = {};
  std::unique_ptr<wchar_t[]> heap_;
  const wchar_t* data_ = inline_;
  int length_ = 0;
};

}  // namespace velmora
