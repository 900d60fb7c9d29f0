// The text-entry pop-ups of the Windows editor: an EDIT box or a COMBOBOX list placed over
// the control, subclassed by an entry procedure that only records what the user asked for
// (commit, or back to editing); the editor's timer carries it out at the next tick.
#include <cstring>

#include "editor/entry_box_style.h"
#include "editor/icontrol.h"
#include "editor/text_controls.h"
#include "editor/win32/win32_editor_window.h"

namespace velmora {
namespace {

constexpr int kPopupFontHeight = 14;
constexpr const char* kPopupFontFace = "Arial";
constexpr int kBoldWeight = 700;
constexpr WPARAM kEnterKey = 13;
// The notification a selection in a list sends (LBN_SELCHANGE, CBN_SELCHANGE).
constexpr WORD kSelectionMade = 1;

HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

HWND CreatePopup(HWND parent, const char* windowClass, const char* text, DWORD style,
                 const Rect& area) {
  return CreateWindowExA(0, windowClass, text, style, area.left, area.top, area.Width(),
                         area.Height(), parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(Win32EditorWindow::kPopupId)),
                         InstanceOf(parent), nullptr);
}

DWORD AlignmentStyle(int32_t alignment) {
  switch (EntryBoxAlignment(alignment)) {
    case TextStyle::kAlignLeft:
      return ES_LEFT;
    case TextStyle::kAlignRight:
      return ES_RIGHT;
    default:
      return ES_CENTER;
  }
}

bool IsEditClass(HWND window) {
  char name[5] = {};
  const int length = GetClassNameA(window, name, sizeof(name));
  return length == 4 && _stricmp(name, "EDIT") == 0;
}

}  // namespace

void Win32EditorWindow::PromptParamEntry(IControl* control, IEffectParam* param) {
  if (control == nullptr || param == nullptr || popup_ != nullptr || window_ == nullptr) {
    return;
  }
  const EntryRequest request = MakeParamEntry(control, param);
  HWND popup = nullptr;
  if (request.kind == EntryRequest::kValueList) {
    popup = CreateList(request);
  } else {
    popup = CreatePopup(window_, "EDIT", request.text.c_str(),
                        WS_CHILD | WS_VISIBLE | ES_CENTER | ES_MULTILINE, ToDevice(request.area));
    if (popup != nullptr) {
      SendMessageA(popup, EM_SETSEL, 0, -1);
    }
  }
  if (popup == nullptr) {
    return;
  }
  AttachPopup(popup, CreateValueFont(), control, param);
}

bool Win32EditorWindow::ShowEntryList(const EntryRequest& request) {
  if (popup_ != nullptr || window_ == nullptr) {
    return false;
  }
  HWND popup = CreateList(request);
  if (popup == nullptr) {
    return false;
  }
  AttachPopup(popup, CreateValueFont(), request.control, nullptr);
  return true;
}

