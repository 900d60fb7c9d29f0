// Dispatcher handlers for pins, speaker arrangements and incoming events.
#include <algorithm>
#include <cstdio>

#include "frame/effect_vst.h"

namespace velmora {

// Channels 0, 2, 4 ... are flagged as the first of a stereo pair when a partner follows.
intptr_t IEffectVST::PinProperties(const DispatchCall& call, int channels,
                                   const char* labelFormat) {
  if (call.ptr == nullptr || call.index < 0 || call.index >= channels) {
    return 0;
  }
  auto* pin = static_cast<vst::VstPinProperties*>(call.ptr);
  pin->flags = vst::kVstPinIsActive;
  if (call.index % 2 == 0 && call.index < channels - 1) {
    pin->flags |= vst::kVstPinIsStereo;
  }
  std::snprintf(pin->label, sizeof(pin->label), labelFormat, call.index + 1);
  return 1;
}

intptr_t IEffectVST::OnGetInputProperties(const DispatchCall& call) {
  return PinProperties(call, NumInputs(), "Input %d");
}

intptr_t IEffectVST::OnGetOutputProperties(const DispatchCall& call) {
  return PinProperties(call, NumOutputs(), "Output %d");
}

// The host announces how many channels it really connects; the rest fall back to their
// scratch buffers. The arrangements the plug-in reports stay as they were.
intptr_t IEffectVST::OnSetSpeakerArrangement(const DispatchCall& call) {
  if (const auto* input = reinterpret_cast<const vst::VstSpeakerArrangement*>(call.value)) {
    const int n = std::clamp(input->numChannels, 0, NumInputs());
    SetInputConnections(0, n, true);
    SetInputConnections(n, NumInputs() - n, false);
  }
  if (const auto* output = static_cast<const vst::VstSpeakerArrangement*>(call.ptr)) {
    const int n = std::clamp(output->numChannels, 0, NumOutputs());
    SetOutputConnections(0, n, true);
    SetOutputConnections(n, NumOutputs() - n, false);
  }
  return 1;
}

intptr_t IEffectVST::OnGetSpeakerArrangement(const DispatchCall& call) {
  if (call.value != 0) {
    *reinterpret_cast<vst::VstSpeakerArrangement**>(call.value) = &inputArrangement_;
  }
  if (call.ptr != nullptr) {
    *static_cast<vst::VstSpeakerArrangement**>(call.ptr) = &outputArrangement_;
  }
  return 1;
}

intptr_t IEffectVST::OnProcessEvents(const DispatchCall& call) {
  const auto* events = static_cast<const vst::VstEvents*>(call.ptr);
  if (events == nullptr) {
    return 0;
  }
  // The host allocates numEvents entries; the declared two only fix the layout, so the list
  // is read through a pointer rather than by indexing past that array's bounds.
  vst::VstEvent* const* list = events->events;
  for (int32_t i = 0; i < events->numEvents; ++i) {
    const vst::VstEvent* event = list[i];
    if (event == nullptr) {
      continue;
    }
    if (event->type == vst::kVstMidiType) {
      const auto* midi = reinterpret_cast<const vst::VstMidiEvent*>(event);
      const auto byte = [midi](int k) { return static_cast<uint8_t>(midi->midiData[k]); };
      ReceiveMidi(midi->deltaFrames, byte(0), byte(1), byte(2));
    } else if (event->type == vst::kVstSysExType) {
      const auto* sysex = reinterpret_cast<const vst::VstMidiSysexEvent*>(event);
      ReceiveSysEx(sysex->deltaFrames, sysex->dumpBytes,
                   reinterpret_cast<const uint8_t*>(sysex->sysexDump));
    }
  }
  return 1;
}

intptr_t IEffectVST::OnGetMidiKeyName(const DispatchCall& call) {
  auto* key = static_cast<vst::MidiKeyName*>(call.ptr);
  if (key == nullptr) {
    return 0;
  }
  key->keyName[0] = '\0';
  return NameMidiKey(key->thisKeyNumber, key->keyName) ? 1 : 0;
}

}  // namespace velmora
