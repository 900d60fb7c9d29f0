#include <windows.h>

#include <shellapi.h>

#include "editor/web_address.h"
#include "editor/win32/win32_editor_window.h"

namespace velmora {
namespace {

bool Given(const char* text) {
  return text != nullptr && *text != '\0';
}

}  // namespace

bool Win32EditorWindow::OpenWebAddress(const char* address, const char* caption,
                                       const char* confirmText, const char* failureText) {
  const char* title = caption != nullptr ? caption : "";
  if (Given(confirmText) && MessageBoxA(window_, confirmText, title, MB_YESNO) != IDYES) {
    return false;
  }
  if (IsOpenableWebAddress(address)) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(window_, "open", address, nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) {
      return true;
    }
  }
  if (Given(failureText)) {
    MessageBoxA(window_, failureText, title, MB_OK);
  }
  return false;
}

}  // namespace velmora
