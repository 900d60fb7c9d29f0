// Where the hosted plug-in's edit gestures go: the editor begins a gesture on a parameter,
// changes its value any number of times and ends it. A binding implements this to tell its
// host. The calls come from whichever thread the editor runs on (the X11 editor has a thread
// of its own), usually with the instance lock held, so an implementation must neither block
// for long nor call back into the plug-in.
#pragma once

namespace velmora::binding {

class GestureSink {
 public:
  virtual ~GestureSink() = default;
  virtual void GestureBegin(int index) = 0;
  // plain: the parameter's new value in its own units; normalised: the same as 0..1.
  virtual void GestureValue(int index, double plain, double normalised) = 0;
  virtual void GestureEnd(int index) = 0;
};

}  // namespace velmora::binding
