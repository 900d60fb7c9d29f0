#include "editor/text_controls.h"

#include "editor/editor_graphics.h"

namespace velmora {

ITextControl::ITextControl(IEffectBase* owner, const Rect& rect, const TextStyle& style,
                           const char* text)
    : IControl(owner, rect), style_(style), text_(text != nullptr ? text : "") {}

bool ITextControl::Paint(IEditorGraphics& graphics) {
  if (!text_.empty()) {
    graphics.DrawStyledText(style_, text_.c_str(), DrawRect());
  }
  return true;
}

void ITextControl::SetText(const char* text) {
  const char* newText = text != nullptr ? text : "";
  if (text_ == newText) {
    return;
  }
  MarkDirty(false);
  text_ = newText;
}

IEditableTextControl::IEditableTextControl(IEffectBase* owner, const Rect& rect,
                                           const TextStyle& style, const char* text,
                                           const Color& background, bool editable, bool masked)
    : ITextControl(owner, rect, style, text),
      background_(background),
      editable_(editable),
      masked_(masked) {}

bool IEditableTextControl::Paint(IEditorGraphics& graphics) {
  if (background_.alpha != 0) {
    graphics.FillRectangle(background_, DrawRect(), &ControlBlend());
  }
  if (Text().empty()) {
    return true;
  }
  if (masked_) {
    const size_t length = Text().size() < kMaxMaskLength ? Text().size() : kMaxMaskLength;
    const std::string mask(length, '*');
    graphics.DrawStyledText(Style(), mask.c_str(), DrawRect());
  } else {
    graphics.DrawStyledText(Style(), Text().c_str(), DrawRect());
  }
  return true;
}

void IEditableTextControl::HandleMouseDown(int, int, const MouseModifiers&) {
  if (PromptDisabled() || Graphics() == nullptr) {
    return;
  }
  Graphics()->PromptTextEntry(this);
  SetRedrawPending();
}

}  // namespace velmora
