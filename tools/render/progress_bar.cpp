#include "tools/render/progress_bar.h"

#include <unistd.h>

namespace velmora::render {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

ProgressBar::ProgressBar(std::FILE* stream, int64_t totalFrames, double sampleRate, bool enabled)
    : stream_(stream),
      totalFrames_(totalFrames),
      terminal_(isatty(fileno(stream)) != 0),
      shown_(enabled && totalFrames > 0 &&
             (terminal_ || totalFrames >= kLongRenderSeconds * sampleRate)) {}

void ProgressBar::Update(int64_t doneFrames) {
  if (!shown_) {
    return;
  }
  int64_t clamped = doneFrames < totalFrames_ ? doneFrames : totalFrames_;
  int percent = static_cast<int>(clamped * 100 / totalFrames_);
  if (terminal_) {
    if (percent == lastStep_) {
      return;
    }
    lastStep_ = percent;
    int filled = percent * kBarWidth / 100;
    std::fprintf(stream_, "\r[");
    for (int i = 0; i < kBarWidth; ++i) {
      std::fputc(i < filled ? '#' : '.', stream_);
    }
    std::fprintf(stream_, "] %3d%%", percent);
  } else {
    int tenth = percent / 10;
    if (tenth == lastStep_) {
      return;
    }
    lastStep_ = tenth;
    std::fprintf(stream_, "velmora-render: %d%%\n", tenth * 10);
  }
  std::fflush(stream_);
}

void ProgressBar::Finish() {
  if (shown_ && terminal_ && lastStep_ >= 0) {
    std::fputc('\n', stream_);
    std::fflush(stream_);
  }
}

}  // namespace velmora::render
