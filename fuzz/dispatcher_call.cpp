#include "fuzz/dispatcher_call.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace velmora::fuzz {
namespace {

// effClose ends the session (the fuzzer closes the instance itself at the end) and
// effEditOpen takes a window of the host's, which cannot be faked: neither is ever sent.
const std::vector<CallAction> kActions = {
    {vst::effOpen, CallKind::kPlain},
    {vst::effSetProgram, CallKind::kPlain},
    {vst::effGetProgram, CallKind::kPlain},
    {vst::effSetProgramName, CallKind::kBuffer},
    {vst::effGetProgramName, CallKind::kBuffer},
    {vst::effGetParamLabel, CallKind::kBuffer},
    {vst::effGetParamDisplay, CallKind::kBuffer},
    {vst::effGetParamName, CallKind::kBuffer},
    {vst::effSetSampleRate, CallKind::kPlain},
    {vst::effSetBlockSize, CallKind::kPlain},
    {vst::effMainsChanged, CallKind::kPlain},
    {vst::effEditGetRect, CallKind::kEditRect},
    {vst::effEditClose, CallKind::kPlain},
    {vst::effEditIdle, CallKind::kPlain},
    {vst::effIdentify, CallKind::kPlain},
    {vst::effGetChunk, CallKind::kChunkOut},
    {vst::effSetChunk, CallKind::kChunkIn},
    {vst::effProcessEvents, CallKind::kEvents},
    {vst::effCanBeAutomated, CallKind::kPlain},
    {vst::effString2Parameter, CallKind::kBuffer},
    {vst::effGetProgramNameIndexed, CallKind::kBuffer},
    {vst::effGetInputProperties, CallKind::kBuffer},
    {vst::effGetOutputProperties, CallKind::kBuffer},
    {vst::effGetPlugCategory, CallKind::kPlain},
    {vst::effProcessVarIo, CallKind::kBuffer},
    {vst::effSetSpeakerArrangement, CallKind::kSpeakersSet},
    {vst::effSetBypass, CallKind::kPlain},
    {vst::effGetEffectName, CallKind::kBuffer},
    {vst::effGetVendorString, CallKind::kBuffer},
    {vst::effGetProductString, CallKind::kBuffer},
    {vst::effGetVendorVersion, CallKind::kPlain},
    {vst::effVendorSpecific, CallKind::kBuffer},
    {vst::effCanDo, CallKind::kBuffer},
    {vst::effIdle, CallKind::kPlain},
    {vst::effGetVstVersion, CallKind::kPlain},
    {vst::effGetMidiProgramName, CallKind::kBuffer},
    {vst::effGetCurrentMidiProgram, CallKind::kBuffer},
    {vst::effGetMidiProgramCategory, CallKind::kBuffer},
    {vst::effHasMidiProgramsChanged, CallKind::kPlain},
    {vst::effGetMidiKeyName, CallKind::kBuffer},
    {vst::effBeginSetProgram, CallKind::kPlain},
    {vst::effEndSetProgram, CallKind::kPlain},
    {vst::effGetSpeakerArrangement, CallKind::kSpeakersGet},
    {vst::effStartProcess, CallKind::kPlain},
    {vst::effStopProcess, CallKind::kPlain},
    {-1, CallKind::kRawOpcode},
    {-1, CallKind::kProcess},
    {-1, CallKind::kSetParameter},
    {-1, CallKind::kGetParameter},
    {-1, CallKind::kHostTime},
};

constexpr int kMaxEvents = 16;
constexpr int kMaxChannels = 8;
constexpr int32_t kMaxFrames = 4096;
// Louder than any real signal by far; beyond it float outputs may overflow legitimately.
constexpr double kExtremeSample = 1.0e4;

// Laid out like VstEvents, with room for every event a record can carry.
struct EventList {
  int32_t numEvents;
  intptr_t reserved;
  vst::VstEvent* events[kMaxEvents];
};
static_assert(offsetof(EventList, events) == offsetof(vst::VstEvents, events));

union EventStorage {
  vst::VstEvent plain;
  vst::VstMidiEvent midi;
  vst::VstMidiSysexEvent sysex;
};

int32_t ReadInt32(const uint8_t* bytes) {
  int32_t value;
  std::memcpy(&value, bytes, sizeof(value));
  return value;
}

bool IsServedOrRefused(int32_t opcode) {
  if (opcode == vst::effClose || opcode == vst::effEditOpen) {
    return true;
  }
  return std::any_of(kActions.begin(), kActions.end(),
                     [opcode](const CallAction& action) { return action.opcode == opcode; });
}

}  // namespace

