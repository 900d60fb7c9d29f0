// The thread rules in the checked build of the module: with a host that offers thread-check,
// main-thread calls made from another thread and audio-thread calls made outside the audio
// thread are refused, and the right threads are served.
#include <thread>

#include "engine/parameter_index.h"
#include "tests/clap/clap_rig.h"

namespace velmora::claphost::testing {
namespace {

class ClapThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    auto module = ClapModule::Load(VELMORA_CLAP_CHECKED_MODULE);
    ASSERT_TRUE(module) << module.Error();
    module_ = std::move(module.Value());
    plugin_ = MakeInstance(*module_, host_);
    ASSERT_TRUE(plugin_);
  }
  template <typename Call>
  static auto OnOtherThread(Call call) {
    decltype(call()) result{};
    std::thread other([&] { result = call(); });
    other.join();
    return result;
  }

  std::unique_ptr<ClapModule> module_;
  ClapHost host_;
  std::unique_ptr<ClapInstance> plugin_;
};

TEST_F(ClapThreads, MainThreadCallsFromAnotherThreadAreRefused) {
  const clap::Plugin* p = plugin_->Plugin();
  const auto* params = plugin_->Get<clap::PluginParams>(clap::kExtParams);
  const auto* gui = plugin_->Get<clap::PluginGui>(clap::kExtGui);
  EXPECT_FALSE(OnOtherThread([&] { return p->activate(p, 44100, 1, 512); }));
  EXPECT_EQ(OnOtherThread([&] { return params->count(p); }), 0u);
  EXPECT_FALSE(OnOtherThread([&] {
    uint32_t w = 0, h = 0;
    return gui->getSize(p, &w, &h);
  }));
  EXPECT_FALSE(OnOtherThread([&] { return plugin_->SaveState().Ok(); }));
  // The main thread itself is served.
  EXPECT_EQ(params->count(p), 22u);
  EXPECT_TRUE(plugin_->SaveState().Ok());
  EXPECT_TRUE(plugin_->Activate(44100, 512));
}

TEST_F(ClapThreads, AudioCallsOutsideTheAudioThreadAreRefused) {
  const clap::Plugin* p = plugin_->Plugin();
  ASSERT_TRUE(plugin_->Activate(44100, 512));
  EXPECT_FALSE(p->startProcessing(p));  // the main thread is not the audio thread
  ASSERT_TRUE(plugin_->StartProcessing());
  StereoBuffers<float> b(512);
  AudioIo io = b.Io();
  EXPECT_NE(plugin_->Process(io, 512, nullptr, nullptr, nullptr), clap::kProcessError);
  clap::AudioBuffer in{}, out{};
  in.data32 = io.in32.data();
  out.data32 = io.out32.data();
  in.channelCount = out.channelCount = 2;
  clap::Process process{};
  process.framesCount = 512;
  process.audioInputs = &in;
  process.audioOutputs = &out;
  process.audioInputsCount = process.audioOutputsCount = 1;
  EXPECT_EQ(p->process(p, &process), clap::kProcessError);  // not from the audio thread
  // Without thread-check from the host nothing can be checked, and nothing is refused.
  ClapHost trusting;
  trusting.OfferThreadCheck(false);
  auto other = MakeInstance(*module_, trusting);
  ASSERT_TRUE(other);
  const clap::Plugin* q = other->Plugin();
  ASSERT_TRUE(q->activate(q, 44100, 1, 512));
  EXPECT_TRUE(q->startProcessing(q));
  EXPECT_NE(q->process(q, &process), clap::kProcessError);
  q->stopProcessing(q);
  q->deactivate(q);
}

}  // namespace
}  // namespace velmora::claphost::testing
