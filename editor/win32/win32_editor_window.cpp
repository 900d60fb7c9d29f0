#include "editor/win32/win32_editor_window.h"

#include <mutex>

#include "frame/effect_base.h"
#include "graphics/win32/dib_pixel_memory.h"

namespace velmora {
namespace {

// The host whose product string names "acoustica" needs the editor to take the keyboard
// focus itself.
constexpr int kFocusHungryHost = 25;
constexpr int kMostPopupText = 1000;

// Shared by every editor of the module: the number of open windows (the class is
// registered while it is above zero) and the frame rate the last window was created with.
struct WindowClassState {
  std::mutex lock;
  int openWindows = 0;
  double frameRate = IEditorGraphics::kDefaultFrameRate;
};

WindowClassState& ClassState() {
  static WindowClassState state;
  return state;
}

// The module (the plug-in DLL) this code is linked into, found from one of its addresses.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

bool KeyHeld(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

MouseModifiers ModifiersFrom(WPARAM keys) {
  MouseModifiers modifiers;
  modifiers.left = (keys & MK_LBUTTON) != 0;
  modifiers.right = (keys & MK_RBUTTON) != 0;
  modifiers.shift = (keys & MK_SHIFT) != 0;
  modifiers.control = (keys & MK_CONTROL) != 0;
  modifiers.alt = KeyHeld(VK_MENU);
  return modifiers;
}

int PointX(LPARAM lParam) {
  return static_cast<int16_t>(LOWORD(lParam));
}
int PointY(LPARAM lParam) {
  return static_cast<int16_t>(HIWORD(lParam));
}

constexpr double kBaseDpi = 96.0;

// The density of the monitor the host's window is on, as a scale (1 = 96 dots per inch):
// the window's own DPI where the system knows it per window (Windows 10 and later, for a
// host that is DPI aware; an unaware host gets 96 and the system stretches the window),
// else the screen's. 0 when neither answers.
double ParentDpiScale(HWND parent) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  const FARPROC found = user32 != nullptr ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
  UINT dpi = 0;
  if (found != nullptr) {
    // Through the generic function type, which GCC lets stand for any other.
    const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(found));
    dpi = dpiForWindow(parent);
  } else {
    HDC context = GetDC(parent);
    if (context != nullptr) {
      dpi = static_cast<UINT>(GetDeviceCaps(context, LOGPIXELSX));
      ReleaseDC(parent, context);
    }
  }
  return dpi > 0 ? dpi / kBaseDpi : 0.0;
}

}  // namespace

Win32EditorWindow::~Win32EditorWindow() {
  CloseEditorWindow();
}

std::unique_ptr<PixelMemory> Win32EditorWindow::MakeSurfaceMemory() {
  return MakeDibPixelMemory();
}

bool Win32EditorWindow::OpenEditorWindow(intptr_t parentHandle) {
  HWND parent = reinterpret_cast<HWND>(parentHandle);
  parent_ = parent;
  // The monitor's density decides the size unless the user or the host chose a scale.
  if (parent != nullptr) {
    SetScreenScale(ParentDpiScale(parent));
  }
  int x = 0, y = 0, width = DeviceWidth(), height = DeviceHeight();
  if (window_ != nullptr) {
    // Opened again without a close: the new window takes the old one's place and size.
    // Child positions count from the parent's client area, which starts below any caption
    // or border of the parent, so the old place is mapped into that area.
    RECT old{};
    GetWindowRect(window_, &old);
    width = old.right - old.left;
    height = old.bottom - old.top;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&old), 2);
    x = old.left;
    y = old.top;
    CloseEditorWindow();
  }
  HINSTANCE module = ThisModule();
  WindowClassState& state = ClassState();
  {
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.openWindows == 0) {
      WNDCLASSA windowClass{};
      windowClass.style = CS_DBLCLKS;
      windowClass.lpfnWndProc = &WindowProcedure;
      windowClass.hInstance = module;
      windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      windowClass.lpszClassName = kClassName;
      RegisterClassA(&windowClass);
    }
    ++state.openWindows;
    state.frameRate = FrameRate();
  }
  HWND window = CreateWindowExA(0, kClassName, kTitle, WS_CHILD | WS_VISIBLE, x, y, width, height,
                                parent, nullptr, module, this);
  if (window == nullptr) {
    std::lock_guard<std::mutex> guard(state.lock);
    if (--state.openWindows == 0) {
      UnregisterClassA(kClassName, module);
    }
    return false;
  }
  window_ = window;
  MarkAllDirty();
  // The host sized its window from effEditGetRect, which it may have asked before the
  // monitor's density was known.
  if (Owner() != nullptr && (width != Width() || height != Height())) {
    Owner()->RequestEditorSize(width, height);
  }
  return true;
}

