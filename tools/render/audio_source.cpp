#include "tools/render/audio_source.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmora::render {
namespace {

class FileSource : public AudioSource {
 public:
  FileSource(SNDFILE* file, const SF_INFO& info) : file_(file), info_(info) {}
  ~FileSource() override { sf_close(file_); }

  int32_t Channels() const override { return info_.channels; }
  double SampleRate() const override { return info_.samplerate; }
  int64_t Frames() const override { return info_.frames; }
  int64_t Read(float* interleaved, int64_t frames) override {
    sf_count_t got = sf_readf_float(file_, interleaved, frames);
    return got < frames && sf_error(file_) != SF_ERR_NO_ERROR ? -1 : got;
  }

 private:
  SNDFILE* file_;
  SF_INFO info_;
};

class SamplesSource : public AudioSource {
 public:
  SamplesSource(std::vector<float> samples, double sampleRate)
      : samples_(std::move(samples)), sampleRate_(sampleRate) {}

  int32_t Channels() const override { return 1; }
  double SampleRate() const override { return sampleRate_; }
  int64_t Frames() const override { return static_cast<int64_t>(samples_.size()); }
  int64_t Read(float* interleaved, int64_t frames) override {
    int64_t count = std::min(frames, Frames() - position_);
    std::memcpy(interleaved, samples_.data() + position_,
                static_cast<size_t>(count) * sizeof(float));
    position_ += count;
    return count;
  }

 private:
  std::vector<float> samples_;
  double sampleRate_;
  int64_t position_ = 0;
};

}  // namespace

host::Result<std::unique_ptr<AudioSource>> OpenAudioFile(const std::string& path) {
  using SourceResult = host::Result<std::unique_ptr<AudioSource>>;
  // The system's reason (missing, no permission, a folder) reads better than libsndfile's.
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (probe == nullptr) {
    return SourceResult::Failure("cannot read " + path + ": " + std::strerror(errno));
  }
  std::fclose(probe);
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    return SourceResult::Failure("cannot read " + path + ": " + sf_strerror(nullptr));
  }
  int major = info.format & SF_FORMAT_TYPEMASK;
  if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX && major != SF_FORMAT_RF64 &&
      major != SF_FORMAT_FLAC) {
    sf_close(file);
    return SourceResult::Failure("cannot read " + path + ": unsupported format (WAV or FLAC only)");
  }
  if (info.channels <= 0 || info.samplerate <= 0) {
    sf_close(file);
    return SourceResult::Failure("cannot read " + path + ": no audio channels");
  }
  return SourceResult::Success(std::make_unique<FileSource>(file, info));
}

std::unique_ptr<AudioSource> MemorySource(std::vector<float> samples, double sampleRate) {
  return std::make_unique<SamplesSource>(std::move(samples), sampleRate);
}

}  // namespace velmora::render
