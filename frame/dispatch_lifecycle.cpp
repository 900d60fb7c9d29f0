// Dispatcher handlers for opening the plug-in and for the audio settings.
#include <cmath>
#include <cstdint>

#include "frame/effect_vst.h"

namespace velmora {

intptr_t IEffectVST::OnOpen(const DispatchCall&) {
  HostSpecificSetup();
  ApplyAllParameters();
  return 0;
}

intptr_t IEffectVST::OnSetSampleRate(const DispatchCall& call) {
  // A rate that is not a positive number would poison every time computation of the engine;
  // such a request keeps the rate the plug-in already has.
  const double rate = static_cast<double>(call.opt);
  if (std::isfinite(rate) && rate > 0.0) {
    SetSampleRate(rate);
  }
  ResetEngine();
  return 0;
}

intptr_t IEffectVST::OnSetBlockSize(const DispatchCall& call) {
  // Block lengths beyond the int range are no real request; they are treated as refused.
  const int frames = call.value > 0 && call.value <= INT32_MAX ? static_cast<int>(call.value) : 0;
  SetBlockLength(frames);
  ResetEngine();
  return 0;
}

intptr_t IEffectVST::OnMainsChanged(const DispatchCall& call) {
  if (call.value != 0) {
    SetActive(true);
  } else {
    SetActive(false);
    ResetEngine();
  }
  return 0;
}

// Bypass on switches the engine off; bypass off switches it on again.
intptr_t IEffectVST::OnSetBypass(const DispatchCall& call) {
  SetActive(call.value == 0);
  return 0;
}

// effStartProcess and the MIDI-program and program-change brackets: the host is about to
// run the effect, so the engine is switched on. Switching on is also how an engine starts
// clean (this plug-in's engine resets itself and silences its line then).
intptr_t IEffectVST::OnSwitchEngineOn(const DispatchCall&) {
  SetActive(true);
  return 0;
}

intptr_t IEffectVST::OnSwitchEngineOff(const DispatchCall&) {
  SetActive(false);
  return 0;
}

}  // namespace velmora
