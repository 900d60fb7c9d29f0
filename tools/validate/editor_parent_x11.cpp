// The host library's Status and Success come first: Xlib defines macros of those names.
#include "tools/validate/editor_parent.h"

#include <X11/Xlib.h>
#undef Status
#undef Success

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>

namespace velmora::validate {
namespace {

constexpr int kOpenAttempts = 20;

}  // namespace

struct EditorParent::Platform {
  Display* display = nullptr;
  Window window = 0;
};

EditorParent::EditorParent(std::unique_ptr<Platform> platform) : platform_(std::move(platform)) {}

host::Result<std::unique_ptr<EditorParent>> EditorParent::Create(int width, int height) {
  using ParentResult = host::Result<std::unique_ptr<EditorParent>>;
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') {
    return ParentResult::Failure("no X display (DISPLAY is not set) to parent the editor");
  }
  auto platform = std::make_unique<Platform>();
  // A server that has just seen its last client go resets and refuses connections for a
  // moment (Xvfb does, after a plug-in closes a connection of its own): try for a second.
  for (int attempt = 0; attempt < kOpenAttempts && platform->display == nullptr; ++attempt) {
    if (attempt > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    platform->display = XOpenDisplay(name);
  }
  if (platform->display == nullptr) {
    return ParentResult::Failure(std::string("cannot open X display ") + name);
  }
  Display* display = platform->display;
  platform->window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                         static_cast<unsigned>(width > 0 ? width : 1),
                                         static_cast<unsigned>(height > 0 ? height : 1), 0, 0, 0);
  XStoreName(display, platform->window, "velmora-validate");
  XMapWindow(display, platform->window);
  XSync(display, False);
  return ParentResult::Success(
      std::unique_ptr<EditorParent>(new EditorParent(std::move(platform))));
}

EditorParent::~EditorParent() {
  XDestroyWindow(platform_->display, platform_->window);
  XCloseDisplay(platform_->display);
}

void* EditorParent::Handle() const {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(platform_->window));
}

void EditorParent::Pump() {
  XSync(platform_->display, False);
  while (XPending(platform_->display) > 0) {
    XEvent event;
    XNextEvent(platform_->display, &event);
  }
}

}  // namespace velmora::validate
