// A host's side of the Windows editor: a real top-level window, the plug-in's editor
// opened into it through effEditOpen, messages posted to the editor as the system would
// deliver them, and a message loop that counts the editor's timer ticks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/host/plugin_host.h"

namespace velmora::editorcheck {

class EditorHarness {
 public:
  static constexpr UINT_PTR kEditorTimer = 2;

  explicit EditorHarness(host::PluginHost& plugin);
  ~EditorHarness();
  EditorHarness(const EditorHarness&) = delete;
  EditorHarness& operator=(const EditorHarness&) = delete;

  HWND HostWindow() const { return host_; }
  HWND Editor() const { return editor_; }
  host::PluginHost& Plugin() { return plugin_; }

  // effEditOpen with the host window; true when it answered 1 and the editor window exists.
  bool Open();
  void Close();

  // Mouse messages with positions in editor pixels; wheel positions go on the screen.
  void PostMouse(UINT message, int x, int y, WPARAM keys);
  void PostWheel(int x, int y, int delta);
  void PostTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Runs the message loop until `ticks` editor timer ticks have been dispatched or `done`
  // returns true after a message (checked after every dispatch); gives up after
  // timeoutMs. Returns the ticks dispatched.
  int Pump(int ticks, const std::function<bool()>& done = {}, int timeoutMs = 10000);
  // Dispatches what is queued now, timer ticks that are due included.
  void Drain();
  // Called after every dispatched message.
  void Observe(std::function<void(const MSG&)> observer) { observer_ = std::move(observer); }

  // The editor's first child of a class ("Edit", "ComboBox"), or null.
  HWND FindPopup(const char* className) const;

 private:
  bool DispatchOne();

  host::PluginHost& plugin_;
  HWND host_ = nullptr;
  HWND editor_ = nullptr;
  std::function<void(const MSG&)> observer_;
};

// The plug-in's edit notifications (automate 0, begin 43, end 44) recorded since `from`.
std::vector<host::HostCall> EditCalls(const host::PluginHost& plugin, size_t from);
size_t CallCount(const host::PluginHost& plugin);
// "B3 A3=0.520 E3" for a list of edit notifications.
std::string Describe(const std::vector<host::HostCall>& calls);

}  // namespace velmora::editorcheck
