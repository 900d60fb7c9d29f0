#include "frame/effect_vst.h"

#include <cmath>
#include <cstring>

namespace velmora {
namespace {

intptr_t DispatcherCallback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                            void* ptr, float opt) {
  IEffectVST* plugin = IEffectVST::FromEffect(effect);
  if (plugin == nullptr) {
    return 0;
  }
  // Nothing may unwind into the host; a failure is a 0 result.
  try {
    return plugin->Dispatch(DispatchCall{opcode, index, value, ptr, opt});
  } catch (...) {
    return 0;
  }
}

void ProcessCallback(vst::AEffect* effect, float** inputs, float** outputs, int32_t frames) {
  if (IEffectVST* plugin = IEffectVST::FromEffect(effect)) {
    plugin->ProcessFloat(inputs, outputs, frames, true);
  }
}

void ProcessReplacingCallback(vst::AEffect* effect, float** inputs, float** outputs,
                              int32_t frames) {
  if (IEffectVST* plugin = IEffectVST::FromEffect(effect)) {
    plugin->ProcessFloat(inputs, outputs, frames, false);
  }
}

void ProcessDoubleReplacingCallback(vst::AEffect* effect, double** inputs, double** outputs,
                                    int32_t frames) {
  if (IEffectVST* plugin = IEffectVST::FromEffect(effect)) {
    plugin->ProcessDouble(inputs, outputs, frames);
  }
}

void SetParameterCallback(vst::AEffect* effect, int32_t index, float value) {
  if (IEffectVST* plugin = IEffectVST::FromEffect(effect)) {
    plugin->SetParamFromHost(index, value);
  }
}

float GetParameterCallback(vst::AEffect* effect, int32_t index) {
  IEffectVST* plugin = IEffectVST::FromEffect(effect);
  return plugin != nullptr ? static_cast<float>(plugin->ParamForHost(index)) : 0.0f;
}

}  // namespace

IEffectVST::IEffectVST(vst::HostCallback host, const EffectSetup& setup)
    : IEffectBase(setup), host_(host) {
  FillEffectRecord();
  SetArrangement(inputArrangement_, NumInputs());
  SetArrangement(outputArrangement_, NumOutputs());
  SetInputConnections(0, NumInputs(), true);
  SetOutputConnections(0, NumOutputs(), true);
  SetBlockLength(kInitialBlockLength);
  // The first effGetChunk of each form then never allocates.
  const int chunkBytes = static_cast<int>(sizeof(int32_t)) + NumParams() * kParamValueBytes;
  programChunk_.ReserveExactly(chunkBytes);
  bankChunk_.ReserveExactly(chunkBytes);
}

IEffectVST::~IEffectVST() {
  DeleteEditor();
}

IEffectVST* IEffectVST::FromEffect(vst::AEffect* effect) {
  return effect != nullptr ? static_cast<IEffectVST*>(effect->object) : nullptr;
}

void IEffectVST::FillEffectRecord() {
  std::memset(&effect_, 0, sizeof(effect_));
  effect_.magic = vst::kEffectMagic;
  effect_.dispatcher = DispatcherCallback;
  effect_.process = ProcessCallback;
  effect_.setParameter = SetParameterCallback;
  effect_.getParameter = GetParameterCallback;
  effect_.numPrograms = NumPrograms();
  effect_.numParams = NumParams();
  effect_.numInputs = NumInputs();
  effect_.numOutputs = NumOutputs();
  effect_.flags = vst::effFlagsCanReplacing | vst::effFlagsCanDoubleReplacing;
  if (UsesChunks()) {
    effect_.flags |= vst::effFlagsProgramChunks;
  }
  if (LegalChannels(1, -1)) {
    effect_.flags |= vst::effFlagsMonoCapable;
  }
  if (IsInstrument()) {
    effect_.flags |= vst::effFlagsIsSynth;
  }
  effect_.initialDelay = Latency();
  effect_.ioRatio = 1.0f;
  // The record stores the object as the base the callbacks cast back to.
  effect_.object = static_cast<IEffectVST*>(this);
  effect_.uniqueID = UniqueId();
  effect_.version = VersionNumber(true);
  effect_.processReplacing = ProcessReplacingCallback;
  effect_.processDoubleReplacing = ProcessDoubleReplacingCallback;
}

