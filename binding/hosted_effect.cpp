// Creation, the host callback, set-up and the parameter, state, program and editor calls.
// The audio path is in hosted_effect_audio.cpp.
#include "binding/hosted_effect.h"

#include <cmath>
#include <cstring>
#include <new>

#include "binding/state_chunk.h"
#include "frame/entry_point.h"
#include "frame/text_field.h"
#include "plugin/editor_layout.h"
#include "plugin/velmora_plugin.h"

namespace velmora::binding {
namespace {

// The instance being built, for calls the plug-in might make before its effect record
// carries our pointer.
thread_local HostedEffect* creating = nullptr;

}  // namespace

HostedEffect::HostedEffect(const HostIdentity& host, GestureSink* sink)
    : host_(host), sink_(sink) {}

std::unique_ptr<HostedEffect> HostedEffect::Create(const HostIdentity& host, GestureSink* sink) {
  std::unique_ptr<HostedEffect> hosted(new (std::nothrow) HostedEffect(host, sink));
  if (!hosted) {
    return nullptr;
  }
  creating = hosted.get();
  vst::AEffect* effect = CreateEffectInstance(&HostedEffect::HostCallback, &CreateVelmoraPlugin);
  creating = nullptr;
  if (effect == nullptr) {
    return nullptr;
  }
  // The record's user field belongs to the host: it leads the callback back to us.
  effect->user = hosted.get();
  hosted->effect_ = effect;
  hosted->plugin_ = static_cast<VSTCLASS*>(IEffectVST::FromEffect(effect));
  for (int i = 0; i < hosted->ParamCount(); ++i) {
    hosted->defaults_[i] = hosted->plugin_->Param(i)->Value();
  }
  hosted->factoryPrograms_ = hosted->CountFactoryPrograms();
  hosted->Dispatch(vst::effOpen);
  return hosted;
}

HostedEffect::~HostedEffect() {
  if (effect_ == nullptr) {
    return;
  }
  CloseEditor();
  if (active_) {
    Deactivate();
  }
  Dispatch(vst::effClose);
}

intptr_t HostedEffect::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

intptr_t HostedEffect::HostCallback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                    intptr_t value, void* ptr, float opt) {
  HostedEffect* self = effect != nullptr && effect->user != nullptr
                           ? static_cast<HostedEffect*>(effect->user)
                           : creating;
  if (opcode == vst::audioMasterVersion) {
    return 2400;
  }
  return self != nullptr ? self->AnswerHost(opcode, index, value, ptr, opt) : 0;
}

intptr_t HostedEffect::AnswerHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float) {
  const bool validParam = index >= 0 && index < ParamCount() && plugin_ != nullptr;
  switch (opcode) {
    case vst::audioMasterGetTime:
      return reinterpret_cast<intptr_t>(TimeInfo());
    case vst::audioMasterAutomate:
      // The store already holds the new value; the float the call carries is less exact.
      if (validParam && sink_ != nullptr) {
        sink_->GestureValue(index, PlainValue(index), NormalisedValue(index));
      }
      return 0;
    case vst::audioMasterBeginEdit:
      if (validParam && sink_ != nullptr) {
        sink_->GestureBegin(index);
      }
      return 1;
    case vst::audioMasterEndEdit:
      if (validParam && sink_ != nullptr) {
        sink_->GestureEnd(index);
      }
      return 1;
    case vst::audioMasterGetProductString:
      CopyText(static_cast<char*>(ptr), 64, host_.product.c_str());
      return 1;
    case vst::audioMasterGetVendorString:
      CopyText(static_cast<char*>(ptr), 64, host_.vendor.c_str());
      return 1;
    case vst::audioMasterGetVendorVersion:
      return host_.version;
    case vst::audioMasterGetSampleRate:
      return static_cast<intptr_t>(sampleRate_);
    case vst::audioMasterGetBlockSize:
      return static_cast<intptr_t>(maxFrames_);
    case vst::audioMasterSizeWindow: {
      EditorResizer* resizer = resizer_.load();
      return resizer != nullptr && index > 0 && value > 0 && value <= INT32_MAX &&
                     resizer->ResizeEditor(index, static_cast<int>(value))
                 ? 1
                 : 0;
    }
    default:
      return 0;
  }
}