HWND Win32EditorWindow::CreateList(const EntryRequest& request) {
  HWND popup = CreatePopup(window_, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                           ToDevice(request.area));
  if (popup == nullptr) {
    return nullptr;
  }
  for (const std::string& item : request.items) {
    SendMessageA(popup, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  if (request.selected >= 0) {
    SendMessageA(popup, CB_SETCURSEL, static_cast<WPARAM>(request.selected), 0);
  }
  return popup;
}

HFONT Win32EditorWindow::CreateValueFont() const {
  return CreateFontA(ToDevice(kPopupFontHeight), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                     kPopupFontFace);
}

void Win32EditorWindow::PromptTextEntry(IControl* control) {
  if (control == nullptr || popup_ != nullptr || window_ == nullptr) {
    return;
  }
  auto* text = dynamic_cast<ITextControl*>(control);
  auto* editable = dynamic_cast<IEditableTextControl*>(control);
  TextStyle style = text != nullptr ? text->Style() : TextStyle{};
  DWORD flags = WS_CHILD | WS_VISIBLE | AlignmentStyle(style.alignment);
  if (editable == nullptr || !editable->IsEditable()) {
    flags |= ES_READONLY;
  }
  flags |= (editable != nullptr && editable->IsMasked()) ? ES_PASSWORD : ES_MULTILINE;
  HWND popup = CreatePopup(window_, "EDIT", text != nullptr ? text->Text().c_str() : "", flags,
                           ToDevice(control->DrawRect()));
  if (popup == nullptr) {
    return;
  }
  SendMessageA(popup, EM_SETSEL, 0, -1);
  HFONT font =
      CreateFontA(ToDevice(style.size), 0, 0, 0, EntryBoxBold(style.style) ? kBoldWeight : 0,
                  EntryBoxItalic(style.style) ? TRUE : FALSE, 0, 0, 0, 0, 0, 0, 0, style.face);
  AttachPopup(popup, font, control, nullptr);
}

void Win32EditorWindow::AttachPopup(HWND popup, HFONT font, IControl* control,
                                    IEffectParam* param) {
  focusBefore_ = GetFocus();
  SetFocus(popup);
  previousPopupProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EntryProcedure)));
  popup_ = popup;
  popupFont_ = font;
  if (font != nullptr) {
    SendMessageA(popup, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  BeginEntry(control, param);
}

void Win32EditorWindow::RestorePopupProcedure() {
  if (popup_ != nullptr && previousPopupProcedure_ != nullptr) {
    SetWindowLongPtrA(popup_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousPopupProcedure_));
  }
  previousPopupProcedure_ = nullptr;
}

void Win32EditorWindow::DestroyEntryPopup() {
  RestorePopupProcedure();
  DestroyPopupWindow();
  // The pop-up no longer uses its font once it is gone.
  if (popupFont_ != nullptr) {
    DeleteObject(popupFont_);
    popupFont_ = nullptr;
  }
}

void Win32EditorWindow::DestroyPopupWindow() {
  HWND popup = popup_;
  popup_ = nullptr;
  if (popup == nullptr) {
    return;
  }
  // A destroyed window that has the focus leaves none behind.
  const HWND focus = GetFocus();
  const bool ours = focus == popup || focus == window_ || IsChild(popup, focus);
  DestroyWindow(popup);
  if (ours && focusBefore_ != nullptr && IsWindow(focusBefore_)) {
    SetFocus(focusBefore_);
  }
  focusBefore_ = nullptr;
}

LRESULT CALLBACK Win32EditorWindow::EntryProcedure(HWND popup, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
  HWND parent = GetParent(popup);
  auto* editor =
      parent != nullptr
          ? reinterpret_cast<Win32EditorWindow*>(GetWindowLongPtrA(parent, GWLP_USERDATA))
          : nullptr;
  if (editor == nullptr || editor->window_ != parent || editor->popup_ != popup) {
    return DefWindowProcA(popup, message, wParam, lParam);
  }
  return editor->HandleEntryMessage(message, wParam, lParam);
}

LRESULT Win32EditorWindow::HandleEntryMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = previousPopupProcedure_;
  switch (message) {
    case WM_SETFOCUS:
      SetEntryState(kEntryEditing);
      break;
    case WM_KILLFOCUS:
      SetEntryState(kEntryIdle);
      break;
    case WM_KEYDOWN:
      if (wParam == kEnterKey) {
        if (IsEditClass(popup_)) {
          SendMessageA(popup_, EM_SETSEL, static_cast<WPARAM>(-1), 0);
        }
        SetEntryState(kEntryCommit);
        return 0;
      }
      SetEntryState(kEntryEditing);
      break;
    case WM_CHAR:
      // The message loop turns the swallowed Enter into a carriage return as well; passed
      // on, it would put a line break into the committed text of a multi-line box.
      if (wParam == kEnterKey) {
        return 0;
      }
      break;
    case WM_GETDLGCODE: {
      LRESULT code = CallWindowProcA(previous, popup_, message, wParam, lParam);
      const auto* asked = reinterpret_cast<const MSG*>(lParam);
      if (EditedParam() == nullptr && asked != nullptr && asked->message == WM_KEYDOWN &&
          asked->wParam == kEnterKey) {
        code |= DLGC_WANTALLKEYS;
      }
      return code;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == kSelectionMade) {
        SetEntryState(kEntryCommit);
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(previous, popup_, message, wParam, lParam);
}

}  // namespace velmora
