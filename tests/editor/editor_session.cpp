#include "tests/editor/editor_session.h"

#include <stdexcept>

namespace velmora::testing {

EditorSession::EditorSession() {
  editor_ = dynamic_cast<HeadlessEditorWindow*>(instance_.plugin().Editor());
  if (editor_ == nullptr) {
    throw std::runtime_error("the plug-in built no headless editor");
  }
}

IControl& EditorSession::ControlFor(int param) {
  for (int i = 0; i < editor_->ControlCount(); ++i) {
    if (editor_->Control(i)->ParamIndex() == param) {
      return *editor_->Control(i);
    }
  }
  throw std::runtime_error("no control for the parameter");
}

int EditorSession::IndexOf(const IControl& control) {
  for (int i = 0; i < editor_->ControlCount(); ++i) {
    if (editor_->Control(i) == &control) {
      return i;
    }
  }
  return -1;
}

void EditorSession::OpenAndPaint() {
  instance_.Dispatch(vst::effEditOpen);
  editor_->TimerTick();
}

void EditorSession::Drag(int x, int y, int stepX, int stepY, int steps,
                         const MouseModifiers& modifiers, bool release) {
  editor_->MouseDown(x, y, modifiers);
  for (int i = 1; i <= steps; ++i) {
    editor_->MouseDrag(x + i * stepX, y + i * stepY, modifiers);
  }
  if (release) {
    editor_->MouseUp(x + steps * stepX, y + steps * stepY, modifiers);
  }
}

MouseModifiers LeftButton() {
  MouseModifiers modifiers;
  modifiers.left = true;
  return modifiers;
}

MouseModifiers RightButton() {
  MouseModifiers modifiers;
  modifiers.right = true;
  return modifiers;
}

}  // namespace velmora::testing
