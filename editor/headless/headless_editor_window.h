// An editor window without a screen: the window half for tests, tools and platforms whose
// window layer is not built yet. Whoever drives it delivers the events and the timer ticks
// itself; painted areas are copied into an image of its own ("the window"), and requests
// for text entry and web pages are recorded instead of shown.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/editor_window.h"
#include "graphics/pixel_image.h"

namespace velmora {

class HeadlessEditorWindow : public IEditorWindow {
 public:
  struct WebRequest {
    std::string address;
    std::string caption;
  };

  using IEditorWindow::IEditorWindow;
  ~HeadlessEditorWindow() override;

  // "Opens" a window of the editor's size; the parent is only remembered. Reopening
  // without a close closes the old window first but keeps its picture. Fails only when the
  // window image cannot be allocated.
  bool OpenEditorWindow(intptr_t parentHandle) override;
  void CloseEditorWindow() override;
  intptr_t WindowHandle() const override { return windowOpen_ ? kWindowHandle : 0; }
  intptr_t ParentHandle() const { return parent_; }

  void BlitToWindow(const Rect& area) override;
  void PromptTextEntry(IControl* control) override;
  void PromptParamEntry(IControl* control, IEffectParam* param) override;
  bool OpenWebAddress(const char* address, const char* caption, const char* confirmText,
                      const char* failureText) override;

  // What reached the screen so far, in device pixels; 0 x 0 before the first open.
  const PixelImage& WindowImage() const { return window_; }
  // The area each paint copied, oldest first.
  const std::vector<Rect>& BlittedAreas() const { return blitted_; }
  void ClearBlittedAreas() { blitted_.clear(); }

  // The entry pop-up: what was asked for, and the text the "user" types into it.
  const std::vector<EntryRequest>& EntryRequests() const { return entryRequests_; }
  bool EntryOpen() const { return entryOpen_; }
  void TypeIntoEntry(const std::string& text) { entryText_ = text; }

  const std::vector<WebRequest>& WebRequests() const { return webRequests_; }
  // What OpenWebAddress reports; true unless a test says otherwise.
  void SetWebAddressesOpen(bool open) { webOpens_ = open; }

 protected:
  void ScaleChanged() override;
  void InvalidateArea(const Rect& area) override;
  void KeepEntryPopupArea() override {}
  void PaintInvalidArea() override;
  bool HasEntryPopup() const override { return entryOpen_; }
  std::string ReadEntryText() override { return entryText_; }
  void DestroyEntryPopup() override;
  void CaptureMouse(bool capture) override { captured_ = capture; }
  bool HasMouseCapture() const override { return captured_; }
  bool ShowEntryList(const EntryRequest& request) override;

 private:
  static constexpr intptr_t kWindowHandle = 1;

  // Sizes the window image to the editor's device size, black; false without memory.
  bool ClearWindowImage();

  PixelImage window_;
  bool windowOpen_ = false;
  intptr_t parent_ = 0;
  Rect invalid_{};
  bool captured_ = false;
  std::vector<Rect> blitted_;
  std::vector<EntryRequest> entryRequests_;
  bool entryOpen_ = false;
  std::string entryText_;
  std::vector<WebRequest> webRequests_;
  bool webOpens_ = true;
};

}  // namespace velmora
