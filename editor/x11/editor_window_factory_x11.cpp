// The plug-in module's editor: the X11 window. Linked into the module only; everything
// else that builds the plug-in in-process (tests, tools) gets the headless window instead.
#include "editor/editor_window_factory.h"
#include "editor/x11/x11_editor_window.h"

namespace velmora {

std::unique_ptr<IEditorWindow> CreateEditorWindow(IEffectBase* owner, int width, int height,
                                                  int frameRate) {
  return std::make_unique<X11EditorWindow>(owner, width, height, frameRate);
}

}  // namespace velmora
