#include "tests/lv2/ui_test_host.h"

#include <dlfcn.h>
#include <lv2/atom/forge.h>
#include <lv2/options/options.h>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <thread>

#include "lv2/bundle_names.h"
#include "lv2/display_notifier.h"
#include "lv2/port_index.h"

namespace velmora::lv2::testing {
namespace {

constexpr int kParentLeft = 100;
constexpr int kParentTop = 80;
constexpr int kParentWidth = 620;
constexpr int kParentHeight = 560;

}  // namespace

UiTestHost::UiTestHost() {
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) {
    error_ = "no X display (run under xvfb-run)";
    return;
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
    error_ = "the X server has no XTest extension";
    return;
  }
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
  parent_ = XCreateWindow(display_, DefaultRootWindow(display_), kParentLeft, kParentTop,
                          kParentWidth, kParentHeight, 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(display_, parent_);
  XSync(display_, False);
  const std::string path = std::string(VELMORA_LV2_BUNDLE) + "/" + kUiBinary;
  module_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) {
    error_ = dlerror();
    return;
  }
  auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(module_, "lv2ui_descriptor"));
  descriptor_ = entry != nullptr ? entry(0) : nullptr;
  if (descriptor_ == nullptr) {
    error_ = "the module has no UI descriptor";
  }
  touch_ = LV2UI_Touch{this, &UiTestHost::Touch};
  resize_ = LV2UI_Resize{this, &UiTestHost::Resize};
}

UiTestHost::~UiTestHost() {
  Close();
  // The module stays loaded, as hosts keep UI modules: a leak report can then still name
  // the libraries the module brought in.
  if (display_ != nullptr) {
    if (parent_ != 0) {
      XDestroyWindow(display_, parent_);
    }
    XCloseDisplay(display_);
  }
}

bool UiTestHost::Open(float scaleFactor) {
  LV2_Feature map = {LV2_URID__map, urids_.MapFeature()};
  LV2_Feature unmap = {LV2_URID__unmap, urids_.UnmapFeature()};
  LV2_Feature parent = {LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(parent_))};
  LV2_Feature touch = {LV2_UI__touch, &touch_};
  LV2_Feature resize = {LV2_UI__resize, &resize_};
  LV2_Feature idle = {LV2_UI__idleInterface, nullptr};
  LV2_Options_Option options[] = {
      {LV2_OPTIONS_INSTANCE, 0, urids_.Map("http://lv2plug.in/ns/extensions/ui#scaleFactor"),
       sizeof(float), urids_.Map(LV2_ATOM__Float), &scaleFactor},
      {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
  LV2_Feature optionsFeature = {LV2_OPTIONS__options, options};
  const LV2_Feature* features[] = {&map,
                                   &unmap,
                                   &parent,
                                   &touch,
                                   &resize,
                                   &idle,
                                   scaleFactor > 0.0f ? &optionsFeature : nullptr,
                                   nullptr};
  LV2UI_Widget widget = nullptr;
  handle_ = descriptor_->instantiate(descriptor_, kPluginUri, VELMORA_LV2_BUNDLE "/",
                                     &UiTestHost::WriteFunction, this, &widget, features);
  if (handle_ == nullptr) {
    return false;
  }
  widget_ = static_cast<Window>(reinterpret_cast<uintptr_t>(widget));
  idle_ =
      static_cast<const LV2UI_Idle_Interface*>(descriptor_->extension_data(LV2_UI__idleInterface));
  return widget_ != 0;
}

void UiTestHost::Close() {
  if (handle_ != nullptr) {
    descriptor_->cleanup(handle_);
    handle_ = nullptr;
    widget_ = 0;
  }
}

bool UiTestHost::WidgetIsChildOfParent() const {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display_, widget_, &root, &parent, &children, &count)) {
    return false;
  }
  if (children != nullptr) {
    XFree(children);
  }
  return parent == parent_;
}

