// Host identification and the set-up some hosts need when they open the plug-in.
#include "frame/effect_vst.h"
#include "frame/host_identity.h"

namespace velmora {

// Asks the host once per instance; the answer (unknown included) is kept for good.
// Either the dispatcher (at open) or the editor's thread may ask first; the lock keeps the
// question to one.
int IEffectVST::HostKind() {
  LockGuard guard(InstanceLock());
  if (StoredHostKind() != kHostNotIdentified) {
    return StoredHostKind();
  }
  char product[256] = {};
  CallHost(vst::audioMasterGetProductString, 0, 0, product, 0.0f);
  // A host may fill the whole buffer without a terminator: we end the text ourselves.
  product[sizeof(product) - 1] = '\0';
  int version = 0;
  if (product[0] != '\0') {
    version = PackHostVersion(CallHost(vst::audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f));
  }
  StoreHostKind(IdentifyHost(product), version);
  return StoredHostKind();
}

void IEffectVST::RestrictToStereo() {
  SetInputConnections(2, NumInputs() - 2, false);
  if (NumOutputs() > 2) {
    SetOutputConnections(2, NumOutputs() - 2, true);
  }
}

void IEffectVST::HostSpecificSetup() {
  if (hostSetupDone_) {
    return;
  }
  hostSetupDone_ = true;
  // These hosts cannot cope with more than a stereo pair of inputs.
  switch (HostKind()) {
    case kHostForte:
    case kHostAudition:
    case kHostOrion:
    case kHostSawStudio:
      RestrictToStereo();
      break;
    default:
      break;
  }
  effect_.numInputs = NumInputs();
  effect_.numOutputs = NumOutputs();
  inputArrangement_.numChannels = NumInputs();
  outputArrangement_.numChannels = NumOutputs();
}

}  // namespace velmora
