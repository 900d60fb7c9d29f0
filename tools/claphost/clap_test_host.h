// The host side of a CLAP plug-in for the tools and tests: the host record with the
// extensions a demanding host offers (thread check, params, state, preset load, gui, latency,
// tail), and counters of what the plug-in asked of it. One host may serve many instances.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "clap/clap_abi.h"
#include "clap/clap_ext_abi.h"

namespace velmora::claphost {

struct HostCounters {
  std::atomic<int> requestFlush{0};
  std::atomic<int> requestProcess{0};
  std::atomic<int> requestRestart{0};
  std::atomic<int> requestCallback{0};
  std::atomic<int> rescan{0};
  std::atomic<int> markDirty{0};
  std::atomic<int> presetLoaded{0};
  std::atomic<int> presetErrors{0};
  std::atomic<int> latencyChanged{0};
  std::atomic<int> tailChanged{0};
  // gui.request_resize: how often, and the last size asked for.
  std::atomic<int> requestResize{0};
  std::atomic<uint32_t> resizeWidth{0};
  std::atomic<uint32_t> resizeHeight{0};
};

class ClapHost {
 public:
  explicit ClapHost(std::string name = "Velmora CLAP Test Host", std::string version = "1.0.0");
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  const clap::Host* Record() const { return &record_; }
  HostCounters& Counters() { return counters_; }
  // Whether the host answers the thread-check extension (on by default).
  void OfferThreadCheck(bool offer) { offerThreadCheck_ = offer; }
  // The answer to gui.request_resize (granted by default, as a host with room would).
  void GrantResize(bool grant) { grantResize_ = grant; }
  bool GrantsResize() const { return grantResize_; }

  // The thread-check answers: the main thread is the one that made the host; the audio thread
  // is whichever thread is inside one of the instance's audio calls (see AudioScope).
  bool IsMainThread() const { return std::this_thread::get_id() == mainThread_; }
  static bool IsAudioThread();

  // Marks the current thread as the audio thread while it lives.
  class AudioScope {
   public:
    AudioScope();
    ~AudioScope();
    AudioScope(const AudioScope&) = delete;
    AudioScope& operator=(const AudioScope&) = delete;

   private:
    bool previous_;
  };

 private:
  static const void* GetExtension(const clap::Host* host, const char* id);

  std::string name_;
  std::string version_;
  clap::Host record_{};
  std::thread::id mainThread_;
  bool offerThreadCheck_ = true;
  std::atomic<bool> grantResize_{true};
  HostCounters counters_;
};

}  // namespace velmora::claphost