const std::vector<CallAction>& CallActions() {
  return kActions;
}

uint8_t ActionByte(CallKind kind, int32_t opcode) {
  for (size_t i = 0; i < kActions.size(); ++i) {
    if (kActions[i].kind == kind && (opcode < 0 || kActions[i].opcode == opcode)) {
      return static_cast<uint8_t>(i);
    }
  }
  Fail("no action for a seed call");
}

void* CallRunner::FillBuffer(const DispatcherRecord& record) {
  std::memset(buffer_, 0, sizeof(buffer_));
  const size_t length = std::min(record.payload.size(), sizeof(buffer_) - 1);
  if (length > 0) {
    std::memcpy(buffer_, record.payload.data(), length);
  }
  return (record.flags & kNullPointer) != 0 ? nullptr : buffer_;
}

size_t HostTextSize(int32_t opcode, bool longProgramNames) {
  switch (opcode) {
    case vst::effSetProgramName:
    case vst::effGetProgramName:
    case vst::effGetProgramNameIndexed:
      return longProgramNames ? 256 : 24;
    case vst::effGetParamLabel:
    case vst::effGetParamDisplay:
    case vst::effGetParamName:
    case vst::effString2Parameter:
    case vst::effGetEffectName:
    case vst::effGetVendorString:
    case vst::effGetProductString:
    case vst::effVendorSpecific:
    case vst::effCanDo:
      return 64;
    default:
      return 0;
  }
}

// A fresh block of exactly size bytes each time, holding as much of the payload as fits
// with its terminator.
void* CallRunner::FillHostSizedText(const DispatcherRecord& record, size_t size) {
  hostText_.reset(new char[size]);
  const size_t length = std::min(record.payload.size(), size - 1);
  if (length > 0) {
    std::memcpy(hostText_.get(), record.payload.data(), length);
  }
  std::memset(hostText_.get() + length, 0, size - length);
  return (record.flags & kNullPointer) != 0 ? nullptr : hostText_.get();
}

intptr_t CallRunner::Dispatch(const DispatcherRecord& record, void* ptr, intptr_t value) {
  const int32_t opcode = CallActions()[record.action % CallActions().size()].opcode;
  return instance_.Dispatch(opcode, record.index, value, ptr, record.opt);
}

void CallRunner::Run(const DispatcherRecord& record) {
  const CallAction& action = CallActions()[record.action % CallActions().size()];
  switch (action.kind) {
    case CallKind::kPlain:
      Dispatch(record, nullptr, static_cast<intptr_t>(record.value));
      break;
    case CallKind::kBuffer: {
      const size_t hostSize = HostTextSize(action.opcode, longProgramNames_);
      void* ptr = (record.flags & kHostSizedText) != 0 && hostSize > 0
                      ? FillHostSizedText(record, hostSize)
                      : FillBuffer(record);
      if (action.opcode == vst::effSetProgramName && ptr != nullptr &&
          std::strlen(static_cast<const char*>(ptr)) >= 24) {
        longProgramNames_ = true;
      }
      Dispatch(record, ptr, static_cast<intptr_t>(record.value));
      break;
    }
    case CallKind::kChunkIn:
      SetChunk(record);
      break;
    case CallKind::kChunkOut:
      GetChunk(record);
      break;
    case CallKind::kEditRect:
      EditRect(record);
      break;
    case CallKind::kSpeakersSet:
      SetSpeakers(record);
      break;
    case CallKind::kSpeakersGet:
      GetSpeakers(record);
      break;
    case CallKind::kEvents:
      SendEvents(record);
      break;
    case CallKind::kRawOpcode:
      RawOpcode(record);
      break;
    case CallKind::kProcess:
      Process(record);
      break;
    case CallKind::kSetParameter:
      instance_.Effect()->setParameter(instance_.Effect(), record.index, record.opt);
      break;
    case CallKind::kGetParameter:
      instance_.Effect()->getParameter(instance_.Effect(), record.index);
      break;
    case CallKind::kHostTime:
      ChangeHost(record);
      break;
  }
}

