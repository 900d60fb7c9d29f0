#include "editor/headless/headless_editor_window.h"

#include "editor/icontrol.h"
#include "editor/text_controls.h"
#include "graphics/blit_image.h"

namespace velmora {

// The plug-in deletes its editor while its host binding is still whole, so closing the
// window here can still end a pending wheel gesture.
HeadlessEditorWindow::~HeadlessEditorWindow() {
  CloseEditorWindow();
}

bool HeadlessEditorWindow::OpenEditorWindow(intptr_t parentHandle) {
  // Opened again without a close: the old window goes (ending a pending wheel gesture) and
  // the new one keeps its size and what it showed.
  const bool reopened = windowOpen_;
  CloseEditorWindow();
  parent_ = parentHandle;
  if (!reopened && !ClearWindowImage()) {
    return false;
  }
  windowOpen_ = true;
  invalid_ = Rect{};
  MarkAllDirty();
  return true;
}

bool HeadlessEditorWindow::ClearWindowImage() {
  if (!window_.Resize(DeviceWidth(), DeviceHeight())) {
    return false;
  }
  for (int y = 0; y < window_.Height(); ++y) {
    for (int x = 0; x < window_.Width(); ++x) {
      window_.SetPixel(x, y, 0xFF000000u);
    }
  }
  return true;
}

// The "window" takes the new size at once, as a host that grants every resize would make it.
void HeadlessEditorWindow::ScaleChanged() {
  ApplyScale();
  if (windowOpen_ && (window_.Width() != DeviceWidth() || window_.Height() != DeviceHeight())) {
    ClearWindowImage();
    invalid_ = Rect{};
  }
}

void HeadlessEditorWindow::CloseEditorWindow() {
  if (!windowOpen_) {
    return;
  }
  FlushPendingGesture();
  windowOpen_ = false;
  captured_ = false;
  if (entryOpen_) {
    entryOpen_ = false;
    ForgetEntry();
  }
}

void HeadlessEditorWindow::BlitToWindow(const Rect& area) {
  const EditorSurface* surface = Surface();
  if (!windowOpen_ || surface == nullptr) {
    return;
  }
  blitted_.push_back(area);
  const Rect device = ToDevice(area);
  BlitImage(window_, *surface, device.left, device.top, device.left, device.top, device.Width(),
            device.Height(), PixelBlend{PixelMode::kCopy, 1.0f});
}

void HeadlessEditorWindow::InvalidateArea(const Rect& area) {
  if (windowOpen_) {
    invalid_ = UniteRects(invalid_, area);
  }
}

void HeadlessEditorWindow::PaintInvalidArea() {
  if (!invalid_.IsEmpty()) {
    const Rect area = invalid_;
    invalid_ = Rect{};
    PaintDirtyArea(area);
  }
}

void HeadlessEditorWindow::PromptParamEntry(IControl* control, IEffectParam* param) {
  if (control == nullptr || param == nullptr || entryOpen_) {
    return;
  }
  entryRequests_.push_back(MakeParamEntry(control, param));
  entryText_ = entryRequests_.back().text;
  entryOpen_ = true;
  BeginEntry(control, param);
}

void HeadlessEditorWindow::PromptTextEntry(IControl* control) {
  if (control == nullptr || entryOpen_) {
    return;
  }
  EntryRequest request;
  request.kind = EntryRequest::kTextBox;
  request.control = control;
  request.area = control->DrawRect();
  if (auto* text = dynamic_cast<ITextControl*>(control)) {
    request.text = text->Text();
  }
  entryText_ = request.text;
  entryRequests_.push_back(request);
  entryOpen_ = true;
  BeginEntry(control, nullptr);
}

bool HeadlessEditorWindow::ShowEntryList(const EntryRequest& request) {
  if (entryOpen_ || !windowOpen_) {
    return false;
  }
  entryRequests_.push_back(request);
  entryText_ = request.text;
  entryOpen_ = true;
  return true;
}

void HeadlessEditorWindow::DestroyEntryPopup() {
  entryOpen_ = false;
}

bool HeadlessEditorWindow::OpenWebAddress(const char* address, const char* caption, const char*,
                                          const char*) {
  webRequests_.push_back(
      WebRequest{address != nullptr ? address : "", caption != nullptr ? caption : ""});
  return webOpens_;
}

}  // namespace velmora
