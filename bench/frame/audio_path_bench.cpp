// Cost of the frame's audio path around the engine: float <-> double conversion through the
// scratch buffers, and the zero-copy double path, with the pass-through engine.
#include <benchmark/benchmark.h>

#include <vector>

#include "plugin/velmora_plugin.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace {

intptr_t SilentHost(velmora::vst::AEffect*, int32_t, int32_t, intptr_t, void*, float) {
  return 0;
}

template <typename Sample>
struct Buffers {
  explicit Buffers(int frames)
      : in(2, std::vector<Sample>(frames, Sample(0.25))), out(2, std::vector<Sample>(frames)) {
    inPointers[0] = in[0].data();
    inPointers[1] = in[1].data();
    outPointers[0] = out[0].data();
    outPointers[1] = out[1].data();
  }
  std::vector<std::vector<Sample>> in, out;
  Sample* inPointers[2];
  Sample* outPointers[2];
};

void BM_ProcessReplacing(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  velmora::vst::AEffect* effect = VSTPluginMain(&SilentHost);
  Buffers<float> buffers(frames);
  for (auto _ : state) {
    effect->processReplacing(effect, buffers.inPointers, buffers.outPointers, frames);
    benchmark::DoNotOptimize(buffers.out[0][0]);
  }
  state.SetItemsProcessed(state.iterations() * frames);
  effect->dispatcher(effect, velmora::vst::effClose, 0, 0, nullptr, 0.0f);
}
BENCHMARK(BM_ProcessReplacing)->Arg(64)->Arg(1024)->Arg(4096);

void BM_ProcessDoubleReplacing(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  velmora::vst::AEffect* effect = VSTPluginMain(&SilentHost);
  Buffers<double> buffers(frames);
  for (auto _ : state) {
    effect->processDoubleReplacing(effect, buffers.inPointers, buffers.outPointers, frames);
    benchmark::DoNotOptimize(buffers.out[0][0]);
  }
  state.SetItemsProcessed(state.iterations() * frames);
  effect->dispatcher(effect, velmora::vst::effClose, 0, 0, nullptr, 0.0f);
}
BENCHMARK(BM_ProcessDoubleReplacing)->Arg(64)->Arg(1024);

}  // namespace

BENCHMARK_MAIN();
