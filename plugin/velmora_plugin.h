// The Velmora plug-in class: the frame's VST 2 binding plus the effect's parameters,
// programs and engine hooks. It is also the engine's host: the delay engine asks it for
// stored parameter values, the sample rate and the host's tempo and song position.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/delay_engine.h"
#include "engine/engine_host.h"
#include "frame/effect_vst.h"
#include "plugin/editor_layout.h"
#include "plugin/engine_displays.h"

namespace velmora {

class VSTCLASS : public IEffectVST, public EngineHost {
 public:
  static constexpr int kProgramCount = 60;

  explicit VSTCLASS(vst::HostCallback host);
  ~VSTCLASS() override;

  // Engine hooks; each takes the instance lock, so they may be called with or without it.
  void ResetEngine() override;
  void ApplyParameter(int index) override;
  void ProcessBlock(double** inputs, double** outputs, int frames) override;
  void SetActive(bool active) override;

  // What the engine asks of its host; called with the instance lock held.
  double StoredParamValue(int index) const override;
  double CurrentSampleRate() const override;
  double SamplesPerBeat() override;
  int64_t HostSamplePosition() override;

  // The effect engine, for the editor's display records and for tests. Anything but the
  // display records is to be touched only with the instance lock held.
  dsp::DelayEngine& Engine() { return engine_; }
  // The editor controls the engine drives (owned by the editor).
  const EditorDisplays& Displays() const { return editorDisplays_; }

 private:
  dsp::DelayEngine engine_{*this};
  EditorDisplays editorDisplays_;
  std::unique_ptr<EngineDisplays> engineDisplays_;
};

// The effect's identity, counts and version, shared by the VST 2 class and the LV2 UI's
// parameter store (whose editor shows the same version text).
EffectSetup VelmoraSetup();

// The factory the exported entry point hands to the frame.
IEffectVST* CreateVelmoraPlugin(vst::HostCallback host);

}  // namespace velmora
