// The headless window for builds without a window layer of their own (Linux until the X11
// layer exists) and for programs that paint the editor off screen: the editor is fully
// built and paints into its own image, but shows nothing on a screen.
#include "editor/editor_window_factory.h"
#include "editor/headless/headless_editor_window.h"

namespace velmora {

std::unique_ptr<IEditorWindow> CreateEditorWindow(IEffectBase* owner, int width, int height,
                                                  int frameRate) {
  return std::make_unique<HeadlessEditorWindow>(owner, width, height, frameRate);
}

}  // namespace velmora
