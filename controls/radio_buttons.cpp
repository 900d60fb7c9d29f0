#include "controls/radio_buttons.h"

#include <cmath>

#include "editor/editor_graphics.h"

namespace velmora {

IRadioButtons::IRadioButtons(IEffectBase* owner, int paramIndex, int left, int top,
                             const BitmapRef& image, bool sharedPicture, bool horizontal,
                             int firstSize, int secondSize, int thirdSize)
    : IControl(owner, GroupRect(left, top, image, sharedPicture, horizontal), paramIndex),
      image_(image),
      vertical_(!horizontal) {
  const int explicitSizes[3] = {firstSize, secondSize, thirdSize};
  CutButtons(sharedPicture, explicitSizes);
}

Rect IRadioButtons::GroupRect(int left, int top, const BitmapRef& image, bool sharedPicture,
                              bool horizontal) {
  const int count = image.frames > 0 ? image.frames : 1;
  if (sharedPicture) {
    return Rect{left, top, left + image.width, top + image.height};
  }
  if (horizontal) {
    return Rect{left, top, left + image.width * count, top + image.height};
  }
  return Rect{left, top, left + image.width, top + image.height * count};
}

void IRadioButtons::CutButtons(bool sharedPicture, const int explicitSizes[3]) {
  const int count = image_.frames > 0 ? image_.frames : 1;
  const int extent = vertical_ ? image_.height : image_.width;
  const bool anyExplicit = explicitSizes[0] != 0 || explicitSizes[1] != 0 || explicitSizes[2] != 0;
  const Rect& group = DrawRect();
  buttons_.reserve(static_cast<size_t>(count));
  int start = vertical_ ? group.top : group.left;
  int size = extent / count;
  for (int i = 0; i < count; ++i) {
    if (!sharedPicture) {
      size = extent;
    } else if (i == count - 1) {
      size = anyExplicit ? extent - explicitSizes[0] - explicitSizes[1] - explicitSizes[2]
                         : extent / count;
    } else if (i < 3) {
      size = explicitSizes[i] != 0 ? explicitSizes[i] : extent / count;
    }
    if (vertical_) {
      buttons_.push_back(Rect{group.left, start, group.right, start + size});
    } else {
      buttons_.push_back(Rect{start, group.top, start + size, group.bottom});
    }
    start += size;
  }
}

void IRadioButtons::HandleMouseDown(int x, int y, const MouseModifiers& modifiers) {
  if (modifiers.right) {
    PromptForValue();
  } else {
    const int count = static_cast<int>(buttons_.size());
    for (int i = 0; i < count; ++i) {
      const Rect& button = buttons_[static_cast<size_t>(i)];
      if (x >= button.left && x <= button.right && y >= button.top && y <= button.bottom) {
        SetValue(count > 1 ? static_cast<double>(i) / (count - 1) : 0.0);
        break;
      }
    }
  }
  MarkDirty(true);
}

int IRadioButtons::SelectedButton() const {
  const int count = static_cast<int>(buttons_.size());
  const double scaled = (count - 1) * Value();
  const int selected = static_cast<int>(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5) + 1;
  return selected < 1 ? 1 : (selected > count ? count : selected);
}

bool IRadioButtons::Paint(IEditorGraphics& graphics) {
  if (buttons_.empty()) {
    return true;
  }
  const Rect& button = buttons_[static_cast<size_t>(SelectedButton() - 1)];
  const Rect& group = DrawRect();
  const int sourceX = vertical_ ? 0 : button.left - group.left;
  const int sourceY = vertical_ ? button.top - group.top : 0;
  graphics.DrawBitmapAt(image_, button, sourceX, sourceY, &ControlBlend());
  return true;
}

}  // namespace velmora
