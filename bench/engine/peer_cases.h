// The plug-in as a host sees it, for side-by-side runs: the built velmora.so and a peer,
// a stereo slap-back delay from Debian's lsp-plugins-vst at its defaults, each loaded by the
// project's host library (48 kHz, 256-frame blocks, host tempo 120) and fed the same noisy
// signal block by block.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/audio_buffers.h"
#include "tools/host/plugin_host.h"

namespace velmora::bench {

constexpr int kPluginBlock = 256;
constexpr int kPluginSignalFrames = 48000;
constexpr char kPeerPath[] = "/usr/lib/vst/lsp-plugins/slap-delay-stereo.so";

inline host::HostConfig PluginBenchConfig() {
  host::HostConfig config;
  config.sampleRate = 48000.0;
  config.blockSize = kPluginBlock;
  config.tempo = 120.0;
  return config;
}

// One loaded and started plug-in with its signal and buffers in both sample types.
class PluginCase {
 public:
  // Null, with the reason in error, when the plug-in cannot be loaded.
  static std::unique_ptr<PluginCase> Load(const std::string& path, std::string& error) {
    auto loaded = host::PluginHost::Load(path, PluginBenchConfig());
    if (!loaded) {
      error = path + ": " + loaded.Error();
      return nullptr;
    }
    return std::unique_ptr<PluginCase>(new PluginCase(std::move(loaded.Value())));
  }

  host::PluginHost& Plugin() { return *plugin_; }

  // The next block through processReplacing (or processDoubleReplacing); false when the
  // host library refused it.
  bool FloatBlock() {
    std::copy_n(left_.data() + next_, kPluginBlock, floatIn_.Channel(0));
    std::copy_n(right_.data() + next_, kPluginBlock, floatIn_.Channel(1));
    const host::Status status =
        plugin_->ProcessReplacing(floatIn_.Pointers(), floatOut_.Pointers(), kPluginBlock);
    Advance();
    return static_cast<bool>(status);
  }
  bool DoubleBlock() {
    std::copy_n(doubleLeft_.data() + next_, kPluginBlock, doubleIn_.Channel(0));
    std::copy_n(doubleRight_.data() + next_, kPluginBlock, doubleIn_.Channel(1));
    const host::Status status =
        plugin_->ProcessDoubleReplacing(doubleIn_.Pointers(), doubleOut_.Pointers(), kPluginBlock);
    Advance();
    return static_cast<bool>(status);
  }

  // Plays the whole signal once, past the first crossfade.
  bool WarmUp() {
    for (int played = 0; played + kPluginBlock <= kPluginSignalFrames; played += kPluginBlock) {
      if (!FloatBlock()) {
        return false;
      }
    }
    return true;
  }

 private:
  explicit PluginCase(std::unique_ptr<host::PluginHost> plugin)
      : plugin_(std::move(plugin)),
        left_(kPluginSignalFrames),
        right_(kPluginSignalFrames),
        floatIn_(2, kPluginBlock),
        floatOut_(2, kPluginBlock),
        doubleIn_(2, kPluginBlock),
        doubleOut_(2, kPluginBlock) {
    plugin_->Start();
    unsigned seed = 12345;
    for (int i = 0; i < kPluginSignalFrames; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
      left_[i] = static_cast<float>(0.3 * std::sin(0.013 * i) + 0.1 * noise);
      right_[i] = static_cast<float>(0.3 * std::cos(0.007 * i) - 0.1 * noise);
    }
    // The same samples for the double path, so that its blocks are copied as the float
    // path's are, not converted.
    doubleLeft_.assign(left_.begin(), left_.end());
    doubleRight_.assign(right_.begin(), right_.end());
  }

  // The host library logs every host callback (the time queries of each block); a host
  // that kept them all would grow without end and time its own reallocations.
  void Advance() {
    plugin_->Calls().Clear();
    next_ = next_ + 2 * kPluginBlock <= kPluginSignalFrames ? next_ + kPluginBlock : 0;
  }

  std::unique_ptr<host::PluginHost> plugin_;
  std::vector<float> left_;
  std::vector<float> right_;
  std::vector<double> doubleLeft_;
  std::vector<double> doubleRight_;
  host::AudioBuffers<float> floatIn_;
  host::AudioBuffers<float> floatOut_;
  host::AudioBuffers<double> doubleIn_;
  host::AudioBuffers<double> doubleOut_;
  int next_ = 0;
};

}  // namespace velmora::bench
