// The same three cases through the VST 2 interface, as a host sees them: the built
// velmora.so loaded by the project's host library and driven through processReplacing
// (float buffers, the frame's conversion included). Beside them a peer for scale: a
// stereo slap-back delay from Debian's lsp-plugins-vst with two taps on, set as a user
// would set it, at the same rate, block size and signal.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/parameter_index.h"
#include "tools/host/audio_buffers.h"
#include "tools/host/plugin_host.h"

namespace velmora {
namespace {

constexpr int kBlock = 256;
constexpr int kSignalFrames = 48000;
constexpr char kPeerPath[] = "/usr/lib/vst/lsp-plugins/slap-delay-stereo.so";

using Plugin = std::unique_ptr<host::PluginHost>;

host::HostConfig BenchConfig() {
  host::HostConfig config;
  config.sampleRate = 48000.0;
  config.blockSize = kBlock;
  config.tempo = 120.0;
  return config;
}

// Loads and starts a plug-in; on failure the benchmark is skipped with the reason.
Plugin LoadPlugin(benchmark::State& state, const std::string& path) {
  auto loaded = host::PluginHost::Load(path, BenchConfig());
  if (!loaded) {
    state.SkipWithError((path + ": " + loaded.Error()).c_str());
    return nullptr;
  }
  Plugin plugin = std::move(loaded.Value());
  plugin->Start();
  return plugin;
}

// Both channels of the signal the benchmarks feed, in one stereo run.
struct Signal {
  explicit Signal(bool silent) : left(kSignalFrames, 0.0f), right(kSignalFrames, 0.0f) {
    if (silent) {
      return;
    }
    for (int i = 0; i < kSignalFrames; ++i) {
      left[i] = static_cast<float>(0.3 * std::sin(0.013 * i));
      right[i] = static_cast<float>(0.3 * std::cos(0.007 * i));
    }
  }
  std::vector<float> left;
  std::vector<float> right;
};

// Plays the signal through the plug-in block by block: once as a warm-up (past the first
// crossfade, or until the bypass engages on silence), then under the benchmark's clock.
void Play(benchmark::State& state, host::PluginHost& plugin, const Signal& signal) {
  host::AudioBuffers<float> in(2, kBlock);
  host::AudioBuffers<float> out(2, kBlock);
  int first = 0;
  auto block = [&]() {
    std::copy_n(signal.left.data() + first, kBlock, in.Channel(0));
    std::copy_n(signal.right.data() + first, kBlock, in.Channel(1));
    const host::Status status = plugin.ProcessReplacing(in.Pointers(), out.Pointers(), kBlock);
    // The host library logs every host callback (the time queries of each block); a host
    // that kept them all would grow without end and time its own reallocations.
    plugin.Calls().Clear();
    first = first + 2 * kBlock <= kSignalFrames ? first + kBlock : 0;
    return static_cast<bool>(status);
  };
  for (int warm = 0; warm + kBlock <= kSignalFrames; warm += kBlock) {
    if (!block()) {
      state.SkipWithError("processReplacing refused the block");
      return;
    }
  }
  for (auto _ : state) {
    block();
    benchmark::DoNotOptimize(out.Channel(0));
    benchmark::DoNotOptimize(out.Channel(1));
  }
  state.counters["per_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kBlock),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

enum class Setup { kDefaults, kEverythingOn, kBypassedSilence };

// Sets a Velmora parameter to a whole-number value of its range.
void SetWhole(host::PluginHost& plugin, int index, int value) {
  const ParamRange range = kParamRanges[index];
  plugin.SetParameter(index, static_cast<float>(value - range.minimum) /
                                 static_cast<float>(range.maximum - range.minimum));
}

void RunVelmora(benchmark::State& state, Setup setup) {
  Plugin plugin = LoadPlugin(state, VELMORA_PLUGIN_PATH);
  if (plugin == nullptr) {
    return;
  }
  if (setup == Setup::kEverythingOn) {
    SetWhole(*plugin, kLeftSweepLink, 1);   // "Pan Width"
    SetWhole(*plugin, kRightSweepLink, 2);  // "Feedback"
    SetWhole(*plugin, kPingPong, 4);        // "Dotted 2"
    SetWhole(*plugin, kFeedback, 90);
  }
  Play(state, *plugin, Signal(setup == Setup::kBypassedSilence));
}

// The index of the parameter called name, or -1.
int FindParameter(const host::PluginHost& plugin, const std::string& name) {
  for (int32_t i = 0; i < plugin.NumParams(); ++i) {
    if (plugin.ParamName(i) == name) {
      return i;
    }
  }
  return -1;
}

// Steps a parameter through its normalised range until its display reads as wanted
// (compared by prefix, case-insensitively, so "250" finds "250.00"); false when no value
// shows it.
bool SetByDisplay(host::PluginHost& plugin, int index, const std::string& wanted) {
  auto matches = [&](const std::string& shown) {
    if (shown.size() < wanted.size()) {
      return false;
    }
    for (size_t i = 0; i < wanted.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(shown[i])) !=
          std::tolower(static_cast<unsigned char>(wanted[i]))) {
        return false;
      }
    }
    return shown.size() == wanted.size() || shown[wanted.size()] == ' ' ||
           shown[wanted.size()] == '.';
  };
  constexpr int kSteps = 100000;
  for (int step = 0; step <= kSteps; ++step) {
    plugin.SetParameter(index, static_cast<float>(step) / kSteps);
    if (matches(plugin.ParamDisplay(index))) {
      return true;
    }
  }
  return false;
}

void BM_PeerSlapDelayTwoTaps(benchmark::State& state) {
  Plugin plugin = LoadPlugin(state, kPeerPath);
  if (plugin == nullptr) {
    return;
  }
  const struct {
    const char* name;
    const char* display;
  } settings[] = {{"dm0", "Time"}, {"dm1", "Time"}, {"dt0", "250"}, {"dt1", "375"}};
  std::string shown;
  for (const auto& setting : settings) {
    const int index = FindParameter(*plugin, setting.name);
    if (index < 0 || !SetByDisplay(*plugin, index, setting.display)) {
      state.SkipWithError((std::string("peer parameter ") + setting.name + " not set").c_str());
      return;
    }
    shown += std::string(setting.name) + "=" + plugin->ParamDisplay(index) + " ";
  }
  state.SetLabel(shown);
  Play(state, *plugin, Signal(false));
}
BENCHMARK(BM_PeerSlapDelayTwoTaps);

void BM_PluginDefaults(benchmark::State& state) {
  RunVelmora(state, Setup::kDefaults);
}
void BM_PluginEverythingOn(benchmark::State& state) {
  RunVelmora(state, Setup::kEverythingOn);
}
void BM_PluginBypassedSilence(benchmark::State& state) {
  RunVelmora(state, Setup::kBypassedSilence);
}
BENCHMARK(BM_PluginDefaults);
BENCHMARK(BM_PluginEverythingOn);
BENCHMARK(BM_PluginBypassedSilence);

}  // namespace
}  // namespace velmora
