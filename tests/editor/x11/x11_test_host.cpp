#include "tests/editor/x11/x11_test_host.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <atomic>
#include <thread>

namespace velmora::testing {
namespace {

constexpr int kParentWidth = 620;
constexpr int kParentHeight = 560;

std::atomic<int> errors{0};

int CountError(Display*, XErrorEvent*) {
  ++errors;
  return 0;
}

}  // namespace

int X11TestHost::ErrorCount() {
  return errors.load();
}

X11TestHost::X11TestHost(const host::HostConfig& config) {
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) {
    error_ = "no X display (run under xvfb-run)";
    return;
  }
  XSetErrorHandler(&CountError);
  int event = 0;
  int error = 0;
  int major = 0;
  int minor = 0;
  if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
    error_ = "the X server has no XTest extension";
    return;
  }
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;  // placed exactly, whatever window manager runs
  attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
  attributes.event_mask = StructureNotifyMask;
  parent_ =
      XCreateWindow(display_, DefaultRootWindow(display_), kParentLeft, kParentTop, kParentWidth,
                    kParentHeight, 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
  XMapRaised(display_, parent_);
  XSync(display_, False);
  auto loaded = host::PluginHost::Load(VELMORA_MODULE_PATH, config);
  if (!loaded) {
    error_ = loaded.Error();
    return;
  }
  plugin_ = std::move(loaded.Value());
  plugin_->Start();
}

X11TestHost::~X11TestHost() {
  if (plugin_ != nullptr) {
    CloseEditor();
    plugin_.reset();
  }
  if (display_ != nullptr) {
    if (parent_ != 0) {
      XDestroyWindow(display_, parent_);
    }
    XCloseDisplay(display_);
  }
}

bool X11TestHost::OpenEditor() {
  if (plugin_->Dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)) != 1) {
    return false;
  }
  return WaitUntil([this] {
    const std::vector<Window> children = Children(parent_);
    if (children.size() != 1) {
      return false;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, children.front(), &attributes);
    if (attributes.map_state != IsViewable) {
      return false;
    }
    editor_ = children.front();
    Window child = 0;
    XTranslateCoordinates(display_, editor_, DefaultRootWindow(display_), 0, 0, &editorRootX_,
                          &editorRootY_, &child);
    return true;
  });
}

void X11TestHost::CloseEditor() {
  if (plugin_ == nullptr) {
    return;
  }
  plugin_->Dispatch(vst::effEditClose);
  editor_ = 0;
}

void X11TestHost::PlaceParent(int x, int y, int width, int height) {
  XMoveResizeWindow(display_, parent_, x, y, static_cast<unsigned>(width),
                    static_cast<unsigned>(height));
  XSync(display_, False);
}

void X11TestHost::DestroyParent() {
  XDestroyWindow(display_, parent_);
  XSync(display_, False);
  parent_ = 0;
}

std::vector<Window> X11TestHost::Children(Window window) const {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::vector<Window> found;
  if (XQueryTree(display_, window, &root, &parent, &children, &count) != 0) {
    found.assign(children, children + count);
  }
  if (children != nullptr) {
    XFree(children);
  }
  return found;
}

bool X11TestHost::Geometry(Window window, int* x, int* y, int* width, int* height) const {
  XWindowAttributes attributes{};
  Window child = 0;
  if (XGetWindowAttributes(display_, window, &attributes) == 0 ||
      XTranslateCoordinates(display_, window, editor_, 0, 0, x, y, &child) == 0) {
    return false;
  }
  *width = attributes.width;
  *height = attributes.height;
  return true;
}

void X11TestHost::Flush() {
  XSync(display_, False);
}

void X11TestHost::MoveTo(int x, int y) {
  XTestFakeMotionEvent(display_, -1, editorRootX_ + x, editorRootY_ + y, CurrentTime);
  Flush();
}

void X11TestHost::Press(unsigned button) {
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  Flush();
}

void X11TestHost::Release(unsigned button) {
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  Flush();
}

void X11TestHost::Click(int x, int y, unsigned button) {
  MoveTo(x, y);
  Press(button);
  Release(button);
}

void X11TestHost::TypeKeys(const std::vector<unsigned long>& keySyms) {
  for (unsigned long sym : keySyms) {
    const KeyCode code = XKeysymToKeycode(display_, sym);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
  }
  Flush();
}

std::vector<uint32_t> X11TestHost::Grab() {
  XWindowAttributes attributes{};
  if (editor_ == 0 || XGetWindowAttributes(display_, editor_, &attributes) == 0) {
    return {};
  }
  XImage* image = XGetImage(display_, editor_, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) {
    return {};
  }
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(attributes.width) * attributes.height);
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) {
      pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
    }
  }
  XDestroyImage(image);
  return pixels;
}

std::vector<host::HostCall> X11TestHost::EditCalls() const {
  std::vector<host::HostCall> edits;
  for (const host::HostCall& call : plugin_->Calls().Snapshot()) {
    if (call.opcode == vst::audioMasterBeginEdit || call.opcode == vst::audioMasterEndEdit ||
        call.opcode == vst::audioMasterAutomate) {
      edits.push_back(call);
    }
  }
  return edits;
}

size_t X11TestHost::CountCalls(int32_t opcode) const {
  return plugin_->Calls().Count(opcode);
}

void X11TestHost::ClearCalls() {
  plugin_->Calls().Clear();
}

}  // namespace velmora::testing
