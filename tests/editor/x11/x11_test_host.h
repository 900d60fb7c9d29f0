// A host with a screen for the X11 editor tests: the Linux plug-in module loaded through
// the host library, a plain top-level X11 window as the editor's parent, and pointer and
// key input injected through the XTest extension, as a user's would arrive.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/wait_until.h"
#include "tools/host/plugin_host.h"

// Last: Xlib defines macros (None, Status, Bool) that other headers use as names.
#include <X11/Xlib.h>

namespace velmora::testing {

class X11TestHost {
 public:
  // Where the parent window sits on the screen, with room around the editor for the
  // pointer to leave it.
  static constexpr int kParentLeft = 120;
  static constexpr int kParentTop = 400;

  explicit X11TestHost(const host::HostConfig& config = host::HostConfig());
  ~X11TestHost();
  X11TestHost(const X11TestHost&) = delete;
  X11TestHost& operator=(const X11TestHost&) = delete;

  // Empty when the display, the parent window and the plug-in are ready.
  const std::string& Error() const { return error_; }
  host::PluginHost& Plugin() { return *plugin_; }
  Display* Connection() const { return display_; }
  Window Parent() const { return parent_; }
  // X errors this connection saw.
  static int ErrorCount();

  // effEditOpen with the parent window; true when it answered 1 and the editor window is
  // shown. EditorWindow is then the editor's window.
  bool OpenEditor();
  void CloseEditor();
  // Destroys the parent window (with the editor inside it), as a host may before it
  // closes the editor.
  void DestroyParent();
  // Moves and resizes the parent window (screen pixels).
  void PlaceParent(int x, int y, int width, int height);
  Window EditorWindow() const { return editor_; }
  // The child windows of a window (the editor's pop-up, for the editor window).
  std::vector<Window> Children(Window window) const;
  // A window's rectangle relative to the editor window.
  bool Geometry(Window window, int* x, int* y, int* width, int* height) const;

  // Input at the editor window's pixels (which may lie outside the window).
  void MoveTo(int x, int y);
  void Press(unsigned button);
  void Release(unsigned button);
  void Click(int x, int y, unsigned button);
  void TypeKeys(const std::vector<unsigned long>& keySyms);

  // The editor window's pixels (red, green, blue), row by row; empty on failure.
  std::vector<uint32_t> Grab();

  // Gesture and automation calls since the last ClearCalls, oldest first.
  std::vector<host::HostCall> EditCalls() const;
  size_t CountCalls(int32_t opcode) const;
  void ClearCalls();

 private:
  void Flush();

  std::string error_;
  Display* display_ = nullptr;
  Window parent_ = 0;
  Window editor_ = 0;
  int editorRootX_ = 0;
  int editorRootY_ = 0;
  std::unique_ptr<host::PluginHost> plugin_;
};

}  // namespace velmora::testing
