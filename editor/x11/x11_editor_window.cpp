#include "editor/x11/x11_editor_window.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cmath>

#include "editor/icontrol.h"
#include "editor/text_controls.h"
#include "editor/x11/web_address_launcher.h"
#include "editor/x11/x11_error_trap.h"
#include "editor/x11/x11_screen_scale.h"
#include "frame/effect_base.h"

namespace velmora {
namespace {

constexpr int kHostKindTakingFocus = 25;
constexpr long kEditorEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                               PointerMotionMask | KeyPressMask | EnterWindowMask | LeaveWindowMask;

// One editor thread works at a time (see the header).
std::mutex& EditorThreadsTurn() {
  static std::mutex turn;
  return turn;
}

// Where the old window sits relative to the new parent, both on the screen.
bool PositionRelativeTo(Display* display, Window window, Window parent, int* x, int* y) {
  Window root = 0;
  Window child = 0;
  int unusedX = 0;
  int unusedY = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned depth = 0;
  int windowX = 0;
  int windowY = 0;
  int parentX = 0;
  int parentY = 0;
  if (XGetGeometry(display, window, &root, &unusedX, &unusedY, &width, &height, &border, &depth) ==
          0 ||
      XTranslateCoordinates(display, window, root, 0, 0, &windowX, &windowY, &child) == 0 ||
      XTranslateCoordinates(display, parent, root, 0, 0, &parentX, &parentY, &child) == 0) {
    return false;
  }
  *x = windowX - parentX;
  *y = windowY - parentY;
  return true;
}

}  // namespace

X11EditorWindow::~X11EditorWindow() {
  CloseEditorWindow();
}

bool X11EditorWindow::OpenEditorWindow(intptr_t parentHandle) {
  const auto parent = static_cast<Window>(parentHandle);
  int x = 0;
  int y = 0;
  if (display_ != nullptr) {
    // Opened again without a close: the new window keeps the old one's place.
    StopThread();
    if (!PositionRelativeTo(display_, window_, parent, &x, &y)) {
      x = y = 0;
    }
    CloseEditorWindow();
  }
  if (parent == 0) {
    return false;
  }
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) {
    return false;
  }
  X11ErrorTrap::Register(display_);
  takesFocus_ = Owner() != nullptr && Owner()->HostKind() == kHostKindTakingFocus;
  // The screen's density decides the size unless the user or the host chose a scale.
  SetScreenScale(ReadScreenScale(display_));
  if (!CreateWindow(parent, x, y)) {
    FreeWindow();
    return false;
  }
  MarkAllDirty();
  stop_ = false;
  scaleQueued_ = false;
  thread_ = std::thread([this] { RunThread(); });
  // The host sized its window from effEditGetRect, which it may have asked before the
  // screen's density was known.
  if (Owner() != nullptr && (DeviceWidth() != Width() || DeviceHeight() != Height())) {
    Owner()->RequestEditorSize(DeviceWidth(), DeviceHeight());
  }
  return true;
}

bool X11EditorWindow::CreateWindow(Window parent, int x, int y) {
  XWindowAttributes parentAttributes{};
  if (XGetWindowAttributes(display_, parent, &parentAttributes) == 0 ||
      X11ErrorTrap::SyncAndTakeErrors(display_)) {
    return false;
  }
  const int screen = XScreenNumberOfScreen(parentAttributes.screen);
  XVisualInfo info{};
  if (XMatchVisualInfo(display_, screen, 24, TrueColor, &info) == 0 ||
      !VisualTakesSurfacePixels(display_, info)) {
    return false;
  }
  visual_ = info.visual;
  colormap_ = XCreateColormap(display_, RootWindow(display_, screen), visual_, AllocNone);
  XSetWindowAttributes attributes{};
  attributes.colormap = colormap_;
  attributes.border_pixel = 0;
  attributes.background_pixmap = None;
  attributes.event_mask = kEditorEvents;
  window_ = XCreateWindow(display_, parent, x, y, static_cast<unsigned>(DeviceWidth()),
                          static_cast<unsigned>(DeviceHeight()), 0, 24, InputOutput, visual_,
                          CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
  if (window_ == 0 || X11ErrorTrap::SyncAndTakeErrors(display_)) {
    return false;
  }
  char title[] = "Velmora";
  char className[] = "VelmoraEditorClass";
  XClassHint hint{title, className};
  XStoreName(display_, window_, title);
  XSetClassHint(display_, window_, &hint);
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  invalid_ = XCreateRegion();
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0 || !screen_.Create(display_, visual_, DeviceWidth(), DeviceHeight(), true)) {
    return false;
  }
  XMapWindow(display_, window_);
  return !X11ErrorTrap::SyncAndTakeErrors(display_);
}

