// A caption bound to a parameter. Clicking it opens the value entry; while the entry is
// open the caption shows a second text (here the unit) right-aligned instead of its name.
#pragma once

#include <string>

#include "editor/icontrol.h"
#include "graphics/text_style.h"

namespace velmora {

class ILabelPrm : public IControl {
 public:
  static constexpr size_t kMaxTextLength = 249;

  ILabelPrm(IEffectBase* owner, int paramIndex, const Rect& rect, const TextStyle& style,
            const char* mainText, const char* alternateText);

  // A click opens the entry and shows the alternate text; a second click while it shows
  // goes back to the main text. The unchanged value is pushed either way.
  void HandleMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  bool Paint(IEditorGraphics& graphics) override;

  bool ShowingAlternate() const { return showingAlternate_; }

 private:
  TextStyle style_;
  TextStyle savedStyle_;
  std::string mainText_;
  std::string alternateText_;
  bool showingAlternate_ = false;
};

}  // namespace velmora
