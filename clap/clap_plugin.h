// One CLAP instance of Velmora: the CLAP plug-in record and its extensions over the shared
// HostedEffect. The record's functions are in clap_plugin.cpp (life cycle and processing);
// each extension has its own file.
//
// Threads, as CLAP assigns them: init, destroy, activate, deactivate, the extensions' queries,
// state, presets and the editor on the host's main thread; start/stop processing, reset and
// process on its audio thread; params.flush on the audio thread while active and on the main
// thread otherwise. Debug builds check each call against the host's thread-check
// extension where it offers one and refuse a call made on the wrong thread. The editor's
// gestures arrive on the editor's own thread and wait in a queue until process or flush hands
// them to the host.
#pragma once

#include <memory>

#include "binding/editor_resizer.h"
#include "binding/gesture_queue.h"
#include "binding/hosted_effect.h"
#include "clap/clap_abi.h"
#include "clap/clap_ext_abi.h"
#include "engine/parameter_index.h"

namespace velmora::clap {

class ClapPlugin final : private binding::EditorResizer {
 public:
  static constexpr uint32_t kMaxBlockEvents = 2048;

  // Null for a null host or when the instance cannot be built.
  static const Plugin* Create(const Host* host);
  // The instance behind a record the host hands back; null for null or foreign records.
  static ClapPlugin* From(const Plugin* plugin);

  bool Init();
  void Destroy();
  bool Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
  void Deactivate();
  bool StartProcessing();
  void StopProcessing();
  void Reset();
  int32_t Process(const Process* process);
  const void* Extension(const char* id) const;
  void OnMainThread() {}

  // For the extensions.
  binding::HostedEffect& Effect() { return *effect_; }
  bool Active() const { return active_; }
  bool Processing() const { return processing_; }
  bool OnMainThreadCheck() const;
  bool OnAudioThreadCheck() const;
  // Applies the host's events without audio and hands over the editor's gestures (flush).
  void Flush(const InputEvents* in, const OutputEvents* out);
  // Tells the host that every parameter value may have changed (after state or presets).
  void ValuesChanged();
  const Host* HostRecord() const { return host_; }
  // The channel count of both main ports: 2, or 1 once the mono configuration is selected.
  int Channels() const { return effect_->InputChannels(); }
  bool SelectChannels(int channels);
  // Asks the host's gui extension for an editor window of width x height; false when the
  // host has no such extension or refuses. Safe from any thread, as the host's call is.
  bool ResizeEditor(int width, int height) override;

 private:
  explicit ClapPlugin(const Host* host);
  static void RequestFlush(void* self);
  template <typename Extension>
  const Extension* HostExtension(const char* id) const;

  static uint32_t EventCount(const InputEvents* in);
  uint32_t CollectEvents(const InputEvents* in);
  // Parameter values from event first on, applied at once (flush, or beyond the capacity).
  void ApplyHostValues(const InputEvents* in, uint32_t first);
  void SendGestures(const OutputEvents* out);
  static binding::Transport TransportFrom(const EventTransport* transport, double sampleRate);
  int32_t Status(const binding::AudioBlock& block) const;

  Plugin record_{};
  const Host* host_;
  const HostParams* hostParams_ = nullptr;
  const HostThreadCheck* threadCheck_ = nullptr;
  const HostGui* hostGui_ = nullptr;
  binding::GestureQueue gestures_;
  std::unique_ptr<binding::HostedEffect> effect_;
  bool active_ = false;
  bool processing_ = false;
  double sampleRate_ = 44100.0;
  bool gestureOpen_[dsp::kParamCount] = {};
  binding::BlockEvent events_[kMaxBlockEvents];
  uint32_t uncollected_ = 0;  // the first input event CollectEvents did not take
};

}  // namespace velmora::clap
