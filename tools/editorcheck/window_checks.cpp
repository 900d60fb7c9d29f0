// The editor window as the host sees it: class, title, styles, size, parent, reopening.
#include <cstring>

#include "tools/editorcheck/checks.h"

namespace velmora::editorcheck {

void CheckWindow(EditorHarness& harness, CheckLog& log) {
  // Without a parent a child window cannot exist: the open fails and leaves no class.
  const intptr_t orphan = harness.Plugin().Dispatch(vst::effEditOpen, 0, 0, nullptr);
  WNDCLASSA unused{};
  log.Expect(orphan == 0 && GetClassInfoA(GetModuleHandleA("velmora.dll"), "VelmoraEditorClass",
                                          &unused) == FALSE,
             "effEditOpen without a parent window answers 0 and registers nothing");
  if (!log.Expect(harness.Open(), "effEditOpen answers 1 and makes a VelmoraEditorClass child")) {
    return;
  }
  HWND editor = harness.Editor();
  char title[32] = {};
  GetWindowTextA(editor, title, sizeof(title));
  const LONG style = GetWindowLongA(editor, GWL_STYLE);
  RECT client{};
  GetClientRect(editor, &client);
  log.Expect(std::strcmp(title, "Velmora") == 0 &&
                 (style & (WS_CHILD | WS_VISIBLE)) == (WS_CHILD | WS_VISIBLE) &&
                 GetParent(editor) == harness.HostWindow() && client.right == 499 &&
                 client.bottom == 486,
             "title \"Velmora\", WS_CHILD | WS_VISIBLE, child of the host window, 499 x 486");
  const ULONG_PTR classStyle = GetClassLongPtrA(editor, GCL_STYLE);
  log.Expect(classStyle == CS_DBLCLKS && GetClassLongPtrA(editor, GCLP_HBRBACKGROUND) == 0 &&
                 reinterpret_cast<HCURSOR>(GetClassLongPtrA(editor, GCLP_HCURSOR)) ==
                     LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)),
             "the class has CS_DBLCLKS, the arrow cursor and no background brush");
  harness.Pump(2);

  // Opened again without a close: the new window takes the old one's place and size.
  SetWindowPos(editor, nullptr, 7, 9, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  const bool reopened = harness.Open();
  RECT rect{};
  GetWindowRect(harness.Editor(), &rect);
  MapWindowPoints(nullptr, harness.HostWindow(), reinterpret_cast<POINT*>(&rect), 2);
  log.Expect(reopened && !IsWindow(editor) && rect.left == 7 && rect.top == 9 &&
                 rect.right - rect.left == 300 && rect.bottom - rect.top == 200,
             "reopening without a close replaces the window at the old place and size");

  // WM_CLOSE closes the window; the host's later effEditClose finds nothing to do.
  editor = harness.Editor();
  harness.PostTo(editor, WM_CLOSE, 0, 0);
  harness.Drain();
  log.Expect(!IsWindow(editor), "WM_CLOSE destroys the editor window");
  harness.Close();
}

}  // namespace velmora::editorcheck

namespace velmora::editorcheck {
namespace {

bool ClassRegistered() {
  WNDCLASSA found{};
  return GetClassInfoA(GetModuleHandleA("velmora.dll"), "VelmoraEditorClass", &found) != FALSE;
}

LRESULT MouseActivate(EditorHarness& harness) {
  return SendMessageA(harness.Editor(), WM_MOUSEACTIVATE,
                      reinterpret_cast<WPARAM>(harness.HostWindow()),
                      MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
}

}  // namespace

void CheckFocusAndSharedClass(EditorHarness& first, const std::string& dllPath, CheckLog& log) {
  host::HostConfig config;
  config.productString = "Acoustica Mixcraft";
  auto loaded = host::PluginHost::Load(dllPath, config);
  if (!log.Expect(static_cast<bool>(loaded), "a second instance loads for a focus-taking host")) {
    return;
  }
  host::PluginHost& plugin = *loaded.Value();
  plugin.Start();
  {
    EditorHarness second(plugin);
    SetFocus(first.HostWindow());
    const bool firstOpen = first.Open();
    log.Expect(firstOpen && GetFocus() != first.Editor(),
               "an ordinary host's editor leaves the keyboard focus alone");
    SetFocus(first.HostWindow());
    const bool secondOpen = second.Open();
    log.Expect(secondOpen && GetFocus() == second.Editor(),
               "the editor of host kind 25 (\"acoustica\") takes the focus when created");
    SetFocus(second.HostWindow());
    const LRESULT answer = MouseActivate(second);
    log.Expect(answer == MA_ACTIVATE && GetFocus() == second.Editor(),
               "WM_MOUSEACTIVATE gives it the focus again and answers MA_ACTIVATE");
    SetFocus(first.HostWindow());
    log.Expect(MouseActivate(first) == MA_ACTIVATE && GetFocus() != first.Editor(),
               "the ordinary host's editor answers MA_ACTIVATE without taking the focus");
    second.Close();
    log.Expect(ClassRegistered() && first.Pump(2) == 2,
               "closing one of two open editors keeps the class for the other, which still ticks");
  }
  first.Close();
  log.Expect(!ClassRegistered(), "closing the last one unregisters the class");
}

}  // namespace velmora::editorcheck
