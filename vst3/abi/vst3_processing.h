// The VST 3 binary interface, part 2: the audio component, the processor, their records
// and the parameter-change queues a host hands to process().
#pragma once

#include "vst3/abi/vst3_base.h"

namespace velmora::vst3 {

enum MediaTypes : int32_t { kAudio = 0, kEvent = 1 };
enum BusDirections : int32_t { kInput = 0, kOutput = 1 };
enum BusTypes : int32_t { kMain = 0, kAux = 1 };
enum IoModes : int32_t { kSimple = 0, kAdvanced = 1, kOfflineProcessing = 2 };
enum SymbolicSampleSizes : int32_t { kSample32 = 0, kSample64 = 1 };
enum ProcessModes : int32_t { kRealtime = 0, kPrefetch = 1, kOffline = 2 };

// Speaker arrangements: one bit per speaker.
constexpr SpeakerArrangement kSpeakerLeft = 1u << 0;
constexpr SpeakerArrangement kSpeakerRight = 1u << 1;
constexpr SpeakerArrangement kSpeakerMono = 1u << 19;
constexpr SpeakerArrangement kArrangementEmpty = 0;
constexpr SpeakerArrangement kArrangementMono = kSpeakerMono;
constexpr SpeakerArrangement kArrangementStereo = kSpeakerLeft | kSpeakerRight;

constexpr uint32_t kNoTail = 0;
constexpr uint32_t kInfiniteTail = 0xFFFFFFFFu;

// Component class flags (PClassInfo2::classFlags).
enum ComponentFlags : uint32_t { kDistributable = 1 << 0, kSimpleModeSupported = 1 << 1 };

struct BusInfo {
  enum Flags : uint32_t { kDefaultActive = 1 << 0 };
  int32_t mediaType;
  int32_t direction;
  int32_t channelCount;
  String128 name;
  int32_t busType;
  uint32_t flags;
};

struct RoutingInfo {
  int32_t mediaType;
  int32_t busIndex;
  int32_t channel;
};

class IComponent : public IPluginBase {
 public:
  virtual tresult VELMORA_VST3_CALL getControllerClassId(char* classId) = 0;
  virtual tresult VELMORA_VST3_CALL setIoMode(int32_t mode) = 0;
  virtual int32_t VELMORA_VST3_CALL getBusCount(int32_t type, int32_t direction) = 0;
  virtual tresult VELMORA_VST3_CALL getBusInfo(int32_t type, int32_t direction, int32_t index,
                                               BusInfo& bus) = 0;
  virtual tresult VELMORA_VST3_CALL getRoutingInfo(RoutingInfo& in, RoutingInfo& out) = 0;
  virtual tresult VELMORA_VST3_CALL activateBus(int32_t type, int32_t direction, int32_t index,
                                                TBool state) = 0;
  virtual tresult VELMORA_VST3_CALL setActive(TBool state) = 0;
  virtual tresult VELMORA_VST3_CALL setState(IBStream* state) = 0;
  virtual tresult VELMORA_VST3_CALL getState(IBStream* state) = 0;
  static constexpr Iid kIid = MakeIid(words::kIComponent);
};

struct ProcessSetup {
  int32_t processMode;
  int32_t symbolicSampleSize;
  int32_t maxSamplesPerBlock;
  double sampleRate;
};

struct AudioBusBuffers {
  int32_t numChannels;
  uint64_t silenceFlags;  // bit c set: channel c is silent
  union {
    float** channelBuffers32;
    double** channelBuffers64;
  };
};

struct FrameRate {
  uint32_t framesPerSecond;
  uint32_t flags;
};

struct Chord {
  uint8_t keyNote;
  uint8_t rootNote;
  int16_t chordMask;
};

struct ProcessContext {
  enum States : uint32_t {
    kPlaying = 1 << 1,
    kCycleActive = 1 << 2,
    kRecording = 1 << 3,
    kSystemTimeValid = 1 << 8,
    kProjectTimeMusicValid = 1 << 9,
    kTempoValid = 1 << 10,
    kBarPositionValid = 1 << 11,
    kCycleValid = 1 << 12,
    kTimeSigValid = 1 << 13,
    kSmpteValid = 1 << 14,
    kClockValid = 1 << 15,
    kContTimeValid = 1 << 17,
    kChordValid = 1 << 18,
  };
  uint32_t state;
  double sampleRate;
  TSamples projectTimeSamples;
  int64_t systemTime;
  TSamples continousTimeSamples;
  TQuarterNotes projectTimeMusic;
  TQuarterNotes barPositionMusic;
  TQuarterNotes cycleStartMusic;
  TQuarterNotes cycleEndMusic;
  double tempo;
  int32_t timeSigNumerator;
  int32_t timeSigDenominator;
  Chord chord;
  int32_t smpteOffsetSubframes;
  FrameRate frameRate;
  int32_t samplesToNextClock;
};

class IParamValueQueue : public FUnknown {
 public:
  virtual ParamID VELMORA_VST3_CALL getParameterId() = 0;
  virtual int32_t VELMORA_VST3_CALL getPointCount() = 0;
  virtual tresult VELMORA_VST3_CALL getPoint(int32_t index, int32_t& sampleOffset,
                                             ParamValue& value) = 0;
  virtual tresult VELMORA_VST3_CALL addPoint(int32_t sampleOffset, ParamValue value,
                                             int32_t& index) = 0;
  static constexpr Iid kIid = MakeIid(words::kIParamValueQueue);
};

class IParameterChanges : public FUnknown {
 public:
  virtual int32_t VELMORA_VST3_CALL getParameterCount() = 0;
  virtual IParamValueQueue* VELMORA_VST3_CALL getParameterData(int32_t index) = 0;
  virtual IParamValueQueue* VELMORA_VST3_CALL addParameterData(const ParamID& id,
                                                               int32_t& index) = 0;
  static constexpr Iid kIid = MakeIid(words::kIParameterChanges);
};

class IEventList;  // never used by this effect: it has no event buses

struct ProcessData {
  int32_t processMode;
  int32_t symbolicSampleSize;
  int32_t numSamples;
  int32_t numInputs;
  int32_t numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};

class IAudioProcessor : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32_t numIns,
                                                       SpeakerArrangement* outputs,
                                                       int32_t numOuts) = 0;
  virtual tresult VELMORA_VST3_CALL getBusArrangement(int32_t direction, int32_t index,
                                                      SpeakerArrangement& arrangement) = 0;
  virtual tresult VELMORA_VST3_CALL canProcessSampleSize(int32_t symbolicSampleSize) = 0;
  virtual uint32_t VELMORA_VST3_CALL getLatencySamples() = 0;
  virtual tresult VELMORA_VST3_CALL setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult VELMORA_VST3_CALL setProcessing(TBool state) = 0;
  virtual tresult VELMORA_VST3_CALL process(ProcessData& data) = 0;
  virtual uint32_t VELMORA_VST3_CALL getTailSamples() = 0;
  static constexpr Iid kIid = MakeIid(words::kIAudioProcessor);
};

