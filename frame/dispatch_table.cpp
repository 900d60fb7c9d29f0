// The dispatcher: one table maps each opcode the plug-in serves to its handler; every other
// opcode (the editor and host idle calls, variable I/O and all unassigned numbers) answers 0. Every
// call runs under the instance lock, except closing, which must let go of the lock before the
// object (and the lock with it) is deleted.
#include "frame/effect_vst.h"

namespace velmora {

const IEffectVST::HandlerEntry IEffectVST::kHandlers[] = {
    {vst::effOpen, &IEffectVST::OnOpen},
    {vst::effSetProgram, &IEffectVST::OnSetProgram},
    {vst::effGetProgram, &IEffectVST::OnGetProgram},
    {vst::effSetProgramName, &IEffectVST::OnSetProgramName},
    {vst::effGetProgramName, &IEffectVST::OnGetProgramName},
    {vst::effGetParamLabel, &IEffectVST::OnGetParamLabel},
    {vst::effGetParamDisplay, &IEffectVST::OnGetParamDisplay},
    {vst::effGetParamName, &IEffectVST::OnGetParamName},
    {vst::effSetSampleRate, &IEffectVST::OnSetSampleRate},
    {vst::effSetBlockSize, &IEffectVST::OnSetBlockSize},
    {vst::effMainsChanged, &IEffectVST::OnMainsChanged},
    {vst::effEditGetRect, &IEffectVST::OnEditGetRect},
    {vst::effEditOpen, &IEffectVST::OnEditOpen},
    {vst::effEditClose, &IEffectVST::OnEditClose},
    {vst::effIdentify, &IEffectVST::OnIdentify},
    {vst::effGetChunk, &IEffectVST::OnGetChunk},
    {vst::effSetChunk, &IEffectVST::OnSetChunk},
    {vst::effProcessEvents, &IEffectVST::OnProcessEvents},
    {vst::effCanBeAutomated, &IEffectVST::OnCanBeAutomated},
    {vst::effString2Parameter, &IEffectVST::OnString2Parameter},
    {vst::effGetProgramNameIndexed, &IEffectVST::OnGetProgramNameIndexed},
    {vst::effGetInputProperties, &IEffectVST::OnGetInputProperties},
    {vst::effGetOutputProperties, &IEffectVST::OnGetOutputProperties},
    {vst::effGetPlugCategory, &IEffectVST::OnGetPlugCategory},
    {vst::effSetSpeakerArrangement, &IEffectVST::OnSetSpeakerArrangement},
    {vst::effSetBypass, &IEffectVST::OnSetBypass},
    {vst::effGetEffectName, &IEffectVST::OnGetEffectName},
    {vst::effGetVendorString, &IEffectVST::OnGetVendorString},
    {vst::effGetProductString, &IEffectVST::OnGetProductString},
    {vst::effGetVendorVersion, &IEffectVST::OnGetVendorVersion},
    {vst::effVendorSpecific, &IEffectVST::OnVendorSpecific},
    {vst::effCanDo, &IEffectVST::OnCanDo},
    {vst::effGetVstVersion, &IEffectVST::OnGetVstVersion},
    {vst::effGetMidiProgramName, &IEffectVST::OnSwitchEngineOn},
    {vst::effGetCurrentMidiProgram, &IEffectVST::OnSwitchEngineOn},
    {vst::effGetMidiProgramCategory, &IEffectVST::OnSwitchEngineOn},
    {vst::effHasMidiProgramsChanged, &IEffectVST::OnSwitchEngineOn},
    {vst::effGetMidiKeyName, &IEffectVST::OnGetMidiKeyName},
    {vst::effBeginSetProgram, &IEffectVST::OnSwitchEngineOn},
    {vst::effEndSetProgram, &IEffectVST::OnSwitchEngineOn},
    {vst::effGetSpeakerArrangement, &IEffectVST::OnGetSpeakerArrangement},
    {vst::effStartProcess, &IEffectVST::OnSwitchEngineOn},
    {vst::effStopProcess, &IEffectVST::OnSwitchEngineOff},
};

IEffectVST::Handler IEffectVST::FindHandler(int32_t opcode) {
  for (const HandlerEntry& entry : kHandlers) {
    if (entry.opcode == opcode) {
      return entry.handler;
    }
  }
  return nullptr;
}

intptr_t IEffectVST::Dispatch(const DispatchCall& call) {
  if (call.opcode == vst::effClose) {
    InstanceLock().Lock();
    BeforeClose();
    InstanceLock().Unlock();
    delete this;
    return 0;
  }
  LockGuard guard(InstanceLock());
  const Handler handler = FindHandler(call.opcode);
  return handler != nullptr ? (this->*handler)(call) : 0;
}

}  // namespace velmora
