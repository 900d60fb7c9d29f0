#include "controls/label_control.h"

#include "editor/editor_graphics.h"

namespace velmora {
namespace {

std::string Bounded(const char* text) {
  std::string copy = text != nullptr ? text : "";
  if (copy.size() > ILabelPrm::kMaxTextLength) {
    copy.resize(ILabelPrm::kMaxTextLength);
  }
  return copy;
}

}  // namespace

ILabelPrm::ILabelPrm(IEffectBase* owner, int paramIndex, const Rect& rect, const TextStyle& style,
                     const char* mainText, const char* alternateText)
    : IControl(owner, rect, paramIndex),
      style_(style),
      savedStyle_(style),
      mainText_(Bounded(mainText)),
      alternateText_(Bounded(alternateText)) {}

void ILabelPrm::HandleMouseDown(int, int, const MouseModifiers& modifiers) {
  if ((modifiers.left || modifiers.right) && !showingAlternate_) {
    PromptForValue();
    SetEntryPending(true);
    showingAlternate_ = true;
  } else {
    showingAlternate_ = false;
  }
  MarkDirty(true);
}

bool ILabelPrm::Paint(IEditorGraphics& graphics) {
  if (showingAlternate_ && !EntryPending()) {
    // The entry has been answered or dismissed since the click.
    showingAlternate_ = false;
  }
  const Rect& rect = DrawRect();
  const double offset = (rect.bottom - rect.top - style_.size) * 0.5;
  const int top = rect.top + static_cast<int>(offset < 0.0 ? offset - 0.5 : offset + 0.5);
  const Rect textRect{rect.left, top, rect.right, rect.bottom};
  if (showingAlternate_) {
    style_.alignment = TextStyle::kAlignRight;
    graphics.DrawStyledText(style_, alternateText_.c_str(), textRect);
  } else {
    style_.alignment = savedStyle_.alignment;
    graphics.DrawStyledText(style_, mainText_.c_str(), textRect);
  }
  return true;
}

}  // namespace velmora
