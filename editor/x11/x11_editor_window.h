// The editor window on X11: a child of the host's window on a display connection of its
// own, with one thread of its own that reads the connection's events, runs the refresh tick
// (every 1000 / frame rate milliseconds, 41 ms at 24) and paints. The thread works the same
// whether or not the host ever calls effEditIdle, and the host's threads never use the
// connection while it runs:
// - OpenEditorWindow (host thread) builds the window, then starts the thread;
// - CloseEditorWindow (host thread) stops and joins the thread before it frees anything, and
//   lets go of the plug-in's instance lock while it waits, because the thread may be waiting
//   for that lock (to report a gesture or read a value) and must be able to finish;
// - EditorWheel (host thread) only queues the turn for the thread;
// - ShowParamValue (host thread) only raises flags, as everywhere.
// - a new scale (the host's request) is queued for the thread, which resizes the window.
// Controls are touched by this thread alone. The editor threads of all instances take turns
// (one process-wide lock around each round of work), as they would on one GUI thread: the
// fonts' glyph caches are shared between instances and are not locked themselves.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "editor/editor_window.h"
#include "editor/x11/x11_entry_popup.h"
#include "editor/x11/x11_screen_image.h"

namespace velmora {

class X11EditorWindow : public IEditorWindow {
 public:
  // The double-click interval and the distance two presses may lie apart, as a desktop
  // sets them by default.
  static constexpr unsigned long kDoubleClickMs = 500;
  static constexpr int kDoubleClickDistance = 2;

  using IEditorWindow::IEditorWindow;
  ~X11EditorWindow() override;

  // parentHandle is the host's X11 window id. False when the display cannot be opened, the
  // parent does not exist or the window cannot be made; nothing is left behind then.
  bool OpenEditorWindow(intptr_t parentHandle) override;
  void CloseEditorWindow() override;
  intptr_t WindowHandle() const override { return static_cast<intptr_t>(window_); }
  intptr_t EditorWheel(float delta) override;

  void BlitToWindow(const Rect& area) override;
  void PromptTextEntry(IControl* control) override;
  void PromptParamEntry(IControl* control, IEffectParam* param) override;
  // Confirmation and failure texts would need a dialog this editor does not have: a
  // request that asks for confirmation is not opened.
  bool OpenWebAddress(const char* address, const char* caption, const char* confirmText,
                      const char* failureText) override;

  // How the surface reaches the screen while the window is open.
  X11ScreenImage::Transfer Transfer() const { return screen_.Kind(); }

 protected:
  void ScaleChanged() override;
  void InvalidateArea(const Rect& area) override;
  void KeepEntryPopupArea() override;
  void PaintInvalidArea() override;
  bool HasEntryPopup() const override { return popup_ != nullptr; }
  std::string ReadEntryText() override;
  void DestroyEntryPopup() override;
  void CaptureMouse(bool capture) override { captured_ = capture; }
  bool HasMouseCapture() const override { return captured_; }
  bool ShowEntryList(const EntryRequest& request) override;

 private:
  struct PendingWheel {
    int notches = 0;
    bool queued = false;
  };

  bool CreateWindow(Window parent, int x, int y);
  void FreeWindow();
  void StopThread();
  void RunThread();
  void HandleEvents();
  void HandleEvent(XEvent& event);
  void HandlePopupEvent(XEvent& event);
  void OnButtonPress(const XButtonEvent& event);
  void OnButtonRelease(const XButtonEvent& event);
  void OnKeyPress(XKeyEvent& event);
  void TrackPointer(int x, int y, unsigned state);
  bool IsDoubleClick(const XButtonEvent& event);
  void HandleQueuedWheel();
  // The editor thread's part of a new scale: the surface, the window and its screen image
  // take the new size, and everything is painted again.
  void ApplyQueuedScale();
  void InvalidateDeviceArea(const Rect& area);
  void TakeFocus();
  // Gives the keyboard focus back to the window that had it before the pop-up opened, when
  // the pop-up (or the editor it fell back to) still has it; popup is the pop-up's window.
  void ReturnFocus(Window popup);
  void OpenPopup(const EntryRequest& request, const TextStyle& style, bool readOnly, bool masked);

  // Host thread and editor thread: set before the thread starts, read-only while it runs.
  Display* display_ = nullptr;
  Window window_ = 0;
  Visual* visual_ = nullptr;
  Colormap colormap_ = 0;
  GC gc_ = nullptr;
  int wakeFd_ = -1;
  bool takesFocus_ = false;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> scaleQueued_{false};

  // Shared with EditorWheel.
  std::atomic<bool> pointerInside_{false};
  std::atomic<int> pointerX_{0};
  std::atomic<int> pointerY_{0};
  std::atomic<unsigned> pointerState_{0};
  std::mutex wheelMutex_;
  PendingWheel wheel_;

  // Editor thread only while open.
  X11ScreenImage screen_;
  Region invalid_ = nullptr;
  std::unique_ptr<X11EntryPopup> popup_;
  Window focusBefore_ = 0;  // who had the focus when the pop-up opened
  int focusRevertBefore_ = RevertToParent;
  bool focusRecorded_ = false;
  bool captured_ = false;
  bool exposed_ = false;
  Time lastLeftPress_ = 0;
  int lastLeftX_ = 0;
  int lastLeftY_ = 0;
  bool lastLeftCounts_ = false;
};

}  // namespace velmora
