// The effect's editor: every control with its position, picture, text style and parameter,
// built once when the plug-in is constructed and attached to it.
#pragma once

namespace velmora {

class IEffectBase;
class IBypass;
class GRAPH;

// The controls the engine drives; owned by the editor, which the plug-in owns.
struct EditorDisplays {
  IBypass* lamp = nullptr;
  GRAPH* leftStrip = nullptr;
  GRAPH* rightStrip = nullptr;
};

constexpr int kEditorWidth = 499;
constexpr int kEditorHeight = 486;

// Builds the editor for the plug-in (whose parameters must already be declared) and
// attaches it, which shows every parameter's value on its controls.
EditorDisplays BuildVelmoraEditor(IEffectBase& plugin);

}  // namespace velmora
