// An invisible area that opens the maker's web pages: the first address, or the second
// when the first is missing or could not be opened.
#pragma once

#include <string>

#include "editor/icontrol.h"

namespace velmora {

class IWebLinkControl : public IControl {
 public:
  static constexpr size_t kMaxAddressLength = 255;
  static constexpr size_t kMaxCaptionLength = 1023;

  IWebLinkControl(IEffectBase* owner, const Rect& rect, const char* address,
                  const char* fallbackAddress, const char* caption);

  bool Paint(IEditorGraphics& graphics) override;
  void HandleMouseDown(int x, int y, const MouseModifiers& modifiers) override;

  const std::string& Address() const { return address_; }
  const std::string& FallbackAddress() const { return fallbackAddress_; }

 private:
  std::string address_;
  std::string fallbackAddress_;
  std::string caption_;
};

}  // namespace velmora
