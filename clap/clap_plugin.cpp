#include "clap/clap_plugin.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "clap/clap_descriptor.h"
#include "clap/clap_extensions.h"

namespace velmora::clap {
namespace {

// Nothing may throw out of a callback; a record that is not ours gives the failure value.
template <typename Result, typename Call>
Result Guarded(const Plugin* plugin, Result failure, Call call) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr) {
    return failure;
  }
  try {
    return call(*self);
  } catch (...) {
    return failure;
  }
}

bool InitCall(const Plugin* p) {
  return Guarded(p, false, [](ClapPlugin& s) { return s.Init(); });
}
void DestroyCall(const Plugin* p) {
  if (ClapPlugin* self = ClapPlugin::From(p)) {
    self->Destroy();
  }
}
bool ActivateCall(const Plugin* p, double rate, uint32_t minFrames, uint32_t maxFrames) {
  return Guarded(p, false, [&](ClapPlugin& s) { return s.Activate(rate, minFrames, maxFrames); });
}
void DeactivateCall(const Plugin* p) {
  Guarded(p, 0, [](ClapPlugin& s) { return s.Deactivate(), 0; });
}
bool StartCall(const Plugin* p) {
  return Guarded(p, false, [](ClapPlugin& s) { return s.StartProcessing(); });
}
void StopCall(const Plugin* p) {
  Guarded(p, 0, [](ClapPlugin& s) { return s.StopProcessing(), 0; });
}
void ResetCall(const Plugin* p) {
  Guarded(p, 0, [](ClapPlugin& s) { return s.Reset(), 0; });
}
int32_t ProcessCall(const Plugin* p, const Process* process) {
  return Guarded(p, int32_t{kProcessError}, [&](ClapPlugin& s) { return s.Process(process); });
}
const void* ExtensionCall(const Plugin* p, const char* id) {
  return Guarded(p, static_cast<const void*>(nullptr),
                 [&](ClapPlugin& s) { return s.Extension(id); });
}
void MainThreadCall(const Plugin* p) {
  Guarded(p, 0, [](ClapPlugin& s) { return s.OnMainThread(), 0; });
}

// "major.minor.patch" as the VST 2 host version the plug-in understands.
int32_t VersionNumber(const char* text) {
  int major = 0, minor = 0, patch = 0;
  if (text == nullptr || std::sscanf(text, "%d.%d.%d", &major, &minor, &patch) < 1) {
    return 0;
  }
  return major * 10000 + minor * 100 + patch;
}

const char* TextOr(const char* text, const char* fallback) {
  return text != nullptr ? text : fallback;
}

}  // namespace

ClapPlugin::ClapPlugin(const Host* host) : host_(host) {
  record_.desc = &VelmoraDescriptor();
  record_.pluginData = this;
  record_.init = &InitCall;
  record_.destroy = &DestroyCall;
  record_.activate = &ActivateCall;
  record_.deactivate = &DeactivateCall;
  record_.startProcessing = &StartCall;
  record_.stopProcessing = &StopCall;
  record_.reset = &ResetCall;
  record_.process = &ProcessCall;
  record_.getExtension = &ExtensionCall;
  record_.onMainThread = &MainThreadCall;
}

const Plugin* ClapPlugin::Create(const Host* host) {
  if (host == nullptr || !IsCompatible(host->clapVersion)) {
    return nullptr;
  }
  auto* self = new (std::nothrow) ClapPlugin(host);
  if (self == nullptr) {
    return nullptr;
  }
  binding::HostIdentity identity;
  identity.product = TextOr(host->name, "");
  identity.vendor = TextOr(host->vendor, "");
  identity.version = VersionNumber(host->version);
  self->effect_ = binding::HostedEffect::Create(identity, &self->gestures_);
  if (!self->effect_) {
    delete self;
    return nullptr;
  }
  return &self->record_;
}

ClapPlugin* ClapPlugin::From(const Plugin* plugin) {
  if (plugin == nullptr || plugin->pluginData == nullptr || plugin->init != &InitCall) {
    return nullptr;
  }
  return static_cast<ClapPlugin*>(plugin->pluginData);
}

