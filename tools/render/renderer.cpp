#include "tools/render/renderer.h"

#include <algorithm>
#include <cmath>
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

// How many of the block's frames to keep so the tail ends on the frame that completes a run
// of tail.quietFrames quiet frames; all of them when the run is not complete yet. The run
// starts counting at frame first (where the tail begins) and carries from block to block.
int32_t FramesUntilQuiet(const host::AudioBuffers<float>& outputs, int32_t first, int32_t frames,
                         const TailLength& tail, int64_t& quietRun) {
  for (int32_t i = first; i < frames; ++i) {
    bool quiet = true;
    for (int32_t c = 0; c < outputs.Channels() && quiet; ++c) {
      quiet = std::fabs(outputs.Channel(c)[i]) < tail.quietLevel;
    }
    quietRun = quiet ? quietRun + 1 : 0;
    if (quietRun >= tail.quietFrames) {
      return i + 1;
    }
  }
  return frames;
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
                    const TailLength& tail, ProgressBar& progress) {
  const int32_t block = host.Config().blockSize;
  const int32_t sourceChannels = source.Channels();
  host::AudioBuffers<float> inputs(host.NumInputs(), block);
  host::AudioBuffers<float> outputs(host.NumOutputs(), block);
  std::vector<float> sourceFrames(static_cast<size_t>(block) * sourceChannels, 0.0f);
  std::vector<float> outputFrames(static_cast<size_t>(block) * host.NumOutputs(), 0.0f);

  // A source may end before the frames it announced (a damaged file): the tail then starts
  // where its audio really ends.
  bool sourceEnded = source.Frames() == 0;
  int64_t total = source.Frames() + tail.frames;
  int64_t quietRun = 0;
  for (int64_t done = 0; done < total;) {
    auto frames = static_cast<int32_t>(std::min<int64_t>(block, total - done));
    int64_t got = 0;
    if (!sourceEnded) {
      got = source.Read(sourceFrames.data(), frames);
      if (got < 0) {
        return host::Status::Failure("reading the input failed");
      }
      if (got < frames) {
        sourceEnded = true;
        total = done + got + tail.frames;
        frames = static_cast<int32_t>(std::min<int64_t>(block, total - done));
        if (frames == 0) {
          break;
        }
      }
    }
    Deinterleave(sourceFrames, sourceChannels, got, inputs);
    host::Status processed = host.ProcessReplacing(inputs.Pointers(), outputs.Pointers(), frames);
    if (!processed) {
      return processed;
    }
    if (tail.untilQuiet && sourceEnded) {
      // Only tail frames count towards the quiet second; the input's own silence does not.
      int32_t kept = FramesUntilQuiet(outputs, static_cast<int32_t>(got), frames, tail, quietRun);
      total = kept < frames ? done + kept : total;
      frames = kept;
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
