// Creates the editor's graphics object with the window layer of the platform the module is
// built for. Each platform supplies this in its own source file, chosen by the build.
#pragma once

#include <memory>

#include "editor/editor_window.h"

namespace velmora {

class IEffectBase;

std::unique_ptr<IEditorWindow> CreateEditorWindow(IEffectBase* owner, int width, int height,
                                                  int frameRate);

}  // namespace velmora
