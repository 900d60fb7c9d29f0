// The engine's cost against its floor and the plug-in's against a peer, each pair measured
// side by side in one process (side_by_side.h), with the goals they are held to:
// - the engine with defaults at most 1.3 x the floor of its filter recursion, everything on
//   at most 1.6 x, bypassed silence at most 0.25 x;
// - through processReplacing with defaults at most 0.85 x the peer slap-back delay at its
//   defaults, and through processDoubleReplacing likewise (the peer only where
//   lsp-plugins-vst is installed).
// Usage: engine_ratio_bench [rounds] (at least 25; 31 unless given). Exits 1 when a goal is
// missed, 2 when a case cannot run.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine_cases.h"
#include "peer_cases.h"
#include "side_by_side.h"

namespace {

using velmora::bench::Case;
using velmora::bench::PluginCase;
using velmora::dsp::bench::EngineCase;
using velmora::dsp::bench::kBlock;
using velmora::dsp::bench::Setup;

// About a million frames per run.
constexpr int kBlocksPerRun = 4096;
constexpr int64_t kFramesPerRun = int64_t{kBlocksPerRun} * kBlock;

volatile double sink = 0.0;

Case FloorCase() {
  auto in =
      std::make_shared<velmora::dsp::testing::StereoBuffer>(velmora::dsp::bench::NoisySignal());
  auto floor = std::make_shared<velmora::dsp::bench::FloorPair>();
  auto out = std::make_shared<std::vector<double>>(2 * kBlock);
  return {"filter floor",
          [in, floor, out]() {
            size_t first = 0;
            for (int b = 0; b < kBlocksPerRun; ++b) {
              floor->Block(*in, first, out->data(), out->data() + kBlock);
              first = first + 2 * kBlock <= velmora::dsp::bench::kSignalFrames ? first + kBlock : 0;
            }
            sink = sink + (*out)[0];
          },
          kFramesPerRun};
}

Case EngineRun(const char* name, Setup setup, bool& ready) {
  auto engine = std::make_shared<EngineCase>(setup);
  ready = ready && engine->Ready(setup);
  return {name,
          [engine]() {
            for (int b = 0; b < kBlocksPerRun; ++b) {
              engine->Block();
            }
            sink = sink + engine->out.left[0];
          },
          kFramesPerRun};
}

Case PluginRun(const char* name, std::shared_ptr<PluginCase> plugin, bool doubles) {
  return {name,
          [plugin, doubles]() {
            for (int b = 0; b < kBlocksPerRun; ++b) {
              if (doubles) {
                plugin->DoubleBlock();
              } else {
                plugin->FloatBlock();
              }
            }
          },
          kFramesPerRun};
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(25, std::atoi(argv[1])) : 31;
  bool ready = true;
  std::vector<Case> engine;
  engine.push_back(FloorCase());
  engine.push_back(EngineRun("engine, defaults", Setup::kDefaults, ready));
  engine.push_back(EngineRun("engine, everything on", Setup::kEverythingOn, ready));
  engine.push_back(EngineRun("engine, bypassed silence", Setup::kBypassedSilence, ready));
  if (!ready) {
    std::fprintf(stderr, "the bypass did not engage on silence\n");
    return 2;
  }
  velmora::bench::RunRounds(engine, rounds);
  velmora::bench::PrintCases(engine, rounds);
  bool met = velmora::bench::PrintRatio(engine[1], engine[0], 1.3);
  met = velmora::bench::PrintRatio(engine[2], engine[0], 1.6) && met;
  met = velmora::bench::PrintRatio(engine[3], engine[0], 0.25) && met;

  std::string error;
  std::shared_ptr<PluginCase> velmora = PluginCase::Load(VELMORA_PLUGIN_PATH, error);
  if (velmora == nullptr || !velmora->WarmUp()) {
    std::fprintf(stderr, "%s\n", error.empty() ? "velmora refused a block" : error.c_str());
    return 2;
  }
  std::shared_ptr<PluginCase> peer = PluginCase::Load(velmora::bench::kPeerPath, error);
  if (peer == nullptr || !peer->WarmUp()) {
    std::printf("\npeer not measured: %s\n", error.empty() ? "it refused a block" : error.c_str());
    return met ? 0 : 1;
  }
  std::vector<Case> plugins;
  plugins.push_back(PluginRun("peer, processReplacing", peer, false));
  plugins.push_back(PluginRun("velmora, processReplacing", velmora, false));
  plugins.push_back(PluginRun("velmora, processDoubleReplacing", velmora, true));
  std::printf("\n");
  velmora::bench::RunRounds(plugins, rounds);
  velmora::bench::PrintCases(plugins, rounds);
  met = velmora::bench::PrintRatio(plugins[1], plugins[0], 0.85) && met;
  met = velmora::bench::PrintRatio(plugins[2], plugins[0], 0.85) && met;
  return met ? 0 : 1;
}
