// The CLAP binary interface as this project declares it: the core records (entry, factory,
// plug-in, host, process, events, audio buffers, streams) with their identifiers and
// constants, written for the 1.x interface and checked at compile time on 64-bit targets.
// Shared by the plug-in module and the test host under tools/.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::clap {

extern "C" {

struct Version {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
};
// The interface version this project is written against; hosts accept any 1.x plug-in.
constexpr Version kVersion = {1, 2, 0};
constexpr bool IsCompatible(const Version& v) {
  return v.major >= 1;
}

using Id = uint32_t;
constexpr Id kInvalidId = UINT32_MAX;
constexpr uint32_t kNameSize = 256;
constexpr uint32_t kPathSize = 1024;
// Fixed-point song positions: beats and seconds times 2^31.
constexpr int64_t kBeatTimeFactor = int64_t{1} << 31;
constexpr int64_t kSecTimeFactor = int64_t{1} << 31;

struct Host;
struct Plugin;

struct PluginEntry {
  Version clapVersion;
  bool (*init)(const char* pluginPath);
  void (*deinit)();
  const void* (*getFactory)(const char* factoryId);
};

constexpr char kPluginFactoryId[] = "clap.plugin-factory";

struct PluginDescriptor {
  Version clapVersion;
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manualUrl;
  const char* supportUrl;
  const char* version;
  const char* description;
  const char* const* features;  // null-terminated list
};

struct PluginFactory {
  uint32_t (*getPluginCount)(const PluginFactory* factory);
  const PluginDescriptor* (*getPluginDescriptor)(const PluginFactory* factory, uint32_t index);
  const Plugin* (*createPlugin)(const PluginFactory* factory, const Host* host,
                                const char* pluginId);
};

struct Host {
  Version clapVersion;
  void* hostData;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  const void* (*getExtension)(const Host* host, const char* extensionId);
  void (*requestRestart)(const Host* host);
  void (*requestProcess)(const Host* host);
  void (*requestCallback)(const Host* host);
};

// Events.
struct EventHeader {
  uint32_t size;  // bytes, header included
  uint32_t time;  // frame inside the block
  uint16_t spaceId;
  uint16_t type;
  uint32_t flags;
};
constexpr uint16_t kCoreEventSpace = 0;
enum EventFlags : uint32_t { kEventIsLive = 1u << 0, kEventDontRecord = 1u << 1 };
enum EventType : uint16_t {
  kEventNoteOn = 0,
  kEventNoteOff = 1,
  kEventParamValue = 5,
  kEventParamMod = 6,
  kEventParamGestureBegin = 7,
  kEventParamGestureEnd = 8,
  kEventTransport = 9,
  kEventMidi = 10,
};

struct EventParamValue {
  EventHeader header;
  Id paramId;
  void* cookie;
  int32_t noteId;
  int16_t portIndex;
  int16_t channel;
  int16_t key;
  double value;
};

struct EventParamGesture {
  EventHeader header;
  Id paramId;
};

enum TransportFlags : uint32_t {
  kTransportHasTempo = 1u << 0,
  kTransportHasBeatsTimeline = 1u << 1,
  kTransportHasSecondsTimeline = 1u << 2,
  kTransportHasTimeSignature = 1u << 3,
  kTransportIsPlaying = 1u << 4,
  kTransportIsRecording = 1u << 5,
  kTransportIsLoopActive = 1u << 6,
  kTransportIsWithinPreRoll = 1u << 7,
};

struct EventTransport {
  EventHeader header;
  uint32_t flags;
  int64_t songPosBeats;
  int64_t songPosSeconds;
  double tempo;
  double tempoIncrement;
  int64_t loopStartBeats;
  int64_t loopEndBeats;
  int64_t loopStartSeconds;
  int64_t loopEndSeconds;
  int64_t barStart;
  int32_t barNumber;
  uint16_t timeSigNumerator;
  uint16_t timeSigDenominator;
};

struct InputEvents {
  void* ctx;
  uint32_t (*size)(const InputEvents* list);
  const EventHeader* (*get)(const InputEvents* list, uint32_t index);
};

struct OutputEvents {
  void* ctx;
  bool (*tryPush)(const OutputEvents* list, const EventHeader* event);
};

// Audio.
struct AudioBuffer {
  float** data32;
  double** data64;
  uint32_t channelCount;
  uint32_t latency;
  uint64_t constantMask;
};

enum ProcessStatus : int32_t {
  kProcessError = 0,
  kProcessContinue = 1,
  kProcessContinueIfNotQuiet = 2,
  kProcessTail = 3,
  kProcessSleep = 4,
};

struct Process {
  int64_t steadyTime;
  uint32_t framesCount;
  const EventTransport* transport;
  const AudioBuffer* audioInputs;
  AudioBuffer* audioOutputs;
  uint32_t audioInputsCount;
  uint32_t audioOutputsCount;
  const InputEvents* inEvents;
  const OutputEvents* outEvents;
};

struct Plugin {
  const PluginDescriptor* desc;
  void* pluginData;
  bool (*init)(const Plugin* plugin);
  void (*destroy)(const Plugin* plugin);
  bool (*activate)(const Plugin* plugin, double sampleRate, uint32_t minFrames, uint32_t maxFrames);
  void (*deactivate)(const Plugin* plugin);
  bool (*startProcessing)(const Plugin* plugin);
  void (*stopProcessing)(const Plugin* plugin);
  void (*reset)(const Plugin* plugin);
  int32_t (*process)(const Plugin* plugin, const Process* process);
  const void* (*getExtension)(const Plugin* plugin, const char* id);
  void (*onMainThread)(const Plugin* plugin);
};

// Streams (state).
struct InputStream {
  void* ctx;
  int64_t (*read)(const InputStream* stream, void* buffer, uint64_t size);
};

struct OutputStream {
  void* ctx;
  int64_t (*write)(const OutputStream* stream, const void* buffer, uint64_t size);
};

}  // extern "C"