void X11EditorWindow::CloseEditorWindow() {
  if (display_ == nullptr) {
    return;
  }
  StopThread();
  // A button still held ends as if released where the pointer last was, so the host sees
  // the end of the gesture it was told began.
  FlushPendingGesture();
  if (popup_ != nullptr) {
    DestroyEntryPopup();
    ForgetEntry();
  }
  FreeWindow();
}

void X11EditorWindow::StopThread() {
  if (!thread_.joinable()) {
    return;
  }
  stop_ = true;
  const uint64_t one = 1;
  if (write(wakeFd_, &one, sizeof(one)) < 0) {
    // The counter is full, so the thread is being woken anyway.
  }
  // The thread may be waiting for the instance lock this thread holds (a host's
  // effEditClose runs under it): let go of it completely while waiting.
  RecursiveLock* lock = Owner() != nullptr ? &Owner()->InstanceLock() : nullptr;
  const int levels = lock != nullptr ? lock->ReleaseAll() : 0;
  thread_.join();
  if (lock != nullptr) {
    lock->Reacquire(levels);
  }
}

void X11EditorWindow::FreeWindow() {
  screen_.Destroy();
  if (gc_ != nullptr) {
    XFreeGC(display_, gc_);
    gc_ = nullptr;
  }
  if (window_ != 0) {
    XDestroyWindow(display_, window_);
    window_ = 0;
  }
  if (colormap_ != 0) {
    XFreeColormap(display_, colormap_);
    colormap_ = 0;
  }
  if (invalid_ != nullptr) {
    XDestroyRegion(invalid_);
    invalid_ = nullptr;
  }
  if (wakeFd_ >= 0) {
    close(wakeFd_);
    wakeFd_ = -1;
  }
  // Errors of the last requests (the host may have destroyed the parent, and our window
  // with it) are collected before the trap lets go of the connection.
  X11ErrorTrap::SyncAndTakeErrors(display_);
  X11ErrorTrap::Unregister(display_);
  XCloseDisplay(display_);
  display_ = nullptr;
  visual_ = nullptr;
  captured_ = false;
  exposed_ = false;
  lastLeftCounts_ = false;
  pointerInside_ = false;
  std::lock_guard<std::mutex> guard(wheelMutex_);
  wheel_ = PendingWheel{};
}

void X11EditorWindow::RunThread() {
  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::milliseconds(static_cast<int>(1000.0 / FrameRate()));
  auto nextTick = Clock::now() + period;
  pollfd sources[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  while (!stop_) {
    {
      std::lock_guard<std::mutex> turn(EditorThreadsTurn());
      HandleEvents();
      ApplyQueuedScale();
      HandleQueuedWheel();
      const auto now = Clock::now();
      if (now >= nextTick) {
        TimerTick();
        ReapWebLaunchers();
        nextTick += period;
        if (nextTick < now) {
          nextTick = now + period;  // fell behind: no burst of ticks to catch up
        }
      }
      PaintInvalidArea();
      XFlush(display_);
    }
    // Events already read into Xlib's queue would not wake the poll.
    if (stop_ || XPending(display_) > 0) {
      continue;
    }
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now()).count();
    poll(sources, 2, wait > 0 ? static_cast<int>(wait) + 1 : 0);
    uint64_t count = 0;
    while (read(wakeFd_, &count, sizeof(count)) > 0) {
    }
  }
}

