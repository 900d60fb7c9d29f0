// The VST 3 binary interface, part 4: the editor's view inside a host window, the host's
// frame around it, the view's content scale, and the Linux host run loop a view may use for
// its timers and sockets.
#pragma once

#include "vst3/abi/vst3_base.h"

namespace velmora::vst3 {

// Window types a host may offer to attached().
constexpr const char* kPlatformTypeHwnd = "HWND";
constexpr const char* kPlatformTypeX11EmbedWindowId = "X11EmbedWindowID";

struct ViewRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

class IPlugFrame;

class IPlugView : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL isPlatformTypeSupported(const char* type) = 0;
  virtual tresult VELMORA_VST3_CALL attached(void* parent, const char* type) = 0;
  virtual tresult VELMORA_VST3_CALL removed() = 0;
  virtual tresult VELMORA_VST3_CALL onWheel(float distance) = 0;
  virtual tresult VELMORA_VST3_CALL onKeyDown(char16 key, int16_t keyCode, int16_t modifiers) = 0;
  virtual tresult VELMORA_VST3_CALL onKeyUp(char16 key, int16_t keyCode, int16_t modifiers) = 0;
  virtual tresult VELMORA_VST3_CALL getSize(ViewRect* size) = 0;
  virtual tresult VELMORA_VST3_CALL onSize(ViewRect* size) = 0;
  virtual tresult VELMORA_VST3_CALL onFocus(TBool state) = 0;
  virtual tresult VELMORA_VST3_CALL setFrame(IPlugFrame* frame) = 0;
  virtual tresult VELMORA_VST3_CALL canResize() = 0;
  virtual tresult VELMORA_VST3_CALL checkSizeConstraint(ViewRect* rect) = 0;
  static constexpr Iid kIid = MakeIid(words::kIPlugView);
};

class IPlugFrame : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL resizeView(IPlugView* view, ViewRect* size) = 0;
  static constexpr Iid kIid = MakeIid(words::kIPlugFrame);
};

// Offered by a view that draws at the host's content scale (1 = 100 %). The host calls it
// before or after attaching the view and whenever the scale changes; the view then asks the
// frame for its new size through resizeView.
class IPlugViewContentScaleSupport : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL setContentScaleFactor(float factor) = 0;
  static constexpr Iid kIid = MakeIid(words::kIPlugViewContentScaleSupport);
};

class IEventHandler : public FUnknown {
 public:
  virtual void VELMORA_VST3_CALL onFDIsSet(int fd) = 0;
  static constexpr Iid kIid = MakeIid(words::kIEventHandler);
};

class ITimerHandler : public FUnknown {
 public:
  virtual void VELMORA_VST3_CALL onTimer() = 0;
  static constexpr Iid kIid = MakeIid(words::kITimerHandler);
};

class IRunLoop : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL registerEventHandler(IEventHandler* handler, int fd) = 0;
  virtual tresult VELMORA_VST3_CALL unregisterEventHandler(IEventHandler* handler) = 0;
  virtual tresult VELMORA_VST3_CALL registerTimer(ITimerHandler* handler,
                                                  uint64_t milliseconds) = 0;
  virtual tresult VELMORA_VST3_CALL unregisterTimer(ITimerHandler* handler) = 0;
  static constexpr Iid kIid = MakeIid(words::kIRunLoop);
};

static_assert(sizeof(ViewRect) == 16, "view rectangle");

}  // namespace velmora::vst3
