// A Velmora instance created through its entry point with a recording host, and the
// headless editor it built, for driving scripted editor sessions.
#pragma once

#include <vector>

#include "editor/headless/headless_editor_window.h"
#include "editor/icontrol.h"
#include "tests/frame/fake_host.h"

namespace velmora::testing {

class EditorSession {
 public:
  EditorSession();

  HeadlessEditorWindow& Editor() { return *editor_; }
  VSTCLASS& Plugin() { return instance_.plugin(); }
  FakeHost& Host() { return instance_.host(); }
  vst::AEffect* Effect() { return instance_.effect(); }
  intptr_t Dispatch(int32_t opcode) { return instance_.Dispatch(opcode); }

  // The first control bound to the parameter.
  IControl& ControlFor(int param);
  int IndexOf(const IControl& control);

  // Opens the window and lets the first tick paint everything.
  void OpenAndPaint();
  // A press, a drag in equal steps of (stepX, stepY) and, when asked, the release.
  void Drag(int x, int y, int stepX, int stepY, int steps, const MouseModifiers& modifiers,
            bool release = true);

  // The host calls since the last ClearCalls.
  const std::vector<HostCall>& Calls() { return Host().calls; }
  void ClearCalls() { Host().calls.clear(); }

 private:
  PluginInstance instance_;
  HeadlessEditorWindow* editor_ = nullptr;
};

MouseModifiers LeftButton();
MouseModifiers RightButton();

}  // namespace velmora::testing
