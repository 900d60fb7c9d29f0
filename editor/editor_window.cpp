#include "editor/editor_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "editor/icontrol.h"
#include "editor/text_controls.h"
#include "frame/effect_base.h"
#include "frame/effect_param.h"
#include "graphics/device_scale.h"

namespace velmora {
namespace {

// Key codes of the platform (Windows virtual-key numbering, which the X11 layer maps to).
constexpr int kKeySpace = 0x20;
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;

// Pixel sizes of the value entry: 7 pixels per character plus a margin, 16 high; a list
// is 8 pixels per character of its longest entry and 36 pixels per row of drop-down.
constexpr int kBoxCharWidth = 7;
constexpr int kBoxMargin = 6;
constexpr int kBoxMinWidth = 32;
constexpr int kBoxHeight = 16;
constexpr int kListCharWidth = 8;
constexpr int kListMargin = 24;
constexpr int kListRowHeight = 36;

}  // namespace

void IEditorWindow::SetEndEditCountdown(int ticks) {
  countdown_.store(ticks, std::memory_order_relaxed);
}

void IEditorWindow::ClearEndEditCountdown() {
  countdown_.store(0, std::memory_order_relaxed);
}

void IEditorWindow::TimerTick() {
  if (HasEntryPopup() && entryState_ != kEntryIdle) {
    const EntryState request = entryState_;
    // Taken before anything is applied: a host callback that moves the focus (or runs a
    // tick of its own) while the text is applied finds nothing left to carry out.
    entryState_ = kEntryIdle;
    if (request == kEntryCommit || request == kEntryCancel) {
      CloseEntry(request == kEntryCommit);
    }
    entryState_ = kEntryIdle;
  }
  Rect dirty{};
  if (CollectDirtyArea(&dirty)) {
    RepaintArea(dirty);
  }
  const Rect& always = AlwaysRedrawRect();
  if (always.right - always.left > 0) {
    RepaintArea(always);
  }
  const int countdown = countdown_.load(std::memory_order_relaxed);
  if (countdown != 0) {
    countdown_.store(countdown - 1, std::memory_order_relaxed);
    if (countdown == 1 && Owner() != nullptr) {
      Owner()->FlushPendingParamEdit();
    }
  }
}

void IEditorWindow::RepaintArea(const Rect& area) {
  InvalidateArea(area);
  if (HasEntryPopup()) {
    KeepEntryPopupArea();
  }
  PaintInvalidArea();
}

void IEditorWindow::CloseEntry(bool commit) {
  IControl* control = editedControl_;
  IEffectParam* param = editedParam_;
  if (commit && zoomEntry_) {
    ApplyZoomText(ReadEntryText());
  } else if (commit) {
    const std::string text = ReadEntryText();
    ApplyEnteredText(control, param, text.c_str());
  }
  // Unless a host callback closed the window (and forgot the entry) meanwhile.
  if (control != nullptr && control == editedControl_) {
    control->EntryClosed();
  }
  DestroyEntryPopup();
  ForgetEntry();
}

void IEditorWindow::BeginEntry(IControl* control, IEffectParam* param) {
  editedControl_ = control;
  editedParam_ = param;
}

void IEditorWindow::ForgetEntry() {
  editedControl_ = nullptr;
  editedParam_ = nullptr;
  zoomEntry_ = false;
}

void IEditorWindow::FlushPendingGesture() {
  MouseCaptureLost();
  swallowLeft_ = swallowRight_ = false;
  if (EndEditCountdown() != 0 && Owner() != nullptr) {
    Owner()->FlushPendingParamEdit();
  }
}

bool IEditorWindow::TakePress(HeldButton button) {
  // A new press of a button ends whatever its last press left waiting: a release that
  // never reached this window is not waited for any longer.
  SwallowFlag(button) = false;
  if (held_ == button) {
    MouseCaptureLost();
  }
  if (held_ != HeldButton::kNone) {
    // A second button while one holds a control: routing it would drop the first gesture
    // without its end.
    SwallowFlag(button) = true;
    return false;
  }
  held_ = button;
  return true;
}

bool& IEditorWindow::SwallowFlag(HeldButton button) {
  return button == HeldButton::kLeft ? swallowLeft_ : swallowRight_;
}

void IEditorWindow::LeftButtonDown(int x, int y, const MouseModifiers& modifiers) {
  if (HasEntryPopup()) {
    entryState_ = kEntryCommit;
  }
  if (!TakePress(HeldButton::kLeft)) {
    return;
  }
  CaptureMouse(true);
  MouseDown(x, y, modifiers);
}

void IEditorWindow::RightButtonDown(int x, int y, const MouseModifiers& modifiers) {
  if (HasEntryPopup()) {
    entryState_ = kEntryCancel;
    if (held_ == HeldButton::kRight) {
      MouseCaptureLost();
    }
    SwallowFlag(HeldButton::kRight) = true;
    return;
  }
  if (held_ == HeldButton::kNone && OpenZoomList(x, y)) {
    SwallowFlag(HeldButton::kRight) = true;
    return;
  }
  if (!TakePress(HeldButton::kRight)) {
    return;
  }
  CaptureMouse(true);
  MouseDown(x, y, modifiers);
}

bool IEditorWindow::OpenZoomList(int x, int y) {
  // Index 0 is the background picture; -1 is outside every control.
  if (ControlCount() == 0 || FindControlAt(x, y) > 0) {
    return false;
  }
  IControl* background = Control(0);
  if (!ShowEntryList(MakeZoomEntry(background, x, y, Scale()))) {
    return false;
  }
  BeginEntry(background, nullptr);
  zoomEntry_ = true;
  return true;
}

EntryRequest IEditorWindow::MakeZoomEntry(IControl* background, int x, int y, double scale) {
  EntryRequest request;
  request.kind = EntryRequest::kValueList;
  request.control = background;
  size_t longest = 0;
  for (const int percent : kZoomChoices) {
    char item[16];
    std::snprintf(item, sizeof(item), "Zoom %d%%", percent);
    request.items.emplace_back(item);
    longest = std::max(longest, request.items.back().size());
    if (device_scale::Percent(scale) == percent) {
      request.selected = static_cast<int>(request.items.size()) - 1;
      request.text = item;
    }
  }
  // Sized as a parameter's value list, opened where the click was.
  const int width = kListCharWidth * static_cast<int>(longest) + kListMargin;
  const int height = kListRowHeight * static_cast<int>(request.items.size()) + kListRowHeight;
  request.area = Rect{x, y, x + width, y + height};
  return request;
}

void IEditorWindow::ApplyZoomText(const std::string& text) {
  for (const int percent : kZoomChoices) {
    char item[16];
    std::snprintf(item, sizeof(item), "Zoom %d%%", percent);
    if (text == item) {
      ChooseZoom(percent / 100.0);
      return;
    }
  }
}

void IEditorWindow::ChooseZoom(double scale) {
  const double previous = UserZoom();
  SetUserZoom(scale);
  if (!UpdateScale() || !WindowIsOpen()) {
    return;  // the same size, or nothing on the screen yet
  }
  if (Owner() == nullptr || !Owner()->RequestEditorSize(DeviceWidth(), DeviceHeight())) {
    SetUserZoom(previous);
    UpdateScale();
  }
}

void IEditorWindow::LeftButtonUp(int x, int y, const MouseModifiers& modifiers) {
  ButtonUp(HeldButton::kLeft, x, y, modifiers);
}

void IEditorWindow::RightButtonUp(int x, int y, const MouseModifiers& modifiers) {
  ButtonUp(HeldButton::kRight, x, y, modifiers);
}

void IEditorWindow::ButtonUp(HeldButton button, int x, int y, const MouseModifiers& modifiers) {
  bool& swallowed = SwallowFlag(button);
  if (swallowed) {
    swallowed = false;
    return;
  }
  if (held_ != button) {
    return;  // pressed outside the editor, or on a pop-up
  }
  held_ = HeldButton::kNone;
  CaptureMouse(false);
  MouseUp(x, y, modifiers);
}

void IEditorWindow::LeftDoubleClick(int x, int y, const MouseModifiers& modifiers) {
  if (!TakePress(HeldButton::kLeft)) {
    return;
  }
  if (MouseDoubleClick(x, y, modifiers)) {
    CaptureMouse(true);
  }
}

void IEditorWindow::MouseCaptureLost() {
  if (held_ == HeldButton::kNone) {
    return;
  }
  held_ = HeldButton::kNone;
  MouseUp(LastMouseX(), LastMouseY(), MouseModifiers{});
}

void IEditorWindow::PointerMoved(int x, int y, const MouseModifiers& modifiers) {
  if ((modifiers.left || modifiers.right) && HasMouseCapture()) {
    MouseDrag(x, y, modifiers);
  }
}

void IEditorWindow::WheelTurned(int x, int y, const MouseModifiers& modifiers, int delta) {
  MouseWheel(x, y, modifiers, delta / kWheelDelta);
}

void IEditorWindow::PlatformKeyDown(int x, int y, int platformKey) {
  const int keyCode = MapKeyCode(platformKey);
  if (keyCode >= 0) {
    KeyDown(x, y, keyCode);
  }
}

int IEditorWindow::MapKeyCode(int key) {
  switch (key) {
    case kKeySpace:
      return 0;
    case kKeyUp:
      return 1;
    case kKeyDown:
      return 2;
    case kKeyLeft:
      return 3;
    case kKeyRight:
      return 4;
    default:
      break;
  }
  if (key >= '0' && key <= '9') {
    return key - 43;
  }
  if (key >= 'A' && key <= 'Z') {
    return key - 50;
  }
  if (key >= 'a' && key <= 'z') {
    return key - 82;
  }
  return -1;
}

void IEditorWindow::ApplyEnteredText(IControl* control, IEffectParam* param, const char* text) {
  if (control == nullptr || text == nullptr) {
    return;
  }
  if (param != nullptr) {
    const double value = param->ParseValue(text);
    const int index = control->ParamIndex();
    const bool ownGesture = index >= 0 && Owner() != nullptr && !HeldGestureCovers(index);
    if (ownGesture) {
      Owner()->BeginParamEdit(index);
    }
    control->ApplyUserValue(param->ToNormalised(value));
    if (ownGesture) {
      Owner()->EndParamEdit(index);
    }
    return;
  }
  auto* editable = dynamic_cast<IEditableTextControl*>(control);
  if (editable != nullptr && editable->IsEditable()) {
    editable->SetText(text);
  }
}

bool IEditorWindow::HeldGestureCovers(int paramIndex) const {
  const IControl* held = held_ != HeldButton::kNone ? Control(CapturedControl()) : nullptr;
  return held != nullptr && held->ParamIndex() == paramIndex;
}

EntryRequest IEditorWindow::MakeParamEntry(IControl* control, IEffectParam* param) {
  EntryRequest request;
  request.control = control;
  request.param = param;
  const Rect& rect = control->DrawRect();
  const auto centreX = static_cast<int>(std::trunc((rect.left + rect.right) * 0.5f));
  const auto centreY = static_cast<int>(std::trunc((rect.top + rect.bottom) * 0.5f));
  char text[IEffectParam::kTextSize] = {};
  param->FormatValue(param->Value(), false, text);
  request.text = text;
  const bool listed =
      param->DisplayTextCount() > 0 && (param->ParamType() == IEffectParam::kTypeEnum ||
                                        param->ParamType() == IEffectParam::kTypeBool);
  if (!listed) {
    char widest[IEffectParam::kTextSize] = {};
    param->FormatValue(1.0, true, widest);
    int width = kBoxCharWidth * static_cast<int>(std::strlen(widest)) + kBoxMargin;
    width = width < kBoxMinWidth ? kBoxMinWidth : width;
    request.kind = EntryRequest::kValueBox;
    request.area = Rect{centreX - width / 2, centreY - kBoxHeight / 2, centreX - width / 2 + width,
                        centreY - kBoxHeight / 2 + kBoxHeight};
    return request;
  }
  size_t longest = 0;
  for (int value = static_cast<int>(param->Minimum()); value <= param->Maximum(); ++value) {
    const char* item = param->DisplayTextFor(value);
    if (item == nullptr) {
      continue;
    }
    request.items.emplace_back(item);
    longest = std::strlen(item) > longest ? std::strlen(item) : longest;
    if (request.items.back() == request.text) {
      request.selected = static_cast<int>(request.items.size()) - 1;
    }
  }
  int width = kListCharWidth * static_cast<int>(longest) + kListMargin;
  width = width < kListMargin ? kListMargin : width;
  const int height = kListRowHeight * static_cast<int>(request.items.size()) + kListRowHeight;
  request.kind = EntryRequest::kValueList;
  request.area = Rect{centreX - width / 2, centreY, centreX - width / 2 + width, centreY + height};
  return request;
}

}  // namespace velmora
