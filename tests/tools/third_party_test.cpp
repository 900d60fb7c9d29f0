// Our VST 2 declarations and host library against plug-ins built by others (Debian's
// dpf-plugins-vst and lsp-plugins-vst): every one must load, report a name and parameters,
// and turn one second of a sine into finite, non-silent output through processReplacing.
// Each plug-in runs in its own child process with a time limit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdlib>

#include "tests/tools/isolated_run.h"
#include "tools/host/audio_buffers.h"
#include "tools/host/plugin_host.h"

namespace velmora::host {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr int32_t kBlock = 512;

std::string CheckInstance(PluginHost& host) {
  host.Start();
  std::string name = host.EffectName();
  if (name.empty()) {
    return "no effect name";
  }
  if (host.NumParams() <= 0 || host.ParamName(0).empty()) {
    return name + ": no named parameters";
  }
  if ((host.Effect()->flags & vst::effFlagsCanReplacing) == 0) {
    return name + ": no processReplacing";
  }
  AudioBuffers<float> in(host.NumInputs(), kBlock), out(host.NumOutputs(), kBlock);
  double energy = 0.0;
  for (int32_t done = 0; done < static_cast<int32_t>(kSampleRate); done += kBlock) {
    for (int32_t c = 0; c < in.Channels(); ++c) {
      for (int32_t i = 0; i < kBlock; ++i) {
        in.Channel(c)[i] =
            0.25f * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * (done + i) / kSampleRate));
      }
    }
    Status status = host.ProcessReplacing(in.Pointers(), out.Pointers(), kBlock);
    if (!status) {
      return name + ": " + status.Error();
    }
    for (int32_t c = 0; c < out.Channels(); ++c) {
      for (int32_t i = 0; i < kBlock; ++i) {
        float sample = out.Channel(c)[i];
        if (!std::isfinite(sample) || std::fabs(sample) > 16.0f) {
          return name + ": output sample " + std::to_string(sample) + " is not sane";
        }
        energy += static_cast<double>(sample) * sample;
      }
    }
  }
  return energy > 0.0 ? "" : name + ": silent output";
}

TEST(IsolatedRun, ReportsSuccessFailureCrashAndHang) {
  EXPECT_TRUE(testing::RunIsolated([] { return std::string(); }, 5).passed);
  auto failed = testing::RunIsolated([] { return std::string("bad output"); }, 5);
  EXPECT_FALSE(failed.passed);
  EXPECT_EQ(failed.message, "bad output");
  auto crashed = testing::RunIsolated(
      []() -> std::string {
        std::abort();
        return "";
      },
      5);
  EXPECT_FALSE(crashed.passed);
  EXPECT_NE(crashed.message.find("signal"), std::string::npos) << crashed.message;
  auto hung = testing::RunIsolated(
      []() -> std::string {
        for (;;) {
          pause();
        }
      },
      1);
  EXPECT_FALSE(hung.passed);
  EXPECT_EQ(hung.message, "timed out after 1 s");
}

class ThirdPartyPlugin : public ::testing::TestWithParam<const char*> {};

TEST_P(ThirdPartyPlugin, LoadsNamesParametersAndProcessesOneSecond) {
  const std::string path = GetParam();
  if (access(path.c_str(), R_OK) != 0) {
    GTEST_SKIP() << path << " is not installed (scripts/install-deps.sh installs it)";
  }
  auto outcome = testing::RunIsolated(
      [&path]() -> std::string {
        HostConfig config;
        config.sampleRate = kSampleRate;
        config.blockSize = kBlock;
        auto loaded = PluginHost::Load(path, config);
        return loaded ? CheckInstance(*loaded.Value()) : loaded.Error();
      },
      30);
  EXPECT_TRUE(outcome.passed) << path << ": " << outcome.message;
}

INSTANTIATE_TEST_SUITE_P(
    Debian, ThirdPartyPlugin,
    ::testing::Values("/usr/lib/vst/3BandEQ-vst.so", "/usr/lib/vst/PingPongPan-vst.so",
                      "/usr/lib/vst/MVerb-vst.so", "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so",
                      "/usr/lib/vst/lsp-plugins/compressor-stereo.so",
                      "/usr/lib/vst/lsp-plugins/para-equalizer-x16-stereo.so"));

}  // namespace
}  // namespace velmora::host
