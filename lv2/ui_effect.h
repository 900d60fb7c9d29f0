// The UI side of the LV2 plug-in: the parameter store the editor works on, without an
// engine. The editor changes values and reports gestures here as it does to the VST 2 frame;
// this object turns them into the LV2 host's port writes and ui:touch notifications. The
// host's port events come back the other way: control values are shown on the controls,
// display messages from the DSP move the lamp and the strips.
//
// Threads: the editor may run on a thread of its own (the X11 window layer does), but LV2
// allows host calls only from the thread that calls the UI (port_event, idle). So gestures
// and writes are queued in order and delivered by DeliverToHost(), which the idle callback
// runs on the host's UI thread.
#pragma once

#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <mutex>
#include <vector>

#include "engine/display_state.h"
#include "frame/effect_base.h"
#include "lv2/display_notifier.h"

namespace velmora::lv2 {

// What the host offers the UI.
struct UiHostLink {
  LV2UI_Write_Function write = nullptr;
  LV2UI_Controller controller = nullptr;
  const LV2UI_Touch* touch = nullptr;    // optional
  const LV2UI_Resize* resize = nullptr;  // optional
};

class UiEffect final : public IEffectBase {
 public:
  // One queued message for the host, in the order the editor made them.
  struct HostMessage {
    enum Kind { kTouchBegin, kWrite, kTouchEnd };
    Kind kind;
    uint32_t port;
    float value;
  };

  // setup: the effect's identity and counts, as the VST 2 class has them.
  UiEffect(const EffectSetup& setup, const UiHostLink& host, const LV2_URID_Map* map);

  // The host's port_event: a control value (format 0) or a display message.
  void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);

  // Hands every queued message to the host, oldest first. Host UI thread only.
  void DeliverToHost();

  // The records the lamp and strips read, and who repaints the lamp when it switches.
  const dsp::LampDisplay& LampRecord() const { return lamp_; }
  const dsp::GraphDisplay& LeftRecord() const { return left_; }
  const dsp::GraphDisplay& RightRecord() const { return right_; }
  void SetLampListener(dsp::LampListener* listener) { lampListener_ = listener; }

  // IEffectBase: the editor's gestures and values, queued for the host.
  void BeginParamEdit(int index) override;
  void ContinueParamEdit(int index) override;
  void AutomateParam(int index, double normalised) override;
  void EndParamEdit(int index) override;
  // The UI has no transport.
  int64_t HostSamplePosition() override { return 0; }
  double HostTempo() override { return 0.0; }
  void HostSpecificSetup() override {}
  // ui:resize, when the host offers it.
  bool RequestEditorSize(int width, int height) override;

 private:
  void Queue(HostMessage::Kind kind, int index, float value);
  void ShowPortValue(int index, float value);
  void ShowDisplays(const DisplayValues& values);

  UiHostLink host_;
  DisplayUrids urids_;
  bool mapped_ = false;

  std::mutex queueMutex_;
  std::vector<HostMessage> queue_;
  std::vector<HostMessage> delivering_;

  dsp::LampDisplay lamp_;
  dsp::GraphDisplay left_;
  dsp::GraphDisplay right_;
  dsp::LampListener* lampListener_ = nullptr;
};

}  // namespace velmora::lv2
