// The default window layer: the editor is fully built and paints into its own image, but
// shows nothing on a screen. Tests and tools that build the plug-in in-process get it; a
// module that links a platform layer's factory (the Linux module: X11) gets that one.
#include "editor/editor_window_factory.h"
#include "editor/headless/headless_editor_window.h"

namespace velmora {

std::unique_ptr<IEditorWindow> CreateEditorWindow(IEffectBase* owner, int width, int height,
                                                  int frameRate) {
  return std::make_unique<HeadlessEditorWindow>(owner, width, height, frameRate);
}

}  // namespace velmora
