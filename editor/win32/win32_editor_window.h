// The editor's window on Windows: a child window of class "VelmoraEditorClass" inside the
// host's window, its refresh timer (id 2), the window procedure that turns mouse, wheel
// and key messages into the editor's routing, the copy from the surface's DIB section with
// BitBlt, the EDIT and COMBOBOX entry pop-ups and the web link through the shell.
//
// Threads: everything runs on the thread that opened the window, except what IEditorWindow
// documents otherwise. The window class is shared by every instance in the module and is
// registered while any of their windows is open.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "editor/editor_window.h"

namespace velmora {

class Win32EditorWindow : public IEditorWindow {
 public:
  static constexpr const char* kClassName = "VelmoraEditorClass";
  static constexpr const char* kTitle = "Velmora";
  static constexpr UINT_PTR kTimerId = 2;
  static constexpr int kPopupId = 99;

  using IEditorWindow::IEditorWindow;
  // The plug-in deletes its editor while its host binding is still whole, so closing the
  // window here can still end a pending wheel gesture.
  ~Win32EditorWindow() override;

  // Creates the child window inside parentHandle (an HWND); reopening without a close
  // keeps the old window's place and size. False when Windows makes no window.
  bool OpenEditorWindow(intptr_t parentHandle) override;
  void CloseEditorWindow() override;
  intptr_t WindowHandle() const override { return reinterpret_cast<intptr_t>(window_); }
  intptr_t EditorWheel(float delta) override;

  void BlitToWindow(const Rect& area) override;
  void PromptTextEntry(IControl* control) override;
  void PromptParamEntry(IControl* control, IEffectParam* param) override;
  bool OpenWebAddress(const char* address, const char* caption, const char* confirmText,
                      const char* failureText) override;

  HWND EntryPopup() const { return popup_; }

 protected:
  std::unique_ptr<PixelMemory> MakeSurfaceMemory() override;

  void InvalidateArea(const Rect& area) override;
  void KeepEntryPopupArea() override;
  void PaintInvalidArea() override;
  bool HasEntryPopup() const override { return popup_ != nullptr; }
  std::string ReadEntryText() override;
  void DestroyEntryPopup() override;
  void CaptureMouse(bool capture) override;
  bool HasMouseCapture() const override;
  bool ShowEntryList(const EntryRequest& request) override;
  void ScaleChanged() override;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EntryProcedure(HWND popup, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEntryMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnPaint();
  void OnWheel(WPARAM wParam, LPARAM lParam);
  void OnKeyDown(WPARAM key);
  // Gives a freshly made pop-up the focus, the entry procedure and its font.
  void AttachPopup(HWND popup, HFONT font, IControl* control, IEffectParam* param);
  // A COMBOBOX list of the request's entries over its area, at the editor's scale.
  HWND CreateList(const EntryRequest& request);
  // The 14-pixel Arial of value entries, at the editor's scale.
  HFONT CreateValueFont() const;
  // Puts the pop-up's own procedure back so that it sees its own destruction.
  void RestorePopupProcedure();
  // Destroys the pop-up and gives the focus back to the window that had it before, unless
  // the user has moved it elsewhere meanwhile.
  void DestroyPopupWindow();

  HWND window_ = nullptr;
  HWND parent_ = nullptr;
  HWND popup_ = nullptr;
  WNDPROC previousPopupProcedure_ = nullptr;
  HFONT popupFont_ = nullptr;
  HWND focusBefore_ = nullptr;  // who had the keyboard focus when the pop-up opened
};

}  // namespace velmora
