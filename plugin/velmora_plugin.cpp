#include "plugin/velmora_plugin.h"

#include "plugin/factory_presets.h"
#include "plugin/parameter_set.h"
#include "plugin/velmora_version.h"

namespace velmora {

EffectSetup VelmoraSetup() {
  EffectSetup setup;
  setup.numParams = kVelmoraParamCount;
  setup.channelIO = "1-1 2-2";
  setup.numPrograms = VSTCLASS::kProgramCount;
  setup.effectName = "Velmora";
  setup.productName = "";
  setup.vendorName = "Tolvane";
  setup.version = kVelmoraVersion;
  setup.uniqueId = vst::FourCC('Q', 'x', 'v', 'b');
  setup.manufacturerCode = vst::FourCC('T', 'v', 'N', 'N');
  setup.latency = 0;
  setup.midiCapability = 0;
  setup.usesChunks = false;
  setup.isInstrument = false;
  return setup;
}

VSTCLASS::VSTCLASS(vst::HostCallback host) : IEffectVST(host, VelmoraSetup()) {
  DeclareParameters(*this);
  editorDisplays_ = BuildVelmoraEditor(*this);
  engineDisplays_ = std::make_unique<EngineDisplays>(engine_.Lamp(), engine_.LeftGraph(),
                                                     engine_.RightGraph(), editorDisplays_);
  FollowEngineDisplays(editorDisplays_, *engineDisplays_);
  engine_.SetLampListener(&engineDisplays_->lampRepaint);
  FillFactoryPrograms(*this);
}

// The editor goes first: its lamp and strips read the engine's display records when they
// paint, so it must not outlive the engine, not even for the rest of the teardown.
VSTCLASS::~VSTCLASS() {
  DeleteEditor();
  engine_.SetLampListener(nullptr);
}

// The engine takes no lock of its own: each hook holds the recursive instance lock for the
// whole call, and the engine's internal re-entries run under it.
void VSTCLASS::ResetEngine() {
  LockGuard guard(InstanceLock());
  engine_.ResetEngine();
}

void VSTCLASS::ApplyParameter(int index) {
  LockGuard guard(InstanceLock());
  engine_.ApplyParameter(index);
}

// The frame calls this only from its audio callbacks, which hold the instance lock for the
// whole block; taking it again here would only cost two atomic operations a block.
void VSTCLASS::ProcessBlock(double** inputs, double** outputs, int frames) {
  engine_.ProcessBlock(inputs, outputs, frames);
}

void VSTCLASS::SetActive(bool active) {
  LockGuard guard(InstanceLock());
  engine_.SetActive(active);
}

double VSTCLASS::StoredParamValue(int index) const {
  const IEffectParam* param = Param(index);
  return param != nullptr ? param->Value() : 0.0;
}

double VSTCLASS::CurrentSampleRate() const {
  return SampleRate();
}

double VSTCLASS::SamplesPerBeat() {
  return IEffectVST::SamplesPerBeat();
}

int64_t VSTCLASS::HostSamplePosition() {
  return IEffectVST::HostSamplePosition();
}

IEffectVST* CreateVelmoraPlugin(vst::HostCallback host) {
  return new VSTCLASS(host);
}

}  // namespace velmora