// A host never claims more bytes than it hands over; it may claim fewer, or a negative count.
void CallRunner::SetChunk(const DispatcherRecord& record) {
  std::vector<uint8_t> chunk = record.payload;
  const auto size = static_cast<intptr_t>(chunk.size());
  const intptr_t claimed = record.value < size ? static_cast<intptr_t>(record.value) : size;
  void* ptr = (record.flags & kNullPointer) != 0 || chunk.empty() ? nullptr : chunk.data();
  Dispatch(record, ptr, claimed);
}

// The chunk handed out must be readable over its whole announced length.
void CallRunner::GetChunk(const DispatcherRecord& record) {
  void* data = nullptr;
  const intptr_t size = Dispatch(record, (record.flags & kNullPointer) != 0 ? nullptr : &data,
                                 static_cast<intptr_t>(record.value));
  if (size > 0 && data != nullptr) {
    std::vector<uint8_t> copy(static_cast<const uint8_t*>(data),
                              static_cast<const uint8_t*>(data) + size);
  } else if (size != 0) {
    Fail("effGetChunk answered a size without a chunk");
  }
}

void CallRunner::EditRect(const DispatcherRecord& record) {
  vst::ERect* rect = nullptr;
  if (Dispatch(record, (record.flags & kNullPointer) != 0 ? nullptr : &rect,
               static_cast<intptr_t>(record.value)) != 0) {
    if (rect == nullptr || rect->right < rect->left || rect->bottom < rect->top) {
      Fail("effEditGetRect answered 1 without a sensible rectangle");
    }
  }
}

void CallRunner::SetSpeakers(const DispatcherRecord& record) {
  vst::VstSpeakerArrangement input{};
  vst::VstSpeakerArrangement output{};
  input.numChannels = record.index;
  output.numChannels = static_cast<int32_t>(record.value);
  const bool noInput = (record.flags & kNullValuePointer) != 0;
  Dispatch(record, (record.flags & kNullPointer) != 0 ? nullptr : &output,
           noInput ? 0 : reinterpret_cast<intptr_t>(&input));
}

void CallRunner::GetSpeakers(const DispatcherRecord& record) {
  vst::VstSpeakerArrangement* input = nullptr;
  vst::VstSpeakerArrangement* output = nullptr;
  const bool noInput = (record.flags & kNullValuePointer) != 0;
  Dispatch(record, (record.flags & kNullPointer) != 0 ? nullptr : &output,
           noInput ? 0 : reinterpret_cast<intptr_t>(&input));
  for (const vst::VstSpeakerArrangement* arrangement : {input, output}) {
    if (arrangement != nullptr && (arrangement->numChannels < 0 || arrangement->numChannels > 8)) {
      Fail("a speaker arrangement reports an impossible channel count");
    }
  }
}

// Each 12 payload bytes make one event: kind, frame offset (4 bytes), a count or type
// (4 bytes) and three MIDI bytes. SysEx dumps point into the runner's buffer.
void CallRunner::SendEvents(const DispatcherRecord& record) {
  FillBuffer(record);
  EventStorage storage[kMaxEvents] = {};
  EventList list{};
  const size_t count = std::min<size_t>(record.payload.size() / 12, kMaxEvents);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* bytes = record.payload.data() + 12 * i;
    EventStorage& event = storage[i];
    const int32_t aux = ReadInt32(bytes + 5);
    switch (bytes[0] % 3) {
      case 0:
        event.midi.type = vst::kVstMidiType;
        event.midi.byteSize = sizeof(vst::VstMidiEvent);
        std::memcpy(event.midi.midiData, bytes + 9, 3);
        break;
      case 1:
        event.sysex.type = vst::kVstSysExType;
        event.sysex.byteSize = sizeof(vst::VstMidiSysexEvent);
        event.sysex.dumpBytes = std::min<int32_t>(aux, sizeof(buffer_));
        event.sysex.sysexDump = reinterpret_cast<char*>(buffer_);
        break;
      default:
        event.plain.type = aux;
        event.plain.byteSize = sizeof(vst::VstEvent);
        std::memcpy(event.plain.data, bytes + 9, 3);
        break;
    }
    event.plain.deltaFrames = ReadInt32(bytes + 1);
    list.events[i] = &event.plain;
  }
  list.numEvents = static_cast<int32_t>(count);
  Dispatch(record, (record.flags & kNullPointer) != 0 ? nullptr : &list,
           static_cast<intptr_t>(record.value));
}

