#include "tools/render/audio_output.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace velmora::render {
namespace {

std::string LowerExtension(const std::string& path) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return "";
  }
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// The temporary file a signal handler must remove: a fixed buffer, as the handler may only
// make async-signal-safe calls. Empty while no render is under way.
char pendingPath[4096];

void RemovePendingAndDie(int signal) {
  if (pendingPath[0] != '\0') {
    unlink(pendingPath);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void SetPending(const std::string& path) {
  pendingPath[0] = '\0';
  if (path.empty() || path.size() >= sizeof(pendingPath)) {
    return;
  }
  std::memcpy(pendingPath + 1, path.data() + 1, path.size() - 1);
  pendingPath[path.size()] = '\0';
  // The first byte goes in last: the handler sees the whole path or none.
  std::atomic_signal_fence(std::memory_order_seq_cst);
  pendingPath[0] = path[0];
}

// mkstemps creates files only its owner may read; give the result the usual permissions.
void ApplyUmaskPermissions(int fd) {
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
}

}  // namespace

void RemovePartialOutputOnSignals() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    std::signal(signal, RemovePendingAndDie);
  }
}

int OutputFormatFor(const std::string& path) {
  std::string extension = LowerExtension(path);
  if (extension == "wav") {
    return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  }
  if (extension == "flac") {
    return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  }
  return 0;
}

host::Result<std::unique_ptr<AudioOutput>> AudioOutput::Create(const std::string& path,
                                                               int32_t channels,
                                                               double sampleRate) {
  using OutputResult = host::Result<std::unique_ptr<AudioOutput>>;
  SF_INFO info{};
  info.format = OutputFormatFor(path);
  info.channels = channels;
  info.samplerate = static_cast<int>(sampleRate);
  if (info.format == 0) {
    return OutputResult::Failure("cannot write " + path + ": use a .wav or .flac file name");
  }
  if (!sf_format_check(&info)) {
    return OutputResult::Failure("cannot write " + path + ": " + std::to_string(channels) +
                                 " channels at " + std::to_string(info.samplerate) +
                                 " Hz do not fit this format");
  }
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = folder + "." + name + ".XXXXXX.part";
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  int fd = mkstemps(temporary.data(), 5);
  if (fd < 0) {
    return OutputResult::Failure("cannot write " + path + ": cannot create a file in " +
                                 (folder.empty() ? std::string("the current folder") : folder));
  }
  ApplyUmaskPermissions(fd);
  std::string temporaryPath(temporary.data());
  SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
  if (file == nullptr) {
    std::string reason = sf_strerror(nullptr);
    close(fd);
    std::remove(temporaryPath.c_str());
    return OutputResult::Failure("cannot write " + path + ": " + reason);
  }
  SetPending(temporaryPath);
  // Values beyond full scale are clipped rather than wrapped in the integer formats.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return OutputResult::Success(
      std::unique_ptr<AudioOutput>(new AudioOutput(path, temporaryPath, file)));
}

AudioOutput::~AudioOutput() {
  pendingPath[0] = '\0';
  if (file_ != nullptr) {
    sf_close(file_);
  }
  if (!committed_) {
    std::remove(temporaryPath_.c_str());
  }
}

host::Status AudioOutput::Write(const float* interleaved, int64_t frames) {
  if (file_ == nullptr) {
    return host::Status::Failure("cannot write " + path_ + ": already finished");
  }
  if (sf_writef_float(file_, interleaved, frames) != frames) {
    return host::Status::Failure("cannot write " + path_ + ": " + sf_strerror(file_));
  }
  return host::Status();
}

host::Status AudioOutput::Commit() {
  if (file_ == nullptr) {
    return host::Status::Failure("cannot write " + path_ + ": already finished");
  }
  sf_write_sync(file_);
  int closed = sf_close(file_);
  file_ = nullptr;
  if (closed != 0) {
    return host::Status::Failure("cannot write " + path_ + ": closing the file failed");
  }
  if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    return host::Status::Failure("cannot write " + path_ + ": cannot move the finished file " +
                                 "into place");
  }
  committed_ = true;
  pendingPath[0] = '\0';
  return host::Status();
}

}  // namespace velmora::render