void IEffectVST::SetArrangement(vst::VstSpeakerArrangement& arrangement, int channels) {
  std::memset(&arrangement, 0, sizeof(arrangement));
  arrangement.numChannels = channels;
  if (channels == 0) {
    arrangement.type = vst::kSpeakerArrEmpty;
  } else if (channels == 1) {
    arrangement.type = vst::kSpeakerArrMono;
  } else if (channels == 2) {
    arrangement.type = vst::kSpeakerArrStereo;
  } else {
    arrangement.type = vst::kSpeakerArrUserDefined;
  }
}

void IEffectVST::AttachEditor(EditorLink* editor) {
  IEffectBase::AttachEditor(editor);
  if (EditorLink* attached = Editor()) {
    LockGuard guard(InstanceLock());
    effect_.flags |= vst::effFlagsHasEditor;
    editRect_ = vst::ERect{0, 0, static_cast<int16_t>(attached->Height()),
                           static_cast<int16_t>(attached->Width())};
  }
}

bool IEffectVST::RequestEditorSize(int width, int height) {
  return CallHost(vst::audioMasterSizeWindow, width, height, nullptr, 0.0f) != 0;
}

intptr_t IEffectVST::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return host_ != nullptr ? host_(&effect_, opcode, index, value, ptr, opt) : 0;
}

void IEffectVST::AutomateParam(int index, double normalised) {
  CallHost(vst::audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalised));
}

void IEffectVST::BeginParamEdit(int index) {
  FlushPendingParamEdit();
  CallHost(vst::audioMasterBeginEdit, index, 0, nullptr, 0.0f);
}

void IEffectVST::ContinueParamEdit(int index) {
  LockGuard guard(InstanceLock());
  if (index != PendingParamEdit()) {
    FlushPendingParamEdit();
    CallHost(vst::audioMasterBeginEdit, index, 0, nullptr, 0.0f);
  }
}

void IEffectVST::EndParamEdit(int index) {
  CallHost(vst::audioMasterEndEdit, index, 0, nullptr, 0.0f);
}

const vst::VstTimeInfo* IEffectVST::HostTimeInfo(int32_t filter) {
  return reinterpret_cast<const vst::VstTimeInfo*>(
      CallHost(vst::audioMasterGetTime, 0, filter, nullptr, 0.0f));
}

// Rounded to the nearest sample in 64 bits: positions beyond 2^31 samples (about 13 hours at
// 44.1 kHz) are ordinary in long sessions and must not wrap.
int64_t IEffectVST::HostSamplePosition() {
  const vst::VstTimeInfo* info = HostTimeInfo(0);
  if (info == nullptr) {
    return 0;
  }
  const double position = info->samplePos;
  // The upper bound keeps the conversion defined; no song gets near it.
  if (!(position >= 0.0 && position < 9.0e18)) {
    return 0;
  }
  return static_cast<int64_t>(position + 0.5);
}

double IEffectVST::HostTempo() {
  const vst::VstTimeInfo* info = HostTimeInfo(vst::kVstTempoValid);
  if (info == nullptr || (info->flags & vst::kVstTempoValid) == 0) {
    return 0.0;
  }
  const double tempo = info->tempo;
  return tempo >= 0.0 && std::isfinite(tempo) ? tempo : 0.0;
}

double IEffectVST::SamplesPerBeat() {
  const double tempo = HostTempo();
  return tempo > 0.0 ? SampleRate() * 60.0 / tempo : 0.0;
}

void IEffectVST::AskForMidi() {
  if (MidiCapability() != 0) {
    CallHost(vst::audioMasterWantMidi, 0, 0, nullptr, 0.0f);
  }
}

}  // namespace velmora
