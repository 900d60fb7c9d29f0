// A group of buttons of which one is selected: value i / (N - 1) selects button i. Only the
// selected button is drawn, cut from a picture of all buttons in their selected look; the
// background shows the others.
#pragma once

#include <vector>

#include "editor/icontrol.h"
#include "graphics/bitmap_ref.h"

namespace velmora {

class IRadioButtons : public IControl {
 public:
  // The picture's frame count is the number of buttons. With a shared picture the buttons
  // are cut from it along the axis (explicit sizes for the first three, 0 = automatic);
  // otherwise each button is a whole picture and they follow each other.
  IRadioButtons(IEffectBase* owner, int paramIndex, int left, int top, const BitmapRef& image,
                bool sharedPicture, bool horizontal, int firstSize = 0, int secondSize = 0,
                int thirdSize = 0);

  // Left: selects the button under the point. Right: value entry. Pushes either way.
  void HandleMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  bool Paint(IEditorGraphics& graphics) override;

  // 1-based index of the button the value selects.
  int SelectedButton() const;
  const std::vector<Rect>& Buttons() const { return buttons_; }

 private:
  static Rect GroupRect(int left, int top, const BitmapRef& image, bool sharedPicture,
                        bool horizontal);
  void CutButtons(bool sharedPicture, const int explicitSizes[3]);

  std::vector<Rect> buttons_;
  BitmapRef image_;
  bool vertical_;
};

}  // namespace velmora