class IProcessContextRequirements : public FUnknown {
 public:
  enum Flags : uint32_t {
    kNeedContinousTimeSamples = 1 << 1,
    kNeedProjectTimeMusic = 1 << 2,
    kNeedTempo = 1 << 6,
    kNeedTransportState = 1 << 10,
  };
  virtual uint32_t VELMORA_VST3_CALL getProcessContextRequirements() = 0;
  static constexpr Iid kIid = MakeIid(words::kIProcessContextRequirements);
};

#if defined(__x86_64__) || defined(_M_X64)
static_assert(sizeof(BusInfo) == 276, "bus record");
static_assert(sizeof(ProcessSetup) == 24, "set-up record");
static_assert(sizeof(AudioBusBuffers) == 24, "bus buffers");
static_assert(offsetof(AudioBusBuffers, silenceFlags) == 8, "bus buffers");
static_assert(sizeof(ProcessContext) == 112, "process context");
static_assert(offsetof(ProcessContext, tempo) == 72, "process context");
static_assert(offsetof(ProcessContext, samplesToNextClock) == 104, "process context");
static_assert(sizeof(ProcessData) == 80, "process data");
static_assert(offsetof(ProcessData, inputs) == 24, "process data");
static_assert(offsetof(ProcessData, processContext) == 72, "process data");
#endif

}  // namespace velmora::vst3
