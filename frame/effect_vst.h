// The VST 2 binding of the frame: owns the effect record handed to the host, turns the
// record's callbacks into calls on the plug-in, and turns the plug-in's requests (time,
// automation, edit gestures, host identity) into host-callback calls.
#pragma once

#include <cstdint>

#include "frame/effect_base.h"
#include "frame/vst2.h"

namespace velmora {

// One dispatcher request as the host made it.
struct DispatchCall {
  int32_t opcode;
  int32_t index;
  intptr_t value;
  void* ptr;
  float opt;
};

class IEffectVST : public IEffectBase {
 public:
  static constexpr int kInitialBlockLength = 1024;
  static constexpr int kChunkGranularity = 4096;

  IEffectVST(vst::HostCallback host, const EffectSetup& setup);
  ~IEffectVST() override;

  vst::AEffect* Effect() { return &effect_; }
  // The plug-in object behind an effect record; null when the record carries none.
  static IEffectVST* FromEffect(vst::AEffect* effect);

  void BeginParamEdit(int index) override;
  void ContinueParamEdit(int index) override;
  void AutomateParam(int index, double normalised) override;
  void EndParamEdit(int index) override;
  int64_t HostSamplePosition() override;
  double HostTempo() override;
  int HostKind() override;
  void HostSpecificSetup() override;
  // audioMasterSizeWindow (index = width, value = height).
  bool RequestEditorSize(int width, int height) override;
  void AttachEditor(EditorLink* editor) override;

  // Sample rate x 60 / host tempo; 0 without a valid tempo. Asked once per audio block.
  double SamplesPerBeat();

  // The record's callbacks, after the object has been found. Each holds the instance lock.
  intptr_t Dispatch(const DispatchCall& call);
  void ProcessFloat(float** inputs, float** outputs, int frames, bool accumulate);
  void ProcessDouble(double** inputs, double** outputs, int frames);

  const vst::ERect& EditRect() const { return editRect_; }
  const vst::VstSpeakerArrangement& InputArrangement() const { return inputArrangement_; }
  const vst::VstSpeakerArrangement& OutputArrangement() const { return outputArrangement_; }

 protected:
  intptr_t CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

 private:
  using Handler = intptr_t (IEffectVST::*)(const DispatchCall& call);
  struct HandlerEntry {
    int32_t opcode;
    Handler handler;
  };
  static const HandlerEntry kHandlers[];
  static Handler FindHandler(int32_t opcode);

  void FillEffectRecord();
  static void SetArrangement(vst::VstSpeakerArrangement& arrangement, int channels);
  const vst::VstTimeInfo* HostTimeInfo(int32_t filter);
  void AskForMidi();

  // Audio helpers: one slice of a host block, at most the block length.
  void WidenInputs(float** inputs, int offset, int frames);
  void BindOutputs(float** outputs, int offset);
  void NarrowOutputs(int frames, bool accumulate);
  void BindDoubleBuffers(double** inputs, double** outputs, int offset, int frames);

  // Dispatcher handlers, grouped by what they serve (one source file per group).
  // Opening, audio settings and the active state.
  intptr_t OnOpen(const DispatchCall& call);
  intptr_t OnSetSampleRate(const DispatchCall& call);
  intptr_t OnSetBlockSize(const DispatchCall& call);
  intptr_t OnMainsChanged(const DispatchCall& call);
  intptr_t OnSetBypass(const DispatchCall& call);
  intptr_t OnSwitchEngineOn(const DispatchCall& call);
  intptr_t OnSwitchEngineOff(const DispatchCall& call);
  // Parameters.
  intptr_t OnGetParamLabel(const DispatchCall& call);
  intptr_t OnGetParamDisplay(const DispatchCall& call);
  intptr_t OnGetParamName(const DispatchCall& call);
  intptr_t OnCanBeAutomated(const DispatchCall& call);
  intptr_t OnString2Parameter(const DispatchCall& call);
  // Programs and chunks.
  intptr_t OnSetProgram(const DispatchCall& call);
  intptr_t OnGetProgram(const DispatchCall& call);
  intptr_t OnSetProgramName(const DispatchCall& call);
  intptr_t OnGetProgramName(const DispatchCall& call);
  intptr_t OnGetProgramNameIndexed(const DispatchCall& call);
  intptr_t OnGetChunk(const DispatchCall& call);
  intptr_t OnSetChunk(const DispatchCall& call);
  // Identity, names, versions and capabilities.
  intptr_t OnIdentify(const DispatchCall& call);
  intptr_t OnGetEffectName(const DispatchCall& call);
  intptr_t OnGetVendorString(const DispatchCall& call);
  intptr_t OnGetProductString(const DispatchCall& call);
  intptr_t OnGetVendorVersion(const DispatchCall& call);
  intptr_t OnGetVstVersion(const DispatchCall& call);
  intptr_t OnGetPlugCategory(const DispatchCall& call);
  intptr_t OnCanDo(const DispatchCall& call);
  // Channels, speaker arrangements and events.
  intptr_t OnGetInputProperties(const DispatchCall& call);
  intptr_t OnGetOutputProperties(const DispatchCall& call);
  intptr_t OnSetSpeakerArrangement(const DispatchCall& call);
  intptr_t OnGetSpeakerArrangement(const DispatchCall& call);
  intptr_t OnProcessEvents(const DispatchCall& call);
  intptr_t OnGetMidiKeyName(const DispatchCall& call);
  // Editor and vendor extensions.
  intptr_t OnEditGetRect(const DispatchCall& call);
  intptr_t OnEditOpen(const DispatchCall& call);
  intptr_t OnEditClose(const DispatchCall& call);
  intptr_t OnVendorSpecific(const DispatchCall& call);

  intptr_t PinProperties(const DispatchCall& call, int channels, const char* labelFormat);
  void RestrictToStereo();

  vst::HostCallback host_;
  bool hostSetupDone_ = false;
  vst::ERect editRect_{};
  vst::VstSpeakerArrangement inputArrangement_{};
  vst::VstSpeakerArrangement outputArrangement_{};
  IEffectChunk programChunk_{kChunkGranularity};
  IEffectChunk bankChunk_{kChunkGranularity};
  vst::AEffect effect_{};
};

}  // namespace velmora
