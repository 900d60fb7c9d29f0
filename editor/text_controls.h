// Text shown by the editor: a fixed caption (ITextControl) and a caption the user may
// retype through the text-entry pop-up (IEditableTextControl).
#pragma once

#include <string>

#include "editor/icontrol.h"
#include "graphics/color.h"
#include "graphics/text_style.h"

namespace velmora {

class ITextControl : public IControl {
 public:
  ITextControl(IEffectBase* owner, const Rect& rect, const TextStyle& style, const char* text);

  // Draws the text, when there is any, with the style in the drawing rectangle.
  bool Paint(IEditorGraphics& graphics) override;

  // A different text is stored and repainted; an equal one changes nothing.
  void SetText(const char* text);
  const std::string& Text() const { return text_; }
  TextStyle& Style() { return style_; }

 private:
  TextStyle style_;
  std::string text_;
};

class IEditableTextControl : public ITextControl {
 public:
  static constexpr size_t kMaxMaskLength = 254;

  IEditableTextControl(IEffectBase* owner, const Rect& rect, const TextStyle& style,
                       const char* text, const Color& background, bool editable, bool masked);

  // Background first (when not transparent), then the text or, masked, as many "*".
  bool Paint(IEditorGraphics& graphics) override;
  // Opens the text entry on the control's own text.
  void HandleMouseDown(int x, int y, const MouseModifiers& modifiers) override;

  bool IsEditable() const { return editable_; }
  bool IsMasked() const { return masked_; }

 private:
  Color background_;
  bool editable_;
  bool masked_;
};

}  // namespace velmora