template <typename Extension>
const Extension* ClapPlugin::HostExtension(const char* id) const {
  if (host_->getExtension == nullptr) {
    return nullptr;
  }
  return static_cast<const Extension*>(host_->getExtension(host_, id));
}

// The host's extensions may be asked for from init on, not before.
bool ClapPlugin::Init() {
  hostParams_ = HostExtension<HostParams>(kExtParams);
  threadCheck_ = HostExtension<HostThreadCheck>(kExtThreadCheck);
  if (hostParams_ != nullptr && hostParams_->requestFlush == nullptr) {
    hostParams_ = nullptr;
  }
  if (threadCheck_ != nullptr &&
      (threadCheck_->isMainThread == nullptr || threadCheck_->isAudioThread == nullptr)) {
    threadCheck_ = nullptr;
  }
  hostGui_ = HostExtension<HostGui>(kExtGui);
  if (hostGui_ != nullptr && hostGui_->requestResize == nullptr) {
    hostGui_ = nullptr;
  }
  gestures_.SetNotifier(&ClapPlugin::RequestFlush, this);
  // The user's zoom choice in the editor asks for its new size through here.
  effect_->SetEditorResizer(this);
  return OnMainThreadCheck();
}

bool ClapPlugin::ResizeEditor(int width, int height) {
  if (hostGui_ == nullptr || width <= 0 || height <= 0) {
    return false;
  }
  return hostGui_->requestResize(host_, static_cast<uint32_t>(width),
                                 static_cast<uint32_t>(height));
}

void ClapPlugin::RequestFlush(void* self) {
  auto* plugin = static_cast<ClapPlugin*>(self);
  if (plugin->hostParams_ != nullptr) {
    plugin->hostParams_->requestFlush(plugin->host_);
  } else if (plugin->host_->requestProcess != nullptr) {
    plugin->host_->requestProcess(plugin->host_);
  }
}

// The editor goes first (its thread may still hand over a gesture), then the instance.
void ClapPlugin::Destroy() {
  effect_->CloseEditor();
  effect_.reset();
  delete this;
}

// Debug builds (and the checked test build of the module) refuse calls made on the wrong
// thread; release builds trust the host, as the check costs a host call per entry.
#if !defined(NDEBUG) || defined(VELMORA_CLAP_THREAD_CHECKS)
#define VELMORA_CHECK_THREADS 1
#endif

bool ClapPlugin::OnMainThreadCheck() const {
#ifdef VELMORA_CHECK_THREADS
  return threadCheck_ == nullptr || threadCheck_->isMainThread(host_);
#else
  return true;
#endif
}

bool ClapPlugin::OnAudioThreadCheck() const {
#ifdef VELMORA_CHECK_THREADS
  return threadCheck_ == nullptr || threadCheck_->isAudioThread(host_);
#else
  return true;
#endif
}

bool ClapPlugin::Activate(double sampleRate, uint32_t, uint32_t maxFrames) {
  if (!OnMainThreadCheck() || active_) {
    return false;
  }
  active_ = effect_->Activate(sampleRate, maxFrames);
  sampleRate_ = active_ ? sampleRate : sampleRate_;
  return active_;
}

void ClapPlugin::Deactivate() {
  if (!OnMainThreadCheck() || !active_ || processing_) {
    return;
  }
  effect_->Deactivate();
  active_ = false;
}

bool ClapPlugin::StartProcessing() {
  if (!OnAudioThreadCheck() || !active_) {
    return false;
  }
  processing_ = true;
  return true;
}

void ClapPlugin::StopProcessing() {
  if (OnAudioThreadCheck()) {
    processing_ = false;
  }
}

void ClapPlugin::Reset() {
  if (active_ && OnAudioThreadCheck()) {
    effect_->Reset();
  }
}

bool ClapPlugin::SelectChannels(int channels) {
  return !active_ && OnMainThreadCheck() && effect_->SetChannelLayout(channels, channels);
}

void ClapPlugin::ValuesChanged() {
  const HostParams* params = HostExtension<HostParams>(kExtParams);
  if (params != nullptr && params->rescan != nullptr) {
    params->rescan(host_, kParamRescanValues);
  }
}

const void* ClapPlugin::Extension(const char* id) const {
  return id != nullptr ? FindExtension(id) : nullptr;
}

}  // namespace velmora::clap
