#include "tools/render/renderer.h"

#include <algorithm>
#include <vector>

#include "tools/host/audio_buffers.h"

namespace velmora::render {
namespace {

void Deinterleave(const std::vector<float>& interleaved, int32_t sourceChannels, int64_t frames,
                  host::AudioBuffers<float>& inputs) {
  for (int32_t c = 0; c < inputs.Channels(); ++c) {
    float* channel = inputs.Channel(c);
    int32_t from = sourceChannels == 1 ? 0 : c;
    for (int64_t i = 0; i < inputs.Frames(); ++i) {
      channel[i] = from < sourceChannels && i < frames
                       ? interleaved[static_cast<size_t>(i * sourceChannels + from)]
                       : 0.0f;
    }
  }
}

void Interleave(const host::AudioBuffers<float>& outputs, int64_t frames,
                std::vector<float>& interleaved) {
  int32_t channels = outputs.Channels();
  for (int32_t c = 0; c < channels; ++c) {
    const float* channel = outputs.Channel(c);
    for (int64_t i = 0; i < frames; ++i) {
      interleaved[static_cast<size_t>(i * channels + c)] = channel[i];
    }
  }
}

}  // namespace

host::Status CheckChannels(int32_t sourceChannels, int32_t pluginInputs, int32_t pluginOutputs) {
  if (pluginOutputs <= 0) {
    return host::Status::Failure("the plug-in has no audio outputs");
  }
  if (sourceChannels > 1 && sourceChannels > pluginInputs) {
    return host::Status::Failure("the input has " + std::to_string(sourceChannels) +
                                 " channels but the plug-in takes " + std::to_string(pluginInputs));
  }
  return host::Status();
}

host::Status Render(host::PluginHost& host, AudioSource& source, AudioOutput& output,
                    int64_t tailFrames, ProgressBar& progress) {
  const int32_t block = host.Config().blockSize;
  const int32_t sourceChannels = source.Channels();
  const int64_t total = source.Frames() + tailFrames;
  host::AudioBuffers<float> inputs(host.NumInputs(), block);
  host::AudioBuffers<float> outputs(host.NumOutputs(), block);
  std::vector<float> sourceFrames(static_cast<size_t>(block) * sourceChannels, 0.0f);
  std::vector<float> outputFrames(static_cast<size_t>(block) * host.NumOutputs(), 0.0f);

  bool sourceEnded = false;
  for (int64_t done = 0; done < total;) {
    auto frames = static_cast<int32_t>(std::min<int64_t>(block, total - done));
    int64_t got = 0;
    if (!sourceEnded) {
      got = source.Read(sourceFrames.data(), frames);
      if (got < 0) {
        return host::Status::Failure("reading the input failed");
      }
      sourceEnded = got < frames;
    }
    Deinterleave(sourceFrames, sourceChannels, got, inputs);
    host::Status processed = host.ProcessReplacing(inputs.Pointers(), outputs.Pointers(), frames);
    if (!processed) {
      return processed;
    }
    Interleave(outputs, frames, outputFrames);
    host::Status written = output.Write(outputFrames.data(), frames);
    if (!written) {
      return written;
    }
    done += frames;
    progress.Update(done);
  }
  progress.Finish();
  return host::Status();
}

}  // namespace velmora::render
