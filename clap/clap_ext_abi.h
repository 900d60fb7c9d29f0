// The CLAP extensions this project uses, as it declares them: parameters, state, audio ports
// and their configurations, latency, tail, the editor window, timers, thread checks and
// preset loading, on both the plug-in and the host side.
#pragma once

#include "clap/clap_abi.h"

namespace velmora::clap {

extern "C" {

constexpr char kExtParams[] = "clap.params";
constexpr char kExtState[] = "clap.state";
constexpr char kExtAudioPorts[] = "clap.audio-ports";
constexpr char kExtAudioPortsConfig[] = "clap.audio-ports-config";
constexpr char kExtLatency[] = "clap.latency";
constexpr char kExtTail[] = "clap.tail";
constexpr char kExtGui[] = "clap.gui";
constexpr char kExtTimerSupport[] = "clap.timer-support";
constexpr char kExtThreadCheck[] = "clap.thread-check";
constexpr char kExtPresetLoad[] = "clap.preset-load/2";
constexpr char kExtPresetLoadCompat[] = "clap.preset-load.draft/2";

// Parameters.
enum ParamFlags : uint32_t {
  kParamIsStepped = 1u << 0,
  kParamIsPeriodic = 1u << 1,
  kParamIsHidden = 1u << 2,
  kParamIsReadonly = 1u << 3,
  kParamIsBypass = 1u << 4,
  kParamIsAutomatable = 1u << 5,
  kParamIsModulatable = 1u << 10,
  kParamRequiresProcess = 1u << 15,
  kParamIsEnum = 1u << 16,
};

struct ParamInfo {
  Id id;
  uint32_t flags;
  void* cookie;
  char name[kNameSize];
  char module[kPathSize];
  double minValue;
  double maxValue;
  double defaultValue;
};

struct PluginParams {
  uint32_t (*count)(const Plugin* plugin);
  bool (*getInfo)(const Plugin* plugin, uint32_t index, ParamInfo* info);
  bool (*getValue)(const Plugin* plugin, Id id, double* value);
  bool (*valueToText)(const Plugin* plugin, Id id, double value, char* text, uint32_t capacity);
  bool (*textToValue)(const Plugin* plugin, Id id, const char* text, double* value);
  void (*flush)(const Plugin* plugin, const InputEvents* in, const OutputEvents* out);
};

enum ParamRescanFlags : uint32_t {
  kParamRescanValues = 1u << 0,
  kParamRescanText = 1u << 1,
  kParamRescanInfo = 1u << 2,
  kParamRescanAll = 1u << 3,
};

struct HostParams {
  void (*rescan)(const Host* host, uint32_t flags);
  void (*clear)(const Host* host, Id id, uint32_t flags);
  void (*requestFlush)(const Host* host);
};

// State.
struct PluginState {
  bool (*save)(const Plugin* plugin, const OutputStream* stream);
  bool (*load)(const Plugin* plugin, const InputStream* stream);
};

struct HostState {
  void (*markDirty)(const Host* host);
};

// Audio ports.
constexpr char kPortMono[] = "mono";
constexpr char kPortStereo[] = "stereo";
enum AudioPortFlags : uint32_t {
  kAudioPortIsMain = 1u << 0,
  kAudioPortSupports64Bits = 1u << 1,
  kAudioPortPrefers64Bits = 1u << 2,
  kAudioPortRequiresCommonSampleSize = 1u << 3,
};

struct AudioPortInfo {
  Id id;
  char name[kNameSize];
  uint32_t flags;
  uint32_t channelCount;
  const char* portType;
  Id inPlacePair;
};

struct PluginAudioPorts {
  uint32_t (*count)(const Plugin* plugin, bool isInput);
  bool (*get)(const Plugin* plugin, uint32_t index, bool isInput, AudioPortInfo* info);
};

struct AudioPortsConfig {
  Id id;
  char name[kNameSize];
  uint32_t inputPortCount;
  uint32_t outputPortCount;
  bool hasMainInput;
  uint32_t mainInputChannelCount;
  const char* mainInputPortType;
  bool hasMainOutput;
  uint32_t mainOutputChannelCount;
  const char* mainOutputPortType;
};

struct PluginAudioPortsConfig {
  uint32_t (*count)(const Plugin* plugin);
  bool (*get)(const Plugin* plugin, uint32_t index, AudioPortsConfig* config);
  bool (*select)(const Plugin* plugin, Id configId);
};

// Latency and tail. A tail of INT32_MAX samples or more is endless.
struct PluginLatency {
  uint32_t (*get)(const Plugin* plugin);
};
struct PluginTail {
  uint32_t (*get)(const Plugin* plugin);
};
constexpr uint32_t kEndlessTail = INT32_MAX;

// Editor window.
constexpr char kWindowApiWin32[] = "win32";
constexpr char kWindowApiX11[] = "x11";

struct Window {
  const char* api;
  union {
    unsigned long x11;
    void* win32;
    void* ptr;
  };
};

struct GuiResizeHints {
  bool canResizeHorizontally;
  bool canResizeVertically;
  bool preserveAspectRatio;
  uint32_t aspectRatioWidth;
  uint32_t aspectRatioHeight;
};

struct PluginGui {
  bool (*isApiSupported)(const Plugin* plugin, const char* api, bool isFloating);
  bool (*getPreferredApi)(const Plugin* plugin, const char** api, bool* isFloating);
  bool (*create)(const Plugin* plugin, const char* api, bool isFloating);
  void (*destroy)(const Plugin* plugin);
  bool (*setScale)(const Plugin* plugin, double scale);
  bool (*getSize)(const Plugin* plugin, uint32_t* width, uint32_t* height);
  bool (*canResize)(const Plugin* plugin);
  bool (*getResizeHints)(const Plugin* plugin, GuiResizeHints* hints);
  bool (*adjustSize)(const Plugin* plugin, uint32_t* width, uint32_t* height);
  bool (*setSize)(const Plugin* plugin, uint32_t width, uint32_t height);
  bool (*setParent)(const Plugin* plugin, const Window* window);
  bool (*setTransient)(const Plugin* plugin, const Window* window);
  void (*suggestTitle)(const Plugin* plugin, const char* title);
  bool (*show)(const Plugin* plugin);
  bool (*hide)(const Plugin* plugin);
};

struct HostGui {
  void (*resizeHintsChanged)(const Host* host);
  bool (*requestResize)(const Host* host, uint32_t width, uint32_t height);
  bool (*requestShow)(const Host* host);
  bool (*requestHide)(const Host* host);
  void (*closed)(const Host* host, bool wasDestroyed);
};

// Timers and thread checks (host side).
struct PluginTimerSupport {
  void (*onTimer)(const Plugin* plugin, Id timerId);
};
struct HostTimerSupport {
  bool (*registerTimer)(const Host* host, uint32_t periodMs, Id* timerId);
  bool (*unregisterTimer)(const Host* host, Id timerId);
};
struct HostThreadCheck {
  bool (*isMainThread)(const Host* host);
  bool (*isAudioThread)(const Host* host);
};

// Preset loading (the location kinds are those of preset discovery).
struct PluginPresetLoad {
  bool (*fromLocation)(const Plugin* plugin, uint32_t locationKind, const char* location,
                       const char* loadKey);
};
struct HostPresetLoad {
  void (*onError)(const Host* host, uint32_t locationKind, const char* location,
                  const char* loadKey, int32_t osError, const char* message);
  void (*loaded)(const Host* host, uint32_t locationKind, const char* location,
                 const char* loadKey);
};

}  // extern "C"

static_assert(offsetof(ParamInfo, cookie) == 8 && offsetof(ParamInfo, name) == 16 &&
              offsetof(ParamInfo, module) == 272 && offsetof(ParamInfo, minValue) == 1296 &&
              sizeof(ParamInfo) == 1320);
static_assert(sizeof(PluginParams) == 48 && sizeof(HostParams) == 24);
static_assert(offsetof(AudioPortInfo, flags) == 260 && offsetof(AudioPortInfo, portType) == 272 &&
              sizeof(AudioPortInfo) == 288);
static_assert(offsetof(AudioPortsConfig, inputPortCount) == 260 &&
              offsetof(AudioPortsConfig, mainInputPortType) == 280 &&
              offsetof(AudioPortsConfig, mainOutputPortType) == 296 &&
              sizeof(AudioPortsConfig) == 304);
static_assert(sizeof(Window) == 16 && offsetof(Window, x11) == 8);
static_assert(sizeof(GuiResizeHints) == 12 && sizeof(PluginGui) == 120);

}  // namespace velmora::clap
