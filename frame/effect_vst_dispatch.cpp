// The dispatcher: one table maps each opcode the plug-in serves to its handler; every other
// opcode answers 0. Every call runs under the instance lock, except closing, which must let
// go of the lock before the object (and the lock with it) is deleted.
#include "frame/effect_vst.h"

namespace velmora {

const IEffectVST::HandlerEntry IEffectVST::kHandlers[] = {
    {vst::effOpen, &IEffectVST::OnOpen},
    {vst::effGetParamLabel, &IEffectVST::OnGetParamLabel},
    {vst::effGetParamDisplay, &IEffectVST::OnGetParamDisplay},
    {vst::effGetParamName, &IEffectVST::OnGetParamName},
    {vst::effSetSampleRate, &IEffectVST::OnSetSampleRate},
    {vst::effSetBlockSize, &IEffectVST::OnSetBlockSize},
    {vst::effMainsChanged, &IEffectVST::OnMainsChanged},
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
