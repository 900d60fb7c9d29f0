// How a binding takes the hosted plug-in's request for a new editor window size (the editor's
// scale changed: the user picked a zoom, or the screen's density differs from 100 % at open)
// to its host. The call may come from the editor's own thread (X11) with the instance lock
// held, so an implementation must neither block for long nor call back into the plug-in.
#pragma once

namespace velmora::binding {

class EditorResizer {
 public:
  virtual ~EditorResizer() = default;
  // Width and height in device pixels; true when the host granted (or will grant) the size.
  virtual bool ResizeEditor(int width, int height) = 0;
};

}  // namespace velmora::binding