void CallRunner::RawOpcode(const DispatcherRecord& record) {
  if (IsServedOrRefused(record.index)) {
    return;
  }
  instance_.Dispatch(record.index, 0, static_cast<intptr_t>(record.value), FillBuffer(record),
                     record.opt);
}

void CallRunner::ChangeHost(const DispatcherRecord& record) {
  host_.ChooseTempo(record.flags, static_cast<double>(record.value));
  host_.vendorVersion = record.index;
  std::memset(host_.product, 0, sizeof(host_.product));
  if (!record.payload.empty()) {
    std::memcpy(host_.product, record.payload.data(),
                std::min(record.payload.size(), sizeof(host_.product) - 1));
  }
}

// Frame counts beyond the cap wrap into it, so long blocks stay quick; negative counts go
// through as they are.
void CallRunner::Process(const DispatcherRecord& record) {
  auto frames = static_cast<int32_t>(record.value);
  if (frames > kMaxFrames) {
    frames %= kMaxFrames + 1;
  }
  if ((record.flags & kDoublePath) != 0) {
    ProcessPath<double>(record, frames);
  } else {
    ProcessPath<float>(record, frames);
  }
}

template <typename Sample>
void CallRunner::ProcessPath(const DispatcherRecord& record, int32_t frames) {
  vst::AEffect* effect = instance_.Effect();
  const int outputs = std::min(effect->numOutputs, kMaxChannels);
  const size_t length = frames > 0 ? static_cast<size_t>(frames) : 0;
  std::vector<std::vector<Sample>> in(kMaxChannels, std::vector<Sample>(length));
  std::vector<std::vector<Sample>> out(kMaxChannels, std::vector<Sample>(length));
  const size_t available = record.payload.size() / sizeof(Sample);
  size_t next = 0;
  for (std::vector<Sample>& channel : in) {
    for (Sample& sample : channel) {
      if (available > 0) {
        std::memcpy(&sample, record.payload.data() + sizeof(Sample) * (next++ % available),
                    sizeof(Sample));
      }
      fedExtremeAudio_ = fedExtremeAudio_ || !(std::fabs(sample) <= kExtremeSample);
    }
  }
  Sample* inPointers[kMaxChannels];
  Sample* outPointers[kMaxChannels];
  const bool inPlace = (record.flags & kInPlace) != 0;
  for (int c = 0; c < kMaxChannels; ++c) {
    inPointers[c] = in[c].data();
    outPointers[c] = inPlace ? in[c].data() : out[c].data();
  }
  Sample** inArray = (record.flags & kNoInputArray) != 0 ? nullptr : inPointers;
  if constexpr (sizeof(Sample) == sizeof(float)) {
    if ((record.flags & kAccumulating) != 0 && effect->process != nullptr) {
      effect->process(effect, inArray, outPointers, frames);
    } else {
      effect->processReplacing(effect, inArray, outPointers, frames);
    }
  } else {
    if ((effect->flags & vst::effFlagsCanDoubleReplacing) == 0) {
      return;
    }
    effect->processDoubleReplacing(effect, inArray, outPointers, frames);
  }
  for (int c = 0; c < outputs && !fedExtremeAudio_; ++c) {
    for (size_t i = 0; i < length; ++i) {
      if (!std::isfinite(outPointers[c][i])) {
        Fail("finite input gave non-finite output");
      }
    }
  }
}

}  // namespace velmora::fuzz
