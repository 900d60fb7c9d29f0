#include "tools/validate/plugin_instance.h"

#include <cstring>

namespace velmora::validate {

host::Result<Instance> LoadInstance(const CheckContext& context, double sampleRate,
                                    int32_t blockSize, bool start) {
  host::HostConfig config;
  config.sampleRate = sampleRate;
  config.blockSize = blockSize;
  config.productString = "Velmora Validate";
  auto loaded = host::PluginHost::Load(context.pluginPath, config);
  if (!loaded) {
    return loaded;
  }
  loaded.Value()->Calls().SetRecording(false);
  if (start) {
    loaded.Value()->Start();
  }
  return loaded;
}

std::mt19937 RandomFor(const CheckContext& context, const char* check) {
  uint32_t mixed = context.seed * 2654435761u;
  for (const char* c = check; *c != '\0'; ++c) {
    mixed = (mixed ^ static_cast<uint8_t>(*c)) * 16777619u;
  }
  return std::mt19937(mixed);
}

float RandomUnit(std::mt19937& random) {
  return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

bool ProcessesDouble(const vst::AEffect& effect) {
  return (effect.flags & vst::effFlagsCanDoubleReplacing) != 0 &&
         effect.processDoubleReplacing != nullptr;
}

void ProcessFloat(vst::AEffect& effect, host::AudioBuffers<float>& in,
                  host::AudioBuffers<float>& out, int32_t frames) {
  effect.processReplacing(&effect, in.Pointers(), out.Pointers(), frames);
}

void ProcessDouble(vst::AEffect& effect, host::AudioBuffers<double>& in,
                   host::AudioBuffers<double>& out, int32_t frames) {
  effect.processDoubleReplacing(&effect, in.Pointers(), out.Pointers(), frames);
}

std::string SampleTally::NonFiniteText() const {
  return std::to_string(nan) + " NaN and " + std::to_string(infinite) + " infinite in " +
         std::to_string(samples) + " output samples";
}

}  // namespace velmora::validate
