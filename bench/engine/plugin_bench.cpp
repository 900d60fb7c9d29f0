// The same three cases through the VST 2 interface: processReplacing of the plug-in
// created by its exported entry point, with float buffers and the frame's conversion.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/dsp/parameter_index.h"
#include "engine/velmora_plugin.h"
#include "frame/vst2.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace velmora {
namespace {

constexpr int kBlock = 256;
constexpr int kSignalFrames = 48000;

vst::VstTimeInfo benchTime{};

intptr_t BenchHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == vst::audioMasterGetTime ? reinterpret_cast<intptr_t>(&benchTime) : 0;
}

enum class Setup { kDefaults, kEverythingOn, kBypassedSilence };

void SetParameter(vst::AEffect* effect, int index, double value, double minimum, double maximum) {
  effect->setParameter(effect, index, static_cast<float>((value - minimum) / (maximum - minimum)));
}

void RunPlugin(benchmark::State& state, Setup setup) {
  benchTime = vst::VstTimeInfo{};
  benchTime.tempo = 120.0;
  benchTime.flags = vst::kVstTempoValid;
  vst::AEffect* effect = VSTPluginMain(&BenchHost);
  effect->dispatcher(effect, vst::effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->dispatcher(effect, vst::effSetBlockSize, 0, kBlock, nullptr, 0.0f);
  effect->dispatcher(effect, vst::effMainsChanged, 0, 1, nullptr, 0.0f);
  if (setup == Setup::kEverythingOn) {
    SetParameter(effect, kLeftSweepLink, 1, 0, 4);   // "Pan Width"
    SetParameter(effect, kRightSweepLink, 2, 0, 4);  // "Feedback"
    SetParameter(effect, kPingPong, 4, 0, 4);        // "Dotted 2"
    SetParameter(effect, kFeedback, 90, 0, 100);
  }
  std::vector<float> inL(kSignalFrames), inR(kSignalFrames), outL(kSignalFrames),
      outR(kSignalFrames);
  if (setup != Setup::kBypassedSilence) {
    for (int i = 0; i < kSignalFrames; ++i) {
      inL[i] = static_cast<float>(0.3 * std::sin(0.013 * i));
      inR[i] = static_cast<float>(0.3 * std::cos(0.007 * i));
    }
  }
  auto block = [&](int first) {
    float* ins[2] = {inL.data() + first, inR.data() + first};
    float* outs[2] = {outL.data() + first, outR.data() + first};
    effect->processReplacing(effect, ins, outs, kBlock);
  };
  for (int first = 0; first + kBlock <= kSignalFrames; first += kBlock) {
    block(first);
  }
  int first = 0;
  for (auto _ : state) {
    block(first);
    benchmark::DoNotOptimize(outL.data());
    first = first + 2 * kBlock <= kSignalFrames ? first + kBlock : 0;
  }
  state.counters["per_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kBlock),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

void BM_PluginDefaults(benchmark::State& state) {
  RunPlugin(state, Setup::kDefaults);
}
void BM_PluginEverythingOn(benchmark::State& state) {
  RunPlugin(state, Setup::kEverythingOn);
}
void BM_PluginBypassedSilence(benchmark::State& state) {
  RunPlugin(state, Setup::kBypassedSilence);
}
BENCHMARK(BM_PluginDefaults);
BENCHMARK(BM_PluginEverythingOn);
BENCHMARK(BM_PluginBypassedSilence);

}  // namespace
}  // namespace velmora
