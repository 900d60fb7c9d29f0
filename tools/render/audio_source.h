// Where the samples to render come from: an audio file (WAV or FLAC through libsndfile) or
// a block of samples in memory (the demo). Reads interleaved float frames.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/result.h"

namespace velmora::render {

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual int32_t Channels() const = 0;
  virtual double SampleRate() const = 0;
  virtual int64_t Frames() const = 0;
  // Reads up to frames interleaved frames; returns how many were read (0 at the end) or -1
  // on a read error.
  virtual int64_t Read(float* interleaved, int64_t frames) = 0;
};

// Opens a WAV or FLAC file; any other format, or a file that cannot be read, is an error.
host::Result<std::unique_ptr<AudioSource>> OpenAudioFile(const std::string& path);

// Mono samples held in memory.
std::unique_ptr<AudioSource> MemorySource(std::vector<float> samples, double sampleRate);

}  // namespace velmora::render
