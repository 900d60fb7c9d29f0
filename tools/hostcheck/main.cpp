// velmora-hostcheck: loads one VST 2 plug-in with the host library, checks its effect
// record, opens it and processes one block with processReplacing and one with
// processDoubleReplacing. Prints a one-line summary; exits 0 only when all of it worked.
// Built for Windows, where it proves the DLL and the host library under Wine or Windows.
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/host/audio_buffers.h"
#include "tools/host/four_cc_text.h"
#include "tools/host/plugin_host.h"

namespace velmora::hostcheck {
namespace {

constexpr int32_t kBlock = 512;
constexpr double kSampleRate = 44100.0;
constexpr int32_t kMostChannels = 64;
constexpr double kTwoPi = 6.283185307179586;

template <typename Sample>
host::Status ProcessOneBlock(host::PluginHost& plugin, bool doublePrecision) {
  host::AudioBuffers<Sample> in(plugin.NumInputs(), kBlock), out(plugin.NumOutputs(), kBlock);
  for (int32_t c = 0; c < in.Channels(); ++c) {
    for (int32_t i = 0; i < kBlock; ++i) {
      in.Channel(c)[i] = static_cast<Sample>(0.5 * std::sin(kTwoPi * 440.0 * i / kSampleRate));
    }
  }
  out.Fill(static_cast<Sample>(NAN));
  host::Status status =
      doublePrecision
          ? plugin.ProcessDoubleReplacing(reinterpret_cast<double**>(in.Pointers()),
                                          reinterpret_cast<double**>(out.Pointers()), kBlock)
          : plugin.ProcessReplacing(reinterpret_cast<float**>(in.Pointers()),
                                    reinterpret_cast<float**>(out.Pointers()), kBlock);
  if (!status) {
    return status;
  }
  // The outputs were filled with NaN: a plug-in that leaves one unwritten fails here too.
  for (int32_t c = 0; c < out.Channels(); ++c) {
    for (int32_t i = 0; i < kBlock; ++i) {
      if (!std::isfinite(out.Channel(c)[i])) {
        return host::Status::Failure(std::string(doublePrecision ? "double" : "float") +
                                     " output " + std::to_string(c) + " is not finite at " +
                                     std::to_string(i));
      }
    }
  }
  return host::Status();
}

host::Status CheckRecord(const host::PluginHost& plugin) {
  const vst::AEffect& e = *plugin.Effect();
  if (e.numInputs > kMostChannels || e.numOutputs < 1 || e.numOutputs > kMostChannels) {
    return host::Status::Failure("implausible channel counts " + std::to_string(e.numInputs) +
                                 " in / " + std::to_string(e.numOutputs) + " out");
  }
  if ((e.flags & vst::effFlagsCanReplacing) == 0 || e.processReplacing == nullptr) {
    return host::Status::Failure("no processReplacing");
  }
  if ((e.flags & vst::effFlagsCanDoubleReplacing) == 0 || e.processDoubleReplacing == nullptr) {
    return host::Status::Failure("no processDoubleReplacing");
  }
  if (e.setParameter == nullptr || e.getParameter == nullptr) {
    return host::Status::Failure("no parameter callbacks");
  }
  return host::Status();
}

int Run(const std::string& path) {
  host::HostConfig config;
  config.sampleRate = kSampleRate;
  config.blockSize = kBlock;
  auto loaded = host::PluginHost::Load(path, config);
  if (!loaded) {
    std::printf("velmora-hostcheck: %s\n", loaded.Error().c_str());
    return 1;
  }
  host::PluginHost& plugin = *loaded.Value();
  host::Status status = CheckRecord(plugin);
  if (status) {
    plugin.Start();
    status = ProcessOneBlock<float>(plugin, false);
  }
  if (status) {
    status = ProcessOneBlock<double>(plugin, true);
  }
  if (!status) {
    std::printf("velmora-hostcheck: %s: %s\n", path.c_str(), status.Error().c_str());
    return 1;
  }
  const vst::AEffect& e = *plugin.Effect();
  std::printf(
      "%s: \"%s\" ID %s version %d, %d params, %d programs, %d in / %d out, flags 0x%x, "
      "float and double blocks OK\n",
      path.c_str(), plugin.EffectName().c_str(), host::FourCCText(e.uniqueID).c_str(), e.version,
      e.numParams, e.numPrograms, e.numInputs, e.numOutputs, e.flags);
  return 0;
}

}  // namespace
}  // namespace velmora::hostcheck

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: velmora-hostcheck PLUGIN\n");
    return 2;
  }
  return velmora::hostcheck::Run(argv[1]);
}