// Window messages and the dispatcher both run on the host's window thread, so the window
// follows at once.
void Win32EditorWindow::ScaleChanged() {
  ApplyScale();
  if (window_ == nullptr) {
    return;
  }
  if (popup_ != nullptr) {
    SetEntryState(kEntryCancel);  // placed for the old size; the tick closes it
  }
  SetWindowPos(window_, nullptr, 0, 0, DeviceWidth(), DeviceHeight(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, FALSE);
}

void Win32EditorWindow::CloseEditorWindow() {
  if (window_ == nullptr) {
    return;
  }
  FlushPendingGesture();
  // The pop-up gets its own procedure back first, so its destruction frees what it holds,
  // and goes before the window so that the focus it took goes back where it came from.
  RestorePopupProcedure();
  if (popup_ != nullptr) {
    DestroyPopupWindow();
    ForgetEntry();
  }
  HWND window = window_;
  window_ = nullptr;
  DestroyWindow(window);
  if (popupFont_ != nullptr) {
    DeleteObject(popupFont_);
    popupFont_ = nullptr;
  }
  WindowClassState& state = ClassState();
  std::lock_guard<std::mutex> guard(state.lock);
  if (--state.openWindows == 0) {
    UnregisterClassA(kClassName, ThisModule());
  }
}

LRESULT CALLBACK Win32EditorWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
  if (message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* editor = static_cast<Win32EditorWindow*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
    double frameRate = IEditorGraphics::kDefaultFrameRate;
    {
      WindowClassState& state = ClassState();
      std::lock_guard<std::mutex> guard(state.lock);
      frameRate = state.frameRate;
    }
    // 1000 / 24 = 41.67 ms, truncated to 41.
    SetTimer(window, kTimerId, static_cast<UINT>(1000.0 / frameRate), nullptr);
    if (editor != nullptr && editor->Owner() != nullptr &&
        editor->Owner()->HostKind() == kFocusHungryHost) {
      SetFocus(window);
    }
    return 0;
  }
  auto* editor = reinterpret_cast<Win32EditorWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (editor == nullptr || editor->window_ != window) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return editor->HandleMessage(message, wParam, lParam);
}