void X11EditorWindow::HandleEvents() {
  while (!stop_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    HandleEvent(event);
  }
}

intptr_t X11EditorWindow::EditorWheel(float delta) {
  if (display_ == nullptr || !pointerInside_) {
    return 0;
  }
  {
    std::lock_guard<std::mutex> guard(wheelMutex_);
    wheel_.notches += static_cast<int>(std::trunc(delta));
    wheel_.queued = true;
  }
  const uint64_t one = 1;
  if (write(wakeFd_, &one, sizeof(one)) < 0) {
    // Already woken.
  }
  return 1;
}

void X11EditorWindow::HandleQueuedWheel() {
  PendingWheel wheel;
  {
    std::lock_guard<std::mutex> guard(wheelMutex_);
    wheel = wheel_;
    wheel_ = PendingWheel{};
  }
  if (!wheel.queued) {
    return;
  }
  const unsigned state = pointerState_;
  MouseModifiers modifiers;
  modifiers.shift = (state & ShiftMask) != 0;
  modifiers.control = (state & ControlMask) != 0;
  modifiers.alt = (state & Mod1Mask) != 0;
  MouseWheel(pointerX_, pointerY_, modifiers, wheel.notches);
}

// While the window is open its thread owns the surface, so a scale set on the host's
// thread waits for it; the thread's own changes (the zoom list) apply at once.
void X11EditorWindow::ScaleChanged() {
  if (!thread_.joinable()) {
    ApplyScale();
    return;
  }
  scaleQueued_ = true;
  if (std::this_thread::get_id() == thread_.get_id()) {
    ApplyQueuedScale();
    return;
  }
  const uint64_t one = 1;
  if (write(wakeFd_, &one, sizeof(one)) < 0) {
    // Already woken.
  }
}

void X11EditorWindow::ApplyQueuedScale() {
  if (!scaleQueued_.exchange(false) || !ApplyScale()) {
    return;
  }
  const int width = DeviceWidth();
  const int height = DeviceHeight();
  // A pop-up was placed for the old size: the next tick closes it as a right click would.
  if (popup_ != nullptr) {
    SetEntryState(kEntryCancel);
  }
  XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
  screen_.Destroy();
  screen_.Create(display_, visual_, width, height, true);
  InvalidateDeviceArea(Rect{0, 0, width, height});
  X11ErrorTrap::SyncAndTakeErrors(display_);
}

void X11EditorWindow::BlitToWindow(const Rect& area) {
  if (window_ != 0 && Surface() != nullptr) {
    screen_.Put(window_, gc_, *Surface(), ToDevice(area));
  }
}

void X11EditorWindow::InvalidateArea(const Rect& area) {
  InvalidateDeviceArea(ToDevice(area));
}

void X11EditorWindow::InvalidateDeviceArea(const Rect& area) {
  if (invalid_ == nullptr || area.Width() <= 0 || area.Height() <= 0) {
    return;
  }
  XRectangle rectangle{static_cast<short>(area.left), static_cast<short>(area.top),
                       static_cast<unsigned short>(area.Width()),
                       static_cast<unsigned short>(area.Height())};
  XUnionRectWithRegion(&rectangle, invalid_, invalid_);
}

void X11EditorWindow::KeepEntryPopupArea() {
  if (popup_ == nullptr || invalid_ == nullptr) {
    return;
  }
  const Rect area = ToDevice(popup_->Area());
  XRectangle rectangle{static_cast<short>(area.left), static_cast<short>(area.top),
                       static_cast<unsigned short>(area.Width()),
                       static_cast<unsigned short>(area.Height())};
  Region popupRegion = XCreateRegion();
  XUnionRectWithRegion(&rectangle, popupRegion, popupRegion);
  XSubtractRegion(invalid_, popupRegion, invalid_);
  XDestroyRegion(popupRegion);
}

