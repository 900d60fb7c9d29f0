// The headless window for programs that build the plug-in in-process (the Linux tests and
// tools, and Windows programs that paint the editor off screen): the editor is fully built
// and paints into its own image, but shows nothing on a screen. The plug-in modules link
// their platform's factory instead (x11/, win32/).
#include "editor/editor_window_factory.h"
#include "editor/headless/headless_editor_window.h"

namespace velmora {

std::unique_ptr<IEditorWindow> CreateEditorWindow(IEffectBase* owner, int width, int height,
                                                  int frameRate) {
  return std::make_unique<HeadlessEditorWindow>(owner, width, height, frameRate);
}

}  // namespace velmora