// The VST 2 time record of the segment being processed: the song position moves on with the
// segment's offset while the transport plays.
const vst::VstTimeInfo* HostedEffect::TimeInfo() {
  timeInfo_ = vst::VstTimeInfo{};
  timeInfo_.sampleRate = sampleRate_;
  const Transport now = Advanced(transport_, static_cast<double>(segmentOffset_), sampleRate_);
  timeInfo_.samplePos = now.samplePosition;
  timeInfo_.timeSigNumerator = 4;
  timeInfo_.timeSigDenominator = 4;
  int32_t flags = 0;
  if (now.TempoUsable()) {
    timeInfo_.tempo = now.tempo;
    flags |= vst::kVstTempoValid;
    if (now.beatPositionValid) {
      timeInfo_.ppqPos = now.beatPosition;
      flags |= vst::kVstPpqPosValid;
    }
  }
  if (transport_.playing) {
    flags |= vst::kVstTransportPlaying;
  }
  timeInfo_.flags = flags;
  return &timeInfo_;
}

bool HostedEffect::Activate(double sampleRate, uint32_t maxFrames) {
  if (!(sampleRate > 0.0 && std::isfinite(sampleRate)) || maxFrames == 0) {
    return false;
  }
  if (active_) {
    Deactivate();
  }
  sampleRate_ = sampleRate;
  maxFrames_ = maxFrames;
  const auto announced = static_cast<intptr_t>(std::min<uint32_t>(maxFrames, INT32_MAX));
  Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(vst::effSetBlockSize, 0, announced);
  Dispatch(vst::effMainsChanged, 0, 1);
  active_ = plugin_->BlockLength() > 0;
  return active_;
}

void HostedEffect::Deactivate() {
  if (active_) {
    Dispatch(vst::effMainsChanged, 0, 0);
  }
  active_ = false;
}

void HostedEffect::Reset() {
  plugin_->SetActive(true);
}

bool HostedEffect::SetChannelLayout(int inputs, int outputs) {
  if (active_ || inputs != outputs || (inputs != 1 && inputs != 2) ||
      !plugin_->LegalChannels(inputs, outputs)) {
    return false;
  }
  vst::VstSpeakerArrangement in{};
  vst::VstSpeakerArrangement out{};
  in.numChannels = inputs;
  out.numChannels = outputs;
  in.type = out.type = inputs == 1 ? vst::kSpeakerArrMono : vst::kSpeakerArrStereo;
  Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out);
  inputChannels_ = inputs;
  outputChannels_ = outputs;
  return true;
}

int HostedEffect::Latency() const {
  return plugin_->Latency();
}

int HostedEffect::ParamCount() const {
  return plugin_ != nullptr ? std::min(plugin_->NumParams(), dsp::kParamCount) : 0;
}

size_t HostedEffect::SaveState(uint8_t* bytes, size_t size) {
  if (bytes == nullptr || size < kStateSize) {
    return 0;
  }
  void* chunk = nullptr;
  const intptr_t written = Dispatch(vst::effGetChunk, 1, 0, &chunk);
  if (written != static_cast<intptr_t>(kStateSize) || chunk == nullptr) {
    return 0;
  }
  std::memcpy(bytes, chunk, kStateSize);
  return kStateSize;
}

bool HostedEffect::LoadState(const uint8_t* bytes, size_t size) {
  if (!IsOwnState(bytes, size)) {
    return false;
  }
  return Dispatch(vst::effSetChunk, 1, static_cast<intptr_t>(size), const_cast<uint8_t*>(bytes)) ==
         1;
}

bool HostedEffect::OpenEditor(intptr_t parent) {
  if (editorOpen_ || parent == 0) {
    return false;
  }
  editorOpen_ = Dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) == 1;
  return editorOpen_;
}

// Under the instance lock: the editor's own thread applies scales and zooms too.
void HostedEffect::EditorDeviceSize(int& width, int& height) {
  LockGuard guard(plugin_->InstanceLock());
  EditorLink* editor = plugin_->Editor();
  if (editor == nullptr) {
    width = kEditorWidth;
    height = kEditorHeight;
    return;
  }
  editor->RefreshScale();
  width = editor->DeviceWidth();
  height = editor->DeviceHeight();
}

bool HostedEffect::SetEditorHostScale(double scale, bool& resize) {
  LockGuard guard(plugin_->InstanceLock());
  EditorLink* editor = plugin_->Editor();
  resize = false;
  if (editor == nullptr) {
    return false;
  }
  resize = editor->SetHostScale(scale) && editor->WindowIsOpen();
  return true;
}

void HostedEffect::CloseEditor() {
  if (editorOpen_) {
    Dispatch(vst::effEditClose);
  }
  editorOpen_ = false;
}

}  // namespace velmora::binding
