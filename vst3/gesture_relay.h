// Carries the editor's edit gestures to the host's component handler as beginEdit,
// performEdit and endEdit, in the order they were made. The X11 editor makes them on its
// own thread, but a host expects them on its UI thread: while the view has a host run loop
// timer (Linux hosts offer one), messages wait in a queue the timer drains on that thread.
// Without one (Windows, where the editor runs on the host's UI thread anyway, or a Linux
// host without a run loop) each message is delivered at once on the thread that made it.
#pragma once

#include <atomic>
#include <mutex>

#include "binding/gesture_queue.h"
#include "binding/gesture_sink.h"
#include "vst3/abi/vst3_controller.h"

namespace velmora::vst3 {

class GestureRelay final : public binding::GestureSink {
 public:
  ~GestureRelay() override;

  // The host's handler (a reference is kept); null forgets it. Messages made while there
  // is none are dropped when drained.
  void SetHandler(IComponentHandler* handler);
  IComponentHandler* Handler();
  void SetQueued(bool queued);
  // Delivers every waiting message, then a pending values-changed notice. Called on the
  // host's UI thread; a call made while another delivers (the host calling back from its
  // handler, say) returns at once.
  void Drain();
  // Asks the host to read every value again (after a program change), at the next drain.
  void NoteValuesChanged() { valuesChanged_.store(true); }

  void GestureBegin(int index) override;
  void GestureValue(int index, double plain, double normalised) override;
  void GestureEnd(int index) override;

 private:
  void AfterPush();

  binding::GestureQueue queue_;
  std::mutex delivering_;
  std::mutex handlerLock_;
  IComponentHandler* handler_ = nullptr;
  std::atomic<bool> queued_{false};
  std::atomic<bool> valuesChanged_{false};
};

}  // namespace velmora::vst3
