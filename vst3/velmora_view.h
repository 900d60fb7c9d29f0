// The editor inside a host window: the VST 2 plug-in's fixed-size editor, embedded in an
// X11 window (Linux) or an HWND (Windows).
//
// On Linux the editor keeps the thread of its own it has under VST 2 hosts: it draws and
// reads X events there, so a host that is slow to run its loop cannot stall the editor, and
// the same code serves every format. The host's run loop, where the frame offers one, is
// used for what must happen on the host's UI thread: delivering edit gestures and asking the
// frame for a new size when the user picks a zoom.
//
// The view follows the host's content scale: getSize answers the editor's size in device
// pixels, and a scale that changes it while the view is attached asks the frame to resize.
#pragma once

#include <atomic>
#include <cstdint>

#include "binding/editor_resizer.h"
#include "vst3/abi/vst3_view.h"

namespace velmora::vst3 {

class VelmoraVst3;

class VelmoraView final : public IPlugView,
                          public IPlugViewContentScaleSupport,
                          public ITimerHandler,
                          public binding::EditorResizer {
 public:
  // Gesture delivery period on the host's run loop.
  static constexpr uint64_t kTimerMilliseconds = 15;

  // A view with one reference; it keeps a reference to its owner. Null when memory is short.
  static VelmoraView* Create(VelmoraVst3* owner);

  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override;
  uint32_t VELMORA_VST3_CALL addRef() override;
  uint32_t VELMORA_VST3_CALL release() override;

  tresult VELMORA_VST3_CALL isPlatformTypeSupported(const char* type) override;
  tresult VELMORA_VST3_CALL attached(void* parent, const char* type) override;
  tresult VELMORA_VST3_CALL removed() override;
  tresult VELMORA_VST3_CALL onWheel(float distance) override;
  tresult VELMORA_VST3_CALL onKeyDown(char16 key, int16_t keyCode, int16_t modifiers) override;
  tresult VELMORA_VST3_CALL onKeyUp(char16 key, int16_t keyCode, int16_t modifiers) override;
  tresult VELMORA_VST3_CALL getSize(ViewRect* size) override;
  tresult VELMORA_VST3_CALL onSize(ViewRect* size) override;
  tresult VELMORA_VST3_CALL onFocus(TBool state) override;
  tresult VELMORA_VST3_CALL setFrame(IPlugFrame* frame) override;
  tresult VELMORA_VST3_CALL canResize() override;
  tresult VELMORA_VST3_CALL checkSizeConstraint(ViewRect* rect) override;

  // IPlugViewContentScaleSupport: factors that are not finite and positive are refused.
  tresult VELMORA_VST3_CALL setContentScaleFactor(float factor) override;

  // ITimerHandler: the host's run loop, on its UI thread.
  void VELMORA_VST3_CALL onTimer() override;

  // binding::EditorResizer: the editor's own size requests. With a host run loop they wait
  // for its timer, since the zoom list runs on the editor's thread; otherwise they go to the
  // frame at once.
  bool ResizeEditor(int width, int height) override;

 private:
  explicit VelmoraView(VelmoraVst3* owner);
  ~VelmoraView();
  void StartHostTimer();
  void StopHostTimer();
  // The editor's size in device pixels; the fixed size when there is no editor.
  ViewRect DeviceRect();
  bool AskFrameToResize(int width, int height);

  std::atomic<uint32_t> references_{1};
  VelmoraVst3* owner_;
  IPlugFrame* frame_ = nullptr;
  IRunLoop* runLoop_ = nullptr;
  bool attached_ = false;
  std::atomic<bool> deferResize_{false};
  // A size request waiting for the host's timer: width in the high half, 0 for none.
  std::atomic<uint64_t> pendingSize_{0};
  // The size the host last heard of (getSize, or a resize it granted), packed the same way:
  // the editor asks for its size at open, which the host already has from getSize.
  std::atomic<uint64_t> hostSize_{0};
};

}  // namespace velmora::vst3
