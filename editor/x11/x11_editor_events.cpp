// The X11 editor window's events, turned into the editor's button, wheel, key and paint
// requests. While a button is held X sends every pointer event to the window that got the
// press (an implicit grab), which is what capturing the mouse means elsewhere.
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>

#include "editor/x11/x11_editor_window.h"
#include "editor/x11/x11_key_table.h"

namespace velmora {
namespace {

constexpr int kWheelUp = 4;
constexpr int kWheelDown = 5;

// state is the set of buttons and keys held before the event; a press adds its button, a
// release takes it away, so the flags tell what is held after the event.
MouseModifiers ModifiersOf(unsigned state, unsigned pressed, unsigned released) {
  const unsigned left = Button1Mask;
  const unsigned right = Button3Mask;
  MouseModifiers modifiers;
  modifiers.left = ((state & left) != 0 || pressed == Button1) && released != Button1;
  modifiers.right = ((state & right) != 0 || pressed == Button3) && released != Button3;
  modifiers.shift = (state & ShiftMask) != 0;
  modifiers.control = (state & ControlMask) != 0;
  modifiers.alt = (state & Mod1Mask) != 0;
  return modifiers;
}

}  // namespace

void X11EditorWindow::HandleEvent(XEvent& event) {
  if (popup_ != nullptr && event.xany.window == popup_->Handle()) {
    HandlePopupEvent(event);
    return;
  }
  if (event.xany.window != window_) {
    return;
  }
  switch (event.type) {
    case Expose: {
      const XExposeEvent& expose = event.xexpose;
      InvalidateDeviceArea(
          Rect{expose.x, expose.y, expose.x + expose.width, expose.y + expose.height});
      if (!exposed_) {
        exposed_ = true;  // now shown, so the focus can be taken
        if (takesFocus_) {
          TakeFocus();
        }
      }
      break;
    }
    case ButtonPress:
      OnButtonPress(event.xbutton);
      break;
    case ButtonRelease:
      OnButtonRelease(event.xbutton);
      break;
    case MotionNotify:
      TrackPointer(event.xmotion.x, event.xmotion.y, event.xmotion.state);
      PointerMoved(ToEditorPixel(event.xmotion.x), ToEditorPixel(event.xmotion.y),
                   ModifiersOf(event.xmotion.state, 0, 0));
      break;
    case EnterNotify:
    case LeaveNotify:
      TrackPointer(event.xcrossing.x, event.xcrossing.y, event.xcrossing.state);
      pointerInside_ = event.type == EnterNotify;
      break;
    case KeyPress:
      OnKeyPress(event.xkey);
      break;
    default:
      break;
  }
}

void X11EditorWindow::HandlePopupEvent(XEvent& event) {
  switch (popup_->HandleEvent(event)) {
    case X11EntryPopup::Answer::kEditing:
      SetEntryState(kEntryEditing);
      break;
    case X11EntryPopup::Answer::kIdle:
      SetEntryState(kEntryIdle);
      break;
    case X11EntryPopup::Answer::kCommit:
      SetEntryState(kEntryCommit);
      break;
    case X11EntryPopup::Answer::kCancel:
      SetEntryState(kEntryCancel);
      break;
    case X11EntryPopup::Answer::kNone:
      break;
  }
}

void X11EditorWindow::OnButtonPress(const XButtonEvent& event) {
  TrackPointer(event.x, event.y, event.state);
  const MouseModifiers modifiers = ModifiersOf(event.state, event.button, 0);
  const int x = ToEditorPixel(event.x);
  const int y = ToEditorPixel(event.y);
  if (event.button == kWheelUp || event.button == kWheelDown) {
    WheelTurned(x, y, modifiers, event.button == kWheelUp ? kWheelDelta : -kWheelDelta);
    return;
  }
  if (event.button != Button1 && event.button != Button3) {
    return;  // middle button, horizontal wheel
  }
  // Taken on a click unless a pop-up holds it: moving the focus away would dismiss it.
  if (takesFocus_ && popup_ == nullptr) {
    TakeFocus();
  }
  if (event.button == Button3) {
    lastLeftCounts_ = false;
    RightButtonDown(x, y, modifiers);
  } else if (IsDoubleClick(event)) {
    LeftDoubleClick(x, y, modifiers);
  } else {
    LeftButtonDown(x, y, modifiers);
  }
}

// The second of two left presses close in time and place is a double-click; a third
// starts counting afresh.
bool X11EditorWindow::IsDoubleClick(const XButtonEvent& event) {
  const bool isDouble = lastLeftCounts_ && event.time - lastLeftPress_ <= kDoubleClickMs &&
                        std::abs(event.x - lastLeftX_) <= kDoubleClickDistance &&
                        std::abs(event.y - lastLeftY_) <= kDoubleClickDistance;
  lastLeftCounts_ = !isDouble;
  lastLeftPress_ = event.time;
  lastLeftX_ = event.x;
  lastLeftY_ = event.y;
  return isDouble;
}

void X11EditorWindow::OnButtonRelease(const XButtonEvent& event) {
  TrackPointer(event.x, event.y, event.state);
  const MouseModifiers modifiers = ModifiersOf(event.state, 0, event.button);
  const int x = ToEditorPixel(event.x);
  const int y = ToEditorPixel(event.y);
  if (event.button == Button1) {
    LeftButtonUp(x, y, modifiers);
  } else if (event.button == Button3) {
    RightButtonUp(x, y, modifiers);
  }
}

void X11EditorWindow::OnKeyPress(XKeyEvent& event) {
  // The key's own symbol, whatever shift does to it (as the platform key numbers are);
  // the keypad's digits only count with Num Lock on, so there the lookup decides.
  KeySym sym = XLookupKeysym(&event, 0);
  if (IsKeypadKey(sym)) {
    char unused[8];
    XLookupString(&event, unused, sizeof(unused), &sym, nullptr);
  }
  const int key = PlatformKeyForKeySym(sym);
  if (key >= 0) {
    PlatformKeyDown(ToEditorPixel(event.x), ToEditorPixel(event.y), key);
  }
}

// Kept in editor pixels, where the queued wheel turns are routed.
void X11EditorWindow::TrackPointer(int x, int y, unsigned state) {
  pointerX_ = ToEditorPixel(x);
  pointerY_ = ToEditorPixel(y);
  pointerState_ = state;
}

void X11EditorWindow::TakeFocus() {
  XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
}

}  // namespace velmora
