// A host for the LV2 UI under a virtual X server: it loads the bundle's UI module as a host
// does (dlopen, lv2ui_descriptor), gives it a parent window, a URID map, ui:resize and
// ui:touch, records every port write and touch in order, calls its idle interface, and
// injects pointer input through XTest as a user's would arrive.
#pragma once

#include <lv2/ui/ui.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tests/lv2/lilv_host.h"
#include "tests/support/wait_until.h"

// Last: Xlib defines macros (None, Status, Bool) that other headers use as names.
#include <X11/Xlib.h>

namespace velmora::lv2::testing {

using velmora::testing::WaitUntil;

// One call the UI made to the host.
struct UiCall {
  enum Kind { kTouchBegin, kWrite, kTouchEnd };
  Kind kind;
  uint32_t port;
  float value;
};

class UiTestHost {
 public:
  UiTestHost();
  ~UiTestHost();
  UiTestHost(const UiTestHost&) = delete;
  UiTestHost& operator=(const UiTestHost&) = delete;

  // Empty when the display, the parent window and the module are ready.
  const std::string& Error() const { return error_; }

  // Instantiates the UI inside the parent window; false when it refused. A scale factor
  // above 0 is given as the ui:scaleFactor option.
  bool Open(float scaleFactor = 0.0f);
  void Close();
  Window Widget() const { return widget_; }
  Window Parent() const { return parent_; }
  bool WidgetIsChildOfParent() const;
  int ResizeWidth() const { return resizeWidth_; }
  int ResizeHeight() const { return resizeHeight_; }
  bool HasIdleInterface() const { return idle_ != nullptr; }

  // The host's side: port events into the UI, the idle call.
  void SendControl(int param, float value);
  void SendDisplay(bool lamp, float leftCurrent, float rightCurrent);
  int Idle();

  // Pointer input at editor coordinates.
  void MoveTo(int x, int y);
  void Press(unsigned button);
  void Release(unsigned button);

  // The widget's pixels (0xRRGGBB) in the rectangle; empty on failure.
  std::vector<uint32_t> Grab(int x, int y, int width, int height);

  std::vector<UiCall> Calls() const;
  void ClearCalls();

 private:
  static void WriteFunction(LV2UI_Controller controller, uint32_t port, uint32_t size,
                            uint32_t protocol, const void* buffer);
  static void Touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed);
  static int Resize(LV2UI_Feature_Handle handle, int width, int height);
  void Record(const UiCall& call);
  void Flush();

  std::string error_;
  Display* display_ = nullptr;
  Window parent_ = 0;
  Window widget_ = 0;
  void* module_ = nullptr;
  const LV2UI_Descriptor* descriptor_ = nullptr;
  LV2UI_Handle handle_ = nullptr;
  const LV2UI_Idle_Interface* idle_ = nullptr;
  UridMap urids_;
  LV2UI_Touch touch_{};
  LV2UI_Resize resize_{};
  int resizeWidth_ = 0;
  int resizeHeight_ = 0;
  mutable std::mutex callsMutex_;
  std::vector<UiCall> calls_;
};

}  // namespace velmora::lv2::testing