void UiTestHost::SendControl(int param, float value) {
  descriptor_->port_event(handle_, ParamPort(param), sizeof(float), 0, &value);
}

void UiTestHost::SendDisplay(bool lamp, float leftCurrent, float rightCurrent) {
  uint64_t buffer[64] = {};
  LV2_Atom_Forge forge;
  lv2_atom_forge_init(&forge, urids_.MapFeature());
  lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(buffer), sizeof(buffer));
  DisplayUrids urids;
  urids.Map(urids_.MapFeature());
  LV2_Atom_Forge_Frame object;
  const float left[3] = {leftCurrent, 0.0f, 1.0f};
  const float right[3] = {rightCurrent, 0.0f, 1.0f};
  lv2_atom_forge_object(&forge, &object, 0, urids.display);
  lv2_atom_forge_key(&forge, urids.lamp);
  lv2_atom_forge_bool(&forge, lamp);
  lv2_atom_forge_key(&forge, urids.leftStrip);
  lv2_atom_forge_vector(&forge, sizeof(float), urids.atomFloat, 3, left);
  lv2_atom_forge_key(&forge, urids.rightStrip);
  lv2_atom_forge_vector(&forge, sizeof(float), urids.atomFloat, 3, right);
  lv2_atom_forge_pop(&forge, &object);
  const auto* atom = reinterpret_cast<const LV2_Atom*>(buffer);
  descriptor_->port_event(handle_, kPortNotify, sizeof(LV2_Atom) + atom->size,
                          urids.atomEventTransfer, atom);
}

int UiTestHost::Idle() {
  return idle_ != nullptr ? idle_->idle(handle_) : 1;
}

void UiTestHost::MoveTo(int x, int y) {
  int rootX = 0, rootY = 0;
  Window child = 0;
  XTranslateCoordinates(display_, widget_, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                        &child);
  XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, CurrentTime);
  Flush();
}

void UiTestHost::Press(unsigned button) {
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  Flush();
}

void UiTestHost::Release(unsigned button) {
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  Flush();
}

// Each step reaches the server and the editor's thread before the next.
void UiTestHost::Flush() {
  XSync(display_, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

std::vector<uint32_t> UiTestHost::Grab(int x, int y, int width, int height) {
  XImage* image = XGetImage(display_, widget_, x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) {
    return {};
  }
  std::vector<uint32_t> pixels;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      pixels.push_back(static_cast<uint32_t>(XGetPixel(image, column, row)) & 0xFFFFFF);
    }
  }
  XDestroyImage(image);
  return pixels;
}

void UiTestHost::WriteFunction(LV2UI_Controller controller, uint32_t port, uint32_t size,
                               uint32_t protocol, const void* buffer) {
  if (protocol == 0 && size == sizeof(float)) {
    static_cast<UiTestHost*>(controller)
        ->Record(UiCall{UiCall::kWrite, port, *static_cast<const float*>(buffer)});
  }
}

void UiTestHost::Touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
  static_cast<UiTestHost*>(handle)->Record(
      UiCall{grabbed ? UiCall::kTouchBegin : UiCall::kTouchEnd, port, 0.0f});
}

int UiTestHost::Resize(LV2UI_Feature_Handle handle, int width, int height) {
  auto* host = static_cast<UiTestHost*>(handle);
  host->resizeWidth_ = width;
  host->resizeHeight_ = height;
  return 0;
}

void UiTestHost::Record(const UiCall& call) {
  std::lock_guard<std::mutex> guard(callsMutex_);
  calls_.push_back(call);
}

std::vector<UiCall> UiTestHost::Calls() const {
  std::lock_guard<std::mutex> guard(callsMutex_);
  return calls_;
}

void UiTestHost::ClearCalls() {
  std::lock_guard<std::mutex> guard(callsMutex_);
  calls_.clear();
}

}  // namespace velmora::lv2::testing
