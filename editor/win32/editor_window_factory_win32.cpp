// The Windows plug-in shows its editor in a real child window of the host's window.
#include "editor/editor_window_factory.h"
#include "editor/win32/win32_editor_window.h"

namespace velmora {

std::unique_ptr<IEditorWindow> CreateEditorWindow(IEffectBase* owner, int width, int height,
                                                  int frameRate) {
  return std::make_unique<Win32EditorWindow>(owner, width, height, frameRate);
}

}  // namespace velmora
