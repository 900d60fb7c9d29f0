#include "tools/editorcheck/editor_harness.h"

#include <cstdio>

namespace velmora::editorcheck {
namespace {

constexpr const char* kHostClass = "VelmoraCheckHost";
constexpr int kHostLeft = 40;
constexpr int kHostTop = 40;
constexpr int kAutomate = 0;
constexpr int kBeginEdit = 43;
constexpr int kEndEdit = 44;

void RegisterHostClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kHostClass;
    return RegisterClassA(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

EditorHarness::EditorHarness(host::PluginHost& plugin) : plugin_(plugin) {
  RegisterHostClass();
  RECT frame{0, 0, 520, 520};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  host_ = CreateWindowExA(0, kHostClass, "Velmora editor check", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          kHostLeft, kHostTop, frame.right - frame.left, frame.bottom - frame.top,
                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  // The real pointer stays well away, so only posted messages reach the editor.
  SetCursorPos(1200, 1000);
}

EditorHarness::~EditorHarness() {
  Close();
  if (host_ != nullptr) {
    DestroyWindow(host_);
  }
}

bool EditorHarness::Open() {
  if (plugin_.Dispatch(vst::effEditOpen, 0, 0, host_) != 1) {
    return false;
  }
  editor_ = FindWindowExA(host_, nullptr, "VelmoraEditorClass", nullptr);
  return editor_ != nullptr;
}

void EditorHarness::Close() {
  if (editor_ != nullptr) {
    plugin_.Dispatch(vst::effEditClose);
    editor_ = nullptr;
    Drain();
  }
}

void EditorHarness::PostMouse(UINT message, int x, int y, WPARAM keys) {
  PostTo(editor_, message, keys, MAKELPARAM(x, y));
}

void EditorHarness::PostWheel(int x, int y, int delta) {
  POINT point{x, y};
  ClientToScreen(editor_, &point);
  PostTo(editor_, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(delta))),
         MAKELPARAM(point.x, point.y));
}

void EditorHarness::PostTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PostMessageA(window, message, wParam, lParam);
}

bool EditorHarness::DispatchOne() {
  MSG msg{};
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    return false;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  if (observer_) {
    observer_(msg);
  }
  return true;
}

int EditorHarness::Pump(int ticks, const std::function<bool()>& done, int timeoutMs) {
  int dispatched = 0;
  const DWORD start = GetTickCount();
  while (dispatched < ticks && GetTickCount() - start < static_cast<DWORD>(timeoutMs)) {
    MSG peeked{};
    if (!PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      continue;
    }
    const bool tick = peeked.message == WM_TIMER && peeked.hwnd == editor_ &&
                      peeked.wParam == kEditorTimer && editor_ != nullptr;
    DispatchOne();
    dispatched += tick ? 1 : 0;
    if (done && done()) {
      break;
    }
  }
  return dispatched;
}

void EditorHarness::Drain() {
  while (DispatchOne()) {
  }
}

HWND EditorHarness::FindPopup(const char* className) const {
  return editor_ != nullptr ? FindWindowExA(editor_, nullptr, className, nullptr) : nullptr;
}

std::vector<host::HostCall> EditCalls(const host::PluginHost& plugin, size_t from) {
  std::vector<host::HostCall> calls;
  const std::vector<host::HostCall> all = plugin.Calls().Snapshot();
  for (size_t i = from; i < all.size(); ++i) {
    const int opcode = all[i].opcode;
    if (opcode == kAutomate || opcode == kBeginEdit || opcode == kEndEdit) {
      calls.push_back(all[i]);
    }
  }
  return calls;
}

size_t CallCount(const host::PluginHost& plugin) {
  return plugin.Calls().Snapshot().size();
}

std::string Describe(const std::vector<host::HostCall>& calls) {
  std::string text;
  for (const host::HostCall& call : calls) {
    char item[48];
    if (call.opcode == kAutomate) {
      std::snprintf(item, sizeof(item), "A%d=%.3f ", call.index, call.opt);
    } else {
      std::snprintf(item, sizeof(item), "%c%d ", call.opcode == kBeginEdit ? 'B' : 'E', call.index);
    }
    text += item;
  }
  return text.empty() ? "(none)" : text;
}

}  // namespace velmora::editorcheck
