// One LV2 instance of the effect: the delay engine behind the LV2 ports. It is the engine's
// host: parameter values come from the control ports, tempo and song position from the
// host's time:Position messages, as the VST 2 frame gets them from its time queries.
//
// Threads: LV2 calls run() on the audio thread and never concurrently with activate(),
// deactivate() or connect_port() of the same instance, so the instance needs no lock. The
// UI never touches it: it talks to the host through port writes and reads the display
// messages of the notify port.
#pragma once

#include <cstdint>
#include <memory>

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include "engine/delay_engine.h"
#include "engine/engine_host.h"
#include "engine/parameter_index.h"
#include "lv2/display_notifier.h"
#include "lv2/host_transport.h"

namespace velmora::lv2 {

class DelayInstance final : public EngineHost {
 public:
  // The engine works on slices of at most this many frames; longer host blocks are cut.
  static constexpr uint32_t kSliceFrames = 8192;

  // Null when the rate is not a positive finite number or memory is short. Everything
  // run() needs is allocated here. The map may be null: the host then sends no time and
  // gets no display messages.
  static std::unique_ptr<DelayInstance> Create(double sampleRate, const LV2_URID_Map* map);

  void ConnectPort(uint32_t port, void* data);
  void Activate();
  void Deactivate();
  void Run(uint32_t frames);

  // EngineHost.
  double StoredParamValue(int index) const override;
  double CurrentSampleRate() const override { return sampleRate_; }
  double SamplesPerBeat() override { return transport_.SamplesPerBeat(sampleRate_); }
  int64_t HostSamplePosition() override { return transport_.SamplePosition(); }

  const dsp::DelayEngine& Engine() const { return engine_; }

 private:
  explicit DelayInstance(double sampleRate);

  void ReadControlPorts();
  // Processes frames frames from offset on, in slices, and reports the displays.
  void ProcessSpan(uint32_t offset, uint32_t frames);
  void ProcessSlice(uint32_t offset, uint32_t frames);

  double sampleRate_;
  dsp::DelayEngine engine_{*this};
  HostTransport transport_;
  DisplayNotifier notifier_;

  const float* inputs_[2] = {};
  float* outputs_[2] = {};
  const LV2_Atom_Sequence* timePort_ = nullptr;
  LV2_Atom_Sequence* notifyPort_ = nullptr;
  const float* controls_[kVelmoraParamCount] = {};

  // The whole-numbered values the engine reads, and the port values they came from.
  double stored_[kVelmoraParamCount];
  float lastControl_[kVelmoraParamCount];
  bool controlsRead_ = false;

  std::unique_ptr<double[]> scratch_;
  double* slicePointers_[4] = {};
};

}  // namespace velmora::lv2