static_assert(sizeof(void*) == 8, "the declarations are written for 64-bit targets");
static_assert(sizeof(Version) == 12);
static_assert(offsetof(PluginEntry, init) == 16 && sizeof(PluginEntry) == 40);
static_assert(offsetof(PluginDescriptor, id) == 16 && sizeof(PluginDescriptor) == 88);
static_assert(sizeof(PluginFactory) == 24);
static_assert(offsetof(Host, hostData) == 16 && offsetof(Host, getExtension) == 56 &&
              sizeof(Host) == 88);
static_assert(sizeof(EventHeader) == 16);
static_assert(offsetof(EventParamValue, paramId) == 16 && offsetof(EventParamValue, cookie) == 24 &&
              offsetof(EventParamValue, noteId) == 32 && offsetof(EventParamValue, value) == 48 &&
              sizeof(EventParamValue) == 56);
static_assert(sizeof(EventParamGesture) == 20);
static_assert(offsetof(EventTransport, flags) == 16 &&
              offsetof(EventTransport, songPosBeats) == 24 &&
              offsetof(EventTransport, songPosSeconds) == 32 &&
              offsetof(EventTransport, tempo) == 40 && offsetof(EventTransport, barStart) == 88 &&
              offsetof(EventTransport, barNumber) == 96 &&
              offsetof(EventTransport, timeSigNumerator) == 100 && sizeof(EventTransport) == 104);
static_assert(sizeof(InputEvents) == 24 && sizeof(OutputEvents) == 16);
static_assert(offsetof(AudioBuffer, channelCount) == 16 &&
              offsetof(AudioBuffer, constantMask) == 24 && sizeof(AudioBuffer) == 32);
static_assert(offsetof(Process, transport) == 16 && offsetof(Process, audioInputsCount) == 40 &&
              offsetof(Process, inEvents) == 48 && sizeof(Process) == 64);
static_assert(offsetof(Plugin, init) == 16 && offsetof(Plugin, process) == 72 &&
              sizeof(Plugin) == 96);

}  // namespace velmora::clap
