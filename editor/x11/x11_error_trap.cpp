#include "editor/x11/x11_error_trap.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace velmora {
namespace {

struct TrappedDisplay {
  Display* display;
  int errors;
};

struct TrapState {
  std::mutex mutex;
  std::vector<TrappedDisplay> displays;
  XErrorHandler previous = nullptr;
};

TrapState& State() {
  static TrapState state;
  return state;
}

int HandleError(Display* display, XErrorEvent* event) {
  XErrorHandler forward = nullptr;
  {
    TrapState& state = State();
    std::lock_guard<std::mutex> guard(state.mutex);
    for (TrappedDisplay& trapped : state.displays) {
      if (trapped.display == display) {
        ++trapped.errors;
        return 0;
      }
    }
    forward = state.previous;
  }
  return forward != nullptr ? forward(display, event) : 0;
}

}  // namespace

void X11ErrorTrap::Register(Display* display) {
  TrapState& state = State();
  std::lock_guard<std::mutex> guard(state.mutex);
  if (state.displays.empty()) {
    state.previous = XSetErrorHandler(&HandleError);
  }
  state.displays.push_back(TrappedDisplay{display, 0});
}

void X11ErrorTrap::Unregister(Display* display) {
  TrapState& state = State();
  std::lock_guard<std::mutex> guard(state.mutex);
  auto found = std::find_if(state.displays.begin(), state.displays.end(),
                            [display](const TrappedDisplay& d) { return d.display == display; });
  if (found == state.displays.end()) {
    return;
  }
  state.displays.erase(found);
  if (state.displays.empty()) {
    // Someone may have replaced the handler since; theirs stays.
    const XErrorHandler current = XSetErrorHandler(state.previous);
    if (current != &HandleError) {
      XSetErrorHandler(current);
    }
    state.previous = nullptr;
  }
}

bool X11ErrorTrap::SyncAndTakeErrors(Display* display) {
  XSync(display, False);
  TrapState& state = State();
  std::lock_guard<std::mutex> guard(state.mutex);
  for (TrappedDisplay& trapped : state.displays) {
    if (trapped.display == display) {
      const bool any = trapped.errors > 0;
      trapped.errors = 0;
      return any;
    }
  }
  return false;
}

}  // namespace velmora
