// A minimal plug-in on the frame that records what its engine hooks receive, for testing the
// audio path and the gesture protocol independently of the effect.
#pragma once

#include <string>
#include <vector>

#include "frame/effect_vst.h"
#include "tests/frame/fake_host.h"

namespace velmora::testing {

class ProbePlugin : public IEffectVST {
 public:
  struct Block {
    double* inputs[2];
    double* outputs[2];
    int frames;
  };

  explicit ProbePlugin(FakeHost& host) : IEffectVST(&FakeHost::Callback, Setup()) {
    Effect()->user = &host;
    Param(0)->DefineInt("Level", 50, 0, 100, "%");
    Param(1)->DefineInt("Tone", 0, -10, 10, "");
  }

  static EffectSetup Setup() {
    EffectSetup setup;
    setup.numParams = 2;
    setup.channelIO = "1-1 2-2";
    setup.numPrograms = 4;
    setup.effectName = "Probe";
    setup.version = 0x10203;
    return setup;
  }

  void ProcessBlock(double** inputs, double** outputs, int frames) override {
    blocks.push_back(Block{{inputs[0], inputs[1]}, {outputs[0], outputs[1]}, frames});
    IEffectVST::ProcessBlock(inputs, outputs, frames);
  }
  void ApplyParameter(int index) override { applied.push_back(index); }
  void ResetEngine() override { events.push_back("reset"); }
  void SetActive(bool active) override { events.push_back(active ? "on" : "off"); }
  void BeforeClose() override {
    if (closed != nullptr) {
      *closed = true;
    }
  }

  double* InputScratch(int channel) { return InputChannels()[channel].scratch.data(); }
  size_t InputScratchSize(int channel) { return InputChannels()[channel].scratch.size(); }
  double* OutputScratch(int channel) { return OutputChannels()[channel].scratch.data(); }

  std::vector<Block> blocks;
  std::vector<int> applied;
  std::vector<std::string> events;
  bool* closed = nullptr;
};

}  // namespace velmora::testing
