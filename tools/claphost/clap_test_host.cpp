#include "tools/claphost/clap_test_host.h"

#include <cstring>

namespace velmora::claphost {
namespace {

thread_local bool insideAudioCall = false;

ClapHost& Owner(const clap::Host* host) {
  return *static_cast<ClapHost*>(host->hostData);
}

void RequestRestart(const clap::Host* host) {
  ++Owner(host).Counters().requestRestart;
}
void RequestProcess(const clap::Host* host) {
  ++Owner(host).Counters().requestProcess;
}
void RequestCallback(const clap::Host* host) {
  ++Owner(host).Counters().requestCallback;
}

bool IsMain(const clap::Host* host) {
  return Owner(host).IsMainThread();
}
bool IsAudio(const clap::Host*) {
  return ClapHost::IsAudioThread();
}
const clap::HostThreadCheck kThreadCheck = {&IsMain, &IsAudio};

void Rescan(const clap::Host* host, uint32_t) {
  ++Owner(host).Counters().rescan;
}
void Clear(const clap::Host*, clap::Id, uint32_t) {}
void RequestFlush(const clap::Host* host) {
  ++Owner(host).Counters().requestFlush;
}
const clap::HostParams kParams = {&Rescan, &Clear, &RequestFlush};

void MarkDirty(const clap::Host* host) {
  ++Owner(host).Counters().markDirty;
}
const clap::HostState kState = {&MarkDirty};

void PresetError(const clap::Host* host, uint32_t, const char*, const char*, int32_t, const char*) {
  ++Owner(host).Counters().presetErrors;
}
void PresetLoaded(const clap::Host* host, uint32_t, const char*, const char*) {
  ++Owner(host).Counters().presetLoaded;
}
const clap::HostPresetLoad kPresetLoad = {&PresetError, &PresetLoaded};

void ResizeHintsChanged(const clap::Host*) {}
bool RequestResize(const clap::Host* host, uint32_t width, uint32_t height) {
  ClapHost& self = Owner(host);
  self.Counters().resizeWidth = width;
  self.Counters().resizeHeight = height;
  ++self.Counters().requestResize;
  return self.GrantsResize();
}
bool RequestShow(const clap::Host*) {
  return false;
}
bool RequestHide(const clap::Host*) {
  return false;
}
void GuiClosed(const clap::Host*, bool) {}
const clap::HostGui kGui = {&ResizeHintsChanged, &RequestResize, &RequestShow, &RequestHide,
                            &GuiClosed};

struct Changed {
  void (*changed)(const clap::Host* host);
};
void LatencyChanged(const clap::Host* host) {
  ++Owner(host).Counters().latencyChanged;
}
void TailChanged(const clap::Host* host) {
  ++Owner(host).Counters().tailChanged;
}
const Changed kLatency = {&LatencyChanged};
const Changed kTail = {&TailChanged};

}  // namespace

ClapHost::ClapHost(std::string name, std::string version)
    : name_(std::move(name)),
      version_(std::move(version)),
      mainThread_(std::this_thread::get_id()) {
  record_.clapVersion = clap::kVersion;
  record_.hostData = this;
  record_.name = name_.c_str();
  record_.vendor = "Velmora";
  record_.url = "";
  record_.version = version_.c_str();
  record_.getExtension = &ClapHost::GetExtension;
  record_.requestRestart = &RequestRestart;
  record_.requestProcess = &RequestProcess;
  record_.requestCallback = &RequestCallback;
}

bool ClapHost::IsAudioThread() {
  return insideAudioCall;
}

ClapHost::AudioScope::AudioScope() : previous_(insideAudioCall) {
  insideAudioCall = true;
}

ClapHost::AudioScope::~AudioScope() {
  insideAudioCall = previous_;
}

const void* ClapHost::GetExtension(const clap::Host* host, const char* id) {
  if (host == nullptr || id == nullptr) {
    return nullptr;
  }
  const ClapHost& self = Owner(host);
  if (std::strcmp(id, clap::kExtThreadCheck) == 0) {
    return self.offerThreadCheck_ ? &kThreadCheck : nullptr;
  }
  if (std::strcmp(id, clap::kExtParams) == 0) {
    return &kParams;
  }
  if (std::strcmp(id, clap::kExtState) == 0) {
    return &kState;
  }
  if (std::strcmp(id, clap::kExtPresetLoad) == 0) {
    return &kPresetLoad;
  }
  if (std::strcmp(id, clap::kExtGui) == 0) {
    return &kGui;
  }
  if (std::strcmp(id, clap::kExtLatency) == 0) {
    return &kLatency;
  }
  if (std::strcmp(id, clap::kExtTail) == 0) {
    return &kTail;
  }
  return nullptr;
}

}  // namespace velmora::claphost