// Paints the bounding box of the invalid region and copies only the region itself. The
// controls waiting for their tick are painted too: the paint pass marks every control
// clean, so an exposed area alone would leave them showing their old state.
void X11EditorWindow::PaintInvalidArea() {
  if (invalid_ == nullptr || XEmptyRegion(invalid_)) {
    return;
  }
  Rect dirty{};
  if (CollectDirtyArea(&dirty)) {
    InvalidateArea(dirty);
    KeepEntryPopupArea();
  }
  XRectangle box{};
  XClipBox(invalid_, &box);
  XSetRegion(display_, gc_, invalid_);
  XDestroyRegion(invalid_);
  invalid_ = XCreateRegion();
  PaintDirtyArea(EditorAreaCovering(Rect{box.x, box.y, box.x + box.width, box.y + box.height}));
  XSetClipMask(display_, gc_, None);
}

std::string X11EditorWindow::ReadEntryText() {
  return popup_ != nullptr ? popup_->Text() : std::string();
}

void X11EditorWindow::DestroyEntryPopup() {
  const Window popup = popup_ != nullptr ? popup_->Handle() : 0;
  popup_.reset();
  ReturnFocus(popup);
}

void X11EditorWindow::ReturnFocus(Window popup) {
  if (!focusRecorded_ || display_ == nullptr) {
    return;
  }
  focusRecorded_ = false;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  // A focus the user has moved elsewhere meanwhile stays where it is. The destroyed pop-up
  // handed its focus to the editor window.
  if (focus != popup && focus != window_) {
    return;
  }
  XSetInputFocus(display_, focusBefore_, focusRevertBefore_, CurrentTime);
  // The window may be gone by now; then the focus stays with the editor.
  X11ErrorTrap::SyncAndTakeErrors(display_);
}

void X11EditorWindow::PromptParamEntry(IControl* control, IEffectParam* param) {
  if (control == nullptr || param == nullptr || popup_ != nullptr || display_ == nullptr) {
    return;
  }
  OpenPopup(MakeParamEntry(control, param), X11EntryPopup::ValueStyle(), false, false);
  if (popup_ != nullptr) {
    BeginEntry(control, param);
  }
}

bool X11EditorWindow::ShowEntryList(const EntryRequest& request) {
  if (popup_ != nullptr || display_ == nullptr) {
    return false;
  }
  OpenPopup(request, X11EntryPopup::ValueStyle(), false, false);
  return popup_ != nullptr;
}

void X11EditorWindow::PromptTextEntry(IControl* control) {
  if (control == nullptr || popup_ != nullptr || display_ == nullptr) {
    return;
  }
  EntryRequest request;
  request.kind = EntryRequest::kTextBox;
  request.control = control;
  request.area = control->DrawRect();
  TextStyle style = X11EntryPopup::ValueStyle();
  bool readOnly = false;
  bool masked = false;
  if (auto* text = dynamic_cast<ITextControl*>(control)) {
    request.text = text->Text();
    style = text->Style();
  }
  if (auto* editable = dynamic_cast<IEditableTextControl*>(control)) {
    readOnly = !editable->IsEditable();
    masked = editable->IsMasked();
  }
  OpenPopup(request, style, readOnly, masked);
  if (popup_ != nullptr) {
    BeginEntry(control, nullptr);
  }
}

void X11EditorWindow::OpenPopup(const EntryRequest& request, const TextStyle& style, bool readOnly,
                                bool masked) {
  const X11PopupHost host{display_, window_, visual_, colormap_, Width(), Height(), Scale()};
  XGetInputFocus(display_, &focusBefore_, &focusRevertBefore_);
  focusRecorded_ = focusBefore_ != None;
  popup_ = X11EntryPopup::Open(host, request, style, readOnly, masked);
  focusRecorded_ = focusRecorded_ && popup_ != nullptr;
  // A refused focus (the host's window is not shown yet) costs nothing: keys then reach
  // the pop-up while the pointer is over it.
  X11ErrorTrap::SyncAndTakeErrors(display_);
}

bool X11EditorWindow::OpenWebAddress(const char* address, const char*, const char* confirmText,
                                     const char*) {
  if (confirmText != nullptr) {
    return false;
  }
  return LaunchWebAddress(address);
}

}  // namespace velmora
