// The rendered file, written so that it never looks complete before it is: samples go to a
// hidden temporary file in the destination's folder, which is renamed over the destination
// only by Commit. Destroyed without Commit, the temporary file is removed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/host/result.h"

typedef struct sf_private_tag SNDFILE;

namespace velmora::render {

class AudioOutput {
 public:
  // The format follows the extension of path: .wav (32-bit float) or .flac (24-bit).
  static host::Result<std::unique_ptr<AudioOutput>> Create(const std::string& path,
                                                           int32_t channels, double sampleRate);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  host::Status Write(const float* interleaved, int64_t frames);
  // Finishes the file and moves it into place.
  host::Status Commit();

  const std::string& TemporaryPath() const { return temporaryPath_; }

 private:
  AudioOutput(std::string path, std::string temporaryPath, SNDFILE* file)
      : path_(std::move(path)), temporaryPath_(std::move(temporaryPath)), file_(file) {}

  std::string path_;
  std::string temporaryPath_;
  SNDFILE* file_;
  bool committed_ = false;
};

// From now on, an interrupt or termination signal removes the temporary file of the render
// in progress before the process ends. For the one output a command-line tool writes.
void RemovePartialOutputOnSignals();

// The libsndfile format for an output path, or 0 when its extension is not .wav or .flac.
int OutputFormatFor(const std::string& path);

}  // namespace velmora::render