LRESULT Win32EditorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerId) {
        TimerTick();
      }
      return 0;
    case WM_CLOSE:
      CloseEditorWindow();
      return 0;
    case WM_MOUSEACTIVATE:
      if (Owner() != nullptr && Owner()->HostKind() == kFocusHungryHost) {
        SetFocus(window_);
      }
      return MA_ACTIVATE;
    case WM_LBUTTONDOWN:
      LeftButtonDown(ToEditorPixel(PointX(lParam)), ToEditorPixel(PointY(lParam)),
                     ModifiersFrom(wParam));
      return 0;
    case WM_RBUTTONDOWN:
      RightButtonDown(ToEditorPixel(PointX(lParam)), ToEditorPixel(PointY(lParam)),
                      ModifiersFrom(wParam));
      return 0;
    case WM_LBUTTONUP:
      LeftButtonUp(ToEditorPixel(PointX(lParam)), ToEditorPixel(PointY(lParam)),
                   ModifiersFrom(wParam));
      return 0;
    case WM_RBUTTONUP:
      // Routed only when its press was: the second click of a right double-click arrives
      // as WM_RBUTTONDBLCLK, which goes to DefWindowProcA, so its release is swallowed.
      RightButtonUp(ToEditorPixel(PointX(lParam)), ToEditorPixel(PointY(lParam)),
                    ModifiersFrom(wParam));
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse while a button held a control: its release will
      // never come here.
      if (reinterpret_cast<HWND>(lParam) != window_) {
        MouseCaptureLost();
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      LeftDoubleClick(ToEditorPixel(PointX(lParam)), ToEditorPixel(PointY(lParam)),
                      ModifiersFrom(wParam));
      return 0;
    case WM_MOUSEMOVE:
      PointerMoved(ToEditorPixel(PointX(lParam)), ToEditorPixel(PointY(lParam)),
                   ModifiersFrom(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnWheel(wParam, lParam);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

void Win32EditorWindow::OnPaint() {
  RECT update{};
  if (GetUpdateRect(window_, &update, FALSE)) {
    PaintDirtyArea(EditorAreaCovering(Rect{update.left, update.top, update.right, update.bottom}));
  }
  // Without controls the paint pass draws nothing; the area must not be asked for again.
  ValidateRect(window_, nullptr);
}

void Win32EditorWindow::OnWheel(WPARAM wParam, LPARAM lParam) {
  // The position of a wheel message is on the screen.
  RECT rect{};
  GetWindowRect(window_, &rect);
  const auto delta = static_cast<int16_t>(HIWORD(wParam));
  WheelTurned(ToEditorPixel(PointX(lParam) - rect.left), ToEditorPixel(PointY(lParam) - rect.top),
              ModifiersFrom(LOWORD(wParam)), delta);
}

void Win32EditorWindow::OnKeyDown(WPARAM key) {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(window_, &point);
  PlatformKeyDown(ToEditorPixel(point.x), ToEditorPixel(point.y), static_cast<int>(key));
}

intptr_t Win32EditorWindow::EditorWheel(float delta) {
  if (window_ == nullptr) {
    return 0;
  }
  POINT point{};
  GetCursorPos(&point);
  if (WindowFromPoint(point) != window_) {
    return 0;
  }
  RECT rect{};
  GetWindowRect(window_, &rect);
  MouseModifiers modifiers;
  modifiers.shift = KeyHeld(VK_SHIFT);
  modifiers.control = KeyHeld(VK_CONTROL);
  modifiers.alt = KeyHeld(VK_MENU);
  MouseWheel(ToEditorPixel(point.x - rect.left), ToEditorPixel(point.y - rect.top), modifiers,
             static_cast<int>(delta));
  return 1;
}

void Win32EditorWindow::BlitToWindow(const Rect& area) {
  EditorSurface* surface = Surface();
  HDC source = surface != nullptr ? static_cast<HDC>(surface->Memory().NativeContext()) : nullptr;
  if (window_ == nullptr || source == nullptr) {
    return;
  }
  PAINTSTRUCT paint{};
  HDC target = BeginPaint(window_, &paint);
  if (target != nullptr) {
    const Rect device = ToDevice(area);
    BitBlt(target, device.left, device.top, device.Width(), device.Height(), source, device.left,
           device.top, SRCCOPY);
  }
  EndPaint(window_, &paint);
}

void Win32EditorWindow::InvalidateArea(const Rect& area) {
  const Rect device = ToDevice(area);
  const RECT rect{device.left, device.top, device.right, device.bottom};
  InvalidateRect(window_, &rect, FALSE);
}

void Win32EditorWindow::KeepEntryPopupArea() {
  RECT rect{};
  GetClientRect(popup_, &rect);
  MapWindowPoints(popup_, window_, reinterpret_cast<POINT*>(&rect), 2);
  ValidateRect(window_, &rect);
}

void Win32EditorWindow::PaintInvalidArea() {
  UpdateWindow(window_);
}

void Win32EditorWindow::CaptureMouse(bool capture) {
  if (capture) {
    SetCapture(window_);
  } else {
    ReleaseCapture();
  }
}

bool Win32EditorWindow::HasMouseCapture() const {
  return window_ != nullptr && GetCapture() == window_;
}

std::string Win32EditorWindow::ReadEntryText() {
  char text[kMostPopupText] = {};
  SendMessageA(popup_, WM_GETTEXT, kMostPopupText, reinterpret_cast<LPARAM>(text));
  text[kMostPopupText - 1] = '\0';
  return text;
}

}  // namespace velmora
