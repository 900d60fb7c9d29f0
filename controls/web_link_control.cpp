#include "controls/web_link_control.h"

#include "editor/editor_graphics.h"

namespace velmora {
namespace {

std::string Bounded(const char* text, size_t limit) {
  std::string copy = text != nullptr ? text : "";
  if (copy.size() > limit) {
    copy.resize(limit);
  }
  return copy;
}

}  // namespace

IWebLinkControl::IWebLinkControl(IEffectBase* owner, const Rect& rect, const char* address,
                                 const char* fallbackAddress, const char* caption)
    : IControl(owner, rect),
      address_(Bounded(address, kMaxAddressLength)),
      fallbackAddress_(Bounded(fallbackAddress, kMaxAddressLength)),
      caption_(Bounded(caption, kMaxCaptionLength)) {}

bool IWebLinkControl::Paint(IEditorGraphics&) {
  return true;
}

void IWebLinkControl::HandleMouseDown(int, int, const MouseModifiers&) {
  IEditorGraphics* graphics = Graphics();
  if (graphics == nullptr) {
    return;
  }
  bool opened = false;
  if (!address_.empty()) {
    opened = graphics->OpenWebAddress(address_.c_str(), caption_.c_str(), nullptr, nullptr);
  }
  if (!opened && !fallbackAddress_.empty()) {
    graphics->OpenWebAddress(fallbackAddress_.c_str(), caption_.c_str(), nullptr, nullptr);
  }
}

}  // namespace velmora
