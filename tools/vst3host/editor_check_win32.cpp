#include <windows.h>

#include "tools/vst3host/editor_check.h"

namespace velmora::vst3host {
namespace {

constexpr const char* kHostClass = "VelmoraVst3HostWindow";
constexpr int kFeedbackX = 341;
constexpr int kFeedbackY = 145;
constexpr ParamID kFeedbackId = 3;

void Drain(int milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
    MSG msg{};
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
}

HWND CreateHostWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kHostClass;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, kHostClass, "velmora-vst3host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                         40, 560, 560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// begin, at least one perform, end, all on Feedback and on this thread.
bool IsOneGesture(const std::vector<HandlerCall>& calls) {
  if (calls.size() < 3 || calls.front().kind != HandlerCall::kBegin ||
      calls.back().kind != HandlerCall::kEnd) {
    return false;
  }
  for (size_t i = 0; i < calls.size(); ++i) {
    const bool inner = i > 0 && i + 1 < calls.size();
    if (calls[i].id != kFeedbackId || calls[i].thread != std::this_thread::get_id() ||
        (inner && calls[i].kind != HandlerCall::kPerform)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool CheckEditor(Vst3Plugin& plugin, std::string& detail) {
  IEditController* controller = plugin.Controller();
  IPlugView* view = controller != nullptr ? controller->createView("editor") : nullptr;
  if (view == nullptr) {
    detail = "no editor view";
    return false;
  }
  HWND host = CreateHostWindow();
  bool ok = view->isPlatformTypeSupported("HWND") == kResultTrue &&
            view->attached(host, "HWND") == kResultOk;
  HWND editor = ok ? FindWindowExA(host, nullptr, "VelmoraEditorClass", nullptr) : nullptr;
  RECT client{};
  if (editor != nullptr) {
    GetClientRect(editor, &client);
  }
  ok = ok && editor != nullptr && client.right == 499 && client.bottom == 486;
  Drain(200);
  plugin.Handler().Clear();
  const double before = controller->getParamNormalized(kFeedbackId);
  if (ok) {
    PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kFeedbackX, kFeedbackY));
    PostMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kFeedbackX, kFeedbackY - 10));
    PostMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kFeedbackX, kFeedbackY - 25));
    PostMessageA(editor, WM_LBUTTONUP, 0, MAKELPARAM(kFeedbackX, kFeedbackY - 25));
    Drain(300);
  }
  const std::vector<HandlerCall> calls = plugin.Handler().Calls();
  const bool gesture = IsOneGesture(calls) && controller->getParamNormalized(kFeedbackId) > before;
  view->removed();
  view->release();
  DestroyWindow(host);
  detail = std::string(editor != nullptr ? "editor window 499 x 486" : "no editor window") +
           ", knob drag: " + std::to_string(calls.size()) + " handler calls" +
           (gesture ? " (begin, performs, end on the window's thread)" : " (not one gesture)");
  return ok && gesture;
}

}  // namespace velmora::vst3host
